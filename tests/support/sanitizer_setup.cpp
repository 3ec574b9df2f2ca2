// Set-up of the sanitizer build's checkers, linked into both test programs (the plain build never
// calls these hooks).
//
// Memory that system libraries allocate once and keep for the life of the process is not ours to
// free: the Mesa GL driver (llvmpipe), the D-Bus client SDL connects with, and fontconfig's
// one-time set-up; and the copy libspeechd makes (with GLib, which only it brings into the
// process) of a string when the speech service does not answer. The GL libraries are
// also kept loaded until the process ends: SDL unloads them with its video subsystem, and the leak
// checker could then neither name nor suppress what they keep.
#include <dlfcn.h>

extern "C" {

const char* __lsan_default_suppressions() {
  return "leak:swrast_dri.so\n"
         "leak:libgallium\n"
         "leak:libEGL_mesa.so\n"
         "leak:libGLX_mesa.so\n"
         "leak:libglapi.so\n"
         "leak:libLLVM\n"
         "leak:libdbus-1.so\n"
         "leak:libfontconfig.so\n"
         "leak:libglib-2.0.so\n";
}

const char* __ubsan_default_options() { return "print_stacktrace=1"; }

}  // extern "C"

namespace {

const bool pinned = [] {
  const char* const libraries[] = {
      "libEGL.so.1",        "libEGL_mesa.so.0",   "libGL.so.1",    "libGLX.so.0",
      "libGLX_mesa.so.0",   "libGLdispatch.so.0", "libglapi.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
      "libgallium_dri.so",  "libLLVM-15.so.1",
  };
  // A library this machine lacks is simply not pinned.
  for (const char* name : libraries) dlopen(name, RTLD_LAZY | RTLD_NODELETE);
  return true;
}();

}  // namespace
