// The browser has no speech-dispatcher; reading aloud says so once and drops every request.
#include "platform/speech_dispatcher.h"

namespace vellum {

namespace {
bool told = false;
}  // namespace

void speakWithDispatcher(const std::string&) {}
void cancelDispatcherSpeech() {}

std::string takeDispatcherProblem() {
  if (told) return {};
  told = true;
  return "speech is not available in the browser";
}

void closeDispatcher() {}

}  // namespace vellum
