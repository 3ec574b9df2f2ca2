// The result of evaluating one script expression.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

enum ValueType : int { kNoValue = -1, kNumberValue = 0, kStringValue = 1 };

struct Value {
  std::string text;   // the text of string results (numbers leave it empty unless an operator wrote it)
  double number = 0;  // the value of numeric results
  int type = kNoValue;

  bool isString() const { return type == kStringValue; }
};

// A number as the 32-bit integer scripts store: truncated toward zero, wrapped to 32 bits; NaN and
// infinities give 0.
int32_t toInt32(double value);
// Truncated toward zero and clamped to the 64-bit range; NaN gives 0.
int64_t toInt64(double value);

}  // namespace vellum
