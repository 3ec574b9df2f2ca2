// Converts a source's frames to the mixer's rate with a polyphase windowed-sinc filter: for an
// output/input ratio of up/down (reduced), one row of coefficients per output phase. Used for the
// rates whose ratio reduces to few phases (22050, 11025, 32000, 48000 ... into 44100); the mixer
// hands others to SDL's converter.
#pragma once

#include <cstdint>
#include <vector>

namespace vellum {

class AudioResampler {
 public:
  static bool supports(int inRate, int outRate);
  AudioResampler(int inRate, int outRate, int channels);

  // Input frames the filter must be given (silence after the source's end) before all of the
  // source has come out.
  int drainFrames() const { return taps_; }
  // True while the next output frame needs another input frame first.
  bool needsInput() const { return phase_ >= up_; }
  // The next input frame (`channels` samples); null for silence.
  void push(const int16_t* frame);
  // One output frame (mono sources give the same value twice), then on to the next phase.
  void produce(float& left, float& right);
  // Forgets the history, as after a jump in the source.
  void reset();

 private:
  float dot(const float* window) const;

  int channels_;
  int up_ = 1, down_ = 1;
  int taps_ = 0;                    // a multiple of 4
  std::vector<float> coefficients_;  // up_ rows of taps_, oldest input first
  std::vector<float> history_[2];    // per channel, each sample twice so a window is contiguous
  int write_ = 0;
  int phase_ = 0;
};

}  // namespace vellum
