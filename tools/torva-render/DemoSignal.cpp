#include "tools/torva-render/DemoSignal.h"

#include <cmath>
#include <cstdint>

namespace {

// One plucked string (Karplus-Strong): a delay line of one period filled with
// a noise burst, fed back through a two-point average that damps the highs.
void Pluck(std::vector<double>& out, double startSeconds, double hz, double amplitude,
           double lengthSeconds, uint32_t seed) {
  const int period = static_cast<int>(std::lround(kDemoSampleRate / hz));
  std::vector<double> line(static_cast<size_t>(period));
  uint32_t state = seed * 2654435761u + 1u;
  double previous = 0.0;
  for (double& s : line) {
    state = state * 1664525u + 1013904223u;
    const double noise = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    previous = 0.5 * (noise + previous);  // a softer pick attack
    s = previous;
  }
  const size_t start = static_cast<size_t>(startSeconds * kDemoSampleRate);
  const size_t length = static_cast<size_t>(lengthSeconds * kDemoSampleRate);
  const double damping = 0.4985;  // per sample pair: a few seconds of ring
  for (size_t i = 0; i < length && start + i < out.size(); ++i) {
    const size_t at = i % line.size();
    const size_t next = (i + 1) % line.size();
    const double sample = line[at];
    line[at] = damping * (line[at] + line[next]);
    // Fade the last 20 ms so that a muted note does not click.
    const double remaining = static_cast<double>(length - i) / (0.02 * kDemoSampleRate);
    out[start + i] += amplitude * sample * (remaining < 1.0 ? remaining : 1.0);
  }
}

// Root, fifth and octave, strummed downwards 12 ms apart.
void PowerChord(std::vector<double>& out, double at, double rootHz, double length,
                uint32_t seed) {
  const double ratios[3] = {1.0, 1.4983, 2.0};
  for (int i = 0; i < 3; ++i) {
    Pluck(out, at + 0.012 * i, rootHz * ratios[i], 0.35, length, seed + static_cast<uint32_t>(i));
  }
}

}  // namespace

std::vector<double> SynthesizeDemoGuitar() {
  constexpr double kSeconds = 8.0;
  std::vector<double> di(static_cast<size_t>(kSeconds * kDemoSampleRate), 0.0);
  const double E2 = 82.41, G2 = 98.0, A2 = 110.0, B2 = 123.47, D3 = 146.83;

  // Bars of strummed chords: E5, G5, A5, then D5 ringing out.
  const double chords[][2] = {{0.0, E2}, {0.5, E2}, {1.0, G2}, {1.5, A2}, {2.0, D3}};
  uint32_t seed = 1;
  for (const auto& c : chords) {
    const double length = c[0] < 2.0 ? 0.48 : 1.4;
    PowerChord(di, c[0], c[1], length, seed);
    seed += 3;
  }
  // A palm-muted riff, then a final open chord.
  const double riff[][2] = {{3.6, E2}, {3.8, E2}, {4.0, G2}, {4.2, E2}, {4.4, A2},
                            {4.6, E2}, {4.8, B2}, {5.0, A2}, {5.2, G2}, {5.4, E2}};
  for (const auto& n : riff) Pluck(di, n[0], n[1], 0.5, 0.18, seed++);
  PowerChord(di, 5.8, E2, 2.1, seed);

  // The pickup and a hot input stage: a gentle tanh clipper.
  for (double& s : di) s = 0.6 * std::tanh(1.8 * s) / std::tanh(1.8);
  return di;
}
