#include "shell/services/shell_execute.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>

#include "platform/process_launch.h"

namespace vellum {

namespace {

bool isAddress(const std::string& file) {
  if (file.rfind("mailto:", 0) == 0) return true;
  const size_t colon = file.find("://");
  if (colon == std::string::npos || colon == 0) return false;
  if (!std::isalpha(static_cast<unsigned char>(file[0]))) return false;
  for (size_t i = 1; i < colon; ++i) {
    const char c = file[i];
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

}  // namespace

LaunchPlan planShellExecute(const std::string& file, const std::string& parameters, const std::string& gameFolder) {
  LaunchPlan plan;
  if (file.empty()) return plan;
  if (isAddress(file)) {
    plan.program = kDesktopOpener;
    plan.arguments = {file};
    return plan;
  }
  std::string path = file;
  struct stat st{};
  if (file.front() != '/' && stat((gameFolder + file).c_str(), &st) == 0) path = gameFolder + file;
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0) {
      // A program named by a relative path is still a path, never a PATH look-up.
      plan.program = path.find('/') == std::string::npos ? "./" + path : path;
      if (!parameters.empty()) plan.arguments = {parameters};
    } else {
      plan.program = kDesktopOpener;
      plan.arguments = {path};
    }
    return plan;
  }
  // Not a file: a program the system knows by name.
  if (file.find('/') == std::string::npos) {
    plan.program = file;
    if (!parameters.empty()) plan.arguments = {parameters};
  }
  return plan;
}

int shellExecute(const std::string& file, const std::string& parameters, const std::string& gameFolder) {
  const LaunchPlan plan = planShellExecute(file, parameters, gameFolder);
  if (plan.program.empty()) return kLaunchNotFound;
  const int code = launchProgram(plan.program, plan.arguments);
  // No desktop opener installed: nothing is associated with documents or addresses.
  if (code == kLaunchNotFound && plan.program == kDesktopOpener) return kLaunchNoHandler;
  return code;
}

}  // namespace vellum
