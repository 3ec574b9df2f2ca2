// Script text of any bytes: tokenising and the label pass must neither crash nor read out of bounds.
#include <cstdint>
#include <string_view>

#include "engine/startup.h"
#include "fuzz_support.h"
#include "script/label_pass.h"
#include "script/tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  fuzz::gameFolder();
  resetAllState();
  ScriptFile file;
  parseScript(std::string_view(reinterpret_cast<const char*>(data), size), file);
  collectLabels(0x1234, file);
  for (const ScriptLine& line : file) {
    if (line.tokens.empty()) __builtin_trap();  // every line has at least one token
  }
  return 0;
}
