// What the picture codecs print on the console. Decoders name the format and what was wrong with
// the data; the writers' fixed texts are Shift-JIS and carry the file name in the game's code page.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

// "<codec>: <problem>", plain ASCII.
void reportBadPicture(std::string_view codec, const std::string& problem);

// The writers' fixed messages. `kind` is "BMP", "PNG", "JPEG" or "TLG"; `fileName` is GBK.
void reportEmptyPicture(std::string_view kind, std::string_view fileName);   // 画像データが空です
void reportCannotSave(std::string_view kind, std::string_view fileName);     // 画像を保存出来ませんでした
void reportWriterOutOfMemory(std::string_view kind);                          // メモリを確保出来ませんでした
// A fixed ASCII line such as "png_create_write_struct" or "SaveTLG6: Insufficient memory".
void reportWriterText(std::string_view text);

}  // namespace vellum
