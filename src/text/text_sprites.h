// Text sprites after a load: a restored save brings back their pictures clear, and these draw the
// text again into them; and the words a sprite shows.
#pragma once

#include <cstdint>
#include <string>

namespace vellum {

// Draws the stored text of every string and log sprite again, each with the font it was made with
// (its name, size, style and colours are kept with the sprite); the text-sprite font set by
// ssp_set is left as it was. Needs the log layout restored first (log sprites use it).
void redrawRestoredTextSprites();

// The words a sprite shows as text (GBK): a string sprite's text and what ssp_draw wrote on it;
// how a button on the sprite is read aloud when it has no tooltip.
std::string spriteLabel(int32_t n);

}  // namespace vellum
