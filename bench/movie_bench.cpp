// A 720p movie at 30 frames per second (made with ffmpeg): the engine's per-frame work — decoding
// through the built-in decoder entry points, the colour conversion, the hand-over to the sprite's
// kept pixels and the upload into its textures — against bare libtheora decoding the same frames
// (aim: at most 1.5 times), the conversion of one frame alone, and the frames a real-time playback
// drops on this machine.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "base/engine_state.h"
#include "headless_gl_window.h"
#include "movie/colour_conversion.h"
#include "movie/frame_hand_over.h"
#include "movie/frame_sequences.h"
#include "movie/movie_playback.h"
#include "movie/theora_library.h"
#include "movie/thor_header.h"
#include "persist/engine_settings.h"
#include "render/renderer.h"
#include "scene/sprite_loading.h"
#include "scene/sprite_table.h"
#include "scene/sprite_textures.h"

namespace {

using namespace vellum;
constexpr int kW = 1280, kH = 720, kFrames = 60;

const std::filesystem::path& folder() {
  static const std::filesystem::path dir = [] {
    std::filesystem::path d = std::filesystem::temp_directory_path() / "vellum_movie_bench";
    std::filesystem::create_directories(d);
    if (!std::filesystem::exists(d / "m.thor")) {
      const std::string make = "ffmpeg -y -loglevel error -f lavfi -i 'testsrc2=size=1280x720:rate=30:duration=2' "
                               "-pix_fmt yuv420p -c:v libtheora -q:v 6 '" + (d / "m.ogv").string() + "' && '" +
                               VELLUM_BINARY_DIR "/vellum-movie' pack '" + (d / "m.ogv").string() + "' -o '" +
                               (d / "m.thor").string() + "'";
      if (std::system(make.c_str()) != 0) return std::filesystem::path();
    }
    return d;
  }();
  return dir;
}

std::vector<uint8_t> readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Bare libtheora: parse the pages, decode every packet and ask for its planes.
void BM_BareTheora(benchmark::State& state) {
  if (folder().empty()) return state.SkipWithError("ffmpeg is not installed");
  const std::vector<uint8_t> video = readAll(folder() / "m.ogv");
  for (auto _ : state) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(video.size()));
    std::memcpy(buffer, video.data(), video.size());
    ogg_sync_wrote(&sync, static_cast<long>(video.size()));
    th_info info;
    th_comment comment;
    th_setup_info* setup = nullptr;
    th_info_init(&info);
    th_comment_init(&comment);
    ogg_stream_state stream;
    bool open = false, headers = true;
    th_dec_ctx* decoder = nullptr;
    ogg_page page;
    int frames = 0;
    while (ogg_sync_pageout(&sync, &page) == 1) {
      if (!open) {
        ogg_stream_init(&stream, ogg_page_serialno(&page));
        open = true;
      }
      ogg_stream_pagein(&stream, &page);
      ogg_packet packet;
      while (ogg_stream_packetout(&stream, &packet) == 1) {
        if (headers && th_decode_headerin(&info, &comment, &setup, &packet) > 0) continue;
        if (headers) {
          headers = false;
          decoder = th_decode_alloc(&info, setup);
        }
        ogg_int64_t granule;
        th_decode_packetin(decoder, &packet, &granule);
        th_ycbcr_buffer planes;
        th_decode_ycbcr_out(decoder, planes);
        benchmark::DoNotOptimize(planes[0].data[0]);
        ++frames;
      }
    }
    th_decode_free(decoder);
    th_setup_free(setup);
    th_info_clear(&info);
    th_comment_clear(&comment);
    ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    state.counters["frames"] = frames;
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_BareTheora)->Unit(benchmark::kMillisecond)->UseRealTime();

struct Gl {
  SDL_Window* window = bench::openHeadlessGlWindow(kW, kH);
  bool ready = false;
  Gl() {
    // The renderer's report goes to the game folder, not the directory the benchmark runs in.
    engine().exeDirectory = folder().string() + "/";
    ready = bench::startHeadlessRenderer(window, kW, kH);
  }
};

struct MemoryStream {
  const std::vector<uint8_t>* bytes;
};
int32_t readMemory(void* s, void* d, int32_t offset, int32_t size) {
  const auto& b = *static_cast<MemoryStream*>(s)->bytes;
  if (offset < 0 || static_cast<size_t>(offset) >= b.size()) return 0;
  const size_t n = std::min<size_t>(static_cast<size_t>(size), b.size() - static_cast<size_t>(offset));
  std::memcpy(d, b.data() + offset, n);
  return static_cast<int32_t>(n);
}
int32_t lengthOf(void* s) { return static_cast<int32_t>(static_cast<MemoryStream*>(s)->bytes->size()); }
void* rowOf(void* image, int32_t row) { return static_cast<Image*>(image)->pixels + row * static_cast<Image*>(image)->width; }
void nothing() {}
bool skipConversion = false;
int32_t planesInto(void* image, int32_t, const void* planes) {
  if (skipConversion) return 1;
  auto* i = static_cast<Image*>(image);
  return convertFrame(*static_cast<const FramePlanes*>(planes), i->pixels, i->width, i->height, chosenColourForm()) ? 1 : 0;
}

// The engine's work per frame: decode and convert through the decoder's entry points into a
// decode image of the movie thread's size, hand the frame over to the sprite's kept pixels as the
// playback does, and upload it into the sprite's textures.
// upload: 0 hand-over only, 1 hand-over and upload, 2 decode and convert only, 3 decode only.
void BM_EngineFrames(benchmark::State& state) {
  if (folder().empty()) return state.SkipWithError("ffmpeg is not installed");
  static Gl gl;
  if (!gl.ready) return state.SkipWithError("no GL 3.3 context");
  settings().sse2 = static_cast<int32_t>(state.range(0));
  skipConversion = state.range(1) == 3;
  const std::vector<uint8_t> video = readAll(folder() / "m.ogv");
  loadTheoraLibrary();
  const TheoraLibrary& lib = *theoraLibrary();
  Image* decodeImage = createImage(kW, (kH + 31) & ~31, 32);
  FrameHandOver frames;
  frames.prepare(*decodeImage, kW, kH);
  Image* first = createImage(kW, kH, 32);
  loadSpriteImage(0, first, 0, 0);
  SpritePicture& picture = sprite(0).backImage().picture;
  for (auto _ : state) {
    MemoryStream stream{&video};
    void* handle = lib.create();
    lib.load(handle, &stream, &readMemory, &lengthOf, decodeImage, &rowOf, &nothing, &planesInto);
    lib.setVerticalReverse(handle, 1);
    for (int frame = 0; frame < kFrames; ++frame) {
      lib.decodeFrame(handle, frame);
      if (state.range(1) >= 2) continue;
      frames.handOver(*decodeImage);
      frames.takeInto(*picture.pixels);
      if (state.range(1) == 1) uploadPicturePixels(picture);
    }
    lib.free(handle);
  }
  freeImage(decodeImage);
  resetSprites();
  state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_EngineFrames)->ArgsProduct({{0, 1}, {0, 1, 2, 3}})->ArgNames({"vector", "upload"})->Unit(benchmark::kMillisecond)->UseRealTime();

// The conversion alone: one 1280 x 720 frame of varied samples into a decode image's rows.
void BM_ColourConversion(benchmark::State& state) {
  std::vector<uint8_t> luma(size_t{kW} * kH), cb(size_t{kW / 2} * (kH / 2)), cr(cb.size());
  for (size_t i = 0; i < luma.size(); ++i) luma[i] = static_cast<uint8_t>(i * 7 + i / kW);
  for (size_t i = 0; i < cb.size(); ++i) {
    cb[i] = static_cast<uint8_t>(i * 3);
    cr[i] = static_cast<uint8_t>(255 - i * 5);
  }
  const FramePlanes planes{kW, kH, kW, kW / 2, kH / 2, kW / 2, luma.data(), cb.data(), cr.data()};
  Image* out = createImage(kW, (kH + 31) & ~31, 32);
  const ColourForm form = state.range(0) ? ColourForm::Vector : ColourForm::Plain;
  for (auto _ : state) {
    convertFrame(planes, out->pixels, out->width, out->height, form);
    benchmark::DoNotOptimize(out->pixels[0]);
  }
  freeImage(out);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ColourConversion)->ArgName("vector")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Real-time playback of the two-second movie: frames the thread had to skip.
void BM_RealTimePlayback(benchmark::State& state) {
  if (folder().empty()) return state.SkipWithError("ffmpeg is not installed");
  engine().exeDirectory = folder().string() + "/";
  loadTheoraLibrary();
  const std::vector<uint8_t> bytes = readAll(folder() / "m.thor");
  ThorHeader header;
  std::string problem;
  parseThorHeader(bytes.data(), bytes.size(), bytes.size(), header, problem);
  double dropped = 0;
  for (auto _ : state) {
    auto movie = MoviePlayback::open("m.thor", header, 0);
    if (!movie) return state.SkipWithError("the movie does not open");
    movie->start(tickMilliseconds());
    while (movie->current() < static_cast<int32_t>(header.frameCount))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    dropped = static_cast<double>(header.frameCount) - static_cast<double>(movie->framesDecoded());
    movie->stop();
  }
  state.counters["dropped"] = dropped;
  state.counters["frames"] = header.frameCount;
}
BENCHMARK(BM_RealTimePlayback)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
