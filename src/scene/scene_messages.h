// Fixed texts of the sprite and screenshot code, as the engine's bytes (readable text beside each).
#pragma once

namespace vellum::scene_messages {

// Shift-JIS: " オーダーが正しく設定されてません"
inline constexpr char kNotListed[] =
    " \x83\x49\x81\x5b\x83\x5f\x81\x5b\x82\xaa\x90\xb3\x82\xb5\x82\xad\x90\xdd\x92\xe8\x82\xb3\x82\xea\x82\xc4\x82\xdc"
    "\x82\xb9\x82\xf1";
// GBK: " 不能读入" (a picture file that cannot be read or decoded)
inline constexpr char kCannotLoad[] = " \xb2\xbb\xc4\xdc\xb6\xc1\xc8\xeb";
// GBK " 不能从缓存中读入" (a cached picture that cannot be copied)
inline constexpr char kCannotCopyFromCache[] = " \xb2\xbb\xc4\xdc\xb4\xd3\xbb\xba\xb4\xe6\xd6\xd0\xb6\xc1\xc8\xeb";
// GBK: "截图的容量确保失败"
inline constexpr char kScreenShotAlloc[] = "\xbd\xd8\xcd\xbc\xb5\xc4\xc8\xdd\xc1\xbf\xc8\xb7\xb1\xa3\xca\xa7\xb0\xdc";
// Shift-JIS: "対応していない深度です"
inline constexpr char kBadDepth[] = "\x91\xce\x89\x9e\x82\xb5\x82\xc4\x82\xa2\x82\xc8\x82\xa2\x90\x5b\x93\x78\x82\xc5\x82\xb7";
// Shift-JIS: "対応していない圧縮値です"
inline constexpr char kBadCompression[] =
    "\x91\xce\x89\x9e\x82\xb5\x82\xc4\x82\xa2\x82\xc8\x82\xa2\x88\xb3\x8f\x6b\x92\x6c\x82\xc5\x82\xb7";
// Shift-JIS: "対応していないPNG-OPです"
inline constexpr char kBadPngOption[] = "\x91\xce\x89\x9e\x82\xb5\x82\xc4\x82\xa2\x82\xc8\x82\xa2PNG-OP\x82\xc5\x82\xb7";
// Shift-JIS: "対応していない品質値です"
inline constexpr char kBadQuality[] =
    "\x91\xce\x89\x9e\x82\xb5\x82\xc4\x82\xa2\x82\xc8\x82\xa2\x95\x69\x8e\xbf\x92\x6c\x82\xc5\x82\xb7";
// Shift-JIS: "-FMT: 対応していないJPEG-OPです"
inline constexpr char kBadJpegOption[] =
    "-FMT: \x91\xce\x89\x9e\x82\xb5\x82\xc4\x82\xa2\x82\xc8\x82\xa2JPEG-OP\x82\xc5\x82\xb7";

// ASCII texts of this engine's own checks.
inline constexpr char kNumberOutOfRange[] = " sprite number outside 0-999";
inline constexpr char kSizeOver[] = "Sprite Size Over ";
inline constexpr char kCreate[] = "Sprite Create";
inline constexpr char kDivisionOver[] = "Sprite Division Over ";
inline constexpr char kCanvasSize[] = "Sprite Canvas Size ";
inline constexpr char kParentCycle[] = " sprite cannot be drawn into itself or its own child ";
inline constexpr char kParentNotCanvas[] = " parent is not a canvas sprite";

}  // namespace vellum::scene_messages
