// The user's Documents folder, which stands in for the personal folder save data may live under.
#pragma once

#include <string>

namespace vellum {

// XDG_DOCUMENTS_DIR from the user's user-dirs.dirs ($XDG_CONFIG_HOME, else ~/.config), else
// $HOME/Documents when that folder exists, else $HOME. No trailing '/'.
std::string documentsFolder();

// The value of XDG_DOCUMENTS_DIR in the text of a user-dirs.dirs file, with "$HOME" expanded;
// empty when the file does not set it.
std::string documentsFromUserDirs(const std::string& fileText, const std::string& home);

}  // namespace vellum
