// Fixed texts of the animation and screen-transform code, as the engine's bytes (readable text beside each).
#pragma once

namespace vellum::animation_messages {

// GBK: " 动画号码不正确"
inline constexpr char kBadNumber[] = " \xb6\xaf\xbb\xad\xba\xc5\xc2\xeb\xb2\xbb\xd5\xfd\xc8\xb7";
// GBK: " 追加标志不正确"
inline constexpr char kNoChainToAppend[] = " \xd7\xb7\xbc\xd3\xb1\xea\xd6\xbe\xb2\xbb\xd5\xfd\xc8\xb7";
// GBK: " 画面没有读入(imList1)"
inline constexpr char kPictureGone[] = " \xbb\xad\xc3\xe6\xc3\xbb\xd3\xd0\xb6\xc1\xc8\xeb(imList1)";

// ASCII texts of this engine's own checks.
inline constexpr char kBadMode[] = " animation mode outside 0-3: ";
inline constexpr char kBadDuration[] = " animation time below 0: ";

}  // namespace vellum::animation_messages
