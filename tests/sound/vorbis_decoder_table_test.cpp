// The decoder table: filled by name from a library, refused (and the library closed again) when a
// name is missing or the stream state would not fit, and the feature word the settings trim.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "persist/engine_settings.h"
#include "sound/vorbis_builtin_library.h"
#include "sound/vorbis_decoder_table.h"

namespace vellum {
namespace {

// A library that can lack one name, report any state size, or fail to open.
struct FakeLibrary {
  static inline std::string missing;
  static inline size_t stateSize = 900;
  static inline bool openFails = false;
  static inline int opened = 0, closed = 0;
  static inline std::set<std::string> openedNames;

  static size_t querySize() { return stateSize; }
  static void stub() {}
  static void* open(std::string_view name) {
    if (openFails) return nullptr;
    ++opened;
    openedNames.insert(std::string(name));
    return &opened;
  }
  static void* symbol(void*, std::string_view name) {
    if (name == missing) return nullptr;
    if (name == "Query_sizeof_OggVorbis_File") return reinterpret_cast<void*>(&querySize);
    return reinterpret_cast<void*>(&stub);
  }
  static void close(void*) { ++closed; }
  static const DecoderLibrary& library() {
    static const DecoderLibrary l{&open, &symbol, &close};
    return l;
  }
  static void reset() {
    missing.clear();
    stateSize = 900;
    openFails = false;
    opened = closed = 0;
    openedNames.clear();
  }
};

class DecoderTable : public ::testing::Test {
 protected:
  void SetUp() override {
    unloadVorbisDecoder();
    FakeLibrary::reset();
  }
  void TearDown() override { unloadVorbisDecoder(); }
};

TEST_F(DecoderTable, EveryNameIsRequiredEvenTheUncalledOnes) {
  ASSERT_EQ(kVorbisDecoderNames.size(), 36u);
  for (std::string_view name : kVorbisDecoderNames) {
    FakeLibrary::reset();
    FakeLibrary::missing = std::string(name);
    EXPECT_EQ(loadVorbisDecoderFrom(FakeLibrary::library(), "plugin/wuvorbis.dll"), DecoderLoad::NameMissing) << name;
    EXPECT_EQ(FakeLibrary::closed, 1) << name;
    EXPECT_FALSE(vorbisDecoderLoaded()) << name;
    EXPECT_EQ(vorbisDecoder().ovRead, nullptr) << name;
  }
}

TEST_F(DecoderTable, StateSizeUpTo960IsAccepted) {
  struct Case {
    size_t size;
    DecoderLoad result;
  };
  for (const Case c : {Case{961, DecoderLoad::StateTooLarge}, Case{4096, DecoderLoad::StateTooLarge},
                       Case{960, DecoderLoad::Loaded}, Case{1, DecoderLoad::Loaded}}) {
    unloadVorbisDecoder();
    FakeLibrary::reset();
    FakeLibrary::stateSize = c.size;
    EXPECT_EQ(loadVorbisDecoderFrom(FakeLibrary::library(), "wuvorbis.dll"), c.result) << c.size;
    EXPECT_EQ(vorbisDecoderLoaded(), c.result == DecoderLoad::Loaded) << c.size;
    EXPECT_EQ(FakeLibrary::closed, c.result == DecoderLoad::Loaded ? 0 : 1) << c.size;
  }
  // Unloading closes the library and empties the table.
  unloadVorbisDecoder();
  EXPECT_EQ(FakeLibrary::closed, 1);
  EXPECT_EQ(vorbisDecoder().querySizeofOggVorbisFile, nullptr);
}

TEST_F(DecoderTable, AFileThatDoesNotLoadAndALibraryAlreadyIn) {
  FakeLibrary::openFails = true;
  EXPECT_EQ(loadVorbisDecoderFrom(FakeLibrary::library(), "plugin/wuvorbis.dll"), DecoderLoad::LibraryFailed);
  EXPECT_FALSE(vorbisDecoderLoaded());
  FakeLibrary::openFails = false;
  EXPECT_EQ(loadVorbisDecoderFrom(FakeLibrary::library(), "wuvorbis.dll"), DecoderLoad::Loaded);
  EXPECT_EQ(loadVorbisDecoderFrom(FakeLibrary::library(), "wuvorbis.dll"), DecoderLoad::Loaded);
  EXPECT_EQ(FakeLibrary::opened, 1);  // the second attempt found it in
}

TEST_F(DecoderTable, TheEnginesOwnLibraryHasEveryNameAndAStateThatFits) {
  for (std::string_view name : kVorbisDecoderNames) {
    void* handle = builtInVorbisLibrary().open("plugin/wuvorbis.dll");
    EXPECT_NE(builtInVorbisLibrary().symbol(handle, name), nullptr) << name;
  }
  ASSERT_TRUE(loadVorbisDecoder());
  EXPECT_LE(vorbisDecoder().querySizeofOggVorbisFile(), kVorbisStateBytes);
}

TEST(DecoderCpuFeatures, SettingsOfZeroRemoveTheirBits) {
  struct Case {
    int mmx, sse, sse2;
    uint32_t expected;
  };
  const uint32_t all = 0xFFFFFFFF;
  for (const Case c : {Case{1, 1, 1, all}, Case{0, 1, 1, all & ~0x20000u}, Case{1, 0, 1, all & ~0x4C0000u},
                       Case{1, 1, 0, all & ~0xA00000u}, Case{0, 0, 0, all & ~0xEE0000u}})
    EXPECT_EQ(decoderCpuFeatures(all, c.mmx, c.sse, c.sse2), c.expected) << c.mmx << c.sse << c.sse2;
}

TEST(DecoderCpuFeatures, TheDecoderIsToldTheTrimmedWord) {
  resetSettings();
  unloadVorbisDecoder();
  ASSERT_TRUE(loadVorbisDecoder());
  settings().mmx = 1;
  settings().sse = 1;
  settings().sse2 = 0;
  applyDecoderCpuFeatures();
  EXPECT_EQ(builtInVorbisCpuType() & 0xA00000u, 0u);
  EXPECT_EQ(builtInVorbisCpuType(), decoderCpuFeatures(vorbisDecoder().detectCpu(), 1, 1, 0));
  unloadVorbisDecoder();
  resetSettings();
}

}  // namespace
}  // namespace vellum
