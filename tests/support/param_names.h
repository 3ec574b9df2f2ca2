// Readable, stable names for parameterised tests, made from the case's own fields, so that a failed
// case can be run again by name (--gtest_filter=Table/Expressions.Evaluate/1_plus_2).
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace vellum::test {

// The text as a test name: letters and digits kept, the usual symbols spelled out, spaces and
// control characters a separator, any other byte by its hex value, so that names stay apart. Never empty: "empty" for no text, "blank" for only spaces.
inline std::string testName(std::string_view text) {
  static const struct {
    char symbol;
    const char* word;
  } kSpelled[] = {{'+', "plus"},  {'-', "minus"}, {'*', "star"},   {'/', "slash"}, {'\\', "backslash"},
                  {'%', "pct"},   {'$', "dollar"}, {'=', "eq"},    {'<', "lt"},    {'>', "gt"},
                  {'!', "not"},   {'&', "amp"},   {'|', "bar"},    {'(', "lp"},    {')', "rp"},
                  {'[', "lb"},    {']', "rb"},    {'{', "lc"},     {'}', "rc"},    {'.', "dot"},
                  {',', "comma"}, {':', "colon"}, {';', "semi"},   {'"', "quote"}, {'\'', "apos"},
                  {'?', "qm"},    {'#', "hash"},  {'@', "at"},     {'^', "caret"}, {'~', "tilde"},
                  {'\n', "nl"},   {'\r', "cr"},   {'\t', "tab"}};
  std::string out;
  auto separate = [&out] {
    if (!out.empty() && out.back() != '_') out += '_';
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) && byte < 0x80) {
      out += c;
      continue;
    }
    // A hyphen inside a word ("top-left") only separates; elsewhere it is a minus sign.
    const auto letter = [](char x) { return std::isalpha(static_cast<unsigned char>(x)) && static_cast<unsigned char>(x) < 0x80; };
    if (c == '_' || (c == '-' && i > 0 && i + 1 < text.size() && letter(text[i - 1]) && letter(text[i + 1]))) {
      separate();
      continue;
    }
    const char* word = nullptr;
    for (const auto& s : kSpelled)
      if (s.symbol == c) word = s.word;
    separate();
    if (word) {
      out += word;
    } else if (byte >= 0x80 || std::ispunct(byte)) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "x%02X", byte);
      out += hex;
    } else {
      continue;  // a space or another control character only separates
    }
    out += '_';
  }
  while (!out.empty() && out.back() == '_') out.pop_back();
  if (out.empty()) return text.empty() ? "empty" : "blank";
  return out;
}

// Words or numbers joined into one name: testNameOf(1280, "x", 720) gives "1280_x_720".
template <typename... Parts>
std::string testNameOf(const Parts&... parts) {
  std::string text;
  auto add = [&text](const auto& part) {
    if (!text.empty()) text += ' ';
    if constexpr (std::is_arithmetic_v<std::decay_t<decltype(part)>>) {
      text += std::to_string(part);
    } else {
      text += part;
    }
  };
  (add(parts), ...);
  return testName(text);
}

// "1280x720" (a minus sign spelled once it goes through testName).
inline std::string sizeText(long long width, long long height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// A name generator for INSTANTIATE_TEST_SUITE_P from a function of the case: the function returns
// text (made a name with testName) or a number.
template <typename Describe>
auto namedBy(Describe describe) {
  return [describe](const auto& info) { return testNameOf(describe(info.param)); };
}

// The generator for cases that carry a `name` field.
inline constexpr auto byCaseName = [](const auto& info) { return testName(info.param.name); };

}  // namespace vellum::test
