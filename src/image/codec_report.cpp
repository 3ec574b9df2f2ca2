#include "image/codec_report.h"

#include "base/report.h"

namespace vellum {

namespace {

// 画像データが空です
constexpr std::string_view kEmptyPicture =
    "\x89\xe6\x91\x9c\x83\x66\x81\x5b\x83\x5e\x82\xaa\x8b\xf3\x82\xc5\x82\xb7";
// 画像を保存出来ませんでした
constexpr std::string_view kCannotSave =
    "\x89\xe6\x91\x9c\x82\xf0\x95\xdb\x91\xb6\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
// メモリを確保出来ませんでした
constexpr std::string_view kOutOfMemory =
    "\x83\x81\x83\x82\x83\x8a\x82\xf0\x8a\x6d\x95\xdb\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5"
    "\x82\xbd";

// Console lines are printed as lines; the texts' own trailing newline is the line end.
void printLine(const ReportText& text) { errord(text, false); }

void printAboutFile(std::string_view kind, std::string_view fileName, std::string_view message) {
  printLine(ReportText().ascii(kind).ascii(": \"").gbk(fileName).ascii("\" ").sjis(message));
}

}  // namespace

void reportBadPicture(std::string_view codec, const std::string& problem) {
  printLine(ReportText().ascii(codec).ascii(": ").ascii(problem));
}

void reportEmptyPicture(std::string_view kind, std::string_view fileName) {
  printAboutFile(kind, fileName, kEmptyPicture);
}

void reportCannotSave(std::string_view kind, std::string_view fileName) {
  printAboutFile(kind, fileName, kCannotSave);
}

void reportWriterOutOfMemory(std::string_view kind) {
  printLine(ReportText().ascii(kind).ascii(": ").sjis(kOutOfMemory));
}

void reportWriterText(std::string_view text) { printLine(ReportText().ascii(text)); }

}  // namespace vellum
