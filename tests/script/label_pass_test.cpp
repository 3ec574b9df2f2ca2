#include <gtest/gtest.h>

#include <vellum/exports.h>

#include "script/script_state.h"
#include "storage/hashes.h"
#include "support/engine_fixture.h"

namespace vellum {
namespace {

class LabelPass : public test::EngineTest {
 protected:
  const LabelRecord* label(const char* name) {
    auto it = scriptState().labels.find(crc32Of(name));
    return it == scriptState().labels.end() ? nullptr : &it->second;
  }
  const ReadFlagTable& flags(const char* path) { return scriptState().readFlags[crc64Of(path)]; }
};

TEST_F(LabelPass, CollectsLabelsWithTheirTerminators) {
  ASSERT_TRUE(addScript("script/0.txt", "*start\n*a:rest\n*b rest\n*c\t\n*d/x\n*\xb0\xa1z\n"));
  const uint64_t key = crc64Of("script/0.txt");
  for (const char* name : {"start", "a", "b", "c", "d", "\xb0\xa1z"}) {
    ASSERT_NE(label(name), nullptr) << name;
    EXPECT_EQ(label(name)->fileKey, key);
  }
  EXPECT_EQ(label("start")->line, 0);
  EXPECT_EQ(label("b")->line, 2);
  EXPECT_EQ(label("b")->name, "b");
}

TEST_F(LabelPass, MessageBlocksGetOneReadFlagEach) {
  ASSERT_TRUE(addScript("script/0.txt",
                        "cmd 1\n"
                        "\xb5\xda\xd2\xbb\n"
                        "\xb5\xda\xb6\xfe\n"
                        "*inside\n"  // part of the block: not a label
                        "\n"
                        "cmd 2\n"
                        "\xc1\xed\n"
                        "\n"
                        "*after\n"));
  const ReadFlagTable& table = flags("script/0.txt");
  EXPECT_EQ(table.size(), 2u);
  EXPECT_TRUE(table.count(1));
  EXPECT_TRUE(table.count(6));
  EXPECT_EQ(table.at(1), 0);
  EXPECT_EQ(label("inside"), nullptr);
  EXPECT_NE(label("after"), nullptr);
}

TEST_F(LabelPass, CrOnlyLineIsTextNotEmpty) {
  ASSERT_TRUE(addScript("script/0.txt", "\xb5\xda\xd2\xbb\r\n\r\n*x\r\nmore\n"));
  // "\r" continues the block, so "*x\r" is inside it and not examined.
  EXPECT_EQ(label("x"), nullptr);
  EXPECT_EQ(flags("script/0.txt").size(), 1u);
}

TEST_F(LabelPass, RecordsTheDisplayName) {
  ASSERT_TRUE(addScript("script/7.txt", "\xb5\xda\n"));
  EXPECT_EQ(scriptState().fileNames.at(crc64Of("script/7.txt")), vellum::ulltos32(crc64Of("script/7.txt")));
}

struct BadLabel {
  const char* name;
  std::string script;
  int line;
  const char* problem;  // UTF-8
};

class LabelErrors : public LabelPass, public ::testing::WithParamInterface<BadLabel> {};

TEST_P(LabelErrors, ReportFileKeyLineAndProblem) {
  const BadLabel& c = GetParam();
  EXPECT_FALSE(addScript("script/0.txt", c.script));
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  const std::string expected_prefix = ulltos32(crc64Of("script/0.txt")) + "[" + std::to_string(c.line) + "] ";
  EXPECT_EQ(reports.shownBoxes[0].rfind(expected_prefix, 0), 0u) << reports.shownBoxes[0];
  EXPECT_NE(reports.shownBoxes[0].find(c.problem), std::string::npos) << reports.shownBoxes[0];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelErrors,
    ::testing::Values(BadLabel{"invalid_byte", "*ok\n*bad!\n", 2, " ※ラベル名が不正です"},
                      BadLabel{"cr_in_label", "*bad\r\n", 1, " ※ラベル名が不正です"},
                      BadLabel{"duplicate", "*twice\n\n*twice\n", 3, " ※ラベルが重複しています"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LabelPass, LabelsAreGlobalAcrossFiles) {
  ASSERT_TRUE(addScript("script/0.txt", "*shared\n"));
  EXPECT_FALSE(addScript("script/5.txt", "*shared\n"));
  ASSERT_EQ(reports.shownBoxes.size(), 1u);
  EXPECT_NE(reports.shownBoxes[0].find("[1] *shared ※ラベルが重複しています"), std::string::npos);
}

}  // namespace
}  // namespace vellum
