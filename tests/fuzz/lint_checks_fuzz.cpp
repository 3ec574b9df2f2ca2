// Any bytes as a game's only script, checked by vellum-lint's checks: once as GBK and once as UTF-8
// (the code-page check reads the bytes as written). The checker reads argument pieces, targets,
// variable names and columns out of lines of its own; it must neither crash nor read out of bounds,
// and every finding lies inside the script.
#include <cstdint>
#include <string_view>

#include "checks.h"
#include "engine/startup.h"
#include "fuzz_support.h"
#include "services/script_source_text.h"

namespace {

void checkAs(std::string_view bytes, bool fromUtf8) {
  using namespace vellum::lint;
  GameSources game;
  game.fromUtf8 = fromUtf8;
  ScriptSource source;
  source.displayPath = "script/0.txt";
  source.gamePath = "script/0.txt";
  source.written = std::string(bytes);
  if (fromUtf8) {
    std::vector<uint8_t> gbk;
    vellum::utf8ToGbk(std::vector<uint8_t>(bytes.begin(), bytes.end()), gbk);
    source.text.assign(gbk.begin(), gbk.end());
  } else {
    source.text = source.written;
  }
  game.scripts.push_back(std::move(source));
  Findings findings;
  LintContext context(game, findings);
  runAllChecks(context);
  const long lines = static_cast<long>(bytes.size()) + 1;
  for (const Finding& f : findings.sorted()) {
    if (f.line < 0 || f.line > lines || f.column < 0 || f.column > lines || f.message.empty()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vellum::fuzz::gameFolder();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vellum::resetAllState();
  checkAs(bytes, false);
  vellum::resetAllState();
  checkAs(bytes, true);
  return 0;
}
