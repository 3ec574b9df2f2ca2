// Reading aloud: each message as it is shown and the button that gets the focus, spoken through
// the desktop's speech service, or written one UTF-8 line per utterance to the --speech-out file.
// The layers above hand their words in as GBK; the engine fills the two slots at start-up.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

// On while the ReadAloud setting is, or for a run with --speech-out.
bool readingAloud();
// The V key and the menu item: on (saying so) or off (silencing what is being said).
void toggleReadingAloud();

// A message as it is shown: the speaker (may be empty) and its text without markup; startsMessage
// for the first part of a message (the rest follows after waits on the same page). When a voice
// line started with the message, only the speaker is said, unless ReadAloudOverVoice asks for the
// text too.
void speakMessage(const std::string& speaker, const std::string& text, bool startsMessage);
// The button that got the focus, by its words; the same button again says nothing until the focus
// has left it (a click gives the focus back to the button under the pointer).
void speakFocus(int32_t button, const std::string& words);
void forgetSpokenFocus();
// A new page or a click: what is being said stops.
void interruptSpeech();

// The voice lines: takeStock notes those playing now; startedSinceStock tells whether one plays
// (or waits to start) that was not playing then.
struct VoiceLineProbe {
  void (*takeStock)() = nullptr;
  bool (*startedSinceStock)() = nullptr;
};
void setVoiceLineProbe(const VoiceLineProbe& probe);
// The game waits for the player: a voice line playing now belongs to what was shown before, so a
// message shown after this is not its text. A speech service found missing is reported here too.
void noteWaitForPlayer();
// The words drawn on a button's sprite, said when the button has no tooltip.
using ButtonLabelSource = std::string (*)(int32_t sprite);
void setButtonLabelSource(ButtonLabelSource source);
std::string buttonLabel(int32_t sprite);

// --speech-out FILE: utterances go to FILE instead of the speech service, and reading aloud is on
// for the run (the setting stays as it was). The lines are written to FILE.part and moved to FILE
// when speech closes. False with the reason when the file cannot be made.
bool startSpeechOutput(const std::string& path, std::string& error);
// At the end of the process: the --speech-out file completed, the connection closed.
void closeSpeech();
// Back to the start (closing as closeSpeech does); the slots stay filled.
void resetSpeech();

}  // namespace vellum
