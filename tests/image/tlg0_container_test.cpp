// TLG0 containers assembled by hand: the inner stream, then chunks; only "tags" is read.
#include <gtest/gtest.h>

#include "tlg_stream_builder.h"

namespace vellum::image_test {
namespace {

using namespace std::string_literals;

const uint8_t kMagic0[] = {'T', 'L', 'G', '0', '.', '0', 0x00, 's', 'd', 's', 0x1A};

// A 2 x 1 one-colour TLG5 stream: grey 0x20, 0x30.
Bytes innerStream() {
  Bytes s(std::begin(kMagic5), std::end(kMagic5));
  s.push_back(1);
  putLe32(s, 2);
  putLe32(s, 1);
  putLe32(s, 4);
  putLe32(s, 0);
  s.push_back(1);
  putLe32(s, 2);
  s.push_back(0x20);
  s.push_back(0x10);
  return s;
}

void chunk(Bytes& out, const char* name, const Bytes& content) {
  out.insert(out.end(), name, name + 4);
  putLe32(out, static_cast<uint32_t>(content.size()));
  out.insert(out.end(), content.begin(), content.end());
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes container(const std::vector<std::pair<const char*, Bytes>>& chunks) {
  const Bytes inner = innerStream();
  Bytes out(std::begin(kMagic0), std::end(kMagic0));
  putLe32(out, static_cast<uint32_t>(inner.size()));
  out.insert(out.end(), inner.begin(), inner.end());
  for (const auto& [name, content] : chunks) chunk(out, name, content);
  if (out.size() < 48) out.resize(48, 0);
  return out;
}

TEST(Tlg0Container, TagsSetNamePositionAndMode) {
  Bytes tags = text("1:\x02=4:");
  tags.insert(tags.end(), {0x10, 0x00, 0x00, 0x00});
  tags.push_back(',');
  const Bytes rest = text("1:\x03=4:");
  tags.insert(tags.end(), rest.begin(), rest.end());
  tags.insert(tags.end(), {0xFE, 0xFF, 0xFF, 0xFF});
  const Bytes more = text(",2:ab=3:xyz,1:\x04=4:\x07\x00\x00\x00,1:\x01=7:eyes.tlg"s);
  tags.insert(tags.end(), more.begin(), more.end());
  tags.resize(tags.size() - 1);  // "eyes.tl": seven bytes, and no comma after the last entry
  ConsoleRecorder console;
  ImagePtr image = decode(container({{"xtra", text("ignored")}, {"tags", tags}}));
  ASSERT_NE(image, nullptr) << joined(console.lines);
  EXPECT_EQ(image->left, 16);
  EXPECT_EQ(image->top, -2);
  EXPECT_EQ(image->mode, 7);
  EXPECT_STREQ(image->name, "eyes.tl");
  EXPECT_EQ(image->pixels[0], 0xFF202020u);
  EXPECT_EQ(image->pixels[1], 0xFF303030u);
}

TEST(Tlg0Container, NoChunksIsFine) {
  ImagePtr image = decode(container({}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->name[0], '\0');
}

// A name of exactly 255 bytes fits the record; 256 does not.
TEST(Tlg0Container, NameLengthLimit) {
  const std::string fits(255, 'n');
  ImagePtr image = decode(container({{"tags", text("1:\x01=255:" + fits)}}));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(std::string(image->name), fits);

  ConsoleRecorder console;
  EXPECT_EQ(decode(container({{"tags", text("1:\x01=256:" + std::string(256, 'n'))}})), nullptr);
  EXPECT_TRUE(console.printed("the name is 256 bytes, longer than 255")) << joined(console.lines);
}

struct BadContainer {
  const char* label;
  Bytes data;
  const char* problem;
};

std::vector<BadContainer> badContainers() {
  std::vector<BadContainer> cases;
  cases.push_back({"ValueLengthPastChunk", container({{"tags", text("1:\x02=9:abcd")}}), "bad value length"});
  cases.push_back({"KeyLengthNotANumber", container({{"tags", text("x:\x02=4:abcd")}}), "bad key length"});
  cases.push_back({"NoEquals", container({{"tags", text("1:\x02" "4:abcd")}}), "no '=' after the key"});
  cases.push_back({"NoComma", container({{"tags", text("1:\x02=4:abcd;1:\x03=4:abcd")}}), "no ',' after the value"});
  cases.push_back({"PositionNotFourBytes", container({{"tags", text("1:\x02=2:ab")}}), "a position or mode of 2 bytes"});
  cases.push_back({"HugeLength", container({{"tags", text("1:\x02=99999999999999999999:ab")}}), "bad value length"});
  {
    Bytes c = container({{"tags", text("1:\x02=4:abcd")}});
    c.resize(c.size() - 2);  // the chunk is cut off
    cases.push_back({"ChunkCutOff", c, "runs past the end of the data"});
  }
  {
    Bytes c = container({{"tags", text("")}});
    c.insert(c.end(), {'t', 'a', 'g'});  // three stray bytes: not a chunk header
    cases.push_back({"StrayBytes", c, "a chunk header is cut off"});
  }
  {
    Bytes c = container({});
    c[11] = 0xFF;  // inner length far past the data
    cases.push_back({"InnerLengthPastData", c, "runs past the end of the data"});
  }
  {
    Bytes c = container({});
    c[15] = 'X';  // the inner stream is neither TLG5 nor TLG6
    cases.push_back({"InnerNotTlg", c, "not a TLG5 or TLG6 stream"});
  }
  return cases;
}

class Tlg0Bad : public ::testing::TestWithParam<BadContainer> {};

TEST_P(Tlg0Bad, IsReportedAndFails) {
  ConsoleRecorder console;
  EXPECT_EQ(decode(GetParam().data), nullptr);
  EXPECT_TRUE(console.printed(GetParam().problem)) << joined(console.lines);
}

INSTANTIATE_TEST_SUITE_P(Containers, Tlg0Bad, ::testing::ValuesIn(badContainers()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(TlgDetection, ShortDataIsRefusedAtOnce) {
  ConsoleRecorder console;
  Bytes s = innerStream();
  ASSERT_LT(s.size(), 48u);
  EXPECT_EQ(decode(s), nullptr);
  PictureHeader header{};
  EXPECT_FALSE(loadHeader(s.data(), s.size(), header));
}

}  // namespace
}  // namespace vellum::image_test
