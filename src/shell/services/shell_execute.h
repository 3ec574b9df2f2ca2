// What shellExecute starts for a file and a parameter string: a program with the parameters as
// one argument, or the desktop opener for documents, folders and addresses. Nothing is ever run
// through a shell, so no script text becomes a command line.
#pragma once

#include <string>
#include <vector>

namespace vellum {

struct LaunchPlan {
  std::string program;  // empty: nothing to start (the file does not exist)
  std::vector<std::string> arguments;
};

// file and parameters are UTF-8; relative files are looked for under gameFolder (with its
// trailing '/') first. Addresses (scheme://... or mailto:) and existing documents and folders go
// to the desktop opener; an executable file, or a bare name that is not a file here, is started
// itself with the non-empty parameter string as its single argument.
LaunchPlan planShellExecute(const std::string& file, const std::string& parameters, const std::string& gameFolder);

// shellExecute: plans and starts; returns the shell's result code (above 32 on success).
int shellExecute(const std::string& file, const std::string& parameters, const std::string& gameFolder);

}  // namespace vellum
