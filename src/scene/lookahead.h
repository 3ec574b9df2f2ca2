// The look-ahead pass: reads the script lines after the current one, predicts which picture files
// they will load (through patterns the script registers), drops cached pictures no longer
// predicted and decodes the missing ones on worker threads. Also the voice look-ahead of
// lookahead2 and the pass a transition runs on its own thread while it draws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_file.h"

namespace vellum {

// lookahead_set: kind 0 registers `format` for command lines whose command is `key`; another kind
// registers it for name tags (the line's picture becomes the speaker's remembered picture). A
// second registration of a key replaces its format.
void registerLookaheadPattern(std::string_view key, std::string_view format, int32_t kind);
// lookahead_stop: the pass ends when it predicts this file; stop names are always prefetched.
void registerLookaheadStop(std::string_view name);

// A registered format with a command's argument text: each "%s" becomes the first argument (its
// quotes removed), "%%" a percent sign.
std::string expandLookaheadFormat(std::string_view format, std::string_view argumentText);

// The files the lines after `currentLine` predict, in the order first predicted, stop names last.
std::vector<std::string> predictPictures(const ScriptFile& lines, int currentLine);

// The voice files the next speaker line after `currentLine` names.
std::vector<std::string> predictVoices(const ScriptFile& lines, int currentLine);

// The whole pass from the current script line: predict, evict the rest, prefetch with one worker
// per processor (`workers` 0) and collect into the cache.
void runLookaheadPass(unsigned workers = 0);

// lookahead and lookahead2 run only while the LookaHead setting is on and nothing fast-forwards.
bool lookaheadAllowed();

// lookahead2 hands each predicted voice to the sound system's preload; the sound layer fills this.
using VoicePrefetch = void (*)(std::string_view file);
void setVoicePrefetch(VoicePrefetch prefetch);
void runVoiceLookahead();

// The pass on its own thread while a transition draws. Starting does nothing (false) when the
// pass is not allowed; finishing waits for it, 1 ms at a time, calling `pump` between checks.
bool startBackgroundLookahead();
void finishBackgroundLookahead(void (*pump)() = nullptr);

// The picture files the script lines just after the current one name in quotes ("bg.png",
// ":a;face.png"), decoded into the picture cache on their own thread while the screen is set up;
// nothing is evicted for them. Starting does nothing (false) when look-ahead is not allowed or a
// pass runs already; finishBackgroundLookahead waits for it.
std::vector<std::string> quotedPictureNames(const ScriptFile& lines, int currentLine);
bool startScreenPrefetch();

void resetLookahead();  // forgets the registrations (after stopping a background pass)

void provideLookaheadCommands();

}  // namespace vellum
