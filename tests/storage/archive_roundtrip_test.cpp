// Archives written by buildArchive load back through loadFile, in every mode and both layouts.
#include <random>
#include <tuple>

#include "storage/file_loader.h"
#include "storage_fixture.h"

namespace vellum {
namespace {

using test_support::Bytes;
using test_support::bytesOf;

Bytes randomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (uint8_t& x : b) x = static_cast<uint8_t>(rng());
  return b;
}

std::vector<ArchiveMember> sampleMembers() {
  return {
      {"a.txt", bytesOf("hello, archive\n")},
      {"img/bg01.png", randomBytes(100000, 1)},
      {"empty.bin", {}},
      {"t", bytesOf("abc")},
      {"sound/very/long/path/name.ogg", bytesOf("tiny")},  // smaller than its path
      {"\xD6\xD0\xCE\xC4/text.txt", bytesOf("GBK-named entry")},
      {"data/repeat.dat", Bytes(300000, 'z')},
  };
}

class ArchiveRoundTrip : public test_support::StorageTest,
                         public ::testing::WithParamInterface<std::tuple<ArchiveMode, ArchiveLayout>> {};

TEST_P(ArchiveRoundTrip, EveryMemberLoadsBack) {
  const auto [mode, layout] = GetParam();
  const auto members = sampleMembers();
  writeArchive("arc0.dat", members, mode, layout);
  readArchives();
  ASSERT_TRUE(storage().archivesPresent);
  ASSERT_EQ(storage().archives.size(), members.size());

  for (const ArchiveMember& m : members) {
    SCOPED_TRACE(m.path);
    ASSERT_TRUE(load(m.path));
    EXPECT_EQ(loaded(), m.data);
  }
  EXPECT_TRUE(reports.boxes.empty()) << reports.boxes.front();
}

TEST_P(ArchiveRoundTrip, TheSharedScratchBufferOnlyGrows) {
  const auto [mode, layout] = GetParam();
  const auto members = sampleMembers();
  writeArchive("arc0.dat", members, mode, layout);
  readArchives();

  StorageState& s = storage();
  uint32_t n = 0;
  ASSERT_TRUE(loadFile("data/repeat.dat", s.scratch, n, s.scratchCapacity));
  const uint8_t* block = s.scratch;
  const uint32_t grown = s.scratchCapacity;
  EXPECT_GE(grown, 300000u);

  n = 0;
  ASSERT_TRUE(loadFile("a.txt", s.scratch, n, s.scratchCapacity));
  EXPECT_EQ(s.scratch, block);
  EXPECT_EQ(s.scratchCapacity, grown);
  EXPECT_EQ(Bytes(s.scratch, s.scratch + n), bytesOf("hello, archive\n"));
}

INSTANTIATE_TEST_SUITE_P(Storage, ArchiveRoundTrip,
                         ::testing::Combine(::testing::Values(ArchiveMode::Compress, ArchiveMode::Scramble,
                                                              ArchiveMode::Plain),
                                            ::testing::Values(ArchiveLayout::Acv1, ArchiveLayout::Legacy)),
                         [](const auto& info) {
                           return std::string(test_support::nameOf(std::get<0>(info.param))) +
                                  test_support::nameOf(std::get<1>(info.param));
                         });

using RequestedSize = test_support::StorageTest;

TEST_F(RequestedSize, LimitsAPlainRead) {
  writeArchive("arc0.dat", {{"a.txt", bytesOf("0123456789")}}, ArchiveMode::Plain);
  readArchives();
  ASSERT_TRUE(load("a.txt", 4));
  EXPECT_EQ(loaded(), bytesOf("0123"));
}

TEST_F(RequestedSize, IsReturnedUnchangedForCompressedData) {
  writeArchive("arc0.dat", {{"a.txt", bytesOf("0123456789")}}, ArchiveMode::Compress);
  readArchives();
  ASSERT_TRUE(load("a.txt", 4));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(Bytes(buffer, buffer + 10), bytesOf("0123456789"));
}

TEST(ArchiveWriter, RefusesPathsItCannotKey) {
  Bytes out;
  std::string error;
  EXPECT_FALSE(buildArchive({{"", bytesOf("x")}}, ArchiveMode::Compress, ArchiveLayout::Acv1, out, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(buildArchive({{"a", bytesOf("x")}, {"a", bytesOf("y")}}, ArchiveMode::Plain, ArchiveLayout::Acv1,
                            out, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vellum
