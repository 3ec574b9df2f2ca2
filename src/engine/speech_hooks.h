// What reading aloud needs to know from the layers above the shell: whether a voice line plays,
// and the words drawn on a button's sprite.
#pragma once

namespace vellum {

void installSpeechHooks();

}  // namespace vellum
