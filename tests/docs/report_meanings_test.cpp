// Every report text in the engine's sources has its English meaning in the table of report
// meanings, and the page written at build time lists the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/report_meanings.h"
#include "base/text_encoding.h"
#include "test_paths.h"

namespace vellum {
namespace {

namespace fs = std::filesystem;

// The bytes of the C string literals at `pos` (adjacent ones joined across blanks), or none.
bool readLiterals(std::string_view src, size_t& pos, std::string& bytes) {
  bool found = false;
  for (;;) {
    while (pos < src.size() && (src[pos] == ' ' || src[pos] == '\n' || src[pos] == '\t')) ++pos;
    if (pos >= src.size() || src[pos] != '"') return found;
    found = true;
    for (++pos; pos < src.size() && src[pos] != '"'; ++pos) {
      if (src[pos] != '\\') {
        bytes += src[pos];
        continue;
      }
      const char e = src[++pos];
      if (e == 'x') {
        int value = 0;
        while (pos + 1 < src.size() && std::isxdigit(static_cast<unsigned char>(src[pos + 1]))) {
          const char h = src[++pos];
          value = value * 16 + (std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (h | 0x20) - 'a' + 10);
        }
        bytes += static_cast<char>(value);
      } else {
        bytes += e == 'n' ? '\n' : e == 't' ? '\t' : e == '0' ? '\0' : e;
      }
    }
    ++pos;
  }
}

bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// After `pos`: `std::string_view kName =` or `char kName[] =`; moves past the '='.
bool constantDefinitionAt(std::string_view src, size_t& pos) {
  auto skip = [&] { while (pos < src.size() && std::isspace(static_cast<unsigned char>(src[pos]))) ++pos; };
  skip();
  for (std::string_view type : {std::string_view("std::string_view"), std::string_view("char")}) {
    if (src.substr(pos, type.size()) != type) continue;
    pos += type.size();
    skip();
    if (pos >= src.size() || src[pos] != 'k') return false;
    while (pos < src.size() && isIdentifierChar(src[pos])) ++pos;
    if (src.substr(pos, 2) == "[]") pos += 2;
    skip();
    if (pos >= src.size() || src[pos] != '=') return false;
    ++pos;
    return true;
  }
  return false;
}

struct FoundText {
  std::string where;
  std::string bytes;
};

// Report texts of one source file: its string constants (in a file of messages every one, else
// those that are not plain ASCII), text literals handed to a report as GBK or Shift-JIS, and the
// literal a report starts with.
void collectTexts(const fs::path& path, std::vector<FoundText>& found) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string src = buffer.str();
  const bool messagesFile = path.filename().string().find("_messages") != std::string::npos;
  auto take = [&](size_t pos, bool asciiToo) {
    std::string bytes;
    if (!readLiterals(src, pos, bytes)) return;
    bool ascii = true;
    for (unsigned char c : bytes) ascii = ascii && c < 0x80;
    if (ascii && !asciiToo) return;
    found.push_back({path.filename().string() + ":" + std::to_string(std::count(src.begin(), src.begin() + static_cast<long>(pos), '\n') + 1), bytes});
  };
  for (size_t at = src.find("constexpr"); at != std::string::npos; at = src.find("constexpr", at + 1)) {
    size_t pos = at + 9;
    if (constantDefinitionAt(src, pos)) take(pos, messagesFile);
  }
  for (std::string_view call : {".gbk(", ".sjis("}) {
    for (size_t at = src.find(call); at != std::string::npos; at = src.find(call, at + 1)) take(at + call.size(), false);
  }
  for (std::string_view start : {"ReportText().ascii(", "ReportText("}) {
    for (size_t at = src.find(start); at != std::string::npos; at = src.find(start, at + 1)) take(at + start.size(), true);
  }
}

std::string trimmed(std::string text) {
  const std::string_view edges = " \n:";
  const size_t first = text.find_first_not_of(edges);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(edges) - first + 1);
}

TEST(ReportMeanings, EveryReportTextInTheSourcesHasAnEnglishMeaning) {
  std::vector<FoundText> found;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(VELLUM_SOURCE_DIR) / "src")) {
    const fs::path& path = entry.path();
    if (path.extension() != ".h" && path.extension() != ".cpp") continue;
    if (path.filename() == "menu_texts.h" || path.filename() == "report_meanings.cpp") continue;  // labels; the table
    collectTexts(path, found);
  }
  ASSERT_GT(found.size(), 150u) << "the scan found the report texts";
  std::string missing;
  for (const FoundText& text : found) {
    bool known = false;
    for (CodePage page : {CodePage::ShiftJis, CodePage::Gbk}) {
      const std::string readable = trimmed(toUtf8(text.bytes, page));
      if (readable.empty()) {
        known = true;
        break;
      }
      for (const ReportMeaning& m : reportMeanings()) known = known || m.text.find(readable) != std::string_view::npos;
    }
    if (!known) missing += "\n  " + text.where + ": " + toUtf8(text.bytes, CodePage::ShiftJis) + " / " + toUtf8(text.bytes, CodePage::Gbk);
  }
  EXPECT_TRUE(missing.empty()) << "report texts without a line in src/base/report_meanings.cpp:" << missing;
}

TEST(ReportMeanings, EachTextIsListedOnceWithAMeaning) {
  std::set<std::string_view> texts;
  for (const ReportMeaning& m : reportMeanings()) {
    EXPECT_TRUE(texts.insert(m.text).second) << m.text << " is listed twice";
    EXPECT_FALSE(m.meaning.empty()) << m.text;
    EXPECT_FALSE(m.area.empty()) << m.text;
  }
}

TEST(ReportMeanings, TheGeneratedPageHasARowForEveryText) {
  std::ifstream in(std::string(VELLUM_BINARY_DIR) + "/docs/messages.md");
  ASSERT_TRUE(in) << "the build writes docs/messages.md";
  size_t rows = 0;
  std::string soundRow;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("| ", 0) != 0 || line.rfind("| Text |", 0) == 0) continue;
    ++rows;
    if (line.find("未対応の形式です") != std::string::npos) soundRow = line;
  }
  EXPECT_EQ(rows, reportMeanings().size());
  EXPECT_NE(soundRow.find("16-bit PCM"), std::string::npos) << soundRow;
  EXPECT_NE(soundRow.find("sox"), std::string::npos) << soundRow;
}

}  // namespace
}  // namespace vellum
