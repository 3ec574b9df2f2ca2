// A save block: composed from every subsystem's lines in their fixed order, and restored by
// reading and checking the whole block first, then resetting the scene, applying each part in its
// fixed order (times made relative to now again) and resuming the script at the stored position.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

// The block of the present state, starting with the escaped-text marker line.
std::string composeSaveBlock();
// The same block without its resume line, for a caller that says itself where to resume.
std::string composeStateLines();

// Restores a block (which may end with its "Comment" line). The resume position is "File" or,
// with preferFile2, "File2" (the other when the preferred one is missing). False after a report;
// nothing has changed then.
bool restoreSaveBlock(std::string_view block, bool preferFile2);

}  // namespace vellum
