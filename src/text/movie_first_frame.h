// The first frame of a movie file as the backlog's picture log draws it: "MJPG" frame containers
// and "RIFF" (AVI) files give their first JPEG frame; "THOR" movies give none.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellum {

enum class FirstFrameResult { Jpeg, NoPicture, BadHeader, NotJpeg, BadChunk };

struct FirstFrame {
  FirstFrameResult result = FirstFrameResult::BadHeader;
  size_t offset = 0, length = 0;  // the JPEG bytes, inside the file, when result is Jpeg
};

// Reads the file's magic and its first frame chunk ("00dc", a little-endian length, the frame).
// Every length is checked against the bytes present.
FirstFrame findFirstMovieFrame(const uint8_t* data, size_t size);

}  // namespace vellum
