// The math library: the C runtime's mathematics on Squirrel numbers, rand/srand, RAND_MAX and PI.
#include <vellum/squirrel_std.h>

#include <cmath>
#include <cstdlib>

#include "squirrel/stdlib/library_support.h"
#include "squirrel/stdlib/number_arguments.h"

namespace vellum::sqstd {

namespace {

template <double (*F)(double)>
SQInteger unary(HSQUIRRELVM v) {
  sq_pushfloat(v, static_cast<SQFloat>(F(floatArgument(v, 2))));
  return 1;
}

template <double (*F)(double, double)>
SQInteger binary(HSQUIRRELVM v) {
  sq_pushfloat(v, static_cast<SQFloat>(F(floatArgument(v, 2), floatArgument(v, 3))));
  return 1;
}

double sqrtOf(double x) { return std::sqrt(x); }
double sinOf(double x) { return std::sin(x); }
double cosOf(double x) { return std::cos(x); }
double tanOf(double x) { return std::tan(x); }
double asinOf(double x) { return std::asin(x); }
double acosOf(double x) { return std::acos(x); }
double atanOf(double x) { return std::atan(x); }
double logOf(double x) { return std::log(x); }
double log10Of(double x) { return std::log10(x); }
double expOf(double x) { return std::exp(x); }
double floorOf(double x) { return std::floor(x); }
double ceilOf(double x) { return std::ceil(x); }
double fabsOf(double x) { return std::fabs(x); }
// atan2(x, y) is the arctangent of x / y: the first argument is the numerator, as in C.
double atan2Of(double x, double y) { return std::atan2(x, y); }
double powOf(double x, double y) { return std::pow(x, y); }

SQInteger abs(HSQUIRRELVM v) {
  const SQInteger n = integerArgument(v, 2);
  // The most negative integer has no positive counterpart; it stays as it is instead of overflowing.
  sq_pushinteger(v, n < 0 && n != INT64_MIN ? -n : n);
  return 1;
}

SQInteger rand(HSQUIRRELVM v) {
  sq_pushinteger(v, std::rand());
  return 1;
}

SQInteger srand(HSQUIRRELVM v) {
  std::srand(static_cast<unsigned>(integerArgument(v, 2)));
  return 0;
}

const Function kMathFunctions[] = {
    {"sqrt", &unary<sqrtOf>, 2, ".n"},   {"sin", &unary<sinOf>, 2, ".n"},      {"cos", &unary<cosOf>, 2, ".n"},
    {"asin", &unary<asinOf>, 2, ".n"},   {"acos", &unary<acosOf>, 2, ".n"},    {"log", &unary<logOf>, 2, ".n"},
    {"log10", &unary<log10Of>, 2, ".n"}, {"tan", &unary<tanOf>, 2, ".n"},      {"atan", &unary<atanOf>, 2, ".n"},
    {"atan2", &binary<atan2Of>, 3, ".nn"}, {"pow", &binary<powOf>, 3, ".nn"},  {"floor", &unary<floorOf>, 2, ".n"},
    {"ceil", &unary<ceilOf>, 2, ".n"},   {"exp", &unary<expOf>, 2, ".n"},      {"srand", &srand, 2, ".n"},
    {"rand", &rand, 1, nullptr},         {"fabs", &unary<fabsOf>, 2, ".n"},    {"abs", &abs, 2, ".n"},
};

}  // namespace

}  // namespace vellum::sqstd

extern "C" SQRESULT sqstd_register_mathlib(HSQUIRRELVM v) {
  using namespace vellum::sqstd;
  if (sq_gettype(v, -1) != OT_TABLE) return sq_throwerror(v, "a table is expected on the stack");
  registerFunctions(v, -1, kMathFunctions);
  setInteger(v, -1, "RAND_MAX", RAND_MAX);
  setFloat(v, -1, "PI", static_cast<SQFloat>(3.14159265358979323846));
  return SQ_OK;
}
