// Fixed texts of the sound code, as the engine's bytes (Shift-JIS); the readable text is beside each.
#pragma once

#include <string_view>

namespace vellum::sound_messages {

// " 未対応の形式です" (after the file name)
constexpr std::string_view kUnsupportedFormat = "\x20\x96\xa2\x91\xce\x89\x9e\x82\xcc\x8c\x60\x8e\xae\x82\xc5\x82\xb7";
// "音スレッドが正常に終了出来ませんでした"
constexpr std::string_view kWorkerDidNotEnd =
    "\x89\xb9\x83\x58\x83\x8c\x83\x62\x83\x68\x82\xaa\x90\xb3\x8f\xed\x82\xc9\x8f\x49\x97\xb9\x8f\x6f\x97\x88\x82\xdc"
    "\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
// " チャンネル番号が不正です" (after the command name)
constexpr std::string_view kBadChannel =
    "\x20\x83\x60\x83\x83\x83\x93\x83\x6c\x83\x8b\x94\xd4\x8d\x86\x82\xaa\x95\x73\x90\xb3\x82\xc5\x82\xb7";

}  // namespace vellum::sound_messages
