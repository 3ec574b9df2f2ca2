#include "shell/input/input_replay.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/clock.h"
#include "platform/message_queue.h"
#include "platform/quit_signals.h"
#include "shell/display/coordinate_mapping.h"
#include "shell/input/pad_mapping.h"

namespace vellum {

namespace {

struct Replay {
  std::vector<ReplayedEvent> events;
  size_t next = 0;
  uint32_t startMs = 0;
  // The first quit line, scheduled as a signal (loadInputReplay).
  bool quitScheduled = false;
  uint32_t quitAtMs = 0;
};

Replay replay;
bool rawPositions = false;
ReplayShotTaker shotTaker = nullptr;

bool number(const std::string& word, long long& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  value = std::strtoll(word.c_str(), &end, 0);
  return end && *end == '\0';
}

bool buttonNamed(const std::string& word, MouseButton& button) {
  if (word == "left") button = MouseButton::Left;
  else if (word == "right") button = MouseButton::Right;
  else if (word == "middle") button = MouseButton::Middle;
  else return false;
  return true;
}

bool padKindNamed(const std::string& word, PadKind& kind) {
  if (word == "standard") kind = PadKind::Standard;
  else if (word == "nintendo") kind = PadKind::Nintendo;
  else if (word == "handheld") kind = PadKind::Handheld;
  else return false;
  return true;
}

// A stick position in percent of its travel, as the pad's own axis value.
int32_t stickAxis(long long percent) { return static_cast<int32_t>(percent * 32767 / 100); }

// A pad line's event, or a reason. kind: the replayed pad's, from its last padconnect line.
std::string parsePadLine(const std::vector<std::string>& w, PadKind& kind, ReplayedEvent& e) {
  const std::string& what = w[1];
  WindowMessage& m = e.message;
  long long a = 0, b = 0;
  if (what == "padpress" || what == "padrelease") {
    if (w.size() != 3 || !padButtonNamed(w[2], m.padButton))
      return what + " needs a pad button (a, b, x, y, dpup, start, leftshoulder ...)";
    m.kind = what == "padpress" ? MessageKind::PadButtonDown : MessageKind::PadButtonUp;
  } else if (what == "padstick") {
    if (w.size() != 5 || (w[2] != "left" && w[2] != "right") || !number(w[3], a) || !number(w[4], b) || a < -100 ||
        a > 100 || b < -100 || b > 100)
      return "padstick needs left or right and X Y, each -100 to 100";
    m.kind = MessageKind::PadStick;
    m.padStick = w[2] == "left" ? PadStick::Left : PadStick::Right;
    m.x = stickAxis(a);
    m.y = stickAxis(b);
  } else if (what == "padconnect") {
    if (w.size() > 3 || (w.size() == 3 && !padKindNamed(w[2], kind)))
      return "padconnect takes standard, nintendo or handheld";
    if (w.size() == 2) kind = PadKind::Standard;
    m.kind = MessageKind::PadConnected;
  } else {
    if (w.size() != 2) return "paddisconnect takes no arguments";
    m.kind = MessageKind::PadDisconnected;
  }
  m.padKind = kind;
  return "";
}

// One line's event, or a reason.
std::string parseLine(const std::vector<std::string>& w, PadKind& padKind, ReplayedEvent& e) {
  long long at = 0;
  if (!number(w[0], at) || at < 0 || at > 0x7FFFFFFF) return "the time must be milliseconds";
  e.atMs = static_cast<uint32_t>(at);
  if (w.size() < 2) return "an event name must follow the time";
  const std::string& what = w[1];
  WindowMessage& m = e.message;
  long long a = 0, b = 0;
  if (what == "move") {
    if (w.size() != 4 || !number(w[2], a) || !number(w[3], b)) return "move needs X Y";
    m.kind = MessageKind::MouseMove;
    m.x = static_cast<int32_t>(a);
    m.y = static_cast<int32_t>(b);
    e.gamePosition = true;
  } else if (what == "press" || what == "release") {
    if ((w.size() != 3 && w.size() != 5) || !buttonNamed(w[2], m.button)) return what + " needs left, right or middle";
    m.kind = what == "press" ? MessageKind::ButtonDown : MessageKind::ButtonUp;
    if (w.size() == 5) {
      if (!number(w[3], a) || !number(w[4], b)) return what + ": X Y must be numbers";
      m.x = static_cast<int32_t>(a);
      m.y = static_cast<int32_t>(b);
      e.gamePosition = true;
    }
  } else if (what == "wheel") {
    if (w.size() != 3 || !number(w[2], a) || a == 0 || a < -1000 || a > 1000) return "wheel needs a notch count";
    m.kind = MessageKind::Wheel;
    m.wheelDelta = static_cast<int32_t>(a) * 120;
  } else if (what == "keydown" || what == "keyup") {
    if (w.size() != 3 || !number(w[2], a) || a <= 0 || a > 255) return what + " needs a virtual-key number 1-255";
    m.kind = what == "keydown" ? MessageKind::KeyDown : MessageKind::KeyUp;
    m.vk = static_cast<int32_t>(a);
  } else if (what == "padpress" || what == "padrelease" || what == "padstick" || what == "padconnect" ||
             what == "paddisconnect") {
    return parsePadLine(w, padKind, e);
  } else if (what == "close") {
    if (w.size() != 2) return "close takes no arguments";
    m.kind = MessageKind::CloseRequest;
  } else if (what == "shot") {
    if (w.size() != 3) return "shot needs one name (no spaces)";
    const std::string problem = shotNameProblem(w[2]);
    if (!problem.empty()) return problem;
    e.shotName = w[2];
  } else if (what == "quit") {
    if (w.size() != 2) return "quit takes no arguments";
    e.quit = true;
  } else {
    return "unknown event \"" + what + "\"";
  }
  return "";
}

}  // namespace

std::string shotNameProblem(const std::string& name) {
  if (name.empty()) return "a shot needs a name";
  // The picture goes to DIR/NAME.png: a name must not reach outside DIR.
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
    return "shot name \"" + name + "\" must not contain a slash (pictures stay in the shots folder)";
  if (name.find("..") != std::string::npos)
    return "shot name \"" + name + "\" must not contain \"..\" (pictures stay in the shots folder)";
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "shot name must not contain control characters";
  }
  return "";
}

bool parseInputReplay(const std::string& text, std::vector<ReplayedEvent>& events, std::string& error) {
  events.clear();
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  PadKind padKind = PadKind::Standard;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty() || w[0][0] == '#') continue;
    ReplayedEvent e;
    const std::string reason = parseLine(w, padKind, e);
    if (!reason.empty()) {
      error = "line " + std::to_string(number) + ": " + reason;
      return false;
    }
    // Events are posted in time order; equal times keep the file's order.
    if (!events.empty() && e.atMs < events.back().atMs) {
      error = "line " + std::to_string(number) + ": times must not go backwards";
      return false;
    }
    events.push_back(std::move(e));
  }
  return true;
}

bool loadInputReplay(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  std::stringstream text;
  text << file.rdbuf();
  std::vector<ReplayedEvent> events;
  if (!parseInputReplay(text.str(), events, error)) {
    error = path + ": " + error;
    return false;
  }
  // A quit must end the game even while the script only draws or sleeps and no pump feeds the
  // replay: the first one is also scheduled as a signal would come.
  startInputReplay(std::move(events), tickMilliseconds());
  for (const ReplayedEvent& e : replay.events) {
    if (e.quit) {
      scheduleQuit(e.atMs);
      replay.quitScheduled = true;
      replay.quitAtMs = e.atMs;
      break;
    }
  }
  return true;
}

void startInputReplay(std::vector<ReplayedEvent> events, uint32_t startMs) {
  replay = Replay{};
  replay.events = std::move(events);
  replay.startMs = startMs;
}

void holdReplayClock(uint32_t ms) {
  if (ms == 0 || replay.events.empty()) return;
  replay.startMs += ms;
  if (!replay.quitScheduled) return;
  // The scheduled quit keeps its place among the events.
  const uint32_t elapsed = tickMilliseconds() - replay.startMs;
  scheduleQuit(replay.quitAtMs > elapsed ? replay.quitAtMs - elapsed : 0);
}

void feedReplayedInput() {
  if (replay.next < replay.events.size()) feedReplayedInputAt(tickMilliseconds());
}

void feedReplayedInputAt(uint32_t nowMs) {
  const uint32_t elapsed = nowMs - replay.startMs;
  while (replay.next < replay.events.size() && replay.events[replay.next].atMs <= elapsed) {
    ReplayedEvent& e = replay.events[replay.next];
    if (e.quit) {
      ++replay.next;
      requestQuit();
      continue;
    }
    // One event at a time, as the window system hands over its own: the next one (and a shot of
    // what it did) waits until the engine has taken the last. After a late frame, events that
    // fell due together would otherwise all be posted at once, the pointer would jump to the last
    // position before the engine had hit-tested the move a press was meant for, and the press
    // would land on whatever lies under the later position.
    if (replayedMessagesWaiting()) return;
    ++replay.next;
    if (!e.shotName.empty()) {
      if (shotTaker) shotTaker(e.shotName);
      continue;
    }
    WindowMessage m = e.message;
    m.replayed = true;
    if (e.gamePosition) {
      if (!rawPositions) displayPosition(m.x, m.y);
    } else if (m.kind == MessageKind::ButtonDown || m.kind == MessageKind::ButtonUp) {
      // A button without a position is pressed where the pointer is.
      pointerPosition(m.x, m.y);
    }
    postWindowMessage(std::move(m));
  }
}

size_t replayedEventsLeft() { return replay.events.size() - replay.next; }

bool nextReplayedEventAt(uint32_t& tickMs) {
  if (replay.next >= replay.events.size()) return false;
  tickMs = replay.startMs + replay.events[replay.next].atMs;
  return true;
}

void resetInputReplay() {
  replay = Replay{};
  rawPositions = false;
  shotTaker = nullptr;
}

void setReplayShotTaker(ReplayShotTaker taker) { shotTaker = taker; }

std::vector<std::string> shotsNotTaken() {
  std::vector<std::string> names;
  for (size_t i = replay.next; i < replay.events.size(); ++i) {
    if (!replay.events[i].shotName.empty()) names.push_back(replay.events[i].shotName);
  }
  return names;
}

void setReplayPositionsRaw(bool raw) { rawPositions = raw; }

}  // namespace vellum
