// Script sources read the way vellum-pack stores them, whichever of UTF-8 and GBK they are in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/script_source_text.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

struct SourceCase {
  const char* name;
  std::string bytes;
  std::string text;  // GBK with LF line ends
  bool lossless;
};

class SourceText : public ::testing::TestWithParam<SourceCase> {};

TEST_P(SourceText, ReadsAsThePackerStoresIt) {
  const std::vector<uint8_t> bytes(GetParam().bytes.begin(), GetParam().bytes.end());
  bool lossless = false;
  EXPECT_EQ(scriptTextFromSource(bytes, lossless), GetParam().text);
  EXPECT_EQ(lossless, GetParam().lossless);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SourceText,
    ::testing::Values(SourceCase{"utf8_text_becomes_gbk", "（一）\n", test::gbk("（一）\n"), true},
                      SourceCase{"gbk_text_stays_as_it_is", test::gbk("早上好。\n"), test::gbk("早上好。\n"), true},
                      SourceCase{"ascii_and_windows_line_ends", "print 1\r\nend\r", "print 1\nend\n", true},
                      SourceCase{"a_byte_order_mark_is_dropped", "\xEF\xBB\xBFprint 1\n", "print 1\n", true},
                      SourceCase{"a_character_without_gbk_form_becomes_a_question_mark", "\xE0\xB8\x81\n",
                                 "?\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
