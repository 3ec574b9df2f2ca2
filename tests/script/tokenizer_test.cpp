#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/command_registry.h"
#include "engine/startup.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "storage/hashes.h"

namespace vellum {
namespace {

using Tokens = std::vector<std::string>;

Tokens tokensOf(const std::string& line) {
  ScriptLine parsed;
  tokenizeLine(line, parsed);
  return parsed.tokens;
}

struct TokenCase {
  const char* name;
  std::string line;
  Tokens tokens;
};

class TokenizeLine : public ::testing::TestWithParam<TokenCase> {
 protected:
  void SetUp() override { resetAllState(); }
  void TearDown() override { resetAllState(); }
};

TEST_P(TokenizeLine, Splits) { EXPECT_EQ(tokensOf(GetParam().line), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Lines, TokenizeLine,
    ::testing::Values(
        TokenCase{"text", "\xa1\xb8Hi.\xa1\xb9", {"\xa1\xb8Hi.\xa1\xb9"}},
        TokenCase{"letter_starts_a_command", "Hello there.", {"Hello", " there."}},
        TokenCase{"empty", "", {""}},
        TokenCase{"label", "*start", {"*start"}},
        TokenCase{"indented_is_text", "  cmd a", {"  cmd a"}},
        TokenCase{"speaker", "\xa1\xbeName\xa1\xbfHi", {"\xa1\xbeName\xa1\xbfHi"}},
        TokenCase{"one_command", "cmd a, b", {"cmd", " a, b"}},
        TokenCase{"no_arguments", "draw", {"draw", ""}},
        TokenCase{"two_commands", "setMessCreate 0, 10, 20 : sp 1, bg01 ; comment",
                  {"setMessCreate", " 0, 10, 20", "sp", " 1, bg01"}},
        TokenCase{"comment_semicolon", "cmd a ; b", {"cmd", " a"}},
        TokenCase{"quoted_semicolon", "cmd \"x;y\"", {"cmd", " \"x;y\""}},
        TokenCase{"quoted_colon", "cmd 'a:b' : c", {"cmd", " 'a:b'", "c", ""}},
        TokenCase{"double_slash_comment", "cmd a // note", {"cmd", " a"}},
        TokenCase{"single_slash_kept", "cmd a/b", {"cmd", " a/b"}},
        TokenCase{"empty_segments_dropped", "a :: b", {"a", "", "b", ""}},
        TokenCase{"name_class", "sp_ref.x@2 1", {"sp_ref.x@2", " 1"}},
        TokenCase{"crlf_trimmed", "cmd a\r", {"cmd", " a"}},
        TokenCase{"unbalanced_quote_runs_to_end", "cmd \"a ; b : c", {"cmd", " \"a ; b : c"}},
        TokenCase{"trail_byte_not_a_quote", "cmd \x81\x22 : x", {"cmd", " \x81\x22", "x", ""}},
        TokenCase{"if_guard", "if (%a == 1) goto *next", {"if", " (%a == 1)", "goto", " *next"}},
        TokenCase{"if_nested_parens", "if ((%a)+(1)) x", {"if", " ((%a)+(1))", "x", ""}},
        TokenCase{"if_loses_byte_after_paren", "if(%a)goto *x", {"if", "(%a)", "oto", " *x"}},
        TokenCase{"if_unbalanced", "if (%a goto *x", {"if", "", "", "(%a goto *x"}},
        TokenCase{"if_one_byte_after", "if (%a)x", {"if", " (%a)", "", ""}},
        TokenCase{"if_nothing_after", "if (%a)", {"if", " (%a)"}},
        TokenCase{"else_then_command", "else  print 1", {"else", "", "print", " 1"}},
        TokenCase{"elseif_chain", "elseif (%b) else x", {"elseif", " (%b)", "else", "", "x", ""}},
        TokenCase{"if_then_second_segment", "if (%a) x : y 2", {"if", " (%a)", "x", "", "y", " 2"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitSegments, ArgumentsSplitAtCommasOutsideQuotes) {
  const auto pieces = splitSegments(" 1, \"a,b\" ,  'c' ", ',', false);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], "1");
  EXPECT_EQ(pieces[1], "\"a,b\"");
  EXPECT_EQ(pieces[2], "'c'");
}

TEST(SplitSegments, CommentsOnlyWhenAsked) {
  EXPECT_EQ(splitSegments("a;b", ',', false).front(), "a;b");
  EXPECT_EQ(splitSegments("a;b", ',', true).front(), "a");
  EXPECT_EQ(splitSegments("", ',', false).size(), 1u);
}

TEST(SplitLines, LineEndsAndFinalLine) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\nb\n", {"a", "b"}},
      {"a\nbc", {"a", "bc"}},
      {"a\nb", {"a"}},  // a final line of one byte is dropped
      {"a\r\n\r\nb\n", {"a\r", "\r", "b"}},
      {"\x81\nx\n", {"\x81\nx"}},  // a lead byte takes the LF with it
      {"", {}},
      {"\n\n", {"", ""}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    std::vector<int> numbers;
    splitLines(c.text, [&](std::string_view line, int number) {
      lines.emplace_back(line);
      numbers.push_back(number);
    });
    EXPECT_EQ(lines, c.lines) << "text: " << c.text;
    for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], static_cast<int>(i) + 1);
  }
}

TEST(ParseTimeRegistration, DefsubAndScriptFunctions) {
  resetAllState();
  ScriptFile file;
  parseScript("defsub  myCmd \nfuncLua luaThing, 1\nfuncSqu  sqThing , 2\n", file);
  EXPECT_EQ(file.size(), 3u);
  const auto& s = scriptState();
  ASSERT_TRUE(s.userCommands.count(crc32Of("myCmd")));
  EXPECT_EQ(s.userCommands.at(crc32Of("myCmd")), "myCmd");
  EXPECT_TRUE(commandTables().scriptFunctions.count(crc32Of("luaThing")));
  EXPECT_TRUE(commandTables().scriptFunctions.count(crc32Of("sqThing")));
  resetAllState();
}

}  // namespace
}  // namespace vellum
