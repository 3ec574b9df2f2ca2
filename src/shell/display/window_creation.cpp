#include "shell/display/window_creation.h"

#include <cstdio>

#include "base/report.h"
#include "platform/instance_lock.h"
#include "platform/main_window.h"
#include "base/text_encoding.h"
#include "shell/display/shell_window_state.h"

namespace vellum {

namespace {

// "设定工具的启动中不能实行" (GBK): the settings tool is running.
constexpr const char* kSettingsToolRunning =
    "\xc9\xe8\xb6\xa8\xb9\xa4\xbe\xdf\xb5\xc4\xc6\xf4\xb6\xaf\xd6\xd0\xb2\xbb\xc4\xdc\xca\xb5\xd0\xd0";
// The settings tool holds the lock of this name while it runs.
constexpr const char* kSettingsToolName = "Engine Setting";

}  // namespace

bool createShellWindow() {
  ShellWindowState& s = shellWindow();
  if (s.windowCreated) return true;
  const std::string title = toUtf8(s.title, CodePage::Gbk);
  // A second copy of the same game only brings the first one to the front.
  if (!acquireInstanceLock(title)) {
    std::fprintf(stderr, "vellum: %s is already running\n", title.c_str());
    return false;
  }
  if (instanceLockHeld(kSettingsToolName)) {
    releaseInstanceLock();
    showErrorBox(ReportText().gbk(kSettingsToolRunning));
    return false;
  }
  if (!createMainWindow(title)) {
    releaseInstanceLock();
    showErrorBox(ReportText().ascii("CreateWindow Main"));
    return false;
  }
  s.windowCreated = true;
  return true;
}

void applyWindowTitle() { setMainWindowTitle(toUtf8(shellWindow().title, CodePage::Gbk)); }

}  // namespace vellum
