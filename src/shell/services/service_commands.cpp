// isNetworkAlive, fileDownload, shellExecute, setClipboard, findText, existFile2,
// getCurrentDirectory, getWin64, executeUnity, liveUnity, releaseUnity, systemMessage, confirm
// and inform.
#include "shell/services/service_commands.h"

#include <cstdio>
#include <string>

#include "base/engine_state.h"
#include "base/report.h"
#include "base/text_encoding.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/network_state.h"
#include "platform/question_box.h"
#include "services/http_download.h"
#include "shell/services/find_request.h"
#include "shell/ui/in_window_ui.h"
#include "shell/services/service_messages.h"
#include "shell/services/shell_execute.h"
#include "shell/display/shell_window_state.h"
#include "storage/file_loader.h"

namespace vellum {

namespace {

// Script text up to its first NUL, as the engine's string functions see it.
std::string scriptText(void* call, int i) {
  std::string text = stringArgument(call, i);
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

// The text of a box: a number argument is shown in decimal.
std::string boxText(void* call) {
  if (args().type(call, 1) == args().intType) return std::to_string(args().getInt(call, 1));
  return scriptText(call, 1);
}

int refuse(void* call, std::string_view message) {
  errorc(ReportText(message, CodePage::ShiftJis), true);
  return noResult(call);
}

int intResult(void* call, int32_t value) {
  args().returnInt(call, args().count[1](call), value);
  return 1;
}

int isNetworkAliveBody(void* call) {
  setCurrentCommandName("isNetworkAlive");
  if (args().count[1](call) != 1) return refuse(call, service_messages::kWrongCount);
  if (!args().canReceiveInt(call, 1)) return refuse(call, service_messages::kFirstNotNumberVariable);
  return intResult(call, networkIsUp() ? 1 : 0);
}

int fileDownloadBody(void* call) {
  setCurrentCommandName("fileDownload");
  if (args().count[1](call) != 2) return refuse(call, service_messages::kWrongCount);
  if (args().type(call, 1) != args().stringType) return refuse(call, service_messages::kFirstNotString);
  if (!args().canReceiveString(call, 2)) return refuse(call, service_messages::kSecondNotStringVariable);
  const DownloadResult got = downloadToMemory(scriptText(call, 1));
  // Without the library no download can work: the author and the player learn why (the loader's
  // reason is UTF-8).
  if (got.libraryMissing) {
    const std::string reason = " (" + fromUtf8(got.failure, CodePage::ShiftJis) + ")";
    errorc(ReportText(service_messages::kNoDownloadLibrary, CodePage::ShiftJis).sjis(reason), true);
  }
  // The variable is written once, with the whole body or nothing.
  const std::string& body = got.ok ? got.body : std::string();
  args().returnBytes(call, 2, body.data(), body.size());
  return 1;
}

int shellExecuteBody(void* call) {
  setCurrentCommandName("shellExecute");
  if (args().count[1](call) != 3) return refuse(call, service_messages::kWrongCount);
  if (args().type(call, 1) != args().stringType) return refuse(call, service_messages::kFirstNotString);
  if (args().type(call, 2) != args().stringType) return refuse(call, service_messages::kSecondNotString);
  if (!args().canReceiveInt(call, 3)) return refuse(call, service_messages::kThirdNotNumberVariable);
  const std::string file = gamePathToFileSystem(scriptText(call, 1));
  const std::string parameters = toUtf8(scriptText(call, 2), CodePage::Gbk);
  args().returnInt(call, 3, shellExecute(file, parameters, engine().exeDirectory));
  return 1;
}

int setClipboardBody(void* call) {
  setCurrentCommandName("setClipboard");
  // The clipboard belongs to the main window; without one there is nothing to open.
  if (shellWindow().windowCreated) setClipboardText(toUtf8(scriptText(call, 1), CodePage::Gbk));
  return noResult(call);
}

int findTextBody(void* call) {
  setCurrentCommandName("findText");
  openFindDialog();
  refreshInterface();
  return noResult(call);
}

// Backslashes become '/', skipping double-byte characters whole.
std::string withForwardSlashes(std::string path) {
  for (size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (c >= 0x81 && c <= 0xFC) {
      ++i;
    } else if (c == '\\') {
      path[i] = '/';
    }
  }
  return path;
}

int existFile2Body(void* call) {
  setCurrentCommandName("existFile2");
  const std::string path = withForwardSlashes(scriptText(call, 1));
  return intResult(call, !path.empty() && storedFileExists(path) ? 1 : 0);
}

int getCurrentDirectoryBody(void* call) {
  setCurrentCommandName("getCurrentDirectory");
  // The folder is kept as a file-system path; scripts see GBK.
  const std::string folder = fromUtf8(engine().userDataDirectory, CodePage::Gbk);
  args().returnBytes(call, args().count[1](call), folder.data(), folder.size());
  return 1;
}

int getWin64Body(void* call) {
  setCurrentCommandName("getWin64");
  return intResult(call, 0);
}

// The embedded player needs a Windows child window; here it never starts and never runs.
int executeUnityBody(void* call) {
  setCurrentCommandName("executeUnity");
  showErrorBox(ReportText().ascii("Unity HANDLE"));
  return intResult(call, 0);
}

int liveUnityBody(void* call) {
  setCurrentCommandName("liveUnity");
  return intResult(call, 0);
}

int releaseUnityBody(void* call) {
  setCurrentCommandName("releaseUnity");
  return intResult(call, 1);
}

int systemMessageBody(void* call) {
  setCurrentCommandName("systemMessage");
  return noResult(call);
}

int confirmBody(void* call) {
  setCurrentCommandName("confirm");
  const std::string text = toUtf8(boxText(call), CodePage::Gbk);
  return intResult(call, askQuestion("Confirm", text, QuestionButtons::YesNo) == Answer::Yes ? 1 : 0);
}

int informBody(void* call) {
  setCurrentCommandName("inform");
  showMessageBox("Information", toUtf8(boxText(call), CodePage::Gbk), BoxIcon::Information);
  return noResult(call);
}

}  // namespace

void provideServiceCommands() {
  provideCommand("isNetworkAlive", &isNetworkAliveBody);
  provideCommand("fileDownload", &fileDownloadBody);
  provideCommand("shellExecute", &shellExecuteBody);
  provideCommand("setClipboard", &setClipboardBody);
  provideCommand("findText", &findTextBody);
  provideCommand("existFile2", &existFile2Body);
  provideCommand("getCurrentDirectory", &getCurrentDirectoryBody);
  provideCommand("getWin64", &getWin64Body);
  provideCommand("executeUnity", &executeUnityBody);
  provideCommand("liveUnity", &liveUnityBody);
  provideCommand("releaseUnity", &releaseUnityBody);
  provideCommand("systemMessage", &systemMessageBody);
  provideCommand("confirm", &confirmBody);
  provideCommand("inform", &informBody);
}

}  // namespace vellum
