#include "image/ops/ops_report.h"

#include <cstdio>
#include <string>

#include "base/text_encoding.h"

namespace vellum {

namespace {

// "メモリを確保出来ませんでした"
constexpr std::string_view kMemory =
    "\x83\x81\x83\x82\x83\x8a\x82\xf0\x8a\x6d\x95\xdb\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5"
    "\x82\xb5\x82\xbd";
// "画像データを読み込めませんでした"
constexpr std::string_view kNoPicture =
    "\x89\xe6\x91\x9c\x83\x66\x81\x5b\x83\x5e\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9"
    "\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
// "幅値の設定が無効です"
constexpr std::string_view kInvalidSize = "\x95\x9d\x92\x6c\x82\xcc\x90\xdd\x92\xe8\x82\xaa\x96\xb3\x8c\xf8\x82\xc5\x82\xb7";
// "範囲の設定が無効です"
constexpr std::string_view kOutOfRange = "\x94\xcd\x88\xcd\x82\xcc\x90\xdd\x92\xe8\x82\xaa\x96\xb3\x8c\xf8\x82\xc5\x82\xb7";
// "モードの設定が無効です"
constexpr std::string_view kInvalidMode =
    "\x83\x82\x81\x5b\x83\x68\x82\xcc\x90\xdd\x92\xe8\x82\xaa\x96\xb3\x8c\xf8\x82\xc5\x82\xb7";
// "二つの画像のサイズが違います"
constexpr std::string_view kSizeMismatch =
    "\x93\xf1\x82\xc2\x82\xcc\x89\xe6\x91\x9c\x82\xcc\x83\x54\x83\x43\x83\x59\x82\xaa\x88\xe1\x82\xa2"
    "\x82\xdc\x82\xb7";

}  // namespace

std::string_view imageFailureText(ImageFailure failure) {
  switch (failure) {
    case ImageFailure::Memory: return kMemory;
    case ImageFailure::NoPicture: return kNoPicture;
    case ImageFailure::InvalidSize: return kInvalidSize;
    case ImageFailure::OutOfRange: return kOutOfRange;
    case ImageFailure::InvalidMode: return kInvalidMode;
    case ImageFailure::SizeMismatch: return kSizeMismatch;
  }
  return kNoPicture;
}

int reportImageFailure(std::string_view code, ImageFailure failure) {
  std::string line = "-";
  line.append(code).append(": ").append(imageFailureText(failure)).append("\n");
  // Operations run on worker threads too: one write per line keeps lines whole.
  const std::string shown = toUtf8(line, CodePage::ShiftJis);
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fflush(stdout);
  return 0;
}

}  // namespace vellum
