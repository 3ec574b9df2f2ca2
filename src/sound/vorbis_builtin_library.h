// The engine's own Ogg Vorbis decoder library: the decoder table's entry points served by
// libvorbisfile, which is linked into the engine, so "loading" it always finds it.
#pragma once

#include <cstdint>

#include "sound/vorbis_decoder_table.h"

namespace vellum {

const DecoderLibrary& builtInVorbisLibrary();
// The feature word the decoder was last told (libvorbisfile chooses no code paths by it).
uint32_t builtInVorbisCpuType();

}  // namespace vellum
