// The built-in script functions (strings, paths, files, lists, dates, timing, plug-in libraries).
#pragma once

namespace vellum {

void provideBuiltinFunctions();

}  // namespace vellum
