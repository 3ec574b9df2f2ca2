#include "shell/services/speech_service.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "base/report.h"
#include "base/text_encoding.h"
#include "persist/engine_settings.h"
#include "platform/speech_dispatcher.h"
#include "shell/services/speech_texts.h"

namespace vellum {

namespace {

struct SpeechState {
  bool forcedOn = false;  // --speech-out: on for the run
  std::FILE* out = nullptr;
  std::string outPath;
  int32_t spokenFocus = -1;  // the button whose words were said last, until the focus leaves it
  bool problemReported = false;
  bool messageVoiced = false;  // a voice line started with the message being shown
};

SpeechState& state() {
  static SpeechState s;
  return s;
}

VoiceLineProbe voiceLines;
ButtonLabelSource labelSource = nullptr;

std::string partPath(const std::string& path) { return path + ".part"; }

// One report when the speech service is found missing; from then on the game is silent.
void reportUnreachableService() {
  SpeechState& s = state();
  const std::string problem = takeDispatcherProblem();
  if (problem.empty() || s.problemReported) return;
  s.problemReported = true;
  // The library's reason is UTF-8.
  errord(ReportText().gbk(speech_texts::kNoSpeechService).gbk(" (" + fromUtf8(problem, CodePage::Gbk) + ")"), true);
}

// Says GBK words: one line of the --speech-out file, or the speech service.
void utter(const std::string& words) {
  if (words.empty()) return;
  std::string utf8 = toUtf8(words, CodePage::Gbk);
  // One utterance is one line.
  for (char& c : utf8)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  SpeechState& s = state();
  if (s.out) {
    utf8 += '\n';
    std::fwrite(utf8.data(), 1, utf8.size(), s.out);
    std::fflush(s.out);
    return;
  }
  speakWithDispatcher(utf8);
  reportUnreachableService();
}

}  // namespace

bool readingAloud() { return settings().readAloud != 0 || state().forcedOn; }

void toggleReadingAloud() {
  if (readingAloud()) {
    interruptSpeech();
    settings().readAloud = 0;
    state().forcedOn = false;
  } else {
    settings().readAloud = 1;
    utter(std::string(speech_texts::kReadingAloudOn));
  }
}

void speakMessage(const std::string& speaker, const std::string& text, bool startsMessage) {
  if (!readingAloud()) return;
  SpeechState& s = state();
  if (startsMessage) s.messageVoiced = voiceLines.startedSinceStock && voiceLines.startedSinceStock();
  // The voice line says the text itself; who speaks it is still told.
  const bool voiceSays = s.messageVoiced && !settings().readAloudOverVoice;
  if (voiceSays || text.empty()) {
    utter(speaker);
  } else {
    utter(speaker.empty() ? text : speaker + ": " + text);
  }
}

void speakFocus(int32_t button, const std::string& words) {
  SpeechState& s = state();
  if (!readingAloud() || button == s.spokenFocus) return;
  s.spokenFocus = button;
  if (words.empty()) return;
  // The old focus's words are stale now.
  interruptSpeech();
  utter(words);
}

void forgetSpokenFocus() { state().spokenFocus = -1; }

void interruptSpeech() {
  if (!readingAloud() || state().out) return;
  cancelDispatcherSpeech();
  reportUnreachableService();
}

void setVoiceLineProbe(const VoiceLineProbe& probe) { voiceLines = probe; }

void noteWaitForPlayer() {
  if (!readingAloud()) return;
  if (voiceLines.takeStock) voiceLines.takeStock();
  // The connection is tried beside the game; its failure is told while the game waits.
  if (!state().out) reportUnreachableService();
}

void setButtonLabelSource(ButtonLabelSource source) { labelSource = source; }
std::string buttonLabel(int32_t sprite) { return labelSource && sprite >= 0 ? labelSource(sprite) : std::string(); }

bool startSpeechOutput(const std::string& path, std::string& error) {
  SpeechState& s = state();
  if (s.out) std::fclose(s.out);
  s.out = std::fopen(partPath(path).c_str(), "wb");
  if (!s.out) {
    error = "--speech-out: cannot write " + partPath(path) + ": " + std::strerror(errno);
    return false;
  }
  s.outPath = path;
  s.forcedOn = true;
  return true;
}

void closeSpeech() {
  SpeechState& s = state();
  if (s.out) {
    std::fclose(s.out);
    s.out = nullptr;
    std::error_code ec;
    std::filesystem::rename(partPath(s.outPath), s.outPath, ec);
    if (ec) std::fprintf(stderr, "vellum: --speech-out: cannot move the lines to %s: %s\n", s.outPath.c_str(), ec.message().c_str());
  }
  closeDispatcher();
}

void resetSpeech() {
  closeSpeech();
  state() = SpeechState{};
}

}  // namespace vellum
