// vellum-pack end to end: what it packs loads in the engine, and list/extract read it back.
#include <sys/wait.h>
#include <zlib.h>

#include <sstream>

#include "base/text_encoding.h"
#include "storage/archive_format.h"
#include "storage/archive_index.h"
#include "storage/hashes.h"
#include "storage_fixture.h"
#include "test_paths.h"

namespace vellum {
namespace {

using test_support::Bytes;
using test_support::bytesOf;
using test_support::readFile;
using test_support::TempFolder;
using test_support::writeFile;

std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

std::string base32(uint64_t key) {
  std::string s;
  do {
    s.insert(s.begin(), "0123456789ABCDEFGHIJKLMNOPQRSTUV"[key & 31]);
    key >>= 5;
  } while (key);
  return s;
}

class PackTool : public test_support::StorageTest {
 protected:
  // Runs vellum-pack with the arguments; stdout and stderr land in `out` and `err`.
  int pack(const std::string& arguments) {
    const std::string command = std::string(VELLUM_BINARY_DIR "/vellum-pack ") + arguments + " >" +
                                quoted(work / "out.txt") + " 2>" + quoted(work / "err.txt");
    const int status = std::system(command.c_str());
    const Bytes o = readFile(work / "out.txt");
    const Bytes e = readFile(work / "err.txt");
    out.assign(o.begin(), o.end());
    err.assign(e.begin(), e.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void makeDataFolder() {
    files = {
        {"a.txt", bytesOf("plain text\n")},
        {"img/bg/room.png", Bytes(70000, 0x42)},
        {"se/click.wav", bytesOf("RIFF....WAVE")},
        {"x", bytesOf("1")},
    };
    for (const auto& [name, data] : files) writeFile(data_ / name, data);
  }

  TempFolder work;
  std::filesystem::path data_ = work / "data";
  std::vector<std::pair<std::string, Bytes>> files;
  std::string out;
  std::string err;
};

TEST_F(PackTool, ArchivesLoadInTheEngineInEveryModeAndLayout) {
  makeDataFolder();
  for (const char* mode : {"compress", "scramble", "plain"}) {
    for (const char* layout : {"", " --legacy"}) {
      SCOPED_TRACE(std::string(mode) + layout);
      ASSERT_EQ(pack("archive " + quoted(data_) + " -o " + quoted(game / "arc0.dat") + " --mode " + mode + layout), 0)
          << err;
      resetStorage();
      readArchives();
      ASSERT_EQ(storage().archives.size(), files.size());
      for (const auto& [name, data] : files) {
        ASSERT_TRUE(load(name)) << name;
        EXPECT_EQ(loaded(), data) << name;
      }
    }
  }
  EXPECT_TRUE(reports.boxes.empty());
}

TEST_F(PackTool, ListNamesEveryEntryByKey) {
  makeDataFolder();
  ASSERT_EQ(pack("archive " + quoted(data_) + " -o " + quoted(work / "arc1.dat")), 0) << err;
  ASSERT_EQ(pack("list " + quoted(work / "arc1.dat") + " --names " + quoted(data_)), 0) << err;
  std::istringstream lines(out);
  std::string line;
  size_t count = 0;
  while (std::getline(lines, line)) {
    ++count;
    std::istringstream fields(line);
    std::string key, flags, name;
    uint32_t stored = 0, unpacked = 0;
    fields >> key >> flags >> stored >> unpacked >> name;
    bool found = false;
    for (const auto& [path, data] : files) {
      if (path != name) continue;
      found = true;
      EXPECT_EQ(key, base32(crc64Of(path)));
      EXPECT_EQ(flags, "0x02");
      EXPECT_EQ(unpacked, data.size());
    }
    EXPECT_TRUE(found) << line;
  }
  EXPECT_EQ(count, files.size());
}

TEST_F(PackTool, ExtractWritesTheNamedEntriesBack) {
  makeDataFolder();
  for (const char* mode : {"compress", "scramble", "plain"}) {
    SCOPED_TRACE(mode);
    const auto target = work / (std::string("extracted-") + mode);
    ASSERT_EQ(pack("archive " + quoted(data_) + " -o " + quoted(work / "arc2.dat") + " --mode " + mode), 0) << err;
    ASSERT_EQ(pack("extract " + quoted(work / "arc2.dat") + " -o " + quoted(target) + " --names " + quoted(data_)), 0)
        << err;
    for (const auto& [name, data] : files) EXPECT_EQ(readFile(target / name), data) << name;
  }
}

// Reads one entry of a script container as the engine's container loader does.
Bytes scriptEntry(const std::filesystem::path& container, const std::string& path, std::string_view title) {
  ArchiveIndex index;
  EXPECT_TRUE(readArchiveIndex(container.string(), index));
  const auto it = index.find(crc64Of(path));
  if (it == index.end()) return {};
  const ArchiveEntry& e = it->second;
  const Bytes all = readFile(container);
  Bytes block(all.begin() + e.offset, all.begin() + e.offset + e.storedSize);
  xorWords(block.data(), block.size(), static_cast<uint32_t>(it->first) ^ static_cast<uint32_t>(crc64Of(title)));
  Bytes text(e.unpackedSize);
  uLongf n = text.size();
  EXPECT_EQ(uncompress(text.data(), &n, block.data(), block.size()), Z_OK);
  text.resize(n);
  return text;
}

TEST_F(PackTool, ScriptsBecomeLfOnlyGbkUnderTheTitleKey) {
  const auto root = work / "game-src";
  // UTF-8 with a byte-order mark, CR LF and a lone CR.
  writeFile(root / "script/0.txt", bytesOf("\xEF\xBB\xBF*start\r\n\xE4\xB8\xAD\xE6\x96\x87\r\nsecond\rlast"));
  writeFile(root / "script/sub/1.txt", bytesOf("plain\r\n"));
  const auto container = game / "script.dat";
  ASSERT_EQ(pack("script " + quoted(root) + " -o " + quoted(container) + " --from-utf8 --title 'My Title'"), 0) << err;

  const Bytes text = scriptEntry(container, "script/0.txt", "My Title");
  const std::string expected = "*start\n" + fromUtf8("\xE4\xB8\xAD\xE6\x96\x87", CodePage::Gbk) + "\nsecond\nlast";
  EXPECT_EQ(std::string(text.begin(), text.end()), expected);
  EXPECT_EQ(std::string(expected.begin() + 7, expected.begin() + 11), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(scriptEntry(container, "script/sub/1.txt", "My Title"), bytesOf("plain\n"));
}

TEST_F(PackTool, ScriptsUseTheBuildsTitleByDefault) {
  const auto root = work / "game-src";
  writeFile(root / "script/0.txt", bytesOf("*start\r\n"));
  ASSERT_EQ(pack("script " + quoted(root) + " -o " + quoted(game / "script.dat")), 0) << err;
  EXPECT_EQ(scriptEntry(game / "script.dat", "script/0.txt", VELLUM_GAME_TITLE), bytesOf("*start\n"));

  ASSERT_EQ(pack("extract " + quoted(game / "script.dat") + " -o " + quoted(work / "back") + " --names " + quoted(root)),
            0)
      << err;
  EXPECT_EQ(readFile(work / "back/script/0.txt"), bytesOf("*start\n"));
}

TEST_F(PackTool, FailuresNameTheFileAndExitNonZero) {
  EXPECT_NE(pack("archive " + quoted(work / "no-such-folder") + " -o " + quoted(work / "arc0.dat")), 0);
  EXPECT_NE(err.find("no-such-folder"), std::string::npos) << err;
  EXPECT_NE(pack("list " + quoted(work / "missing.dat")), 0);
  EXPECT_NE(err.find("missing.dat"), std::string::npos) << err;
  writeFile(work / "tiny.dat", bytesOf("AC"));
  EXPECT_NE(pack("list " + quoted(work / "tiny.dat")), 0);
  EXPECT_NE(err.find("tiny.dat"), std::string::npos) << err;
  EXPECT_EQ(pack("archive " + quoted(work.path()) + " --bogus"), 2);
  EXPECT_EQ(pack("archive " + quoted(work.path()) + " -o x --mode squash"), 2);
  EXPECT_EQ(pack("extract " + quoted(work / "tiny.dat") + " -o " + quoted(work / "x")), 2);  // no --names
  EXPECT_EQ(pack("--help"), 0);
  EXPECT_NE(out.find("vellum-pack archive ROOT"), std::string::npos);
}

}  // namespace
}  // namespace vellum
