// The compressed container: its exact bytes, and every damaged file read as a reported failure.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "persist/compressed_container.h"
#include "persist/persist_messages.h"
#include "persist/replace_file.h"
#include "persist_fixture.h"

namespace vellum {
namespace {

using test::PersistTest;

std::string le32(uint32_t n) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
  return out;
}

std::string zlibLevel9(const std::string& payload) {
  uLongf size = compressBound(payload.size());
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(payload.data()), payload.size(), 9);
  out.resize(size);
  return out;
}

TEST(Container, CompressedFileIsLengthThenLevel9Stream) {
  const std::string payload = "TotalTime = 0\r\nStartingSetUp = 1";
  std::string file;
  ASSERT_EQ(packContainer(payload, true, file), ContainerFault::None);
  EXPECT_EQ(file, le32(static_cast<uint32_t>(payload.size())) + zlibLevel9(payload));
  std::string back;
  EXPECT_EQ(unpackContainer(file, true, back), ContainerFault::None);
  EXPECT_EQ(back, payload);
}

TEST(Container, PlainFileIsThePayloadAlone) {
  std::string file;
  ASSERT_EQ(packContainer("Comment=x\n", false, file), ContainerFault::None);
  EXPECT_EQ(file, "Comment=x\n");
  std::string back;
  EXPECT_EQ(unpackContainer(file, false, back), ContainerFault::None);
  EXPECT_EQ(back, "Comment=x\n");
}

TEST(Container, EmptyPayloadRoundTripsCompressed) {
  std::string file, back = "x";
  ASSERT_EQ(packContainer("", true, file), ContainerFault::None);
  EXPECT_EQ(unpackContainer(file, true, back), ContainerFault::None);
  EXPECT_EQ(back, "");
}

struct DamageCase {
  const char* name;
  std::string file;
  ContainerFault fault;
};

class ContainerDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(ContainerDamage, IsAReadFailure) {
  std::string payload = "left over";
  EXPECT_EQ(unpackContainer(GetParam().file, true, payload), GetParam().fault);
  EXPECT_EQ(payload, "");
}

const std::string kGood = le32(5) + zlibLevel9("hello");

INSTANTIATE_TEST_SUITE_P(
    Table, ContainerDamage,
    ::testing::Values(DamageCase{"empty", "", ContainerFault::BadLength},
                      DamageCase{"header_only", le32(0), ContainerFault::BadLength},
                      DamageCase{"shorter_than_header", "\x05\x00", ContainerFault::BadLength},
                      DamageCase{"huge_length_field", le32(0xFFFFFFFFu) + zlibLevel9("hello"), ContainerFault::BadLength},
                      DamageCase{"length_beyond_ratio", le32(20 * 1032) + "xxxxxxxxxxxxxxxxxxx", ContainerFault::BadLength},
                      DamageCase{"inflates_shorter", le32(6) + zlibLevel9("hello"), ContainerFault::Inflate},
                      DamageCase{"inflates_longer", le32(4) + zlibLevel9("hello"), ContainerFault::Inflate},
                      DamageCase{"corrupt_stream", le32(5) + "garbage bytes", ContainerFault::Inflate},
                      DamageCase{"truncated_stream", kGood.substr(0, kGood.size() - 3), ContainerFault::Inflate},
                      DamageCase{"over_one_mebibyte", std::string(kContainerMaxFileSize + 1, 'x'), ContainerFault::BadLength}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Container, PayloadLengthBound) {
  EXPECT_FALSE(plausiblePayloadLength(0, 4));
  EXPECT_TRUE(plausiblePayloadLength(1032, 5));
  EXPECT_FALSE(plausiblePayloadLength(1033, 5));
  EXPECT_FALSE(plausiblePayloadLength(kContainerMaxPayload + 1, kContainerMaxFileSize));
}

TEST(Container, WriterRefusesWhatTheReaderWouldReject) {
  std::string file;
  EXPECT_EQ(packContainer("", false, file), ContainerFault::Deflate);
  EXPECT_EQ(packContainer(std::string(kContainerMaxFileSize + 1, 'a'), false, file), ContainerFault::Deflate);
  EXPECT_EQ(packContainer(std::string(kContainerMaxPayload + 1, 'a'), true, file), ContainerFault::Deflate);
  // Random bytes do not shrink: over 1 MiB of them cannot make a readable file.
  std::string noise(kContainerMaxFileSize + 16, '\0');
  uint32_t x = 12345;
  for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  EXPECT_EQ(packContainer(noise, true, file), ContainerFault::Deflate);
  EXPECT_TRUE(file.empty());
}

TEST_F(PersistTest, SaveAndLoadThroughFiles) {
  const std::string path = (game / "data.dat").string();
  ASSERT_EQ(saveDataZlib(path, true, "a=1\n"), 0);
  std::string payload;
  ASSERT_EQ(loadDataZlib(path, true, payload), 0);
  EXPECT_EQ(payload, "a=1\n");
  EXPECT_STREQ(payload.c_str(), "a=1\n");  // NUL after the payload
  EXPECT_TRUE(reports.boxes.empty());
  // No temporary file is left beside it.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(game.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(PersistTest, MissingFileReportsTheSystemError) {
  const std::string path = (game / "none.dat").string();
  std::string payload;
  EXPECT_EQ(loadDataZlib(path, true, payload), -1);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0], "loadDataZlib\n" + path + " No such file or directory");
}

TEST_F(PersistTest, OversizedFileReportsItsPath) {
  game.write("big.dat", std::string(kContainerMaxFileSize + 1, 'x'));
  const std::string path = (game / "big.dat").string();
  std::string payload;
  EXPECT_EQ(loadDataZlib(path, true, payload), -1);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0], path + std::string(persist_messages::kBadFileLength));
}

TEST_F(PersistTest, CorruptStreamReportsAReadFailure) {
  game.write("bad.dat", le32(100) + "not a zlib stream");
  const std::string path = (game / "bad.dat").string();
  std::string payload;
  EXPECT_EQ(loadDataZlib(path, true, payload), -1);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0], path + std::string(persist_messages::kInflateFailed));
}

TEST_F(PersistTest, WriteIntoMissingFolderReportsAndReturnsFailure) {
  const std::string path = (game / "no/such/folder/x.dat").string();
  EXPECT_EQ(saveDataZlib(path, true, "x"), -1);
  ASSERT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(reports.boxes[0], "saveDataZlib\n" + path + " No such file or directory");
}

bool failBeforeRename(const std::string&, const std::string&) { return false; }

TEST_F(PersistTest, FailureBetweenWriteAndRenameKeepsTheOldFile) {
  const std::string path = (game / "keep.dat").string();
  ASSERT_EQ(saveDataZlib(path, true, "old"), 0);
  setReplaceInterruption(&failBeforeRename);
  EXPECT_EQ(saveDataZlib(path, true, "new"), -1);
  setReplaceInterruption(nullptr);
  EXPECT_EQ(reports.boxes.size(), 1u);
  EXPECT_EQ(test::inflatedFile(path), "old");
}

}  // namespace
}  // namespace vellum
