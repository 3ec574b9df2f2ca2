// Files beside the executable, and the plug-in exports that reach the loader.
#include "base/text_encoding.h"
#include "storage_fixture.h"
#include "vellum/exports.h"

namespace vellum {
namespace {

using test_support::Bytes;
using test_support::bytesOf;
using test_support::writeFile;

using LooseFiles = test_support::StorageTest;

TEST_F(LooseFiles, LoadFromTheGameFolder) {
  writeFile(game / "img/a.txt", bytesOf("loose bytes"));
  ASSERT_TRUE(load("img/a.txt"));
  EXPECT_EQ(loaded(), bytesOf("loose bytes"));
  EXPECT_GE(capacity, size);
}

TEST_F(LooseFiles, BackslashesAreFolderSeparators) {
  writeFile(game / "img/b.txt", bytesOf("b"));
  ASSERT_TRUE(load("img\\b.txt"));
  EXPECT_EQ(loaded(), bytesOf("b"));
}

TEST_F(LooseFiles, GbkPathsNameUtf8Files) {
  const std::string gbk = "\xD6\xD0\xCE\xC4.txt";  // 中文.txt
  writeFile(game / toUtf8(gbk, CodePage::Gbk), bytesOf("named in GBK"));
  ASSERT_TRUE(load(gbk));
  EXPECT_EQ(loaded(), bytesOf("named in GBK"));
}

TEST_F(LooseFiles, AnEmptyFileLoadsAsNothing) {
  writeFile(game / "empty", {});
  ASSERT_TRUE(load("empty"));
  EXPECT_EQ(size, 0u);
}

TEST_F(LooseFiles, ATooSmallBufferIsReplaced) {
  writeFile(game / "big.bin", Bytes(5000, 7));
  ASSERT_TRUE(load("big.bin"));
  const uint8_t* first = buffer;
  EXPECT_EQ(reinterpret_cast<uintptr_t>(first) % 16, 0u);
  writeFile(game / "bigger.bin", Bytes(50000, 9));
  ASSERT_TRUE(load("bigger.bin"));
  EXPECT_GE(capacity, 50000u);
  EXPECT_EQ(loaded(), Bytes(50000, 9));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer) % 16, 0u);
}

using StorageExports = test_support::StorageTest;

TEST_F(StorageExports, PluginsLoadIntoTheSharedBuffer) {
  writeFile(game / "p.txt", bytesOf("for a plug-in"));
  void** shared = nullptr;
  uint32_t* sharedCapacity = nullptr;
  getFileMemory(&shared, &sharedCapacity);
  ASSERT_NE(shared, nullptr);
  ASSERT_NE(sharedCapacity, nullptr);
  uint32_t n = 0;
  ASSERT_EQ(::loadFile("p.txt", shared, &n, sharedCapacity), 1);
  EXPECT_EQ(static_cast<void*>(storage().scratch), *shared);
  EXPECT_EQ(storage().scratchCapacity, *sharedCapacity);
  EXPECT_EQ(Bytes(storage().scratch, storage().scratch + n), bytesOf("for a plug-in"));
  getFileMemory(nullptr, nullptr);  // either output may be omitted
}

TEST_F(StorageExports, APluginOwnedBlockIsFreedWithFreeMemory) {
  writeFile(game / "p.txt", bytesOf("own block"));
  void* block = nullptr;
  uint32_t n = 0;
  uint32_t cap = 0;
  ASSERT_EQ(::loadFile("p.txt", &block, &n, &cap), 1);
  EXPECT_EQ(n, 9u);
  freeMemory(block);
  EXPECT_EQ(::loadFile("nothing-here", &block, &n, &cap), 0);
  EXPECT_EQ(::loadFile(nullptr, &block, &n, &cap), 0);
}

}  // namespace
}  // namespace vellum
