// System libraries the engine opens itself (dlopen) when a feature first needs them instead of
// naming them to the loader: a game that never uses the feature does not load them, nor what they
// pull in, at every start. A shipped game must still bring them (vellum-pack dist reads this list).
#pragma once

#include <array>
#include <string_view>

namespace vellum {

// fileDownload's HTTP and HTTPS transfers (with TLS, Kerberos, LDAP, SSH and IDN behind it).
inline constexpr std::string_view kCurlLibrary = "libcurl.so.4";

// The movie decoder (Debian's build brings cairo and pixman with it).
inline constexpr std::string_view kTheoraDecoderLibrary = "libtheoradec.so.1";

// Reading aloud through the desktop's speech service (GLib behind it).
inline constexpr std::string_view kSpeechLibrary = "libspeechd.so.2";

inline constexpr std::array kLibrariesOpenedOnFirstUse = {kCurlLibrary, kTheoraDecoderLibrary, kSpeechLibrary};

}  // namespace vellum
