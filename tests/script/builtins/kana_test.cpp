// kana in packed games. The kana tables are Shift-JIS, so the text comes from a Shift-JIS data file
// and the result is written back to one; the script prints whether it equals the expected file.
#include <gtest/gtest.h>

#include <string>

#include "base/text_encoding.h"
#include "script/builtins/packed_game.h"

namespace vellum {
namespace {

struct KanaCase {
  const char* name;
  const char* text;  // UTF-8, stored as Shift-JIS
  const char* options;
  const char* expected;  // UTF-8
};

std::string sjis(const char* utf8) { return fromUtf8(utf8, CodePage::ShiftJis); }

class Kana : public ::testing::TestWithParam<KanaCase> {};

TEST_P(Kana, ConvertsEveryEntryOfTheSourceTable) {
  const KanaCase& c = GetParam();
  const test::PackedGame game(std::string("string i, o, e\nloadFile \"in.txt\", $i\nkana $o, $i, \"") + c.options +
                              "\"\nsaveFile \"out.txt\", $o\nloadFile \"expected.txt\", $e\nprint $o == $e\n");
  game.file("in.txt", sjis(c.text));
  game.file("expected.txt", sjis(c.expected));
  const auto result = game.run();
  EXPECT_EQ(result.out, "1");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(toUtf8(game.read("out.txt"), CodePage::ShiftJis), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Kana,
    ::testing::Values(KanaCase{"katakana_to_hiragana_voiced", "ガ", "c", "が"},
                      KanaCase{"hiragana_to_katakana", "がっこう ぱん", "C", "ガッコウ パン"},
                      KanaCase{"hiragana_to_katakana_leaves_the_rest", "今日はＡＢＣ abc ｶ", "C", "今日ハＡＢＣ abc ｶ"},
                      KanaCase{"small_and_old_kana", "ぁゃゎゐゑ", "C", "ァャヮヰヱ"},
                      KanaCase{"katakana_only_forms_to_hiragana", "ヵヶヴ", "c", "かけヴ"},
                      KanaCase{"hiragana_to_half_width", "がっこう、ぱーく", "h", "ｶﾞｯｺｳ、ﾊﾟｰｸ"},
                      KanaCase{"katakana_to_half_width", "ヴァイオリン゛", "k", "ｳﾞｧｲｵﾘﾝﾞ"},
                      KanaCase{"half_width_to_hiragana", "ｶﾞｯｺｳ ﾊﾟﾝ", "H", "がっこう ぱん"},
                      KanaCase{"half_width_to_katakana", "ｳﾞｨｰﾅｽﾟ", "K", "ヴィーナス゜"},
                      KanaCase{"half_width_marks_alone", "ﾞﾟ", "H", "゛゜"},
                      KanaCase{"round_trip_in_the_fixed_order", "ひらがなカタカナ", "Hh", "ひらがなカタカナ"},
                      KanaCase{"two_conversions_chain", "ひらがな", "kC", "ﾋﾗｶﾞﾅ"},
                      KanaCase{"no_options", "かな", "", "かな"},
                      KanaCase{"every_hiragana",
                               "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねのは"
                               "ばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをん",
                               "C",
                               "ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノハ"
                               "バパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲン"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellum
