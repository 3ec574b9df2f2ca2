#include "engine/diagnostics_commands.h"

#include <unistd.h>
#include <fcntl.h>

#include <cstdio>
#include <iostream>
#include <string>

#include <vellum/exports.h>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "base/report.h"
#include "base/text_encoding.h"
#include "script/script_messages.h"

namespace vellum {

namespace {

// A string argument as it is, anything else as its decimal text.
std::string argumentText(void* call, int i) {
  if (args().type(call, i) == args().stringType) {
    size_t length = 0;
    const char* text = args().getStringLength(call, i, &length);
    return std::string(text, length);
  }
  return dtos10(args().getDouble(call, i));
}

// The standard output saved while it is attached to the terminal; -1 when not attached.
int savedOutput = -1;

}  // namespace

int printBody(void* call) {
  const int count = args().count[0](call);
  std::fflush(stdout);
  for (int i = 1; i <= count; ++i) std::cout << toUtf8(argumentText(call, i), CodePage::Gbk);
  std::cout.flush();
  args().returnNothing(call);
  return 1;
}

int errorBody(void* call) {
  const int count = args().count[0](call);
  ReportText message;
  bool showBox = true;
  if (count == 1 || count == 2) {
    message.gbk(argumentText(call, 1));
    if (count == 2) showBox = args().getInt(call, 2) != 0;
  } else {
    message.sjis(messages::kBadArgumentCount);
  }
  errorc(message, showBox);
  args().returnNothing(call);
  return 1;
}

int endBody(void* call) {
  args().fail(call);
  return 0;
}

// On Linux the engine's output already goes to the terminal it was started from, unless it was
// redirected; attaching points standard output at that terminal, detaching restores it.
int consoleBody(void* call) {
  const bool open = args().getInt(call, 1) != 0;
  std::fflush(stdout);
  if (open && savedOutput < 0 && !isatty(STDOUT_FILENO)) {
    const int terminal = ::open("/dev/tty", O_WRONLY | O_CLOEXEC);
    if (terminal >= 0) {
      savedOutput = dup(STDOUT_FILENO);
      dup2(terminal, STDOUT_FILENO);
      close(terminal);
    }
  } else if (!open && savedOutput >= 0) {
    dup2(savedOutput, STDOUT_FILENO);
    close(savedOutput);
    savedOutput = -1;
  }
  args().returnNothing(call);
  return 1;
}

void provideDiagnosticsCommands() {
  provideCommand("console", &consoleBody);
  provideCommand("print", &printBody);
  provideCommand("error", &errorBody);
  provideCommand("end", &endBody);
}

}  // namespace vellum
