// The std::string forms of the number conversions. Each formats into a buffer on its own stack
// frame, so they may be called from any number of threads at once.
#include "services/digits.h"
#include "vellum/exports.h"

namespace vellum {

namespace {

constexpr size_t kIntegerTextCapacity = 24;  // sign, 20 decimal digits, terminator

template <size_t Capacity, typename Value, typename Formatter>
std::string formatToString(Value value, Formatter format) {
  char buffer[Capacity];
  return std::string(format(value, buffer));
}

}  // namespace

int32_t stoi10(const std::string& text) { return atoi10(text.c_str()); }
uint32_t stoul10(const std::string& text) { return atoul10(text.c_str()); }
uint32_t stoi16(const std::string& text) { return atoi16(text.c_str()); }
uint32_t stoi32(const std::string& text) { return atoi32(text.c_str()); }
int64_t stoll10(const std::string& text) { return atoll10(text.c_str()); }
uint64_t stoull10(const std::string& text) { return atoull10(text.c_str()); }
uint64_t stoull16(const std::string& text) { return atoull16(text.c_str()); }
uint64_t stoull32(const std::string& text) { return atoull32(text.c_str()); }
float stof10(const std::string& text) { return atof10(text.c_str()); }
double stod10(const std::string& text) { return atod10(text.c_str()); }

std::string itos10(int32_t value) { return formatToString<kIntegerTextCapacity>(value, itoa10); }
std::string itos16(uint32_t value) { return formatToString<kIntegerTextCapacity>(value, itoa16); }
std::string itos32(uint32_t value) { return formatToString<kIntegerTextCapacity>(value, itoa32); }
std::string ultos10(uint32_t value) { return formatToString<kIntegerTextCapacity>(value, ultoa10); }
std::string lltos10(int64_t value) { return formatToString<kIntegerTextCapacity>(value, lltoa10); }
std::string ulltos10(uint64_t value) { return formatToString<kIntegerTextCapacity>(value, ulltoa10); }
std::string ulltos16(uint64_t value) { return formatToString<kIntegerTextCapacity>(value, ulltoa16); }
std::string ulltos32(uint64_t value) { return formatToString<kIntegerTextCapacity>(value, ulltoa32); }
std::string ttos10(uint32_t value) { return formatToString<kIntegerTextCapacity>(value, ttoa10); }
std::string ftos10(float value) { return formatToString<kRealTextCapacity>(value, ftoa10); }
std::string dtos10(double value) { return formatToString<kRealTextCapacity>(value, dtoa10); }

}  // namespace vellum
