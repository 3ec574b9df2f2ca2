// Loading a channel from a game file: the preloaded bytes when the look-ahead read the file
// already, otherwise the file through the archive loader.
#pragma once

#include <cstdint>
#include <string_view>

namespace vellum {

// The whole file. Reports and returns false when it cannot be read or played; the channel is then
// left stopped and empty.
bool loadSoundFile(int channel, std::string_view name);
// A sound file embedded in another (a movie's track): `size` bytes from `offset`. A range outside
// the file fails without a report of its own, so the caller can say what could not be opened.
bool loadSoundTrack(int channel, std::string_view name, uint64_t offset, uint64_t size);

}  // namespace vellum
