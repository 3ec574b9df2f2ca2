#include "sound/vorbis_decoder_table.h"

#include <cstring>

#include "base/report.h"
#include "persist/engine_settings.h"
#include "sound/sound_messages.h"
#include "sound/vorbis_builtin_library.h"

namespace vellum {

const std::array<std::string_view, 36> kVorbisDecoderNames = {
    "Query_sizeof_OggVorbis_File", "wu_ov_clear", "wu_ov_open_callbacks", "wu_ov_pcm_total", "wu_ov_time_total",
    "wu_ov_pcm_seek", "wu_ov_time_seek", "wu_ov_pcm_tell", "wu_ov_time_tell", "wu_ov_info", "wu_ov_comment",
    "wu_ov_read", "wu_DetectCPU", "wu_SetCPUType",
    // never called
    "wu_ov_test_callbacks", "wu_ov_test_open", "wu_ov_bitrate", "wu_ov_bitrate_instant", "wu_ov_streams",
    "wu_ov_seekable", "wu_ov_serialnumber", "wu_ov_raw_total", "wu_ov_raw_seek", "wu_ov_pcm_seek_page",
    "wu_ov_time_seek_page", "wu_ov_raw_seek_lap", "wu_ov_pcm_seek_lap", "wu_ov_pcm_seek_page_lap",
    "wu_ov_time_seek_lap", "wu_ov_time_seek_page_lap", "wu_ov_raw_tell", "wu_ov_read_float", "wu_ov_crosslap",
    "wu_ov_halfrate", "wu_ov_halfrate_p", "wu_ScaleOutput"};

namespace {

struct LoadedDecoder {
  VorbisDecoderTable table;
  const DecoderLibrary* library = nullptr;
};

LoadedDecoder& loaded() {
  static LoadedDecoder decoder;
  return decoder;
}

// A data pointer from the library becomes the function pointer of the slot it fills.
template <typename Function>
void assign(Function& slot, void* entry) {
  static_assert(sizeof(Function) == sizeof(void*));
  std::memcpy(&slot, &entry, sizeof slot);
}

void fillSlots(VorbisDecoderTable& t, const std::array<void*, 36>& e) {
  assign(t.querySizeofOggVorbisFile, e[0]);
  assign(t.ovClear, e[1]);
  assign(t.ovOpenCallbacks, e[2]);
  assign(t.ovPcmTotal, e[3]);
  assign(t.ovTimeTotal, e[4]);
  assign(t.ovPcmSeek, e[5]);
  assign(t.ovTimeSeek, e[6]);
  assign(t.ovPcmTell, e[7]);
  assign(t.ovTimeTell, e[8]);
  assign(t.ovInfo, e[9]);
  assign(t.ovComment, e[10]);
  assign(t.ovRead, e[11]);
  assign(t.detectCpu, e[12]);
  assign(t.setCpuType, e[13]);
  for (size_t i = 14; i < e.size(); ++i) t.uncalled[i - 14] = e[i];
}

}  // namespace

DecoderLoad loadVorbisDecoderFrom(const DecoderLibrary& library, std::string_view fileName) {
  LoadedDecoder& d = loaded();
  if (d.table.library) return DecoderLoad::Loaded;
  void* handle = library.open(fileName);
  if (!handle) return DecoderLoad::LibraryFailed;
  std::array<void*, 36> entries{};
  for (size_t i = 0; i < kVorbisDecoderNames.size(); ++i) {
    entries[i] = library.symbol(handle, kVorbisDecoderNames[i]);
    if (!entries[i]) {
      library.close(handle);
      d.table = VorbisDecoderTable{};
      return DecoderLoad::NameMissing;
    }
  }
  VorbisDecoderTable table;
  fillSlots(table, entries);
  if (table.querySizeofOggVorbisFile() > kVorbisStateBytes) {
    library.close(handle);
    d.table = VorbisDecoderTable{};
    return DecoderLoad::StateTooLarge;
  }
  table.library = handle;
  d.table = table;
  d.library = &library;
  return DecoderLoad::Loaded;
}

bool loadVorbisDecoder() {
  const DecoderLibrary& library = builtInVorbisLibrary();
  if (loadVorbisDecoderFrom(library, "plugin/wuvorbis.dll") == DecoderLoad::Loaded) return true;
  if (loadVorbisDecoderFrom(library, "wuvorbis.dll") == DecoderLoad::Loaded) return true;
  showErrorBox(ReportText(sound_messages::kDecoderLoadFailed, CodePage::ShiftJis));
  return false;
}

void unloadVorbisDecoder() {
  LoadedDecoder& d = loaded();
  if (d.table.library && d.library) d.library->close(d.table.library);
  d = LoadedDecoder{};
}

const VorbisDecoderTable& vorbisDecoder() { return loaded().table; }

bool vorbisDecoderLoaded() { return loaded().table.library != nullptr; }

uint32_t decoderCpuFeatures(uint32_t detected, int32_t mmx, int32_t sse, int32_t sse2) {
  if (sse2 == 0) detected &= ~0xA00000u;
  if (sse == 0) detected &= ~0x4C0000u;
  if (mmx == 0) detected &= ~0x20000u;
  return detected;
}

void applyDecoderCpuFeatures() {
  const VorbisDecoderTable& t = vorbisDecoder();
  if (!t.library) return;
  const EngineSettings& s = settings();
  t.setCpuType(decoderCpuFeatures(t.detectCpu(), s.mmx, s.sse, s.sse2));
}

}  // namespace vellum
