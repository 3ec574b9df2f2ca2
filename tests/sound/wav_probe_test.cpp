// The WAV reader takes what real files hold and refuses every header that lies about the file.
#include "sound/wav_probe.h"

#include <gtest/gtest.h>

#include <functional>

#include "sound/wav_files.h"

namespace vellum {
namespace {

std::string stereoWav(int frames) { return test::makeWav(std::vector<int16_t>(static_cast<size_t>(frames) * 2, 7), 2, 44100); }

void put16(std::string& bytes, size_t at, uint16_t v) {
  bytes[at] = static_cast<char>(v);
  bytes[at + 1] = static_cast<char>(v >> 8);
}
void put32(std::string& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

bool read(const std::string& bytes, WavLayout& layout) {
  return readWavLayout(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), layout);
}

TEST(WavProbe, ReadsTheCanonicalHeaderAndExtraChunks) {
  WavLayout layout;
  ASSERT_TRUE(read(stereoWav(100), layout));
  EXPECT_EQ(layout.channels, 2);
  EXPECT_EQ(layout.sampleRate, 44100);
  EXPECT_EQ(layout.blockAlign, 4u);
  EXPECT_EQ(layout.byteRate, 176400u);
  EXPECT_EQ(layout.dataOffset, 44u);
  EXPECT_EQ(layout.dataSize, 400u);
  // A LIST chunk (odd length, padded) between fmt and data.
  std::string listed = stereoWav(10);
  const std::string list = std::string("LIST\x03\x00\x00\x00" "abc\0", 12);
  listed.insert(36, list);
  ASSERT_TRUE(read(listed, layout));
  EXPECT_EQ(layout.dataOffset, 56u);
  EXPECT_EQ(layout.dataSize, 40u);
  // An odd data chunk that ends the file without its pad byte: whole frames only.
  std::string odd = stereoWav(10);
  odd.push_back('\x07');
  put32(odd, 40, 41);
  put32(odd, 4, static_cast<uint32_t>(odd.size() - 8));
  ASSERT_TRUE(read(odd, layout));
  EXPECT_EQ(layout.dataSize, 40u);
}

TEST(WavProbe, RefusesHeadersThatDoNotFitTheFile) {
  const struct {
    const char* what;
    std::function<void(std::string&)> spoil;
  } cases[] = {
      {"data size past the end", [](std::string& b) { put32(b, 40, 1000); }},
      {"data size near 4 GiB", [](std::string& b) { put32(b, 40, 0xFFFFFFF0u); }},
      {"block align 0", [](std::string& b) { put16(b, 32, 0); }},
      {"block align not channels x 2", [](std::string& b) { put16(b, 32, 3); }},
      {"format tag 3 (float)", [](std::string& b) { put16(b, 20, 3); }},
      {"format tag 0x11 (ADPCM)", [](std::string& b) { put16(b, 20, 0x11); }},
      {"8-bit samples", [](std::string& b) { put16(b, 34, 8); }},
      {"no channels", [](std::string& b) { put16(b, 22, 0); }},
      {"six channels", [](std::string& b) { put16(b, 22, 6); }},
      {"rate 0", [](std::string& b) { put32(b, 24, 0); }},
      {"fmt chunk too short", [](std::string& b) { put32(b, 16, 8); }},
      {"chunk length past the end", [](std::string& b) { put32(b, 16, 0xFFFFFFF0u); }},
      {"truncated in the header", [](std::string& b) { b.resize(30); }},
      {"no data chunk", [](std::string& b) { b.replace(36, 4, "junk"); }},
      {"an odd chunk last, without its pad byte",
       [](std::string& b) { b.replace(36, std::string::npos, std::string("LIST\x03\x00\x00\x00" "abc", 11)); }},
      {"not RIFF", [](std::string& b) { b.replace(0, 4, "RIFX"); }},
      {"empty data", [](std::string& b) { put32(b, 40, 2); }},
  };
  for (const auto& c : cases) {
    std::string bytes = stereoWav(100);
    c.spoil(bytes);
    WavLayout layout;
    EXPECT_FALSE(read(bytes, layout)) << c.what;
  }
}

TEST(WavProbe, TellsFormatsApart) {
  auto kind = [](const std::string& bytes) {
    return probeSoundFormat(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  };
  std::string ogg(27, '\0');
  ogg.replace(0, 4, "OggS");
  ogg[26] = 1;
  ogg.push_back(30);
  EXPECT_EQ(kind(stereoWav(1)), SoundFormatKind::PcmWav);
  EXPECT_EQ(kind(ogg + "\x01vorbis"), SoundFormatKind::OggVorbis);
  EXPECT_EQ(kind(ogg + "OpusHead"), SoundFormatKind::OggOpus);
  EXPECT_EQ(kind(ogg + "\x01vorb"), SoundFormatKind::Unknown);
  EXPECT_EQ(kind("ID3\x04"), SoundFormatKind::Unknown);
  EXPECT_EQ(kind(""), SoundFormatKind::Unknown);
}

}  // namespace
}  // namespace vellum
