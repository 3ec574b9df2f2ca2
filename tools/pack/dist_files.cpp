#include "dist_files.h"

namespace vellum::pack {

std::string launcherScript(const std::string& name) {
  return "#!/bin/sh\n"
         "# Starts " + name + ": the engine in bin/, the libraries it brings in lib/, the game in game/.\n"
         "# Arguments go to the engine (--help lists them). --install-desktop adds the game to this\n"
         "# user's application menu, pointing at this folder.\n"
         "here=$(dirname \"$(readlink -f \"$0\")\")\n"
         "if [ \"$1\" = \"--install-desktop\" ]; then\n"
         "  apps=\"${XDG_DATA_HOME:-$HOME/.local/share}/applications\"\n"
         "  icons=\"${XDG_DATA_HOME:-$HOME/.local/share}/icons/hicolor/128x128/apps\"\n"
         "  mkdir -p \"$apps\" \"$icons\" || exit 1\n"
         "  cp \"$here/icon.png\" \"$icons/" + name + ".png\" || exit 1\n"
         "  sed -e \"s|^Exec=.*|Exec=\\\"$here/" + name + "\\\"|\" \"$here/" + name + ".desktop\" > \"$apps/" + name +
         ".desktop\" || exit 1\n"
         "  echo \"" + name + " added to the application menu ($apps/" + name + ".desktop)\"\n"
         "  exit 0\n"
         "fi\n"
         "LD_LIBRARY_PATH=\"$here/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}\" exec \"$here/bin/vellum\" --game \"$here/game\" \"$@\"\n";
}

std::string desktopEntry(const std::string& name) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" + name + "\n"
         "Comment=A visual novel\n"
         // The desktop file's escapes: \\ is one backslash of the quoted argument, which \" and \$ need.
         R"(Exec=sh -c "exec \\"\\$(dirname \\"\\$0\\")/)" + name + R"(\\"" %k)" "\n"
         "Icon=" + name + "\n"
         "Terminal=false\n"
         "Categories=Game;\n";
}

}  // namespace vellum::pack
