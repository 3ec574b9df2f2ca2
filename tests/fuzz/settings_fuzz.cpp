// Any bytes as setting.dat or already.dat: the container reader, the key/value parser, applying
// the result and reading the pad buttons it names report or carry on, never crash, over-read or
// allocate without bound. What the reader accepts is written back and must read back the same.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/startup.h"
#include "fuzz_support.h"
#include "persist/compressed_container.h"
#include "persist/engine_settings.h"
#include "persist/key_value_text.h"
#include "persist/read_flags_file.h"
#include "persist/settings_text.h"
#include "script/script_state.h"
#include "shell/input/pad_mapping.h"

namespace {

void applyEverything(std::string_view text) {
  using namespace vellum;
  applySettings(parseKeyValues(text), true);
  applyReadFlags(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellum;
  fuzz::gameFolder();
  resetAllState();
  scriptState().readFlags[5] = {{0, 0}, {4, 0}};
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::string payload;
  for (bool compressed : {true, false}) {
    if (unpackContainer(bytes, compressed, payload) == ContainerFault::None) applyEverything(payload);
  }
  applyEverything(bytes);
  // The player's pad buttons, as the first pad message reads them.
  PadMapping pad = defaultPadMapping(layoutFor(settings().padLayout, PadKind::Handheld));
  applyPadOverrides(pad, settings().padButtons);

  // The settings now hold whatever the input set; they must survive the file format.
  const std::string text = composeSettingsText();
  std::string file, back;
  if (packContainer(text, true, file) == ContainerFault::None) {
    if (unpackContainer(file, true, back) != ContainerFault::None || back != text) __builtin_trap();
  }
  resetAllState();
  return 0;
}
