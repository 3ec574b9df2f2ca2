// The key/value parser of setting.dat and the save slots.
#include <gtest/gtest.h>

#include "persist/key_value_text.h"

namespace vellum {
namespace {

using Pieces = std::vector<std::string>;

struct ParseCase {
  const char* name;
  std::string text;
  KeyValues expected;
};

class KeyValueParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(KeyValueParse, GivesTheKeysAndPieces) { EXPECT_EQ(parseKeyValues(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Table, KeyValueParse,
    ::testing::Values(
        ParseCase{"simple", "A = 1\r\nB=2\n", {{"A", {"1"}}, {"B", {"2"}}}},
        ParseCase{"no_line_feed_after_last", "A = 1\nB = 2", {{"A", {"1"}}}},
        ParseCase{"pieces_trimmed", "K = a , b\t,c \r\n", {{"K", {"a", "b", "c"}}}},
        ParseCase{"trailing_comma_keeps_empty_piece", "Integer=s_a=1,s_b=2,\r\n", {{"Integer", {"s_a=1", "s_b=2", ""}}}},
        ParseCase{"empty_value", "K =\n", {{"K", {""}}}},
        ParseCase{"value_holds_equals", "Integer=s_a=1\n", {{"Integer", {"s_a=1"}}}},
        ParseCase{"single_quotes_keep_comma", "String=s_a='x,y',s_b='z'\n", {{"String", {"s_a='x,y'", "s_b='z'"}}}},
        ParseCase{"double_quotes_keep_comma", "K=\"a,'b\",c\n", {{"K", {"\"a,'b\"", "c"}}}},
        ParseCase{"later_duplicate_wins", "K=1\nK=2,3\n", {{"K", {"2", "3"}}}},
        ParseCase{"line_without_equals_joins_next_key", "junk\nK=1\n", {{"junk\nK", {"1"}}}},
        // 0x81 0x3D: the trail byte is '=' and must not split the key.
        ParseCase{"trail_byte_is_not_equals", "\x81=K=1\n", {{"\x81=K", {"1"}}}},
        // 0x81 0x2C and 0x81 0x0A: a trail ',' or LF belongs to its character.
        ParseCase{"trail_byte_is_not_comma", "K=a\x81,b\n", {{"K", {"a\x81,b"}}}},
        ParseCase{"trail_byte_is_not_line_feed", "K=a\x81\nb\nL=1\n", {{"K", {"a\x81\nb"}}, {"L", {"1"}}}},
        ParseCase{"lead_byte_at_the_end", std::string("K=1\n\x81"), {{"K", {"1"}}}},
        // Lead-range bytes pair up from where a character begins: after an even run a line feed
        // ends the line, after an odd run it is a trail byte.
        ParseCase{"even_lead_run_then_line_feed", "K=a\x81\x81\nL=1\n", {{"K", {"a\x81\x81"}}, {"L", {"1"}}}},
        ParseCase{"odd_lead_run_then_line_feed", "K=\x81\x81\x81\nb\nL=1\n", {{"K", {"\x81\x81\x81\nb"}}, {"L", {"1"}}}},
        // Long runs of plain bytes with a trail-byte comma and a quoted comma among them.
        ParseCase{"long_plain_runs",
                  "K=0123456789|0123456789\x83,0123456789|01,'2345678,9'\n",
                  {{"K", {"0123456789|0123456789\x83,0123456789|01", "'2345678,9'"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyValueSplit, PieceAfterLastCommaIsKept) {
  EXPECT_EQ(splitValue(""), Pieces{""});
  EXPECT_EQ(splitValue("a,"), (Pieces{"a", ""}));
  EXPECT_EQ(splitValue(",,"), (Pieces{"", "", ""}));
  EXPECT_EQ(splitValue("'unclosed,x"), Pieces{"'unclosed,x"});
}

}  // namespace
}  // namespace vellum
