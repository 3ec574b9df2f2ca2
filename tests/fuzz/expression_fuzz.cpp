// Any bytes as an expression, an assignment list and a declaration list: reports, never a crash,
// an out-of-bounds access or a hang. An expression compiled to numeric steps gives exactly what
// the evaluator gives.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/startup.h"
#include "fuzz_support.h"
#include "script/assignment.h"
#include "script/expression.h"
#include "script/variables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  fuzz::gameFolder();
  resetAllState();
  resetVariables();
  VariableStore& v = variables();
  v.namedInts["a"] = 3;
  v.namedStrings["s"] = "abc";
  v.strings[1] = "xy";
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Value evaluated = evaluate(text);
  const CompiledExpression compiled(text);
  if (compiled.numeric) {
    const Value quick = evaluate(compiled);
    const bool sameNumber = quick.number == evaluated.number || (std::isnan(quick.number) && std::isnan(evaluated.number));
    if (quick.type != evaluated.type || !sameNumber || quick.text != evaluated.text) std::abort();
  }
  assign(text);
  declareIntegers(text);
  declareStrings(text);
  findIntVariable(text);
  findStringVariable(text);
  return 0;
}
