// The writer side of script.dat: entries decode with the entry key XOR the title key.
#include <zlib.h>

#include "storage/archive_format.h"
#include "storage/archive_index.h"
#include "storage/hashes.h"
#include "storage_fixture.h"

namespace vellum {
namespace {

using test_support::Bytes;
using test_support::bytesOf;
using test_support::readFile;
using test_support::writeFile;

// What the engine's container loader does with one entry: XOR words with key ^ title, inflate.
bool decodeScript(const Bytes& container, const ArchiveEntry& e, uint64_t key, std::string_view title, Bytes& out) {
  if (uint64_t{e.offset} + e.storedSize > container.size()) return false;
  Bytes block(container.begin() + e.offset, container.begin() + e.offset + e.storedSize);
  xorWords(block.data(), block.size(), static_cast<uint32_t>(key) ^ static_cast<uint32_t>(crc64Of(title)));
  out.resize(e.unpackedSize);
  uLongf n = out.size();
  if (uncompress(out.data(), &n, block.data(), block.size()) != Z_OK) return false;
  out.resize(n);
  return true;
}

class ScriptContainer : public test_support::StorageTest, public ::testing::WithParamInterface<ArchiveLayout> {};

TEST_P(ScriptContainer, EveryEntryDecodesWithTheTitleKey) {
  const std::vector<ArchiveMember> members = {
      {"script/0.txt", bytesOf("*start\nhello\n")},
      {"script/1.txt", bytesOf("*other\n")},
      {"script/odd.txt", bytesOf("x")},  // a stream whose length is not a multiple of 4
  };
  Bytes out;
  std::string error;
  ASSERT_TRUE(buildScriptContainer(members, "Some Title", GetParam(), out, error)) << error;
  writeFile(game / "script.dat", out);

  ArchiveIndex index;
  ASSERT_TRUE(readArchiveIndex(engine().exeDirectory + "script.dat", index));
  ASSERT_EQ(index.size(), members.size());
  for (const ArchiveMember& m : members) {
    SCOPED_TRACE(m.path);
    const uint64_t key = crc64Of(m.path);
    const ArchiveEntry& e = index.at(key);
    EXPECT_EQ(e.flags, kArchiveCompressed);
    EXPECT_EQ(e.unpackedSize, m.data.size());
    Bytes text;
    ASSERT_TRUE(decodeScript(out, e, key, "Some Title", text));
    EXPECT_EQ(text, m.data);
    EXPECT_FALSE(decodeScript(out, e, key, "Another Title", text) && text == m.data);
  }
  EXPECT_TRUE(reports.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Storage, ScriptContainer, ::testing::Values(ArchiveLayout::Acv1, ArchiveLayout::Legacy),
                         [](const auto& info) { return std::string(test_support::nameOf(info.param)); });

}  // namespace
}  // namespace vellum
