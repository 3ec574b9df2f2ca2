#include "text/message_window.h"

#include <algorithm>
#include <cmath>

#include "base/clock.h"
#include "persist/engine_settings.h"
#include "render/renderer.h"
#include "render/renderer_state.h"
#include "scene/screen_transform.h"
#include "scene/sprite_table.h"
#include "shell/input/event_source.h"
#include "shell/services/speech_service.h"
#include "script/read_mode.h"
#include "script/script_state.h"
#include "text/backlog.h"
#include "text/cstring.h"
#include "text/image_log.h"

namespace vellum {

namespace {
MessageWindow window;
MessageClock clockSource = &tickMilliseconds;
}  // namespace

MessageWindow& messageWindow() { return window; }

void resetMessageWindow() {
  window = MessageWindow{};
  resetTextObjects();
  installMessageDrawing();
}

void setMessageClock(MessageClock clock) { clockSource = clock ? clock : &tickMilliseconds; }
uint32_t messageNow() { return clockSource(); }

int scaledFontSize() { return static_cast<int>(std::lround(static_cast<float>(window.fontSize) * displayScale())); }

void applyMessageFonts() {
  const EngineSettings& s = settings();
  const int size = scaledFontSize();
  mainText().SetFont(s.currentFontName, size, s.liveFontStyle);
  rubyText().SetFont(s.currentFontName, size / 2, s.liveFontStyle & 15);
  for (CString* t : {&mainText(), &rubyText()}) t->SetColors(s.liveFontColor1, s.liveFontColor2, s.liveFontColor3);
}

void clearMessagePage() {
  renderer().refreshRequested = true;
  window.row = 0;
  window.indent = 0;
  window.moveToColumn(0);
  window.justWrapped = false;
  for (CString* t : {&mainText(), &rubyText()}) {
    t->Clear();
    t->typewriterBase = 0;
    t->anchors.clear();
  }
}

void publishAutoDeadline() { setAutoAdvanceDeadline(window.autoDeadline); }

namespace {

// A camera value as the page shows it once its move ends: a running track's target, else the
// value now.
int16_t cameraValueAtRest(const CameraValue& v) {
  const float value = v.track.change != 0 ? v.track.from + v.track.change : v.current;
  return static_cast<int16_t>(std::clamp(value, -32768.0f, 32767.0f));
}

}  // namespace

void commitBacklogEntry(int keep) {
  BacklogState& log = backlog();
  BacklogEntry& done = log.current();
  captureImageLog(done);
  const auto& camera = screenTransform().camera;
  done.screenX = cameraValueAtRest(camera[kCameraX]);
  done.screenY = cameraValueAtRest(camera[kCameraY]);
  done.screenW = cameraValueAtRest(camera[kCameraW]);
  done.screenH = cameraValueAtRest(camera[kCameraH]);
  // Keeping the index rewrites the same page, so only a page moved past adds one to the count.
  if (keep == 0) {
    if (log.count < kBacklogEntries) ++log.count;
    log.index = (log.index + 1) % kBacklogEntries;
  }
  BacklogEntry& next = log.current();
  next.text[0] = '\0';
  next.tag[0] = '\0';
  next.nameLength = 0;
  log.writeOffset = 0;
  window.backlogOffset = 0;
  window.autoDeadline = 0;
  window.finishedLines = 0;
  scriptState().messageWaited = 0;
  publishAutoDeadline();
  // A new page: what was read aloud of the old one is over.
  interruptSpeech();
}

// ---- the typewriter --------------------------------------------------------------------------

namespace {

bool fading() { return settings().messageFade != 0; }
// The text on screen changed: draw2 must draw the next frame.
void requestFrame() { renderer().refreshRequested = true; }
int textSpeed() { return std::max(settings().liveTextSpeed, 0); }

// Ruby characters whose base character is among the first n.
int rubyShownFor(int n) {
  const CString& r = rubyText();
  int shown = 0;
  while (shown < r.count && shown < static_cast<int>(r.anchors.size()) && r.anchors[static_cast<size_t>(shown)] < n) ++shown;
  return shown;
}

void showAll() {
  for (CString* t : {&mainText(), &rubyText()}) {
    if (fading()) t->SetDiffuse(t->fadeStart, 0xFFFFFFFF);
    t->shown = t->fadeStart = t->count;
  }
}

}  // namespace

void formatMessDraw() {
  requestFrame();
  window.typewriterStart = messageNow();
  for (CString* t : {&mainText(), &rubyText()}) {
    if (fading()) t->SetDiffuse(t->typewriterBase, 0x00FFFFFF);
    t->shown = t->fadeStart = std::min(t->typewriterBase, t->count);
  }
}

int setMessDraw() {
  CString& main = mainText();
  if (main.count == main.fadeStart) return 0;
  requestFrame();
  const ReadModeState& modes = readMode();
  if (textSpeed() == 0 || (modes.currentMessageRead && settings().alreadyReadMoment)) {
    showAll();
    return 0;
  }
  const uint32_t now = messageNow();
  int n = static_cast<int>((now - window.typewriterStart) / static_cast<uint32_t>(textSpeed())) + main.typewriterBase;
  n = std::min(n, main.count);
  // Each pause point costs one character period.
  if (settings().pointWait != 0 && !main.pausePoints.empty() && main.pausePoints.front() < n) {
    n = main.pausePoints.front();
    main.pausePoints.pop_front();
    window.typewriterStart += static_cast<uint32_t>(textSpeed());
  }
  CString& ruby = rubyText();
  const int rubyShown = rubyShownFor(n);
  if (fading()) {
    main.FadeIn(n, now);
    if (ruby.fadeStart < ruby.count) ruby.FadeIn(rubyShown, now);
  } else {
    main.shown = main.fadeStart = n;
    ruby.shown = ruby.fadeStart = rubyShown;
  }
  return 1 - (modes.transientSkip ? 1 : 0);
}

void endMessDraw() {
  requestFrame();
  const bool samePage = scriptState().messageWaited & 1;
  for (CString* t : {&mainText(), &rubyText()}) {
    if (fading()) t->SetDiffuse(t->fadeStart, 0xFFFFFFFF);
    t->shown = t->fadeStart = t->count;
    t->typewriterBase = samePage ? t->count : 0;
  }
  CString& main = mainText();
  while (!main.pausePoints.empty() && main.pausePoints.front() < main.typewriterBase) main.pausePoints.pop_front();
}

// ---- drawing ---------------------------------------------------------------------------------

void installMessageDrawing() {
  sceneCallbacks().drawMessageLayer = [] {
    if (!(readMode().windowVisible & 2)) return;
    // The text moves with the screen quake only when the quake targets screen-fixed sprites.
    float dx = 0, dy = 0;
    messageQuakeOffset(dx, dy);
    for (CString* t : {&mainText(), &rubyText()}) {
      t->PlaceAllIfMoved(dx, dy);
      t->Draw();
    }
  };
  spriteTable().messageWindowShown = [] { return (readMode().windowVisible & 1) != 0; };
}

}  // namespace vellum
