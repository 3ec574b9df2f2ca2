#include "text/backlog.h"

#include <algorithm>
#include <cstring>

#include "base/report.h"

namespace vellum {

namespace {
BacklogState backlogState;
}  // namespace

BacklogState& backlog() { return backlogState; }

// Reset in place: the ring is close to a megabyte, too large for a temporary on the stack.
void resetBacklog() {
  backlogState.entries.fill(BacklogEntry{});
  backlogState.index = 0;
  backlogState.count = 1;
  backlogState.writeOffset = 0;
  backlogState.savePushDepth = 0;
  backlogState.saveFlag = 1;
}

void emptyBacklog() {
  const uint16_t pushDepth = backlogState.savePushDepth;
  const uint8_t saveFlag = backlogState.saveFlag;
  resetBacklog();
  backlogState.savePushDepth = pushDepth;
  backlogState.saveFlag = saveFlag;
}

size_t writeWholeCharacters(char* field, size_t capacity, size_t at, std::string_view text) {
  if (capacity == 0) return 0;
  at = std::min(at, capacity - 1);
  const size_t room = capacity - 1 - at;
  size_t n = 0;
  while (n < text.size()) {
    const auto c = static_cast<uint8_t>(text[n]);
    const size_t width = c >= 0x81 && c <= 0xFE && n + 1 < text.size() ? 2 : 1;
    if (n + width > room) break;
    n += width;
  }
  std::memcpy(field + at, text.data(), n);
  field[at + n] = '\0';
  return at + n;
}

bool checkBacklogDistance(int n) {
  if (n >= 0 && n < kBacklogEntries) return true;
  // "Out of range" (GBK) after the index.
  errorc(ReportText().ascii("backlog ").number(n).ascii(" ").gbk("\xb3\xac\xb3\xf6\xb7\xb6\xce\xa7"), true);
  return false;
}

}  // namespace vellum
