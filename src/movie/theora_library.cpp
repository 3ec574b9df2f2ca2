#include "movie/theora_library.h"

#include <cstddef>
#include <memory>

#include "base/engine_state.h"
#include "base/report.h"
#include "base/text_encoding.h"
#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "movie/colour_conversion.h"
#include "movie/movie_messages.h"
#include "movie/theora_decoder_functions.h"
#include "movie/theora_stream.h"

namespace vellum {

namespace {

// One decoder instance: the stream and where its frames go.
struct Decoder {
  std::unique_ptr<TheoraStream> stream;
  void* image = nullptr;
  TheoraPlanesCallback planes = nullptr;
  TheoraRowCallback rowAddress = nullptr;
  bool topDown = false;
};

void* create() { return new Decoder; }

void release(void* handle) { delete static_cast<Decoder*>(handle); }

int32_t load(void* handle, void* streamData, TheoraReadCallback read, TheoraLengthCallback length, void* image,
             TheoraRowCallback rowAddress, TheoraNoopCallback, TheoraPlanesCallback planes) {
  auto* d = static_cast<Decoder*>(handle);
  if (!d || !read || !length || !planes) return 0;
  const int32_t size = length(streamData);
  if (size <= 0) return 0;
  d->stream = std::make_unique<TheoraStream>(
      [streamData, read](uint8_t* destination, uint64_t offset, size_t want) -> size_t {
        const int32_t got = read(streamData, destination, static_cast<int32_t>(offset), static_cast<int32_t>(want));
        return got > 0 ? static_cast<size_t>(got) : 0;
      },
      static_cast<uint64_t>(size));
  std::string problem;
  if (!d->stream->open(problem)) {
    d->stream.reset();
    return 0;
  }
  d->image = image;
  d->planes = planes;
  d->rowAddress = rowAddress;
  return 1;
}

void decodeFrame(void* handle, int32_t index) {
  auto* d = static_cast<Decoder*>(handle);
  if (!d || !d->stream || !d->stream->decodeTo(index)) return;
  FramePlanes planes;
  if (!d->stream->planes(planes)) return;
  if (!d->topDown) {
    // Rows bottom first: start at the last row and step backwards.
    planes.luma += static_cast<ptrdiff_t>(planes.lumaHeight - 1) * planes.lumaStride;
    planes.cb += static_cast<ptrdiff_t>(planes.lumaHeight / 2 - 1) * planes.chromaStride;
    planes.cr += static_cast<ptrdiff_t>(planes.lumaHeight / 2 - 1) * planes.chromaStride;
    planes.lumaStride = -planes.lumaStride;
    planes.chromaStride = -planes.chromaStride;
  }
  d->planes(d->image, 0, &planes);
}

void setVerticalReverse(void* handle, int32_t on) {
  if (auto* d = static_cast<Decoder*>(handle)) d->topDown = on != 0;
}

constexpr TheoraLibrary kBuiltIn{&create, &release, &load, &decodeFrame, &setVerticalReverse};
const TheoraLibrary* loaded = nullptr;

int theoraCreateBody(void* call) {
  setCurrentCommandName("theora_create");
  loadTheoraLibrary();
  args().returnNothing(call);
  return 1;
}

}  // namespace

bool loadTheoraLibrary() {
  // The decoder is the engine's own, over libtheoradec, which is opened here (or by the first
  // movie a tool reads); a second call changes nothing.
  std::string problem;
  if (!theoraDecoderFunctions(problem)) {
    // The loader's reason is UTF-8.
    const std::string reason = " (" + fromUtf8(problem, CodePage::Gbk) + ")";
    errorc(ReportText().ascii(movie_messages::kNoDecoderLibrary).gbk(reason), true);
    return false;
  }
  loaded = &kBuiltIn;
  return true;
}

const TheoraLibrary* theoraLibrary() { return loaded; }

void resetTheoraLibrary() { loaded = nullptr; }

void provideMovieCommands() { provideCommand("theora_create", &theoraCreateBody); }

}  // namespace vellum
