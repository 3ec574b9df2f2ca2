// Texts of reading aloud, as GBK bytes (the readable text beside each).
#pragma once

#include <string_view>

namespace vellum::speech_texts {

// 朗读已开启
inline constexpr std::string_view kReadingAloudOn = "\xc0\xca\xb6\xc1\xd2\xd1\xbf\xaa\xc6\xf4";
// 朗读服务没有响应，故事不会被朗读。
inline constexpr std::string_view kNoSpeechService =
    "\xc0\xca\xb6\xc1\xb7\xfe\xce\xf1\xc3\xbb\xd3\xd0\xcf\xec\xd3\xa6\xa3\xac\xb9\xca\xca\xc2\xb2\xbb\xbb\xe1\xb1\xbb\xc0\xca\xb6\xc1\xa1\xa3";

}  // namespace vellum::speech_texts
