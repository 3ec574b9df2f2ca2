// Writing a file so that a failure at any point leaves the previous file as it was: the bytes go to
// a temporary file in the same folder, which is flushed to the disk and then renamed over the old
// one. Readers therefore see the old file or the new one, never a part of either.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

// Returns false with errorNumber set (an errno value) when any step fails; the temporary file is
// removed and the file at `path` is untouched.
bool replaceFileContents(const std::string& path, std::string_view bytes, int& errorNumber);

// For tests: called after the temporary file is complete and flushed, just before the rename.
// Returning false fails the write there, as if the process had died between the two steps.
using ReplaceInterruption = bool (*)(const std::string& temporaryPath, const std::string& path);
void setReplaceInterruption(ReplaceInterruption interruption);

}  // namespace vellum
