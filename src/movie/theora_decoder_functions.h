// libtheoradec's functions the movie decoder uses, found in the library when the first movie (or
// theora_create) needs them: a game without movies does not load it, nor the drawing libraries
// Debian's build of it brings along, at every start. Only the types come from its headers.
#pragma once

#include <theora/theoradec.h>

#include <string>

namespace vellum {

struct TheoraDecoderFunctions {
  decltype(&th_info_init) infoInit = nullptr;
  decltype(&th_info_clear) infoClear = nullptr;
  decltype(&th_comment_init) commentInit = nullptr;
  decltype(&th_comment_clear) commentClear = nullptr;
  decltype(&th_decode_headerin) decodeHeaderIn = nullptr;
  decltype(&th_decode_alloc) decodeAlloc = nullptr;
  decltype(&th_decode_free) decodeFree = nullptr;
  decltype(&th_setup_free) setupFree = nullptr;
  decltype(&th_decode_packetin) decodePacketIn = nullptr;
  decltype(&th_decode_ycbcr_out) decodeYCbCrOut = nullptr;
};

// The process's libtheoradec, opened on the first call (the calls after it return the same
// answer). nullptr when it cannot be used; `problem` then says why, in UTF-8.
const TheoraDecoderFunctions* theoraDecoderFunctions(std::string& problem);

}  // namespace vellum
