// Starting other programs without a shell: the program and each argument are separate strings
// handed to exec, so no text is ever parsed as a command line. The started program runs on its
// own; nothing waits for it.
#pragma once

#include <string>
#include <vector>

namespace vellum {

// Results in the shell's convention: above 32 on success, else the reason.
constexpr int kLaunchStarted = 33;
constexpr int kLaunchNotFound = 2;
constexpr int kLaunchAccessDenied = 5;
constexpr int kLaunchOutOfResources = 8;
constexpr int kLaunchNoHandler = 31;

// Runs `program` (a path, or a bare name looked up in PATH) with `arguments` as its argv[1...].
// All strings are UTF-8 file-system text. The child is detached (it never becomes a zombie of
// ours). Returns kLaunchStarted once exec has succeeded, else a failure code.
int launchProgram(const std::string& program, const std::vector<std::string>& arguments);

// The program that opens documents and addresses with the desktop's chosen application.
inline constexpr const char* kDesktopOpener = "xdg-open";

}  // namespace vellum
