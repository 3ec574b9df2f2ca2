#include "sound/sound_loading.h"

#include <optional>
#include <vector>

#include "sound/sound_channel.h"
#include "sound/sound_preload.h"
#include "storage/aligned_memory.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"

namespace vellum {

namespace {

std::optional<std::vector<uint8_t>> readWhole(std::string_view name) {
  uint8_t* buffer = nullptr;
  uint32_t size = 0, capacity = 0;
  std::optional<std::vector<uint8_t>> data;
  if (loadFile(name, buffer, size, capacity)) data.emplace(buffer, buffer + size);
  freeAligned(buffer);
  return data;
}

bool channelReady(int channel, uint64_t key) {
  if (channel >= 0 && channel < kSoundChannels && soundState().created) return true;
  // Nothing will take the preloaded bytes over.
  dropPreloadedSound(key);
  return false;
}

}  // namespace

bool loadSoundFile(int channel, std::string_view name) {
  const uint64_t key = crc64Of(name);
  if (!channelReady(channel, key)) return false;
  std::optional<std::vector<uint8_t>> data = takePreloadedSound(key);
  if (!data) data = readWhole(name);
  if (!data) {
    releaseChannel(channel);
    return false;
  }
  return loadChannel(channel, name, std::move(*data));
}

bool loadSoundTrack(int channel, std::string_view name, uint64_t offset, uint64_t size) {
  if (!channelReady(channel, crc64Of(name))) return false;
  if (size == 0) return loadSoundFile(channel, name);
  // Archived files can be scrambled or compressed as a whole, so the track is cut from all of it.
  std::optional<std::vector<uint8_t>> whole = readWhole(name);
  if (!whole || offset > whole->size() || size > whole->size() - offset) {
    releaseChannel(channel);
    return false;
  }
  std::vector<uint8_t> track(whole->begin() + static_cast<std::ptrdiff_t>(offset),
                             whole->begin() + static_cast<std::ptrdiff_t>(offset + size));
  whole.reset();
  return loadChannel(channel, name, std::move(track));
}

}  // namespace vellum
