// Runs a libFuzzer-style target without libFuzzer: every seed file given on the command line
// (files or folders), then a bounded number of deterministic mutations of them. This keeps a short
// fuzz pass inside the ordinary test suite, under the sanitizers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

void addSeedsFrom(const std::filesystem::path& path, std::vector<Bytes>& seeds) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec)) {
      if (entry.is_regular_file()) addSeedsFrom(entry.path(), seeds);
    }
    return;
  }
  std::ifstream in(path, std::ios::binary);
  if (in) seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes mutate(const Bytes& seed, std::mt19937& rng) {
  Bytes out = seed;
  const int edits = 1 + static_cast<int>(rng() % 8);
  for (int e = 0; e < edits; ++e) {
    switch (rng() % 5) {
      case 0:  // flip a byte
        if (!out.empty()) out[rng() % out.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
        break;
      case 1:  // overwrite with an interesting value
        if (!out.empty()) {
          static const uint8_t values[] = {0x00, 0xFF, 0x7F, 0x80, 0x81, 0x0A, 0x0D, '*', '"', ':', ';'};
          out[rng() % out.size()] = values[rng() % sizeof values];
        }
        break;
      case 2:  // truncate
        if (!out.empty()) out.resize(rng() % out.size());
        break;
      case 3:  // insert random bytes
        for (int n = static_cast<int>(rng() % 16); n > 0; --n)
          out.insert(out.begin() + static_cast<long>(out.empty() ? 0 : rng() % (out.size() + 1)),
                     static_cast<uint8_t>(rng()));
        break;
      default:  // duplicate a slice
        if (out.size() > 2) {
          size_t from = rng() % out.size();
          size_t len = std::min<size_t>(rng() % 64, out.size() - from);
          Bytes slice(out.begin() + static_cast<long>(from), out.begin() + static_cast<long>(from + len));
          out.insert(out.begin() + static_cast<long>(rng() % out.size()), slice.begin(), slice.end());
        }
        break;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  long runs = 1000;
  std::vector<Bytes> seeds;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::strtol(argv[++i], nullptr, 10);
    } else {
      addSeedsFrom(arg, seeds);
    }
  }
  seeds.push_back({});
  for (const Bytes& seed : seeds) LLVMFuzzerTestOneInput(seed.data(), seed.size());

  std::mt19937 rng(12345);
  for (long r = 0; r < runs; ++r) {
    Bytes input = mutate(seeds[rng() % seeds.size()], rng);
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("fuzz: %zu seeds, %ld mutated runs, no faults\n", seeds.size(), runs);
  return 0;
}
