#include "script/script_state.h"

#include <vellum/exports.h>

#include "storage/hashes.h"

namespace vellum {

namespace {
ScriptState state;
}

ScriptState& scriptState() { return state; }

void resetScriptState() { state = ScriptState{}; }

std::string scriptFileName(uint64_t key) {
  const auto name = state.fileNames.find(key);
  return name != state.fileNames.end() ? name->second : ulltos32(key);
}

uint64_t startFileKey() {
  static const uint64_t key = crc64Of("script/0.txt");
  return key;
}

uint64_t secondFileKey() {
  static const uint64_t key = crc64Of("script/1.txt");
  return key;
}

}  // namespace vellum
