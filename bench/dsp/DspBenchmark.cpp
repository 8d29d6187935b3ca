// Cost of the cabinet per stereo frame at 48 kHz in 512-frame blocks:
//   (a) the product with settled parameters,
//   (b) the product with every parameter changing at every block,
//   (c) the floor: six sections with fixed coefficients, the level stage,
//       waveshaper, gain and DC blockers and nothing else,
//   (d) the reference model.
// Targets: a/c <= 1.25 (rest costs next to nothing above the bare signal path)
// and d/b >= 4 (automation is far cheaper than recomputing the plain way).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "effect/TORVA.h"
#include "effect/dsp/Waveshaper.h"
#include "tests/effect/OracleCabinet.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

struct StereoNoise {
  StereoNoise() : left(kBlock), right(kBlock) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-0.5, 0.5);
    for (int i = 0; i < kBlock; ++i) {
      left[i] = d(rng);
      right[i] = d(rng);
    }
  }
  std::vector<double> left, right;
};

std::unique_ptr<TORVA> NewEffect() {
  std::unique_ptr<TORVA> fx(static_cast<TORVA*>(CreatePluginInstance(nullptr)));
  fx->Prepare(kRate, kBlock, 2);
  return fx;
}

void CountFrames(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kBlock);
}

void ProductAtRest(benchmark::State& state) {
  auto fx = NewEffect();
  StereoNoise noise;
  std::vector<double> l(kBlock), r(kBlock);
  double* io[2] = {l.data(), r.data()};
  // Five seconds let every smoother come to rest.
  for (int i = 0; i < 5 * 48000 / kBlock; ++i) fx->Process(io, io, kBlock);
  for (auto _ : state) {
    l = noise.left;
    r = noise.right;
    fx->Process(io, io, kBlock);
    benchmark::DoNotOptimize(l.data());
  }
  CountFrames(state);
}

void ProductAutomated(benchmark::State& state) {
  auto fx = NewEffect();
  StereoNoise noise;
  std::vector<double> l(kBlock), r(kBlock);
  double* io[2] = {l.data(), r.data()};
  int block = 0;
  for (auto _ : state) {
    const double v = (block++ & 1) ? 2.5 : 7.5;
    for (int index = TORVA::kMic; index <= TORVA::kOutput; ++index) fx->SetPlainValue(index, v);
    l = noise.left;
    r = noise.right;
    fx->Process(io, io, kBlock);
    benchmark::DoNotOptimize(l.data());
  }
  CountFrames(state);
}

// The bare signal path at the default settings, coefficients computed once.
struct Floor {
  Floor() {
    const double m = 0.15, s = 0.5, c = 0.5, k = 0.18;
    for (CharacterFilter* f : {&characterL, &characterR}) f->UpdateCoefficients(kRate, c, 1.0 - (s / 3.0 + m));
    for (SizeFilter* f : {&sizeL, &sizeR}) f->UpdateCoefficients(kRate, k, s);
    for (MicFilter* f : {&micL, &micR}) f->UpdateCoefficients(kRate, m, s / 3.0 + m);
    level = std::pow(10.0, (m * -29.0) / 20.0);
  }
  void Process(const double* inL, const double* inR, double* outL, double* outR, int frames) {
    for (int i = 0; i < frames; ++i) {
      const double vL = micL.ProcessSample(sizeL.ProcessSample(characterL.ProcessSample(inL[i])));
      const double vR = micR.ProcessSample(sizeR.ProcessSample(characterR.ProcessSample(inR[i])));
      outL[i] = dcL.Step(gain * Waveshape(level * vL));
      outR[i] = dcR.Step(gain * Waveshape(level * vR));
    }
  }
  CharacterFilter characterL, characterR;
  SizeFilter sizeL, sizeR;
  MicFilter micL, micR;
  DcBlocker dcL, dcR;
  double level = 0.0, gain = 1.0;
};

void FixedSignalPath(benchmark::State& state) {
  Floor floor;
  StereoNoise noise;
  std::vector<double> l(kBlock), r(kBlock);
  for (auto _ : state) {
    floor.Process(noise.left.data(), noise.right.data(), l.data(), r.data(), kBlock);
    benchmark::DoNotOptimize(l.data());
  }
  CountFrames(state);
}

void ReferenceModel(benchmark::State& state) {
  OracleCabinet oracle;
  StereoNoise noise;
  std::vector<double> l(kBlock), r(kBlock);
  const double* in[2] = {noise.left.data(), noise.right.data()};
  double* out[2] = {l.data(), r.data()};
  int block = 0;
  for (auto _ : state) {
    const double v = (block++ & 1) ? 2.5 : 7.5;
    oracle.mic = oracle.size = oracle.character = oracle.output = v;
    oracle.ProcessBlock(in, out, kBlock, kRate);
    benchmark::DoNotOptimize(l.data());
  }
  CountFrames(state);
}

BENCHMARK(ProductAtRest)->Name("a_product_at_rest");
BENCHMARK(ProductAutomated)->Name("b_product_automated");
BENCHMARK(FixedSignalPath)->Name("c_floor_fixed_path");
BENCHMARK(ReferenceModel)->Name("d_reference_model");

// Prints every run as usual, and keeps the CPU time per stereo frame of each
// benchmark for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
      nsPerFrame[run.benchmark_name().substr(0, 1)] = seconds * 1e9 / kBlock;
    }
  }
  std::map<std::string, double> nsPerFrame;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.nsPerFrame;
  for (const auto& entry : t) std::printf("%s: %.1f ns per stereo frame\n", entry.first.c_str(), entry.second);
  if (t.count("a") && t.count("c")) {
    std::printf("a/c = %.3f (target <= 1.25)\n", t["a"] / t["c"]);
  }
  if (t.count("b") && t.count("d")) {
    std::printf("d/b = %.2f (target >= 4)\n", t["d"] / t["b"]);
  }
  benchmark::Shutdown();
  return 0;
}
