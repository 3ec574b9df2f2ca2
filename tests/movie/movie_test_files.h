// Theora videos made at test time with ffmpeg (Debian's), for the movie tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vellum::test {

inline bool haveFfmpeg() { return std::system("command -v ffmpeg >/dev/null 2>&1") == 0; }

// A 4:2:0 Theora video from an ffmpeg filter source, e.g. "color=c=black:s=64x48:r=10:d=1".
inline bool makeTheoraVideo(const std::filesystem::path& out, const std::string& source, const std::string& filter = "",
                            const std::string& pixelFormat = "yuv420p") {
  const std::string command = "ffmpeg -y -loglevel error -f lavfi -i '" + source + "'" +
                              (filter.empty() ? "" : " -vf \"" + filter + "\"") + " -pix_fmt " + pixelFormat +
                              " -c:v libtheora -q:v 10 '" + out.string() + "'";
  return std::system(command.c_str()) == 0;
}

// Ten 64x48 frames at 10 per second, frame i all grey with luma 16 + 20 i.
inline bool makeGreyStepVideo(const std::filesystem::path& out) {
  return makeTheoraVideo(out, "color=c=black:s=64x48:r=10:d=1", "geq=lum='16+N*20':cb=128:cr=128");
}

}  // namespace vellum::test
