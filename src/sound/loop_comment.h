// The loop comment of an Ogg file: the first comment containing "COMMENT", whose value is
// "setTime start, loopStart, loopEnd" (milliseconds) or "setSample ..." (samples).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vellum {

enum class LoopCommentResult { None, Found, WrongCount };

struct LoopPoints {
  int64_t start = 0, loopStart = 0, loopEnd = 0;  // samples
};

LoopCommentResult parseLoopComment(const std::vector<std::string_view>& comments, int sampleRate, LoopPoints& points);

}  // namespace vellum
