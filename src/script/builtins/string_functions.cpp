// count, match, split, len, mid, upper, lower and itos16: the string functions.
#include <string>
#include <string_view>
#include <vector>

#include <vellum/exports.h>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "script/builtins/builtin_arguments.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/builtin_messages.h"
#include "script/builtins/character_split.h"
#include "script/builtins/script_vm_bodies.h"
#include "script/builtins/target_binding.h"
#include "script/expression.h"
#include "script/regex/character_model.h"
#include "script/tokenizer.h"

namespace vellum {

namespace {

void reportNotOneCharacter() { errorc(ReportText().sjis(messages::kNotOneCharacter), true); }

int countBody(void* call) {
  const std::string text = stringArgument(call, 1);
  const std::string character = stringArgument(call, 2);
  if (!isOneCharacter(character)) {
    reportNotOneCharacter();
    args().returnNothing(call);
    return 1;
  }
  args().returnInt(call, 3, static_cast<int32_t>(findCharacter(text, character).size()));
  return 1;
}

// Natively «match %out, text, character»; the VMs call match(text, character).
int matchBody(void* call) {
  const int first = inputIndex(2, 1);
  const std::string text = stringArgument(call, first);
  const std::string character = stringArgument(call, first + 1);
  if (!isOneCharacter(character)) {
    reportNotOneCharacter();
    args().returnNothing(call);
    return 1;
  }
  const std::vector<size_t> found = findCharacter(text, character);
  args().returnInt(call, 1, found.empty() ? -1 : static_cast<int32_t>(found.front()));
  return 1;
}

// «split text, separator, targets...»
void splitCommand(const char* arguments, int length) {
  const auto pieces = splitSegments(std::string_view(arguments, static_cast<size_t>(length)), ',', false);
  const std::string text = pieces.size() > 0 ? evaluate(pieces[0]).text : std::string();
  const std::string separator = pieces.size() > 1 ? evaluate(pieces[1]).text : std::string();
  if (!isOneCharacter(separator)) {
    reportNotOneCharacter();
    return;
  }
  const std::vector<std::string_view> targets(pieces.begin() + 2, pieces.end());
  bindPiecesToTargets(targets, splitAtCharacter(text, separator));
}

int lenBody(void* call) {
  size_t length = 0;
  args().getStringLength(call, 2, &length);
  args().returnInt(call, 1, static_cast<int32_t>(length));
  return 1;
}

int midBody(void* call) {
  const std::string text = stringArgument(call, 2);
  const int32_t start = args().getInt(call, 3);
  const int32_t count = args().getInt(call, 4);
  std::string piece;
  if (start >= 0 && count > 0 && static_cast<size_t>(start) < text.size()) {
    piece = text.substr(static_cast<size_t>(start), static_cast<size_t>(count));
  }
  args().returnBytes(call, 1, piece.data(), piece.size());
  return 1;
}

// ASCII letters only; a double-byte character is stepped over whole, so its trail byte stays.
template <char From, char To>
int changeCaseBody(void* call) {
  std::string text = stringArgument(call, 1);
  for (size_t i = 0; i < text.size();) {
    const size_t length = regex::characterLength(text, i);
    if (length == 1 && text[i] >= From && text[i] <= To) text[i] = static_cast<char>(text[i] ^ 0x20);
    i += length;
  }
  args().returnBytes(call, 1, text.data(), text.size());
  return 1;
}

int itos16Body(void* call) {
  const std::string text = itos16(static_cast<uint32_t>(args().getInt(call, 2)));
  args().returnString(call, 1, text.c_str());
  return 1;
}

}  // namespace

int splitVmBody(void* call) {
  const std::string text = stringArgument(call, 1);
  const std::string separator = stringArgument(call, 2);
  if (!isOneCharacter(separator)) {
    reportNotOneCharacter();
    args().returnNothing(call);
    return 1;
  }
  const std::vector<std::string> pieces = splitAtCharacter(text, separator);
  return returnPieces(call, pieces);
}

void provideStringFunctions() {
  provideCommand("count", &countBody);
  provideCommand("match", &matchBody);
  provideCommand("split", &splitCommand);
  provideVmBody("split", &splitVmBody);
  provideCommand("len", &lenBody);
  provideCommand("mid", &midBody);
  provideCommand("upper", &changeCaseBody<'a', 'z'>);
  provideCommand("lower", &changeCaseBody<'A', 'Z'>);
  provideCommand("itos16", &itos16Body);
}

}  // namespace vellum
