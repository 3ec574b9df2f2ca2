#include <gtest/gtest.h>

#include <vellum/exports.h>

#include "base/engine_state.h"
#include "script/script_state.h"
#include "storage/hashes.h"
#include "script/script_container.h"
#include "support/game_builder.h"

namespace vellum {
namespace {

class ScriptLoading : public test::EngineTest {};

TEST_F(ScriptLoading, OpensInBothLayoutsAndCollectsLabelsOfEveryFile) {
  for (ArchiveLayout layout : {ArchiveLayout::Acv1, ArchiveLayout::Legacy}) {
    resetScriptContainer();
    resetScriptState();
    test::writeScriptContainer(game, {{"script/0.txt", "*a\n"}, {"script/9.txt", "*b\ncmd 1\n"}}, VELLUM_GAME_TITLE,
                               layout);
    ASSERT_TRUE(openScriptContainer());
    EXPECT_EQ(scriptState().labels.at(crc32Of("b")).fileKey, crc64Of("script/9.txt"));
    EXPECT_EQ(scriptState().readFlags.size(), 2u);
    ScriptFile file;
    ASSERT_TRUE(loadScript(crc64Of("script/9.txt"), file));
    ASSERT_EQ(file.size(), 2u);
    EXPECT_EQ(file[1].tokens, (std::vector<std::string>{"cmd", " 1"}));
    // Parsing names the file it is reading.
    EXPECT_STREQ(engine().currentCommandName, ulltos32(crc64Of("script/9.txt")).c_str());
  }
  EXPECT_TRUE(reports.shownBoxes.empty());
}

TEST_F(ScriptLoading, StoredSizesThatAreNotWholeWordsLoad) {
  // Different lengths give compressed streams of every length modulo 4.
  for (int n = 0; n < 8; ++n) {
    resetScriptContainer();
    resetScriptState();
    const std::string text = "cmd " + std::string(static_cast<size_t>(n) + 1, 'x') + "\n";
    test::writeScriptContainer(game, {{"script/0.txt", text}});
    ASSERT_TRUE(openScriptContainer());
    ScriptFile file;
    ASSERT_TRUE(loadScript(crc64Of("script/0.txt"), file));
    EXPECT_EQ(file.at(0).tokens.at(1), " " + std::string(static_cast<size_t>(n) + 1, 'x'));
  }
}

TEST_F(ScriptLoading, UnknownKeyIsReported) {
  test::writeScriptContainer(game, {{"script/0.txt", "*a\n"}});
  ASSERT_TRUE(openScriptContainer());
  ScriptFile file;
  EXPECT_FALSE(loadScript(crc64Of("script/2.txt"), file));
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], ulltos32(crc64Of("script/2.txt")) + ": スクリプトファイルハッシュが不正です");
}

TEST_F(ScriptLoading, AnotherTitleFailsToInflate) {
  test::writeScriptContainer(game, {{"script/0.txt", "*a\n"}}, "Other");
  EXPECT_FALSE(openScriptContainer());
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0], ulltos32(crc64Of("script/0.txt")) + ": スクリプトの読み込みに失敗しました");
}

TEST_F(ScriptLoading, DamagedContainersReportAndFail) {
  const std::vector<uint8_t> good = test::scriptContainer({{"script/0.txt", "*a\ncmd 1, 2, 3\n"}});
  struct Damage {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Damage> cases;
  cases.push_back({"truncated_data", std::vector<uint8_t>(good.begin(), good.end() - 3)});
  auto flipped = good;
  flipped[flipped.size() - 5] ^= 0xFF;
  cases.push_back({"corrupt_stream", flipped});
  auto hugeSize = good;  // the unpacked size field of the only entry (XORed with the key)
  hugeSize[8 + 17 + 3] ^= 0x7F;
  cases.push_back({"huge_unpacked_size", hugeSize});
  auto pastEnd = good;  // offset field
  pastEnd[8 + 9 + 3] ^= 0x40;
  cases.push_back({"offset_past_end", pastEnd});
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.name);
    resetScriptContainer();
    resetScriptState();
    reports.shownBoxes.clear();
    game.write("script.dat", std::string(c.bytes.begin(), c.bytes.end()));
    EXPECT_FALSE(openScriptContainer());
    EXPECT_FALSE(reports.shownBoxes.empty());
  }
}

TEST_F(ScriptLoading, MissingContainer) {
  EXPECT_FALSE(openScriptContainer());
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_EQ(reports.shownBoxes[0].rfind("loadLabel\nscript.dat ", 0), 0u);
}

}  // namespace
}  // namespace vellum
