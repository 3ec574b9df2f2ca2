// Any bytes as a save slot file: the container reader, the push-stack splitter, the block parser
// and the restore report or carry on, never crash, over-read or allocate without bound. The
// splitter and the free-text escape must also round-trip what they produce.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/save_snapshot.h"
#include "engine/startup.h"
#include "fuzz_support.h"
#include "persist/compressed_container.h"
#include "persist/save_text.h"
#include "script/label_pass.h"
#include "script/script_state.h"
#include "script/tokenizer.h"
#include "storage/hashes.h"

namespace {

void restoreEveryBlock(std::string_view text) {
  using namespace vellum;
  const std::vector<std::string_view> blocks = splitSaveStack(text);
  const std::string joined = joinSaveStack(blocks, 0, blocks.empty() ? 0 : blocks.size() - 1);
  const std::vector<std::string_view> again = splitSaveStack(joined);
  if (joinSaveStack(again, 0, again.empty() ? 0 : again.size() - 1) != joined) __builtin_trap();
  for (const std::string_view block : blocks) {
    restoreSaveBlock(block, false);
    restoreSaveBlock(block, true);
  }
}

void loadScript() {
  using namespace vellum;
  const uint64_t key = crc64Of("script/0.txt");
  ScriptFile file;
  parseScript("*a\nprint 1\n", file);
  collectLabels(key, file);
  FileSlot& slot = scriptState().slots[0];
  slot.lines = std::move(file);
  slot.key = key;
  slot.loaded = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  fuzz::gameFolder();
  resetAllState();
  loadScript();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string payload;
  if (unpackContainer(bytes, true, payload) == ContainerFault::None) restoreEveryBlock(payload);
  restoreEveryBlock(bytes);
  if (unescapeSaveText(escapeSaveText(bytes)) != bytes) __builtin_trap();
  resetAllState();
  return 0;
}
