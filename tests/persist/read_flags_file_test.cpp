// already.dat: the read flags of every script file across runs.
#include <gtest/gtest.h>

#include <vellum/exports.h>

#include "persist/persist_messages.h"
#include "persist/persist_state.h"
#include "persist/read_flags_file.h"
#include "persist_fixture.h"
#include "script/script_state.h"

namespace vellum {
namespace {

class ReadFlagsFile : public test::PersistTest {
 protected:
  void SetUp() override {
    PersistTest::SetUp();
    persistState().saveDirectory = game.withSlash() + "save/";
  }
  ReadFlagTable& table(uint64_t key) { return scriptState().readFlags[key]; }
};

TEST_F(ReadFlagsFile, LinesAreKeyAndDigitsInLineOrder) {
  table(0x21) = {{30, 1}, {2, 0}, {17, 1}, {5, 0}};
  table(7) = {{0, 1}};
  EXPECT_EQ(composeReadFlags(), "S7=1\r\nS11=0011\r\n");
}

TEST_F(ReadFlagsFile, FlagsOfEveryFileRoundTrip) {
  table(0xABCDEF0123456789ull) = {{0, 1}, {4, 0}, {9, 1}};
  table(3) = {{1, 0}, {2, 1}};
  table(99) = {};
  const auto saved = scriptState().readFlags;
  ASSERT_TRUE(saveAlready());
  for (auto& [key, flags] : scriptState().readFlags)
    for (auto& [line, flag] : flags) flag = 0;
  readAlreadyFile();
  EXPECT_EQ(scriptState().readFlags, saved);
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(ReadFlagsFile, UnknownKeyIsReportedOnceAndTheRestApplies) {
  table(5) = {{0, 0}, {3, 0}};
  table(6) = {{1, 0}};
  applyReadFlags("S5=11\r\nSZZ=101\r\nS6=1\r\n");
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0], "ZZ" + std::string(persist_messages::kUnknownScriptKey));
  EXPECT_EQ(table(5), (ReadFlagTable{{0, 1}, {3, 1}}));
  EXPECT_EQ(table(6), (ReadFlagTable{{1, 1}}));
}

TEST_F(ReadFlagsFile, GainedMessagesStayUnread) {
  table(5) = {{0, 0}, {3, 0}, {8, 0}};
  applyReadFlags("S5=11\r\n");
  EXPECT_EQ(table(5), (ReadFlagTable{{0, 1}, {3, 1}, {8, 0}}));
}

TEST_F(ReadFlagsFile, DigitsBeyondTheTableAreIgnored) {
  table(5) = {{0, 0}};
  applyReadFlags("S5=1111\nS5=0");  // the last line has no line end
  EXPECT_EQ(table(5), (ReadFlagTable{{0, 0}}));
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(ReadFlagsFile, NoFileMeansNothingReadAndNoReport) {
  table(5) = {{0, 0}};
  readAlreadyFile();
  EXPECT_EQ(table(5), (ReadFlagTable{{0, 0}}));
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(ReadFlagsFile, DamagedFileIsReportedAndFlagsStay) {
  table(5) = {{0, 1}};
  game.write("save/already.dat", "xy");
  readAlreadyFile();
  EXPECT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(table(5), (ReadFlagTable{{0, 1}}));
}

TEST_F(ReadFlagsFile, WrittenCompressed) {
  table(5) = {{0, 1}};
  ASSERT_TRUE(saveAlready());
  EXPECT_EQ(test::inflatedFile(game / "save/already.dat"), "S5=1\r\n");
}

}  // namespace
}  // namespace vellum
