// The five calls of the regular-expression library, driven directly.
#include <gtest/gtest.h>

#include <string>

#include "base/text_encoding.h"
#include "script/regex/perl_expression.h"
#include "script/regex/regexp_library.h"

namespace vellum::regex {
namespace {

enum class Call { Match, Subst, Trans, Split };

struct LibraryCase {
  const char* name;
  Call call;
  std::string expression;
  std::string text;
  int result;
  std::string out;  // Match: "start-end" or ""; Subst/Trans: the text; Split: the pieces joined with '|'
};

std::string gbk(const char* utf8) { return fromUtf8(utf8, CodePage::Gbk); }
std::string sjis(const char* utf8) { return fromUtf8(utf8, CodePage::ShiftJis); }

std::string runCall(const LibraryCase& c, int& result, std::string& message) {
  Regexp* rx = nullptr;
  char buffer[kRegexpMessageSize] = {};
  const char* start = c.text.data();
  const char* end = start + c.text.size();
  std::string out;
  switch (c.call) {
    case Call::Match:
      result = BMatch(c.expression.c_str(), start, end, &rx, buffer);
      if (result > 0) out = std::to_string(rx->startp[0] - start) + "-" + std::to_string(rx->endp[0] - start);
      break;
    case Call::Subst:
      result = BSubst(c.expression.c_str(), start, end, &rx, buffer);
      if (result >= 0) out = rx->outp ? std::string(rx->outp, rx->outendp) : c.text;
      break;
    case Call::Trans:
      result = BTrans(c.expression.c_str(), start, end, &rx, buffer);
      if (result >= 0) out = std::string(rx->outp, rx->outendp);
      break;
    case Call::Split:
      result = BSplit(c.expression.c_str(), start, end, 0, &rx, buffer);
      for (int i = 0; result >= 0 && i < rx->splitctr; ++i) {
        if (i) out += "|";
        out.append(rx->splitp[2 * i], rx->splitp[2 * i + 1]);
      }
      break;
  }
  message = buffer;
  BRegfree(rx);
  return out;
}

class RegexpLibrary : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(RegexpLibrary, GivesTheResultPerlWould) {
  int result = 0;
  std::string message;
  const std::string out = runCall(GetParam(), result, message);
  EXPECT_EQ(result, GetParam().result) << message;
  EXPECT_EQ(out, GetParam().out);
  EXPECT_EQ(message.empty(), result >= 0) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegexpLibrary,
    ::testing::Values(
        LibraryCase{"match", Call::Match, "m/wor/", "hello world", 1, "6-9"},
        LibraryCase{"match_without_m", Call::Match, "/o+/", "foo", 1, "1-3"},
        LibraryCase{"match_other_delimiter", Call::Match, "m#a/b#", "xa/b", 1, "1-4"},
        LibraryCase{"escaped_delimiter", Call::Match, "m/a\\/b/", "xa/b", 1, "1-4"},
        LibraryCase{"no_match", Call::Match, "m/z/", "abc", 0, ""},
        LibraryCase{"ignore_case", Call::Match, "m/WOR/i", "hello world", 1, "6-9"},
        LibraryCase{"multi_line", Call::Match, "m/^b/m", "a\nb", 1, "2-3"},
        LibraryCase{"dot_all", Call::Match, "m/a.b/s", "a\nb", 1, "0-3"},
        LibraryCase{"extended", Call::Match, "m/a b # comment\n/x", "ab", 1, "0-2"},
        // 俠 is 82 62 and 傾 is 83 41 in GBK: their trail bytes are 'b' and 'A'.
        LibraryCase{"trail_byte_never_matches", Call::Match, "m/b/", gbk("俠b"), 1, "2-3"},
        LibraryCase{"trail_byte_never_matches_with_k", Call::Match, "m/b/k", gbk("俠俠"), 0, ""},
        LibraryCase{"trail_byte_ignoring_case", Call::Match, "m/a/ik", gbk("傾A"), 1, "2-3"},
        LibraryCase{"dot_is_a_whole_character", Call::Match, "m/./", gbk("你a"), 1, "0-2"},
        LibraryCase{"class_of_double_byte_characters", Call::Match, gbk("m/[世界]+/"), gbk("你好世界"), 1, "4-8"},
        LibraryCase{"negated_class_takes_whole_characters", Call::Match, "m/[^a]/", gbk("a俠"), 1, "1-3"},
        LibraryCase{"double_byte_range", Call::Match, "m/[\x82\xa0-\x82\xf1]+/j", sjis("アあいウ"), 1, "2-6"},
        LibraryCase{"high_byte_escape_matches_a_lone_byte", Call::Match, "m/\\xFF/", "a\xff", 1, "1-2"},
        LibraryCase{"high_byte_escape_not_inside_a_character", Call::Match, "m/\\x62/", gbk("俠"), 0, ""},
        LibraryCase{"subst_first", Call::Subst, "s/o/0/", "foo", 1, "f0o"},
        LibraryCase{"subst_global", Call::Subst, "s/o/0/g", "foo boo", 4, "f00 b00"},
        LibraryCase{"subst_none_leaves_no_output", Call::Subst, "s/z/y/g", "abc", 0, "abc"},
        LibraryCase{"subst_groups", Call::Subst, "s/(\\w+)@(\\w+)/$2 at $1/", "me@home", 1, "home at me"},
        LibraryCase{"subst_whole_match", Call::Subst, "s/b+/[$&]/", "abbc", 1, "a[bb]c"},
        LibraryCase{"subst_braced_group", Call::Subst, "s/(a)/${1}1/", "a", 1, "a1"},
        LibraryCase{"subst_backslash_group", Call::Subst, "s/(a)(b)/\\2\\1/", "ab", 1, "ba"},
        LibraryCase{"subst_escapes", Call::Subst, "s/,/\\t\\$\\n/g", "a,b", 1, "a\t$\nb"},
        LibraryCase{"subst_unset_group_is_empty", Call::Subst, "s/(x)?a/[$1]/", "a", 1, "[]"},
        LibraryCase{"subst_empty_matches", Call::Subst, "s/x*/-/g", "abc", 4, "-a-b-c-"},
        LibraryCase{"subst_empty_after_nonempty", Call::Subst, "s/b*/-/g", "abc", 4, "-a--c-"},
        LibraryCase{"subst_lazy", Call::Subst, "s/a*?/-/g", "aaa", 7, "-------"},
        LibraryCase{"subst_trail_byte_kept", Call::Subst, "s/A/x/gi", gbk("傾A傾"), 1, gbk("傾x傾")},
        LibraryCase{"subst_double_byte", Call::Subst, gbk("s/[你好]/X/g"), gbk("你好世界"), 2, gbk("XX世界")},
        LibraryCase{"subst_replacement_trail_backslash", Call::Subst, "s/a/\x83\x5c/j", "a", 1, "\x83\x5c"},
        LibraryCase{"shift_jis_half_width_singles", Call::Subst, "s/\xb6/\x82\xa9/jg", "\xb6\xb6\xde\xb6", 3,
                    "\x82\xa9\x82\xa9\xde\x82\xa9"},
        LibraryCase{"game_code_page_pairs_those_bytes", Call::Subst, "s/\xb6/x/g", "\xb6\xb6", 0, "\xb6\xb6"},
        LibraryCase{"trans_range", Call::Trans, "tr/a-c/A-C/", "abcd", 3, "ABCd"},
        LibraryCase{"trans_trail_byte_kept", Call::Trans, "tr/a-z/A-Z/", gbk("俠b"), 1, gbk("俠B")},
        LibraryCase{"trans_counts_with_empty_list", Call::Trans, "tr/a-y//", "hello", 5, "hello"},
        LibraryCase{"trans_short_list_repeats", Call::Trans, "tr/abc/x/", "cab", 3, "xxx"},
        LibraryCase{"trans_delete", Call::Trans, "tr/abc/x/d", "cab", 3, "x"},
        LibraryCase{"trans_squeeze", Call::Trans, "tr/a-c//s", "aabbcc", 6, "abc"},
        LibraryCase{"trans_complement_delete", Call::Trans, "tr/a-z//cd", "abc12", 2, "abc"},
        LibraryCase{"trans_complement_squeeze", Call::Trans, "tr/a-z/ /cs", "a.b..c", 3, "a b c"},
        LibraryCase{"trans_double_byte", Call::Trans, gbk("y/你/我/"), gbk("你好你"), 2, gbk("我好我")},
        LibraryCase{"trans_escapes", Call::Trans, "tr/\\n\\-/ _/", "a-\nb", 2, "a_ b"},
        LibraryCase{"split", Call::Split, "/,/", "a,b,,c,,", 4, "a|b||c"},
        LibraryCase{"split_characters", Call::Split, "//", "abc", 3, "a|b|c"},
        LibraryCase{"split_double_byte_characters", Call::Split, "m//", gbk("你a好"), 3, gbk("你|a|好")},
        LibraryCase{"split_empty_match_inside", Call::Split, "/x*/", "axb", 2, "a|b"},
        LibraryCase{"split_leading_separator", Call::Split, "/,/", ",a", 2, "|a"},
        LibraryCase{"split_empty_text", Call::Split, "/,/", "", 0, ""},
        LibraryCase{"split_not_on_trail_bytes", Call::Split, "/b/", gbk("俠b俠"), 2, gbk("俠|俠")},
        LibraryCase{"error_unclosed", Call::Match, "m/abc", "abc", -1, ""},
        LibraryCase{"error_pattern", Call::Match, "m/(/", "abc", -1, ""},
        LibraryCase{"error_kind_for_subst", Call::Subst, "m/a/", "abc", -1, ""},
        LibraryCase{"error_kind_for_trans", Call::Trans, "s/a/b/", "abc", -1, ""},
        LibraryCase{"error_kind_for_split", Call::Split, "tr/a/b/", "abc", -1, ""},
        LibraryCase{"error_option", Call::Match, "m/a/q", "abc", -1, ""},
        LibraryCase{"error_no_expression", Call::Match, "abc", "abc", -1, ""},
        LibraryCase{"error_backslash_c", Call::Match, "m/\\C/", "abc", -1, ""},
        LibraryCase{"error_trans_range", Call::Trans, "tr/c-a//", "abc", -1, ""},
        LibraryCase{"error_trans_mixed_range", Call::Trans, "tr/a-\x82\xa0//", "abc", -1, ""},
        LibraryCase{"error_runaway_pattern", Call::Match, "m/(a+)+$/", std::string(40, 'a') + "b", -1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegexpLibrary, MatchRecordsGroups) {
  const std::string text = "key=value";
  Regexp* rx = nullptr;
  char message[kRegexpMessageSize];
  ASSERT_EQ(BMatch("m/(\\w+)=(x)?(\\w+)/", text.data(), text.data() + text.size(), &rx, message), 1);
  ASSERT_EQ(rx->nparens, 3);
  EXPECT_EQ(std::string(rx->startp[1], rx->endp[1]), "key");
  EXPECT_EQ(rx->startp[2], nullptr);
  EXPECT_EQ(std::string(rx->startp[3], rx->endp[3]), "value");
  // The record can be handed back for the next call.
  EXPECT_EQ(BMatch("m/z/", text.data(), text.data() + text.size(), &rx, message), 0);
  BRegfree(rx);
}

TEST(RegexpLibrary, ReportsMessagesThatFitTheBuffer) {
  Regexp* rx = nullptr;
  char message[kRegexpMessageSize];
  const std::string long_(500, '(');
  const std::string expression = "m/" + long_ + "/";
  EXPECT_EQ(BMatch(expression.c_str(), "a", "a" + 1, &rx, message), -1);
  EXPECT_LT(std::string(message).size(), kRegexpMessageSize);
  EXPECT_FALSE(std::string(message).empty());
  BRegfree(rx);
}

TEST(PerlExpression, ReadsItsParts) {
  PerlExpression e;
  std::string error;
  ASSERT_TRUE(parseExpression(" s|a\\|b|c|gi", e, error)) << error;
  EXPECT_EQ(e.kind, ExpressionKind::Substitute);
  EXPECT_EQ(e.pattern, "a\\|b");
  EXPECT_EQ(e.replacement, "c");
  EXPECT_TRUE(e.options.global);
  EXPECT_TRUE(e.options.ignoreCase);
  ASSERT_TRUE(parseExpression("tr/a-z/A-Z/cds", e, error)) << error;
  EXPECT_EQ(e.kind, ExpressionKind::Transliterate);
  EXPECT_TRUE(e.options.complement && e.options.deleteUnmatched && e.options.squeeze);
  EXPECT_FALSE(parseExpression("tr/a/b/g", e, error));
  EXPECT_FALSE(parseExpression("s/a/b", e, error));
}

TEST(PerlExpression, ShiftJisHalfWidthKatakanaDoNotHideTheDelimiter) {
  PerlExpression e;
  std::string error;
  // In the game's code page 0xB6 followed by 0x7C would be one character.
  ASSERT_TRUE(parseExpression("s|\xb6|x|j", e, error)) << error;
  EXPECT_EQ(e.pattern, "\xb6");
  EXPECT_EQ(e.options.codePage, TextCodePage::ShiftJis);
}

}  // namespace
}  // namespace vellum::regex
