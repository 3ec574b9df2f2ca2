// kana $out, text, options: converts between hiragana, katakana and half-width katakana. Each
// option letter present names one conversion; they run in a fixed order, and each replaces every
// entry of its source table by the same entry of its target table, one global substitution per
// entry in table order, through the regular-expression library.
#include <string>
#include <string_view>
#include <utility>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "script/builtins/builtin_arguments.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/character_split.h"
#include "script/builtins/kana_tables.h"
#include "script/builtins/regexp_plugin.h"

namespace vellum {

namespace {

struct KanaConversion {
  char letter;
  KanaForm from;
  KanaForm to;
};

constexpr KanaConversion kConversions[] = {
    {'C', KanaForm::Hiragana, KanaForm::Katakana},  {'h', KanaForm::Hiragana, KanaForm::HalfWidth},
    {'c', KanaForm::Katakana, KanaForm::Hiragana},  {'k', KanaForm::Katakana, KanaForm::HalfWidth},
    {'H', KanaForm::HalfWidth, KanaForm::Hiragana}, {'K', KanaForm::HalfWidth, KanaForm::Katakana},
};

// The tables are Shift-JIS, whose half-width katakana are single bytes; "j" has the library read
// the text that way, so a half-width character never pairs with the byte after it.
std::string convert(std::string text, const KanaConversion& conversion) {
  const KanaTable& from = kanaTable(conversion.from);
  const KanaTable& to = kanaTable(conversion.to);
  std::string out;
  for (size_t i = 0; i < kKanaEntries; ++i) {
    if (from[i] == to[i]) continue;
    const std::string expression = "s/" + std::string(from[i]) + "/" + std::string(to[i]) + "/jg";
    if (regexpSubstitute(expression, text, out) > 0) text.swap(out);
  }
  return text;
}

int kanaBody(void* call) {
  std::string text = stringArgument(call, 2);
  const std::string options = stringArgument(call, 3);
  for (const KanaConversion& conversion : kConversions) {
    const bool wanted = !findCharacter(options, std::string_view(&conversion.letter, 1)).empty();
    if (wanted) text = convert(std::move(text), conversion);
  }
  args().returnBytes(call, 1, text.data(), text.size());
  return 1;
}

}  // namespace

void provideKanaFunction() { provideCommand("kana", &kanaBody); }

}  // namespace vellum
