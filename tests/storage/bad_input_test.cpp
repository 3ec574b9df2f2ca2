// Damaged archives and missing files: each is reported and the load fails; nothing reads or
// writes out of bounds (the sanitizer build runs these too).
#include <cerrno>
#include <cstring>
#include <string>

#include "storage/archive_format.h"
#include "storage/archive_index.h"
#include "storage_fixture.h"

namespace vellum {
namespace {

using test_support::Bytes;
using test_support::bytesOf;
using test_support::readFile;
using test_support::writeFile;

using test_support::kAcv1Header;

// " メモリを確保出来ませんでした" in Shift-JIS.
const std::string kOutOfMemorySjis =
    " \x83\x81\x83\x82\x83\x8a\x82\xf0\x8a\x6d\x95\xdb\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5"
    "\x82\xb5\x82\xbd";

class BadInput : public test_support::StorageTest {
 protected:
  // Packs the members, lets `damage` change the bytes, writes arc0.dat and reads the archives.
  template <typename Damage>
  void damagedArchive(const std::vector<ArchiveMember>& members, ArchiveMode mode, Damage damage) {
    writeArchive("arc0.dat", members, mode);
    Bytes archive = readFile(game / "arc0.dat");
    damage(archive);
    writeFile(game / "arc0.dat", archive);
    readArchives();
  }

  static void patchEntry(Bytes& archive, size_t i, void (*change)(IndexEntry&)) {
    uint8_t* at = archive.data() + kAcv1Header + i * kArchiveEntrySize;
    IndexEntry e = decodeIndexEntry(at, kArchiveCountXor);
    change(e);
    encodeIndexEntry(e, kArchiveCountXor, at);
  }

  // A report begins with the message; errorc puts the script context after it.
  bool reportedFirst(const std::string& message) const {
    for (const std::string& box : reports.boxes)
      if (box.rfind(message, 0) == 0) return true;
    return false;
  }
};

const std::vector<ArchiveMember> kThree = {
    {"one.txt", bytesOf("first file")},
    {"two.txt", bytesOf("second file")},
    {"three.txt", bytesOf("third file")},
};

TEST_F(BadInput, ATruncatedIndexIsReportedAndKeepsTheWholeEntries) {
  damagedArchive(kThree, ArchiveMode::Compress,
                 [](Bytes& a) { a.resize(kAcv1Header + 2 * kArchiveEntrySize + 10); });
  EXPECT_TRUE(storage().archivesPresent);
  EXPECT_EQ(storage().archives.size(), 2u);
  EXPECT_TRUE(reports.anyBoxContains(" index is truncated: 2 of 3 entries read(readArchiveIndex)"));
  // Their data went with the cut: loading is refused, not read past the end.
  reports.clear();
  EXPECT_FALSE(load("one.txt"));
  EXPECT_TRUE(reports.anyBoxContains("(openFile2)"));
  EXPECT_TRUE(reportedFirst("one.txt Invalid argument(loadFile1)"));
}

TEST_F(BadInput, AHeaderShorterThanAWordIsReported) {
  writeFile(game / "arc0.dat", bytesOf("AC"));
  readArchives();
  EXPECT_TRUE(storage().archives.empty());
  EXPECT_TRUE(reports.anyBoxContains("arc0.dat index header is truncated(readArchiveIndex)"));
}

TEST_F(BadInput, AnAbsurdCountReadsOnlyWhatIsThere) {
  damagedArchive(kThree, ArchiveMode::Plain, [](Bytes& a) { writeLe32(a.data() + 4, 0xFFFFFFFFu ^ kArchiveCountXor); });
  // The data behind the index is read as entries too, as far as whole ones fit: 31 bytes, one more.
  EXPECT_EQ(storage().archives.size(), 4u);
  EXPECT_TRUE(reports.anyBoxContains(" 4 of 4294967295 entries read"));
  EXPECT_TRUE(load("two.txt"));
  EXPECT_EQ(loaded(), bytesOf("second file"));
}

TEST_F(BadInput, AnEntryRunningPastTheFileEndIsRefused) {
  damagedArchive(kThree, ArchiveMode::Compress, [](Bytes& a) { a.resize(a.size() - 3); });
  EXPECT_TRUE(reports.boxes.empty());
  EXPECT_TRUE(load("one.txt"));
  EXPECT_FALSE(load("three.txt"));  // the last member lost its tail
  EXPECT_TRUE(reports.anyBoxContains("three.txt lies outside its archive"));
  EXPECT_TRUE(reports.anyBoxContains("(openFile2)"));
}

TEST_F(BadInput, AnOffsetFarPastTheFileIsRefused) {
  for (ArchiveMode mode : {ArchiveMode::Compress, ArchiveMode::Scramble, ArchiveMode::Plain}) {
    reports.clear();
    damagedArchive(kThree, mode, [](Bytes& a) { patchEntry(a, 1, [](IndexEntry& e) { e.offset = 0xFFFFFF00u; }); });
    EXPECT_FALSE(load("two.txt"));
    EXPECT_TRUE(reports.anyBoxContains("(openFile2)"));
  }
}

TEST_F(BadInput, ACorruptZlibStreamReportsTheInflationFailure) {
  const Bytes data(4000, 'q');
  damagedArchive({{"bad.bin", data}}, ArchiveMode::Compress, [](Bytes& a) {
    const size_t stream = kAcv1Header + kArchiveEntrySize;
    for (size_t i = stream + 2; i < a.size() - 4; ++i) a[i] ^= 0x5A;
  });
  const uint32_t need = 4000 + 4000 / 8 + 12;
  EXPECT_FALSE(load("bad.bin"));
  EXPECT_TRUE(reportedFirst("bad.bin" + kOutOfMemorySjis + "(loadFile5)" + std::to_string(need) + "\r\n"));
  EXPECT_EQ(capacity, 0u);
}

TEST_F(BadInput, AnUnpackedSizeSmallerThanTheStreamFailsInflation) {
  damagedArchive({{"a.txt", Bytes(1000, 'a')}}, ArchiveMode::Compress,
                 [](Bytes& a) { patchEntry(a, 0, [](IndexEntry& e) { e.unpackedSize = 10; }); });
  EXPECT_FALSE(load("a.txt"));
  EXPECT_TRUE(reports.anyBoxContains("(loadFile5)"));
}

TEST_F(BadInput, AHugeUnpackedSizeIsRefusedBeforeAllocating) {
  for (uint32_t huge : {0xFFFFFFFFu, 0xE3000000u, kMaxLoadSize + 1}) {
    reports.clear();
    damagedArchive({{"a.txt", bytesOf("some text")}}, ArchiveMode::Compress, [huge](Bytes& a) {
      uint8_t* at = a.data() + kAcv1Header;
      IndexEntry e = decodeIndexEntry(at, kArchiveCountXor);
      e.unpackedSize = huge;
      encodeIndexEntry(e, kArchiveCountXor, at);
    });
    EXPECT_FALSE(load("a.txt"));
    EXPECT_TRUE(reportedFirst("a.txt size " + std::to_string(huge) + " is over the load limit of 1073741824 bytes(loadFile7)"));
    EXPECT_EQ(buffer, nullptr);
  }
}

TEST_F(BadInput, AnUnpackedSizeNoStreamOfThatLengthCanGiveIsRefused) {
  damagedArchive({{"a.txt", bytesOf("some text")}}, ArchiveMode::Compress,
                 [](Bytes& a) { patchEntry(a, 0, [](IndexEntry& e) { e.unpackedSize = 500u << 20; }); });
  EXPECT_FALSE(load("a.txt"));
  EXPECT_TRUE(reports.anyBoxContains("(loadFile7)"));
  EXPECT_EQ(buffer, nullptr);
}

TEST_F(BadInput, AMissingLooseFileReportsTheFullPathThenTheLoad) {
  EXPECT_FALSE(load("missing/file.png"));
  ASSERT_EQ(reports.boxes.size(), 2u);
  const std::string reason = std::strerror(ENOENT);
  EXPECT_TRUE(reportedFirst(engine().exeDirectory + "missing/file.png " + reason + "(openFile3)\r\n"));
  EXPECT_TRUE(reportedFirst("missing/file.png " + reason + "(loadFile1)\r\n"));
}

TEST_F(BadInput, AFolderIsNotALooseFile) {
  std::filesystem::create_directories(game / "sub");
  EXPECT_FALSE(load("sub"));
  EXPECT_TRUE(reports.anyBoxContains("(openFile3)"));
  EXPECT_FALSE(load(""));
  EXPECT_TRUE(reports.anyBoxContains("(loadFile1)"));
}

TEST_F(BadInput, AShortReadFailsTheLoad) {
  writeFile(game / "short.bin", bytesOf("ten bytes!"));
  EXPECT_FALSE(load("short.bin", 100));
  EXPECT_TRUE(reportedFirst("short.bin read 10 of 100 bytes(loadFile6)"));
}

TEST_F(BadInput, AMissingArchiveFileAfterStartUpIsReported) {
  writeArchive("arc0.dat", kThree);
  readArchives();
  std::filesystem::remove(game / "arc0.dat");
  EXPECT_FALSE(load("one.txt"));
  EXPECT_TRUE(reportedFirst("one.txt " + std::string(std::strerror(ENOENT)) + "(openFile1)"));
}

}  // namespace
}  // namespace vellum
