#include "movie/theora_decoder_functions.h"

#include <optional>

#include "base/libraries_opened_on_first_use.h"
#include "services/system_library.h"

namespace vellum {

namespace {

struct Loaded {
  std::optional<TheoraDecoderFunctions> functions;
  std::string problem;
};

Loaded open() {
  Loaded loaded;
  const std::string name(kTheoraDecoderLibrary);
  // Never closed: decoders made by it may live until exit.
  void* handle = openSystemLibrary(name, loaded.problem);
  if (!handle) return loaded;
  TheoraDecoderFunctions f;
  std::string missing;
  const auto find = [&](const char* symbol, auto& slot) { findSystemLibraryFunction(handle, symbol, slot, missing); };
  find("th_info_init", f.infoInit);
  find("th_info_clear", f.infoClear);
  find("th_comment_init", f.commentInit);
  find("th_comment_clear", f.commentClear);
  find("th_decode_headerin", f.decodeHeaderIn);
  find("th_decode_alloc", f.decodeAlloc);
  find("th_decode_free", f.decodeFree);
  find("th_setup_free", f.setupFree);
  find("th_decode_packetin", f.decodePacketIn);
  find("th_decode_ycbcr_out", f.decodeYCbCrOut);
  if (!missing.empty()) {
    loaded.problem = name + ": it has no " + missing;
    return loaded;
  }
  loaded.functions = f;
  return loaded;
}

}  // namespace

const TheoraDecoderFunctions* theoraDecoderFunctions(std::string& problem) {
  // Opened once, by whichever thread needs it first.
  static const Loaded loaded = open();
  if (!loaded.functions) problem = loaded.problem;
  return loaded.functions ? &*loaded.functions : nullptr;
}

}  // namespace vellum
