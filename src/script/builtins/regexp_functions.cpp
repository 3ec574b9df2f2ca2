// regexp_create, regexp_count, regexp_replace, regexp_trans, regexp_match and regexp_split.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "script/builtins/builtin_arguments.h"
#include "script/builtins/builtin_families.h"
#include "script/builtins/regexp_plugin.h"
#include "script/builtins/script_vm_bodies.h"
#include "script/builtins/target_binding.h"
#include "script/expression.h"
#include "script/script_messages.h"
#include "script/tokenizer.h"

namespace vellum {

namespace {

int regexpCreateBody(void* call) {
  loadRegexpPlugin();
  args().returnNothing(call);
  return 1;
}

int regexpCountBody(void* call) {
  const std::string text = stringArgument(call, 1);
  const std::string pattern = stringArgument(call, 2);
  std::string out;
  const int count = text.empty() || pattern.empty() ? 0 : regexpSubstitute(pattern, text, out);
  args().returnInt(call, 3, count);
  return 1;
}

template <int (*Rewrite)(std::string_view, std::string_view, std::string&)>
int rewriteBody(void* call) {
  const std::string text = stringArgument(call, 1);
  const std::string pattern = stringArgument(call, 2);
  std::string out = text;
  if (!text.empty() && !pattern.empty()) Rewrite(pattern, text, out);
  args().returnBytes(call, 3, out.data(), out.size());
  return 1;
}

// Natively «regexp_match text, pattern, %pos [, %len [, $match]]»; the VMs get {offset, length,
// matched text} for a match of nonzero length, else nil.
int regexpMatchBody(void* call) {
  const std::string text = stringArgument(call, 1);
  const std::string pattern = stringArgument(call, 2);
  const RegexpFound found = text.empty() || pattern.empty() ? RegexpFound{} : regexpFirstMatch(pattern, text);
  const std::string matched = found.matched ? text.substr(found.offset, found.length) : std::string();
  if (calledNatively()) {
    const int count = argumentCount(call);
    if (count < 3 || count > 5) {
      errorc(ReportText().sjis(messages::kBadArgumentCount), true);
      return 0;
    }
    if (found.matched) args().returnInt(call, 3, static_cast<int32_t>(found.offset));
    if (count >= 4) args().returnInt(call, 4, found.matched ? static_cast<int32_t>(found.length) : 0);
    if (found.matched && count >= 5) args().returnBytes(call, 5, matched.data(), matched.size());
    return 1;
  }
  if (!found.matched || found.length == 0) {
    args().returnNothing(call);
    return 1;
  }
  args().beginArray(call);
  args().returnInt(call, 1, static_cast<int32_t>(found.offset));
  args().setArrayElement(call, 1);
  args().returnInt(call, 2, static_cast<int32_t>(found.length));
  args().setArrayElement(call, 2);
  args().returnBytes(call, 3, matched.data(), matched.size());
  args().setArrayElement(call, 3);
  return 1;
}

// «regexp_split text, pattern, targets...»
void regexpSplitCommand(const char* arguments, int length) {
  const auto pieces = splitSegments(std::string_view(arguments, static_cast<size_t>(length)), ',', false);
  const std::string text = pieces.size() > 0 ? evaluate(pieces[0]).text : std::string();
  const std::string pattern = pieces.size() > 1 ? evaluate(pieces[1]).text : std::string();
  const std::vector<std::string_view> targets(pieces.begin() + std::min<size_t>(2, pieces.size()), pieces.end());
  bindPiecesToTargets(targets, regexpPieces(pattern, text));
}

}  // namespace

int regexpSplitVmBody(void* call) {
  const std::vector<std::string> pieces = regexpPieces(stringArgument(call, 2), stringArgument(call, 1));
  return returnPieces(call, pieces);
}

void provideRegexpFunctions() {
  provideCommand("regexp_create", &regexpCreateBody);
  provideCommand("regexp_count", &regexpCountBody);
  provideCommand("regexp_replace", &rewriteBody<&regexpSubstitute>);
  provideCommand("regexp_trans", &rewriteBody<&regexpTransliterate>);
  provideCommand("regexp_match", &regexpMatchBody);
  provideCommand("regexp_split", &regexpSplitCommand);
  provideVmBody("regexp_split", &regexpSplitVmBody);
}

}  // namespace vellum
