#include "movie/theora_stream.h"

#include "movie/theora_decoder_functions.h"
#include "movie/thor_header.h"

#include <ogg/ogg.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vellum {

namespace {
constexpr size_t kReadChunk = 64 * 1024;
}  // namespace

struct TheoraStream::State {
  // The decoder library, or nullptr (with the reason) when it cannot be loaded.
  std::string libraryProblem;
  const TheoraDecoderFunctions* th = theoraDecoderFunctions(libraryProblem);
  Read read;
  uint64_t length = 0;
  uint64_t position = 0;  // next byte of the source to hand to the Ogg parser
  ogg_sync_state sync{};
  ogg_stream_state stream{};
  bool streamOpen = false;
  int serial = 0;
  th_info info{};
  th_comment comment{};
  th_setup_info* setup = nullptr;
  th_dec_ctx* decoder = nullptr;
  TheoraStreamInfo shown;
  // The first data packet, met while the headers were read.
  std::vector<uint8_t> pendingPacket;
  ogg_packet pending{};
  bool hasPending = false;
  int64_t decoded = -1;
  bool haveFrame = false;

  State(Read r, uint64_t len) : read(std::move(r)), length(len) {
    ogg_sync_init(&sync);
    if (!th) return;
    th->infoInit(&info);
    th->commentInit(&comment);
  }
  ~State() {
    close();
    ogg_sync_clear(&sync);
    if (!th) return;
    th->infoClear(&info);
    th->commentClear(&comment);
  }

  void close() {
    if (decoder) th->decodeFree(decoder);
    decoder = nullptr;
    if (setup) th->setupFree(setup);
    setup = nullptr;
    if (streamOpen) ogg_stream_clear(&stream);
    streamOpen = false;
  }

  // Feeds the next chunk of the source to the parser; false at the end of the source.
  bool feed() {
    if (position >= length) return false;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kReadChunk, length - position));
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(want));
    if (!buffer) return false;
    const size_t got = read(reinterpret_cast<uint8_t*>(buffer), position, want);
    if (got == 0 || got > want) return false;
    ogg_sync_wrote(&sync, static_cast<long>(got));
    position += got;
    return true;
  }

  bool nextPage(ogg_page& page) {
    for (;;) {
      const int r = ogg_sync_pageout(&sync, &page);
      if (r == 1) return true;
      if (r == 0 && !feed()) return false;
    }
  }

  // The next packet of the Theora stream; false at the end.
  bool nextPacket(ogg_packet& packet) {
    for (;;) {
      const int r = ogg_stream_packetout(&stream, &packet);
      if (r == 1) return true;
      ogg_page page;
      if (!nextPage(page)) return false;
      if (ogg_page_serialno(&page) == serial) ogg_stream_pagein(&stream, &page);
    }
  }

  bool readHeaders(std::string& problem) {
    ogg_page page;
    // Each stream begins with a page of its own; the first whose packet is a Theora header wins.
    while (!streamOpen) {
      if (!nextPage(page) || !ogg_page_bos(&page)) {
        problem = "no Theora stream";
        return false;
      }
      ogg_stream_state candidate;
      ogg_stream_init(&candidate, ogg_page_serialno(&page));
      ogg_stream_pagein(&candidate, &page);
      ogg_packet packet;
      if (ogg_stream_packetout(&candidate, &packet) == 1 && th->decodeHeaderIn(&info, &comment, &setup, &packet) > 0) {
        stream = candidate;
        serial = ogg_page_serialno(&page);
        streamOpen = true;
      } else {
        ogg_stream_clear(&candidate);
      }
    }
    for (;;) {
      ogg_packet packet;
      if (!nextPacket(packet)) {
        problem = "the Theora headers are incomplete";
        return false;
      }
      const int r = th->decodeHeaderIn(&info, &comment, &setup, &packet);
      if (r < 0) {
        problem = "bad Theora header";
        return false;
      }
      if (r == 0) {  // the first data packet: keep it for the first frame
        pendingPacket.assign(packet.packet, packet.packet + packet.bytes);
        pending = packet;
        pending.packet = pendingPacket.data();
        hasPending = true;
        break;
      }
    }
    if (info.pixel_fmt != TH_PF_420) {
      problem = "only 4:2:0 Theora video is supported";
      return false;
    }
    // The decoder allocates whole frames: a stream claiming a giant one is refused before that.
    if (info.frame_width > kMaxMovieSide || info.frame_height > kMaxMovieSide) {
      problem = "frame larger than " + std::to_string(kMaxMovieSide) + " pixels";
      return false;
    }
    if (info.pic_width == 0 || info.pic_height == 0 || info.pic_x + info.pic_width > info.frame_width ||
        info.pic_y + info.pic_height > info.frame_height) {
      problem = "bad picture region";
      return false;
    }
    decoder = th->decodeAlloc(&info, setup);
    if (!decoder) {
      problem = "the Theora decoder cannot start";
      return false;
    }
    shown.pictureWidth = info.pic_width;
    shown.pictureHeight = info.pic_height;
    shown.frameWidth = info.frame_width;
    shown.frameHeight = info.frame_height;
    shown.framesPerSecondNumerator = info.fps_numerator;
    shown.framesPerSecondDenominator = info.fps_denominator;
    return true;
  }

  bool restart(std::string& problem) {
    if (!th) {
      problem = libraryProblem;
      return false;
    }
    close();
    ogg_sync_reset(&sync);
    th->infoClear(&info);
    th->commentClear(&comment);
    th->infoInit(&info);
    th->commentInit(&comment);
    position = 0;
    hasPending = false;
    decoded = -1;
    haveFrame = false;
    return readHeaders(problem);
  }

  bool takePacket(ogg_packet& packet) {
    if (hasPending) {
      packet = pending;
      hasPending = false;
      return true;
    }
    return nextPacket(packet);
  }
};

TheoraStream::TheoraStream(Read read, uint64_t length) : state_(std::make_unique<State>(std::move(read), length)) {}
TheoraStream::~TheoraStream() = default;

bool TheoraStream::open(std::string& problem) { return state_->restart(problem); }

const TheoraStreamInfo& TheoraStream::info() const { return state_->shown; }

int64_t TheoraStream::lastDecoded() const { return state_->decoded; }

bool TheoraStream::decodeTo(int64_t index) {
  State& s = *state_;
  if (!s.decoder || index < 0) return false;
  if (index < s.decoded) {
    std::string problem;
    if (!s.restart(problem)) return false;
  }
  while (s.decoded < index) {
    ogg_packet packet;
    if (!s.takePacket(packet)) return false;
    ogg_int64_t granule = 0;
    const int r = s.th->decodePacketIn(s.decoder, &packet, &granule);
    if (r == 0) s.haveFrame = true;
    // A duplicate frame repeats the last one; a damaged packet keeps it too.
    ++s.decoded;
  }
  return true;
}

bool TheoraStream::planes(FramePlanes& out) const {
  const State& s = *state_;
  if (!s.decoder || !s.haveFrame) return false;
  th_ycbcr_buffer buffer;
  if (s.th->decodeYCbCrOut(s.decoder, buffer) != 0) return false;
  const th_info& i = s.info;
  const uint32_t x = i.pic_x & ~1u, y = i.pic_y & ~1u;
  const auto evenUp = [](uint32_t v, uint32_t limit) { return static_cast<int32_t>(std::min((v + 1) & ~1u, limit)); };
  out.lumaWidth = evenUp(i.pic_width, i.frame_width - x);
  out.lumaHeight = evenUp(i.pic_height, i.frame_height - y);
  out.lumaStride = buffer[0].stride;
  out.chromaWidth = buffer[1].width - static_cast<int32_t>(x / 2);
  out.chromaHeight = buffer[1].height - static_cast<int32_t>(y / 2);
  out.chromaStride = buffer[1].stride;
  out.luma = buffer[0].data + static_cast<ptrdiff_t>(y) * buffer[0].stride + x;
  out.cb = buffer[1].data + static_cast<ptrdiff_t>(y / 2) * buffer[1].stride + x / 2;
  out.cr = buffer[2].data + static_cast<ptrdiff_t>(y / 2) * buffer[2].stride + x / 2;
  return true;
}

int64_t TheoraStream::countRemainingFrames() {
  State& s = *state_;
  int64_t count = 0;
  ogg_packet packet;
  while (s.takePacket(packet)) ++count;
  return count;
}

}  // namespace vellum
