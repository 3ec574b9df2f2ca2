// Fixed texts of the movie code, as the engine's bytes (readable text beside each).
#pragma once

namespace vellum::movie_messages {

// GBK "动画进程不能正常结束"
inline constexpr char kThreadDidNotEnd[] = "\xb6\xaf\xbb\xad\xbd\xf8\xb3\xcc\xb2\xbb\xc4\xdc\xd5\xfd\xb3\xa3\xbd\xe1\xca\xf8";
// GBK " 动画形式不正确 " (followed by the file's first four bytes in hexadecimal)
inline constexpr char kBadSequenceKind[] = " \xb6\xaf\xbb\xad\xd0\xce\xca\xbd\xb2\xbb\xd5\xfd\xc8\xb7 ";
// GBK " 非对应的AVI形式不正确 " (followed by the AVI file's codec in hexadecimal)
inline constexpr char kBadAviCodec[] = " \xb7\xc7\xb6\xd4\xd3\xa6\xb5\xc4" "AVI" "\xd0\xce\xca\xbd\xb2\xbb\xd5\xfd\xc8\xb7 ";
// GBK " 画面没有读入(ifList)" (a sprite whose sequence lost its picture)
inline constexpr char kNoPicture[] = " \xbb\xad\xc3\xe6\xc3\xbb\xd3\xd0\xb6\xc1\xc8\xeb(ifList)";
// Shift-JIS " テクスチャが作れませんでした"
inline constexpr char kNoTexture[] =
    " \x83\x65\x83\x4e\x83\x58\x83\x60\x83\x83\x82\xaa\x8d\xec\x82\xea\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
// Shift-JIS "が開けませんでした" (a movie file that cannot be opened; no space before it)
inline constexpr char kCannotOpen[] = "\x82\xaa\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
// Shift-JIS " が開けませんでした" (its sound track cannot be loaded)
inline constexpr char kCannotOpenSound[] = " \x82\xaa\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
// ASCII: the decoder refused the stream.
inline constexpr char kDecoderRefused[] = "uTheoraLib::load";
// ASCII: a movie is played without theora_create having run.
inline constexpr char kNoDecoder[] = "theora_create has not been run: the movie cannot play";
// ASCII: theora_create finds no usable decoder library (the loader's reason follows in brackets).
inline constexpr char kNoDecoderLibrary[] = "theora_create: libtheoradec cannot be loaded, so movies cannot play";
// ASCII: the stored bytes of an archive entry are not the movie (it was packed compressed).
inline constexpr char kStoredPacked[] = " is packed compressed or scrambled; movies must be stored as they are";

}  // namespace vellum::movie_messages
