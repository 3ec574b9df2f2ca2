// Sound costs, each against a baseline measured in the same run:
// - Ogg Vorbis decoding through the engine's decoder table and memory reader against bare
//   libvorbisfile over the same bytes (counter "vs_bare": engine throughput / bare throughput).
// - Mixing: 30 channels playing endlessly for one second of wall time under SDL's dummy driver
//   (which consumes at the pace of the clock); "core_fraction" is the process CPU time spent (mixer
//   and the 30 workers) divided by the wall time, so 1.0 would be one core busy all along.
#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <time.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/report.h"
#include "persist/engine_settings.h"
#include "sound/sound_channel.h"
#include "sound/sound_system.h"
#include "sound/vorbis_decoder_table.h"
#include "sound/vorbis_source.h"

namespace {

using namespace vellum;
using Clock = std::chrono::steady_clock;

// Canonical 16-bit PCM WAV bytes.
std::vector<uint8_t> wavBytes(const std::vector<int16_t>& samples, int channels, int rate) {
  std::vector<uint8_t> out(44);
  auto put = [&out](size_t at, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
  };
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::copy_n("RIFF", 4, out.begin());
  put(4, 36 + dataBytes, 4);
  std::copy_n("WAVEfmt ", 8, out.begin() + 8);
  put(16, 16, 4);
  put(20, 1, 2);
  put(22, static_cast<uint32_t>(channels), 2);
  put(24, static_cast<uint32_t>(rate), 4);
  put(28, static_cast<uint32_t>(rate * channels * 2), 4);
  put(32, static_cast<uint32_t>(channels * 2), 2);
  put(34, 16, 2);
  std::copy_n("data", 4, out.begin() + 36);
  put(40, dataBytes, 4);
  const auto* bytes = reinterpret_cast<const uint8_t*>(samples.data());
  out.insert(out.end(), bytes, bytes + dataBytes);
  return out;
}

// Music-like stereo: a few partials and a little noise.
std::vector<int16_t> musicLike(int seconds, int rate) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> noise(-500, 500);
  std::vector<int16_t> samples;
  for (int i = 0; i < seconds * rate; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double v = 6000 * std::sin(2 * M_PI * 220 * t) + 3000 * std::sin(2 * M_PI * 331 * t) +
                     2000 * std::sin(2 * M_PI * 1250 * t * (1 + 0.1 * std::sin(t)));
    samples.push_back(static_cast<int16_t>(v + noise(rng)));
    samples.push_back(static_cast<int16_t>(0.8 * v - noise(rng)));
  }
  return samples;
}

// 20 s of stereo 44.1 kHz encoded with oggenc; empty when the encoder is missing.
const std::vector<uint8_t>& oggFile() {
  static const std::vector<uint8_t> bytes = [] {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("vellum_sound_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::vector<uint8_t> wav = wavBytes(musicLike(20, 44100), 2, 44100);
    std::ofstream(dir / "in.wav", std::ios::binary).write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    const std::string command = "oggenc -Q -q 5 -o '" + (dir / "out.ogg").string() + "' '" + (dir / "in.wav").string() + "'";
    std::vector<uint8_t> ogg;
    if (std::system(command.c_str()) == 0) {
      std::ifstream in(dir / "out.ogg", std::ios::binary);
      ogg.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::remove_all(dir);
    return ogg;
  }();
  return bytes;
}

constexpr size_t kChunk = 64 * 1024;  // the engine's half buffer

uint64_t decodeThroughEngine(const std::vector<uint8_t>& ogg, std::vector<uint8_t>& pcm) {
  VorbisOpenResult opened = openVorbis(ogg);
  uint64_t total = 0;
  if (!opened.source) return 0;
  for (int64_t got; (got = opened.source->read(pcm.data(), kChunk)) > 0;) total += static_cast<uint64_t>(got);
  return total;
}

// Bare libvorbisfile over the same bytes with the plainest memory reader.
struct BareReader {
  const std::vector<uint8_t>* data;
  size_t position;
};
size_t bareRead(void* into, size_t size, size_t count, void* source) {
  auto* r = static_cast<BareReader*>(source);
  const size_t bytes = std::min(size * count, r->data->size() - r->position);
  std::memcpy(into, r->data->data() + r->position, bytes);
  r->position += bytes;
  return size ? bytes / size : 0;
}
int bareSeek(void* source, ogg_int64_t offset, int origin) {
  auto* r = static_cast<BareReader*>(source);
  const int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? static_cast<int64_t>(r->position) : static_cast<int64_t>(r->data->size());
  const int64_t to = base + offset;
  if (to < 0 || to > static_cast<int64_t>(r->data->size())) return -1;
  r->position = static_cast<size_t>(to);
  return 0;
}
long bareTell(void* source) { return static_cast<long>(static_cast<BareReader*>(source)->position); }

uint64_t decodeBare(const std::vector<uint8_t>& ogg, std::vector<uint8_t>& pcm) {
  BareReader reader{&ogg, 0};
  OggVorbis_File file;
  if (ov_open_callbacks(&reader, &file, nullptr, 0, ov_callbacks{&bareRead, &bareSeek, nullptr, &bareTell}) < 0) return 0;
  uint64_t total = 0;
  int section = 0;
  for (long got; (got = ov_read(&file, reinterpret_cast<char*>(pcm.data()), static_cast<int>(kChunk), 0, 2, 1, &section)) > 0;)
    total += static_cast<uint64_t>(got);
  ov_clear(&file);
  return total;
}

void BM_VorbisDecode(benchmark::State& state) {
  const std::vector<uint8_t>& ogg = oggFile();
  if (ogg.empty()) {
    state.SkipWithError("oggenc is not installed");
    return;
  }
  loadVorbisDecoder();
  std::vector<uint8_t> pcm(kChunk);
  double engineSeconds = 0, bareSeconds = 0;
  uint64_t bytes = 0;
  bool engineFirst = true;
  for (auto _ : state) {
    // Alternating the order keeps caches and clock changes from favouring either side.
    double iterationEngine = 0;
    for (int side = 0; side < 2; ++side) {
      const bool engine = (side == 0) == engineFirst;
      const auto start = Clock::now();
      const uint64_t got = engine ? decodeThroughEngine(ogg, pcm) : decodeBare(ogg, pcm);
      const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      (engine ? engineSeconds : bareSeconds) += seconds;
      if (engine) iterationEngine = seconds;
      if (engine) bytes += got;
      benchmark::DoNotOptimize(got);
    }
    engineFirst = !engineFirst;
    state.SetIterationTime(iterationEngine);
  }
  state.counters["engine_MB/s"] = static_cast<double>(bytes) / engineSeconds / 1e6;
  state.counters["bare_MB/s"] = static_cast<double>(bytes) / bareSeconds / 1e6;
  state.counters["vs_bare"] = bareSeconds / engineSeconds;
}
BENCHMARK(BM_VorbisDecode)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(12);

double processCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// range(0): the sources' sample rate; range(1): 1 to play, 0 to load only (workers idle at their gate).
void BM_Mix30Channels(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setReportSink(silentReportSink());
  resetSettings();
  if (!createSound()) {
    state.SkipWithError("no sound device");
    return;
  }
  const int rate = static_cast<int>(state.range(0));
  const bool play = state.range(1) != 0;
  const std::vector<uint8_t> wav = wavBytes(musicLike(3, rate), 2, rate);
  for (int channel = 0; channel < kSoundChannels; ++channel) {
    loadChannel(channel, "bench.wav", wav);
    if (play) playChannel(channel, 0, 0, 0);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // past the first fills
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    const double cpuStart = processCpuSeconds();
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    cpu += processCpuSeconds() - cpuStart;
    wall += seconds;
    state.SetIterationTime(seconds);
  }
  state.counters["core_fraction"] = cpu / wall;
  shutdownSound();
}
BENCHMARK(BM_Mix30Channels)
    ->ArgNames({"rate", "playing"})
    ->Args({22050, 1})
    ->Args({44100, 1})
    ->Args({44100, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
