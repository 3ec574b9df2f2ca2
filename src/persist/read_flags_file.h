// already.dat: the read flags of every script file, kept from one run to the next.
#pragma once

#include <string>
#include <string_view>

namespace vellum {

// One line per script file: "S", its key in base 32, "=", one digit per message in line order.
std::string composeReadFlags();
// Applies such a text to the read-flag tables; a key with no table is reported and skipped.
void applyReadFlags(std::string_view text);

// Writes SaveDirectory + "already.dat". False after a reported failure.
bool saveAlready();
// Reads SaveDirectory + "already.dat" when it exists.
void readAlreadyFile();

}  // namespace vellum
