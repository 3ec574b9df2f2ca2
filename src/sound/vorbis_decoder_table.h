// The Ogg Vorbis decoder as the channels call it: a table of entry points resolved by name from a
// decoder library, plus the library's per-stream state kept in the channel. The engine's own
// library (vorbis_builtin_library) serves the entry points from libvorbisfile; any other library
// offering the same names could stand in for it, and the refusal rules below apply to all.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vellum {

// Bytes every channel reserves for the decoder's stream state; a larger library is refused.
constexpr size_t kVorbisStateBytes = 960;

// The reader callbacks handed to the decoder, by value (read, seek, close, tell).
struct VorbisReaderCallbacks {
  size_t (*read)(void* into, size_t elementSize, size_t count, void* source);
  int (*seek)(void* source, int64_t offset, int origin);
  int (*close)(void* source);
  long (*tell)(void* source);
};

// What the engine reads of the information record: channels at byte 4, rate at byte 8.
struct VorbisInfoView {
  int32_t channels = 0;
  int32_t sampleRate = 0;
};
// The comment record's first member: NUL-terminated "name=value" strings ending with a null pointer.
struct VorbisCommentRecord {
  char** userComments;
};

struct VorbisDecoderTable {
  void* library = nullptr;  // null while no library is loaded
  size_t (*querySizeofOggVorbisFile)() = nullptr;
  int (*ovClear)(void* state) = nullptr;
  int (*ovOpenCallbacks)(void* source, void* state, const char* initial, long initialBytes,
                         VorbisReaderCallbacks callbacks) = nullptr;
  int64_t (*ovPcmTotal)(void* state, int link) = nullptr;
  double (*ovTimeTotal)(void* state, int link) = nullptr;
  int (*ovPcmSeek)(void* state, int64_t sample) = nullptr;
  int (*ovTimeSeek)(void* state, double seconds) = nullptr;
  int64_t (*ovPcmTell)(void* state) = nullptr;
  double (*ovTimeTell)(void* state) = nullptr;
  const void* (*ovInfo)(void* state, int link) = nullptr;  // the information record, null on failure
  const VorbisCommentRecord* (*ovComment)(void* state, int link) = nullptr;
  long (*ovRead)(void* state, char* into, int bytes, int bigEndian, int wordSize, int isSigned, int* section) = nullptr;
  uint32_t (*detectCpu)() = nullptr;
  void (*setCpuType)(uint32_t features) = nullptr;
  // Entry points the library must have although the engine never calls them.
  std::array<void*, 22> uncalled{};
};

// Every name a decoder library must export; the first 14 fill the typed slots above in order,
// the rest `uncalled`.
extern const std::array<std::string_view, 36> kVorbisDecoderNames;

// A library of entry points: open it by file name, look names up, close it.
struct DecoderLibrary {
  void* (*open)(std::string_view fileName);  // null when it cannot be loaded
  void* (*symbol)(void* handle, std::string_view name);
  void (*close)(void* handle);
};

// Result of one attempt to load the table.
enum class DecoderLoad : int { Loaded = 0, LibraryFailed = 1, NameMissing = 2, StateTooLarge = 3 };

// One attempt with `fileName`. Loaded also when a library is in already. On a missing name or a
// state too large the library is closed again and the table left empty.
DecoderLoad loadVorbisDecoderFrom(const DecoderLibrary& library, std::string_view fileName);
// sd_create's load: the plug-in folder's library, then the one beside the game; reports when both
// fail. True when the table is filled.
bool loadVorbisDecoder();
// Closes the library and empties the table.
void unloadVorbisDecoder();
const VorbisDecoderTable& vorbisDecoder();
bool vorbisDecoderLoaded();

// The feature word handed to the decoder: the detected word without the MMX, SSE and SSE2 bits the
// settings switch off (a setting of 0 removes its bits).
uint32_t decoderCpuFeatures(uint32_t detected, int32_t mmx, int32_t sse, int32_t sse2);
// Detects the processor's features and tells the decoder, as each channel does when it is set up.
void applyDecoderCpuFeatures();

}  // namespace vellum
