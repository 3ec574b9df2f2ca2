// Texts the Squirrel binding reports, as Shift-JIS bytes (the readable text beside each).
#pragma once

#include <string_view>

namespace vellum::messages {

// " を読み込めませんでした\n", behind the path of a script that does not compile
inline constexpr std::string_view kSquirrelCannotCompile =
    "\x20\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x0a";
// " を実行出来ませんでした\n", behind the path of a script that fails while it runs
inline constexpr std::string_view kSquirrelCannotRun =
    "\x20\x82\xf0\x8e\xc0\x8d\x73\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x0a";
// 戻り値が文字列ではありません
inline constexpr std::string_view kResultNotString =
    "\x96\xdf\x82\xe8\x92\x6c\x82\xaa\x95\xb6\x8e\x9a\x97\xf1\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
// The failing step of a script-function call, before the VM's text.
inline constexpr std::string_view kSquirrelGetFailed = "sq_get\n";
inline constexpr std::string_view kSquirrelCallFailed = "sq_call\n";

}  // namespace vellum::messages
