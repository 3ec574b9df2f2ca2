// Error reporting for plug-ins: the message is a NUL-terminated text in the game's code page.
#include <vellum/exports.h>

#include "base/report.h"

extern "C" void errorc(const char* message, int showBox) {
  vellum::errorc(vellum::ReportText(message ? message : "", vellum::CodePage::Gbk), showBox != 0);
}

extern "C" void errord(const char* message, int showBox) {
  vellum::errord(vellum::ReportText(message ? message : "", vellum::CodePage::Gbk), showBox != 0);
}
