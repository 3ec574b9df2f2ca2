// The desktop's speech service (speech-dispatcher), so that the player's own voice, language and
// rate apply. Everything goes through one worker thread: the connection is opened there on first
// use and every request waits there, so a slow or missing service never holds up the game. When
// no service answers, the problem is kept for one report and every later request is dropped.
#pragma once

#include <string>

namespace vellum {

// Queues an utterance (UTF-8) after what is being spoken.
void speakWithDispatcher(const std::string& utf8);
// Stops what is being spoken and drops what waits.
void cancelDispatcherSpeech();

// The reason the service could not be reached, once ("" before that and after it was taken).
std::string takeDispatcherProblem();

// Closes the connection. Waits a moment for the worker; one still busy with the service is left to
// end by itself.
void closeDispatcher();

}  // namespace vellum
