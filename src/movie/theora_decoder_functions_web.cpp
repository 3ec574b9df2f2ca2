#include "movie/theora_decoder_functions.h"

namespace vellum {

// The browser build links libtheoradec into the page: the table points at it.
const TheoraDecoderFunctions* theoraDecoderFunctions(std::string&) {
  static const TheoraDecoderFunctions linked{&th_info_init,      &th_info_clear,   &th_comment_init,
                                             &th_comment_clear,  &th_decode_headerin, &th_decode_alloc,
                                             &th_decode_free,    &th_setup_free,   &th_decode_packetin,
                                             &th_decode_ycbcr_out};
  return &linked;
}

}  // namespace vellum
