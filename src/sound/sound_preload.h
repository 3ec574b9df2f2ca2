// Sound files read ahead of use (the voice look-ahead preloads the next voices), kept until a
// channel loads the same file and takes the bytes over. Bounded in entries and bytes: the oldest
// entries make room for new ones. Safe to call from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vellum {

constexpr size_t kPreloadMaxEntries = 16;
constexpr uint64_t kPreloadMaxBytes = 64ull << 20;

// Reads the file now (reporting when it cannot be read) and keeps it under its file key. False
// when it could not be read or is larger than the whole cache.
bool preloadSound(std::string_view name);
// The bytes preloaded for `key`, handed over once: the entry is gone afterwards.
std::optional<std::vector<uint8_t>> takePreloadedSound(uint64_t key);
void dropPreloadedSound(uint64_t key);
void clearPreloadedSounds();

size_t preloadedSoundCount();
uint64_t preloadedSoundBytes();

}  // namespace vellum
