// The corners of archive lookup and decoding that games depend on.
#include <filesystem>

#include "storage/archive_format.h"
#include "storage/archive_index.h"
#include "storage/hashes.h"
#include "storage_fixture.h"

namespace vellum {
namespace {

using test_support::Bytes;
using test_support::bytesOf;
using test_support::readFile;
using test_support::TempFolder;
using test_support::writeFile;

using test_support::kAcv1Header;

IndexEntry rawEntry(const Bytes& archive, size_t i) {
  return decodeIndexEntry(archive.data() + kAcv1Header + i * kArchiveEntrySize, kArchiveCountXor);
}

void putRawEntry(Bytes& archive, size_t i, const IndexEntry& e) {
  encodeIndexEntry(e, kArchiveCountXor, archive.data() + kAcv1Header + i * kArchiveEntrySize);
}

using ArchiveEdges = test_support::StorageTest;

TEST_F(ArchiveEdges, ALaterArchiveWins) {
  writeArchive("arc0.dat", {{"bg/x.png", bytesOf("from arc0")}, {"only0.txt", bytesOf("zero")}});
  writeArchive("arc3.dat", {{"bg/x.png", bytesOf("from arc3")}}, ArchiveMode::Plain);
  readArchives();
  ASSERT_TRUE(load("bg/x.png"));
  EXPECT_EQ(loaded(), bytesOf("from arc3"));
  EXPECT_EQ(storage().archives.at(crc64Of("bg/x.png")).archivePath, engine().exeDirectory + "arc3.dat");
  ASSERT_TRUE(load("only0.txt"));
  EXPECT_EQ(loaded(), bytesOf("zero"));
}

TEST_F(ArchiveEdges, ALaterEntryOfTheSameArchiveWins) {
  // "a.txt" and "b.txt" share the path bytes a plain entry's offset and size are XORed with, so
  // the second entry can take the first one's key and still decode.
  writeArchive("arc0.dat", {{"a.txt", bytesOf("first")}, {"b.txt", bytesOf("later")}}, ArchiveMode::Plain);
  Bytes archive = readFile(game / "arc0.dat");
  IndexEntry second = rawEntry(archive, 1);
  second.key = crc64Of("a.txt");
  putRawEntry(archive, 1, second);
  writeFile(game / "arc0.dat", archive);
  readArchives();
  ASSERT_EQ(storage().archives.size(), 1u);
  ASSERT_TRUE(load("a.txt"));
  EXPECT_EQ(loaded(), bytesOf("later"));
}

TEST_F(ArchiveEdges, AnArchivedPathNeverTouchesTheFolder) {
  writeArchive("arc0.dat", {{"a.txt", bytesOf("archived")}});
  writeFile(game / "a.txt", bytesOf("loose"));
  readArchives();
  ASSERT_TRUE(load("a.txt"));
  EXPECT_EQ(loaded(), bytesOf("archived"));
}

TEST_F(ArchiveEdges, APathNotInTheArchivesIsLoose) {
  writeArchive("arc0.dat", {{"a.txt", bytesOf("archived")}});
  writeFile(game / "b.txt", bytesOf("loose"));
  readArchives();
  uint32_t n = 0;
  uint64_t key = 1;
  FILE* f = openFile("b.txt", n, key);
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(n, 5u);
  ASSERT_TRUE(load("b.txt"));
  EXPECT_EQ(loaded(), bytesOf("loose"));
}

TEST_F(ArchiveEdges, OpenFileGivesTheKeyAndStoredSizeOfAnArchivedFile) {
  writeArchive("arc0.dat", {{"dir/stored.bin", bytesOf("twelve bytes")}}, ArchiveMode::Scramble);
  readArchives();
  uint32_t n = 0;
  uint64_t key = 0;
  FILE* f = openFile("dir/stored.bin", n, key);
  ASSERT_NE(f, nullptr);
  char first[12];
  EXPECT_EQ(std::fread(first, 1, sizeof first, f), sizeof first);
  std::fclose(f);
  EXPECT_EQ(key, crc64Of("dir/stored.bin"));
  EXPECT_EQ(n, 12u);
}

TEST_F(ArchiveEdges, ADriveColonPathBypassesTheFolder) {
  TempFolder elsewhere;
  writeFile(elsewhere / "c:data.bin", bytesOf("beside the process"));
  writeFile(game / "c:data.bin", bytesOf("in the game folder"));
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.path());
  const bool ok = load("c:data.bin");
  std::filesystem::current_path(previous);
  ASSERT_TRUE(ok);
  EXPECT_EQ(loaded(), bytesOf("beside the process"));
}

TEST_F(ArchiveEdges, AnAbsolutePathBypassesTheFolder) {
  TempFolder elsewhere;
  writeFile(elsewhere / "abs.bin", bytesOf("absolute"));
  ASSERT_TRUE(load((elsewhere / "abs.bin").string()));
  EXPECT_EQ(loaded(), bytesOf("absolute"));
}

TEST_F(ArchiveEdges, APlainEntryCarriesThePathXorInOffsetAndSizeButNotInItsData) {
  const std::string path = "image/sprite.png";  // n = 16: offset XOR path[8] 'r', size XOR path[4] 'e'
  const Bytes data = bytesOf("plain data, stored as it is");
  writeArchive("arc0.dat", {{path, data}}, ArchiveMode::Plain);
  const Bytes archive = readFile(game / "arc0.dat");
  const IndexEntry e = rawEntry(archive, 0);
  const uint32_t realOffset = kAcv1Header + kArchiveEntrySize;
  EXPECT_EQ(e.flags, 0);
  EXPECT_EQ(e.offset, realOffset ^ uint32_t{'r'});
  EXPECT_EQ(e.storedSize, data.size() ^ uint32_t{'e'});
  EXPECT_EQ(Bytes(archive.begin() + realOffset, archive.end()), data);

  readArchives();
  ASSERT_TRUE(load(path));
  EXPECT_EQ(loaded(), data);
}

TEST_F(ArchiveEdges, DescramblingAFileSmallerThanItsPathChangesNothing) {
  const std::string path = "voice/chapter1/line0001.ogg";
  const Bytes data = bytesOf("short");  // 5 bytes over a 27-byte path: each part is 0 bytes
  writeArchive("arc0.dat", {{path, data}}, ArchiveMode::Scramble);
  const Bytes archive = readFile(game / "arc0.dat");
  EXPECT_EQ(rawEntry(archive, 0).flags, 0x01);
  EXPECT_EQ(Bytes(archive.end() - 5, archive.end()), data);
  readArchives();
  ASSERT_TRUE(load(path));
  EXPECT_EQ(loaded(), data);
}

TEST_F(ArchiveEdges, ScramblingLeavesTheLastPartAsItIs) {
  const std::string path = "abc";  // parts of 10/3 = 3 bytes: XOR 'a', XOR 'b', then 4 bytes as they are
  const Bytes data = bytesOf("0123456789");
  writeArchive("arc0.dat", {{path, data}}, ArchiveMode::Scramble);
  const Bytes archive = readFile(game / "arc0.dat");
  const Bytes stored(archive.end() - 10, archive.end());
  for (size_t i = 0; i < 10; ++i) {
    const uint8_t expected = i < 3 ? data[i] ^ 'a' : i < 6 ? data[i] ^ 'b' : data[i];
    EXPECT_EQ(stored[i], expected) << i;
  }
}

TEST_F(ArchiveEdges, ACompressedSizeOutIsTheInflatedLength) {
  const Bytes data = bytesOf("the index says this is longer than it is");
  writeArchive("arc0.dat", {{"a.txt", data}}, ArchiveMode::Compress);
  Bytes archive = readFile(game / "arc0.dat");
  IndexEntry e = rawEntry(archive, 0);
  e.unpackedSize += 100;
  putRawEntry(archive, 0, e);
  writeFile(game / "arc0.dat", archive);
  readArchives();
  ASSERT_TRUE(load("a.txt"));
  EXPECT_EQ(size, data.size());
  EXPECT_EQ(loaded(), data);
}

TEST_F(ArchiveEdges, AnEmptyIndexAddsNothingButCountsAsAnArchive) {
  writeArchive("arc5.dat", {}, ArchiveMode::Compress, ArchiveLayout::Legacy);
  readArchives();
  EXPECT_TRUE(storage().archivesPresent);
  EXPECT_TRUE(storage().archives.empty());
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(ArchiveEdges, NoArchivesIsNotAnError) {
  readArchives();
  EXPECT_FALSE(storage().archivesPresent);
  EXPECT_TRUE(reports.boxes.empty());
}

}  // namespace
}  // namespace vellum
