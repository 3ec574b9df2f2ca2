// Carrying settings over from another game that keeps its saves in the same Documents folder:
// finding the candidates and letting the player pick one.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vellum {

// The folder to search: the user-data folder with its last (length of s2 + 1) bytes removed.
// Empty when the path is too short for that (nothing is searched then).
std::string carryOverRoot(const std::string& userDataDirectory, size_t secondNameLength);

// Every file under root (sub-folders included, symbolic links not followed) whose path ends in
// "/save/setting.dat" gives the text between root and that ending. Names are visited in byte order
// within each folder, so the list is the same on every run.
std::vector<std::string> findCarryOverGames(const std::string& root);

// Shows the choice (nothing when there are no items) and asks to confirm it. Returns the chosen
// item, or nothing; giving up sets QuitFlag.
std::optional<std::string> chooseCarryOverGame(const std::vector<std::string>& items);

}  // namespace vellum
