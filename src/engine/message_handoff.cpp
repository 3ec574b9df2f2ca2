#include "engine/message_handoff.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "base/text_encoding.h"
#include "script/script_state.h"
#include "text/backlog.h"

namespace vellum {

namespace {
MessagePresenter activePresenter = &presentTextOnStdout;
}

MessagePresenter messagePresenter() { return activePresenter; }

void setMessagePresenter(MessagePresenter presenter) {
  activePresenter = presenter ? presenter : &presentTextOnStdout;
}

int presentTextOnStdout(const char* text, int length, const int* nextLength, const int*) {
  ScriptState& s = scriptState();
  BacklogEntry& entry = backlog().current();
  // Fast-forward lays out nothing.
  if (s.fastForwardMode) return 1;
  const int offset = s.textOffset > 0 && s.textOffset <= length ? s.textOffset : 0;
  const bool continuesPage = entry.text[0] != '\0';

  std::string line;
  if (!continuesPage && entry.tag[0]) line = "\xa1\xbe" + std::string(entry.tag) + "\xa1\xbf";
  line.append(text + offset, static_cast<size_t>(length - offset));
  std::string out = toUtf8(line, CodePage::Gbk);
  out += '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);

  // The page stays open while the message block goes on (the next line is not empty), so its
  // following lines are shown as part of the same message; an empty line commits it.
  if (nextLength && *nextLength > 0) {
    const size_t n = std::min(line.size(), sizeof entry.text - 1);
    std::memcpy(entry.text, line.data(), n);
    entry.text[n] = '\0';
    if (n == 0) entry.text[0] = ' ';
  } else {
    entry.text[0] = '\0';
    entry.tag[0] = '\0';
    entry.nameLength = 0;
  }
  s.textOffset = 0;
  s.messageWaited = 0;
  return 1;
}

}  // namespace vellum
