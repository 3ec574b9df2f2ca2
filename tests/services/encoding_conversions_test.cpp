#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/aligned_memory.h"
#include "vellum/exports.h"

namespace {

using Units = std::vector<uint16_t>;

template <typename Out, typename In>
using Conversion = Out* (*)(const In*, uint32_t*);

// Runs a conversion on a heap copy of exactly the input's size, so the sanitizer build reports any
// read past the given length; checks the returned length and the zero terminator.
template <typename Out, typename In>
std::vector<Out> run(Conversion<Out, In> convert, const In* input, size_t count, size_t terminatorBytes) {
  auto exact = std::make_unique<In[]>(count);
  std::copy(input, input + count, exact.get());
  uint32_t length = static_cast<uint32_t>(count * sizeof(In));
  Out* block = convert(exact.get(), &length);
  if (!block) {
    ADD_FAILURE() << "no block";
    return {};
  }
  EXPECT_EQ(length % sizeof(Out), 0u);
  const auto* bytes = reinterpret_cast<const uint8_t*>(block);
  for (size_t i = 0; i < terminatorBytes; ++i) EXPECT_EQ(bytes[length + i], 0) << "terminator byte " << i;
  std::vector<Out> out(block, block + length / sizeof(Out));
  vellum::freeAligned(block);
  return out;
}

std::string text(const std::vector<char>& chars) { return std::string(chars.begin(), chars.end()); }

Units gbkToUtf16(std::string_view in) { return run<uint16_t, char>(sjis_to_utf16, in.data(), in.size(), 2); }
std::string gbkToUtf8(std::string_view in) { return text(run<char, char>(sjis_to_utf8, in.data(), in.size(), 3)); }
std::string utf16ToUtf8(const Units& in) { return text(run<char, uint16_t>(utf16_to_utf8, in.data(), in.size(), 3)); }
std::string utf16ToSjis(const Units& in) { return text(run<char, uint16_t>(utf16_to_sjis, in.data(), in.size(), 1)); }
std::string utf8ToSjis(std::string_view in) { return text(run<char, char>(utf8_to_sjis, in.data(), in.size(), 1)); }
Units utf8ToUtf16(std::string_view in) { return run<uint16_t, char>(utf8_to_utf16, in.data(), in.size(), 2); }

using namespace std::string_literals;

template <typename In, typename Out>
struct Case {
  In input;
  Out expected;
};

TEST(EncodingConversions, DoubleByteToUtf16) {
  const Case<std::string, Units> cases[] = {
      {"", {}},
      {"A", {0x41}},
      {"A\xA1\xBE", {0x41, 0x3010}},
      {"\xB0\xA1\xC4\xE3", {0x554A, 0x4F60}},
      {"\x7F\x80\xFF", {0, 0, 0}},  // only 0x00-0x7E are single-byte characters
      {"\xFD\x41", {0, 0x41}},      // 0xFD starts no double-byte character
      {"A\xB0", {0x41}},            // a final lone lead byte is dropped
      {"\xA1", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(gbkToUtf16(c.input), c.expected) << c.input;
}

TEST(EncodingConversions, DoubleByteToUtf8) {
  const Case<std::string, std::string> cases[] = {
      {"", ""},
      {"Hello", "Hello"},
      {"A\xA1\xE3\xA1\xBE", "A\xC2\xB0\xE3\x80\x90"},  // one, two and three UTF-8 bytes
      {"\x80", "\0"s},
      {"\xB0\xA1\xB0", "\xE5\x95\x8A"},
  };
  for (const auto& c : cases) EXPECT_EQ(gbkToUtf8(c.input), c.expected) << c.input;
}

TEST(EncodingConversions, DoubleByteToUtf8IntoTheInputBuffer) {
  char buffer[16] = "A\xA1\xBE";
  uint32_t length = 3;
  EXPECT_EQ(sjis_to_utf8_s(buffer, &length, sizeof buffer), buffer);
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(std::string(buffer, 7), "A\xE3\x80\x90\0\0\0"s);

  // Exactly output + 3 bytes fit; one fewer does not, and *length still tells the size.
  char exact[7] = "A\xA1\xBE";
  length = 3;
  EXPECT_EQ(sjis_to_utf8_s(exact, &length, 7), exact);
  char tooSmall[6] = "A\xA1\xBE";
  length = 3;
  EXPECT_EQ(sjis_to_utf8_s(tooSmall, &length, 6), nullptr);
  EXPECT_EQ(length, 4u);
  EXPECT_STREQ(tooSmall, "A\xA1\xBE");

  // Without a buffer size it returns a new block like sjis_to_utf8.
  length = 3;
  char* block = sjis_to_utf8_s(buffer, &length, 0);
  ASSERT_NE(block, nullptr);
  EXPECT_NE(block, buffer);
  vellum::freeAligned(block);
}

TEST(EncodingConversions, Utf16ToUtf8) {
  const Case<Units, std::string> cases[] = {
      {{}, ""},
      {{0x41, 0x3B1, 0x3042}, "A\xCE\xB1\xE3\x81\x82"},
      {{0xD83D}, "\xED\xA0\xBD"},  // surrogate halves are encoded one by one
      {{0x0000}, "\0"s},
      {{0x07FF, 0x0800, 0xFFFF}, "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
  };
  for (const auto& c : cases) EXPECT_EQ(utf16ToUtf8(c.input), c.expected);
}

TEST(EncodingConversions, Utf16ToShiftJis) {
  const Case<Units, std::string> cases[] = {
      {{0xFEFF, 0x41}, "A"},  // the byte-order mark is skipped
      {{0xFEFF}, ""},
      {{0x3042, 0x41, 0xFF71}, "\x82\xA0\x41\xB1"},  // two bytes high first, or one
      {{0x41, 0xFEFF}, "A\0"s},                    // only a leading mark is skipped
      {{0x0E01}, "\0"s},                           // no code: one zero byte
  };
  for (const auto& c : cases) EXPECT_EQ(utf16ToSjis(c.input), c.expected);
}

TEST(EncodingConversions, Utf8ToShiftJis) {
  const Case<std::string, std::string> cases[] = {
      {"A\xE3\x81\x82", "A\x82\xA0"},
      {"\xEF\xBD\xB1", "\xB1"},
      {"\xE6\x97\xA5\xE3\x80\x80", "\x93\xFA\x81\x40"},
      {"A\xE3\x81", "A"},  // a truncated sequence is dropped
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToSjis(c.input), c.expected) << c.input;
}

TEST(EncodingConversions, Utf8ToUtf16) {
  const Case<std::string, Units> cases[] = {
      {"A\xE3\x81\x82", {0x41, 0x3042}},
      {"\xCE\xB1", {0x3B1}},
      {"\x80\x80\x80", {0}},           // a stray continuation byte starts a 3-byte sequence
      {"\xF0\x9F\x98\x80", {0x07D8}},  // so does a 4-byte lead; its last byte is cut off
      {"A\xE3\x81", {0x41}},           // a truncated sequence is dropped
      {"\xC3", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToUtf16(c.input), c.expected) << c.input;
}

TEST(EncodingConversions, LengthsAreBytesBothWays) {
  uint32_t length = 3;  // "A" and one double-byte character
  uint16_t* units = sjis_to_utf16("A\xB0\xA1", &length);
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(length, 4u);  // two units
  length = 4;
  char* utf8 = utf16_to_utf8(units, &length);
  ASSERT_NE(utf8, nullptr);
  EXPECT_EQ(length, 4u);  // 1 + 3 bytes
  EXPECT_STREQ(utf8, "A\xE5\x95\x8A");
  vellum::freeAligned(units);
  vellum::freeAligned(utf8);

  // An odd byte count leaves the last half unit unread.
  const Units twoUnits = {0x41, 0x42};
  auto exact = std::make_unique<uint16_t[]>(2);
  std::copy(twoUnits.begin(), twoUnits.end(), exact.get());
  length = 3;
  utf8 = utf16_to_utf8(exact.get(), &length);
  ASSERT_NE(utf8, nullptr);
  EXPECT_EQ(length, 1u);
  EXPECT_STREQ(utf8, "A");
  vellum::freeAligned(utf8);
}

TEST(EncodingConversions, EveryBasicPlaneUnitSurvivesUtf8) {
  Units all;
  for (uint32_t unit = 1; unit <= 0xFFFF; ++unit) all.push_back(static_cast<uint16_t>(unit));
  const std::string utf8 = utf16ToUtf8(all);
  EXPECT_EQ(utf8.size(), 0x7Fu + 2 * (0x800 - 0x80) + 3 * (0x10000 - 0x800));
  EXPECT_EQ(utf8ToUtf16(utf8), all);
}

TEST(EncodingConversions, AsciiSurvivesEveryRoundTrip) {
  std::string ascii;
  for (char c = 1; c < 0x7F; ++c) ascii += c;
  const std::string sjis = utf8ToSjis(ascii);
  EXPECT_EQ(sjis, ascii);
  EXPECT_EQ(gbkToUtf8(sjis), ascii);
  EXPECT_EQ(utf16ToSjis(utf8ToUtf16(ascii)), ascii);
}

TEST(EncodingConversions, DoubleByteToUtf8AgreesWithUtf16) {
  std::string every;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      every += static_cast<char>(lead);
      every += static_cast<char>(trail);
    }
  }
  EXPECT_EQ(gbkToUtf8(every), utf16ToUtf8(gbkToUtf16(every)));
}

// Under the sanitizer build every prefix shows that no conversion reads past its length.
TEST(EncodingConversions, EveryPrefixStopsAtItsLength) {
  const std::string mixed = "A\xB0\xA1\xE3\x81\x82\xCE\xB1\xF0\x9F\x98\x80z";
  for (size_t n = 0; n <= mixed.size(); ++n) {
    const std::string_view prefix(mixed.data(), n);
    gbkToUtf16(prefix);
    gbkToUtf8(prefix);
    utf8ToSjis(prefix);
    utf8ToUtf16(prefix);
  }
}

}  // namespace
