#include "sound/vorbis_builtin_library.h"

#include <vorbis/vorbisfile.h>

#include <atomic>
#include <cstring>
#include <utility>

namespace vellum {

namespace {

static_assert(sizeof(OggVorbis_File) <= kVorbisStateBytes, "the stream state must fit the channel's reserve");

OggVorbis_File* file(void* state) { return static_cast<OggVorbis_File*>(state); }

size_t querySize() { return sizeof(OggVorbis_File); }
int clear(void* state) { return ov_clear(file(state)); }
int openCallbacks(void* source, void* state, const char* initial, long initialBytes, VorbisReaderCallbacks c) {
  const ov_callbacks callbacks{c.read, c.seek, c.close, c.tell};
  return ov_open_callbacks(source, file(state), initial, initialBytes, callbacks);
}
int64_t pcmTotal(void* state, int link) { return ov_pcm_total(file(state), link); }
double timeTotal(void* state, int link) { return ov_time_total(file(state), link); }
int pcmSeek(void* state, int64_t sample) { return ov_pcm_seek(file(state), sample); }
int timeSeek(void* state, double seconds) { return ov_time_seek(file(state), seconds); }
int64_t pcmTell(void* state) { return ov_pcm_tell(file(state)); }
double timeTell(void* state) { return ov_time_tell(file(state)); }
const void* info(void* state, int link) { return ov_info(file(state), link); }
const VorbisCommentRecord* comment(void* state, int link) {
  // vorbis_comment begins with its array of comment strings.
  static_assert(offsetof(vorbis_comment, user_comments) == 0);
  return reinterpret_cast<const VorbisCommentRecord*>(ov_comment(file(state), link));
}
long read(void* state, char* into, int bytes, int bigEndian, int wordSize, int isSigned, int* section) {
  return ov_read(file(state), into, bytes, bigEndian, wordSize, isSigned, section);
}

// Feature bits: MMX; SSE and its integer and prefetch extensions; SSE2 and SSE3.
// (Only x86 asks the processor; elsewhere the word stays 0.)
[[maybe_unused]] constexpr uint32_t kMmx = 0x20000, kSse = 0x4C0000, kSse2 = 0xA00000;

uint32_t detectCpu() {
  uint32_t word = 0;
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("mmx")) word |= kMmx;
  if (__builtin_cpu_supports("sse")) word |= kSse;
  if (__builtin_cpu_supports("sse2")) word |= kSse2;
#endif
  return word;
}

std::atomic<uint32_t> cpuType{0};
void setCpuType(uint32_t features) { cpuType = features; }
void scaleOutput() {}  // libvorbisfile scales as asked; nothing to set

template <typename Function>
void* entry(Function* function) {
  void* address;
  static_assert(sizeof address == sizeof function);
  std::memcpy(&address, &function, sizeof address);
  return address;
}

// Each name of the table and what serves it, in the table's order.
const std::pair<std::string_view, void*>* entries() {
  static const std::pair<std::string_view, void*> table[] = {
      {"Query_sizeof_OggVorbis_File", entry(&querySize)},
      {"wu_ov_clear", entry(&clear)},
      {"wu_ov_open_callbacks", entry(&openCallbacks)},
      {"wu_ov_pcm_total", entry(&pcmTotal)},
      {"wu_ov_time_total", entry(&timeTotal)},
      {"wu_ov_pcm_seek", entry(&pcmSeek)},
      {"wu_ov_time_seek", entry(&timeSeek)},
      {"wu_ov_pcm_tell", entry(&pcmTell)},
      {"wu_ov_time_tell", entry(&timeTell)},
      {"wu_ov_info", entry(&info)},
      {"wu_ov_comment", entry(&comment)},
      {"wu_ov_read", entry(&read)},
      {"wu_DetectCPU", entry(&detectCpu)},
      {"wu_SetCPUType", entry(&setCpuType)},
      {"wu_ov_test_callbacks", entry(&ov_test_callbacks)},
      {"wu_ov_test_open", entry(&ov_test_open)},
      {"wu_ov_bitrate", entry(&ov_bitrate)},
      {"wu_ov_bitrate_instant", entry(&ov_bitrate_instant)},
      {"wu_ov_streams", entry(&ov_streams)},
      {"wu_ov_seekable", entry(&ov_seekable)},
      {"wu_ov_serialnumber", entry(&ov_serialnumber)},
      {"wu_ov_raw_total", entry(&ov_raw_total)},
      {"wu_ov_raw_seek", entry(&ov_raw_seek)},
      {"wu_ov_pcm_seek_page", entry(&ov_pcm_seek_page)},
      {"wu_ov_time_seek_page", entry(&ov_time_seek_page)},
      {"wu_ov_raw_seek_lap", entry(&ov_raw_seek_lap)},
      {"wu_ov_pcm_seek_lap", entry(&ov_pcm_seek_lap)},
      {"wu_ov_pcm_seek_page_lap", entry(&ov_pcm_seek_page_lap)},
      {"wu_ov_time_seek_lap", entry(&ov_time_seek_lap)},
      {"wu_ov_time_seek_page_lap", entry(&ov_time_seek_page_lap)},
      {"wu_ov_raw_tell", entry(&ov_raw_tell)},
      {"wu_ov_read_float", entry(&ov_read_float)},
      {"wu_ov_crosslap", entry(&ov_crosslap)},
      {"wu_ov_halfrate", entry(&ov_halfrate)},
      {"wu_ov_halfrate_p", entry(&ov_halfrate_p)},
      {"wu_ScaleOutput", entry(&scaleOutput)},
      {{}, nullptr}};
  return table;
}

// The library is part of the engine: any of its file names finds it.
int libraryToken;
void* openLibrary(std::string_view) { return &libraryToken; }
void* findSymbol(void* handle, std::string_view name) {
  if (handle != &libraryToken) return nullptr;
  for (auto* e = entries(); e->second; ++e)
    if (e->first == name) return e->second;
  return nullptr;
}
void closeLibrary(void*) {}

}  // namespace

const DecoderLibrary& builtInVorbisLibrary() {
  static const DecoderLibrary library{&openLibrary, &findSymbol, &closeLibrary};
  return library;
}

uint32_t builtInVorbisCpuType() { return cpuType; }

}  // namespace vellum
