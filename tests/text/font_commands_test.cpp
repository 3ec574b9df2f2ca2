// The font commands: the face list, private font files, and style and colour changes reaching the
// message text.
#include <filesystem>
#include <fstream>

#include "storage/archive_writer.h"
#include "storage/file_loader.h"

#include "message_fixture.h"
#include "platform/font_provider.h"
#include "script/expression.h"

namespace vellum::test {
namespace {

class FontCommands : public MessageTest {
 protected:
  void TearDown() override {
    clearPrivateFontFiles();
    MessageTest::TearDown();
  }
  void copyInstalledFont(const std::string& name) {
    const auto location = findInstalledFace("黑体");
    ASSERT_TRUE(location.has_value());
    std::filesystem::copy_file(location->file, game / name, std::filesystem::copy_options::overwrite_existing);
  }
};

TEST_F(FontCommands, TheFaceListNamesInstalledJapaneseFaces) {
  script("int n\nstring first\nstring past\ngetFontListNum 0, %n\ngetFontListStr 0, $first\ngetFontListStr 9999, $past\n");
  ASSERT_NE(findIntVariable("%n"), nullptr);
  EXPECT_GT(*findIntVariable("%n"), 0);
  EXPECT_FALSE(findStringVariable("$first")->empty());
  EXPECT_TRUE(findStringVariable("$past")->empty());
}

TEST_F(FontCommands, AddFontFileRecordsNineFiles) {
  copyInstalledFont("extra.ttc");
  std::string lines;
  for (int i = 0; i < 10; ++i) lines += "addFontFile \"extra.ttc\"\n";
  script(lines);
  int recorded = 0;
  for (const std::string& name : mainText().addedFonts()) recorded += !name.empty();
  EXPECT_EQ(recorded, 9);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(FontCommands, AFontFileInTheGameFolderIsUsed) {
  copyInstalledFont("story.ttc");
  createWindow("setFontFile \"story.ttc\", \"\"\n");
  EXPECT_TRUE(mainText().hasFace());
  EXPECT_TRUE(rubyText().hasFace());
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(FontCommands, AFontFileInTheArchivesIsUsed) {
  const auto location = findInstalledFace("黑体");
  ASSERT_TRUE(location.has_value());
  const std::string bytes = readFileBytes(location->file);
  std::vector<uint8_t> archive;
  std::string error;
  ASSERT_TRUE(buildArchive({{"fonts/story.ttc", std::vector<uint8_t>(bytes.begin(), bytes.end())}}, ArchiveMode::Plain,
                           ArchiveLayout::Acv1, archive, error))
      << error;
  std::ofstream(game / "arc0.dat", std::ios::binary).write(reinterpret_cast<const char*>(archive.data()),
                                                          static_cast<std::streamsize>(archive.size()));
  readArchives();
  createWindow("setFontFile \"fonts/story.ttc\", \"\"\n");
  EXPECT_TRUE(mainText().hasFace());
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(FontCommands, StyleAndColoursReachTheMessageText) {
  createWindow("setFontStyle 17, -1\nsetFontColor 16711680, -1\nsetFontColor3 255, -1\n");
  EXPECT_TRUE(mainText().bold());
  EXPECT_EQ(mainText().style(), 17);
  EXPECT_EQ(rubyText().style(), 1);  // ruby text is never anti-aliased
  EXPECT_EQ(mainText().rasteriser().colour(0), 0xFF0000u);
  EXPECT_EQ(rubyText().rasteriser().colour(2), 0x0000FFu);
  EXPECT_EQ(mainText().cell, 32);  // 24 + 1 + 4 rounds up to 32
  EXPECT_EQ(settings().fontStyle, 30);  // the stored value stays
}

TEST(CellSize, IsThePowerOfTwoAboveSizeBoldAndMargin) {
  EXPECT_EQ(cellFor(24, false), 32);
  EXPECT_EQ(cellFor(28, true), 64);
  EXPECT_EQ(cellFor(28, false), 32);
  EXPECT_EQ(cellFor(12, false), 16);
}

}  // namespace
}  // namespace vellum::test
