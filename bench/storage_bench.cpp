// File loading and hashing throughput. loadFile of a compressed entry is measured beside a bare
// zlib uncompress of the very same stream, so the difference is what the loader adds (open, seek,
// one read, the word XOR, the buffer bookkeeping).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/engine_state.h"
#include "storage/aligned_memory.h"
#include "storage/archive_format.h"
#include "storage/archive_writer.h"
#include "storage/file_loader.h"
#include "storage/hashes.h"

namespace {

using namespace vellum;

constexpr const char* kEntryPath = "script/scenario.txt";

// About 4 MB of text-like data: words drawn at random from a small vocabulary compress like scripts.
std::vector<uint8_t> compressibleData() {
  static const char* const words[] = {"the", "quiet", "harbour", "lantern", "she", "said", "\xA1\xA2", "and",
                                      "morning", "tide", "%count", "goto", "*label", "\n", "sp", "1,"};
  std::mt19937 rng(7);
  std::vector<uint8_t> data;
  data.reserve(4u << 20);
  while (data.size() < (4u << 20)) {
    const std::string w = words[rng() % std::size(words)];
    data.insert(data.end(), w.begin(), w.end());
    data.push_back(' ');
  }
  return data;
}

// A game folder with one archive holding the data compressed, and the same stream held bare.
struct CompressedFixture {
  std::filesystem::path folder;
  std::vector<uint8_t> data;
  std::vector<uint8_t> stream;
  bool ready = false;

  CompressedFixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vellum-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    folder = pattern;
    data = compressibleData();
    std::vector<uint8_t> archive;
    std::string error;
    if (!buildArchive({{kEntryPath, data}}, ArchiveMode::Compress, ArchiveLayout::Acv1, archive, error)) return;
    FILE* f = std::fopen((folder / "arc0.dat").c_str(), "wb");
    if (!f) return;
    std::fwrite(archive.data(), 1, archive.size(), f);
    std::fclose(f);

    resetStorage();
    engine().exeDirectory = folder.string() + "/";
    readArchives();
    const uint64_t key = crc64Of(kEntryPath);
    const ArchiveEntry& e = storage().archives.at(key);
    stream.assign(archive.begin() + e.offset, archive.begin() + e.offset + e.storedSize);
    xorWords(stream.data(), stream.size(), static_cast<uint32_t>(key));
    ready = true;
  }
  ~CompressedFixture() {
    resetStorage();
    std::error_code ec;
    if (!folder.empty()) std::filesystem::remove_all(folder, ec);
  }
};

CompressedFixture& fixture() {
  static CompressedFixture f;
  return f;
}

void BM_LoadFileCompressed(benchmark::State& state) {
  CompressedFixture& f = fixture();
  if (!f.ready) return state.SkipWithError("cannot set up the game folder");
  uint8_t* buffer = nullptr;
  uint32_t capacity = 0;
  for (auto _ : state) {
    uint32_t size = 0;
    if (!loadFile(kEntryPath, buffer, size, capacity)) return state.SkipWithError("loadFile failed");
    benchmark::DoNotOptimize(buffer);
  }
  freeAligned(buffer);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.data.size()));
  state.counters["ratio"] = static_cast<double>(f.data.size()) / static_cast<double>(f.stream.size());
}
BENCHMARK(BM_LoadFileCompressed)->Unit(benchmark::kMillisecond);

void BM_BareUncompress(benchmark::State& state) {
  CompressedFixture& f = fixture();
  if (!f.ready) return state.SkipWithError("cannot set up the game folder");
  std::vector<uint8_t> out(f.data.size());
  for (auto _ : state) {
    uLongf length = out.size();
    if (uncompress(out.data(), &length, f.stream.data(), f.stream.size()) != Z_OK)
      return state.SkipWithError("uncompress failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.data.size()));
}
BENCHMARK(BM_BareUncompress)->Unit(benchmark::kMillisecond);

void BM_Crc64(benchmark::State& state) {
  std::vector<uint8_t> bytes(static_cast<size_t>(state.range(0)));
  std::mt19937 rng(3);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
  for (auto _ : state) benchmark::DoNotOptimize(crc64Update(~0ull, bytes.data(), bytes.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc64)->Arg(16)->Arg(4096)->Arg(1 << 20);

}  // namespace
