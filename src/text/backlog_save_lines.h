// The backlog's lines of a save: per entry with text "msgBuffer%d" (text, speaker) and "msgImage%d"
// (its picture-log records), then the per-entry lists (camera, rows, origin, push depth, save flag).
#pragma once

#include <memory>
#include <string>

#include "persist/save_text.h"
#include "text/backlog.h"

namespace vellum {

void writeBacklogSaveLines(std::string& out);
// The entries the lines describe, read into a state as constructed (every entry empty; the entries
// are not emptied again, a save's backlog is most of its size). False after a report: a malformed
// line or an entry number outside 0-199.
bool readBacklogSaveLines(const SaveBlock& block, BacklogState& state);
// Takes the entries (the position fields come with the "Massage" line).
void applyBacklogSaveLines(const BacklogState& state);

}  // namespace vellum
