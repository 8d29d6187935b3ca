#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "tests/effect/EffectRig.h"
#include "tests/effect/OracleCabinet.h"

namespace {

struct Settings {
  double mic, size, character, output;
};

// The effect and the reference model side by side, fed the same blocks.
class SideBySide {
 public:
  SideBySide(double fs, int blockSize) : rig_(fs, blockSize), fs_(fs) {}

  void Set(int index, double plain) {
    rig_.effect->SetPlainValue(index, plain);
    switch (index) {
      case TORVA::kMic: oracle_.mic = plain; break;
      case TORVA::kSize: oracle_.size = plain; break;
      case TORVA::kCharacter: oracle_.character = plain; break;
      case TORVA::kOutput: oracle_.output = plain; break;
      default: oracle_.bypass = plain; break;
    }
  }

  // A host changing the sample rate: it prepares the effect again, which
  // must clear nothing, and the next block runs at the new rate.
  void SetRate(double fs) {
    ASSERT_TRUE(rig_.effect->Prepare(fs, 512, 2));
    fs_ = fs;
  }

  // Runs one block; returns the largest difference and counts differing bits.
  double Block(const double* inL, const double* inR, int frames, long* differingSamples) {
    std::vector<double> pl(inL, inL + frames), pr(inR, inR + frames);
    std::vector<double> ol(frames), orr(frames);
    double* io[2] = {pl.data(), pr.data()};
    rig_.effect->Process(io, io, frames);
    const double* oin[2] = {inL, inR};
    double* oout[2] = {ol.data(), orr.data()};
    oracle_.ProcessBlock(oin, oout, frames, fs_);
    double worst = 0.0;
    for (int i = 0; i < frames; ++i) {
      if (std::memcmp(&pl[i], &ol[i], sizeof(double)) != 0) ++*differingSamples;
      if (std::memcmp(&pr[i], &orr[i], sizeof(double)) != 0) ++*differingSamples;
      worst = std::max({worst, std::fabs(pl[i] - ol[i]), std::fabs(pr[i] - orr[i])});
    }
    return worst;
  }

 private:
  EffectRig rig_;
  OracleCabinet oracle_;
  double fs_;
};

// Parameters at rest from the first block: the controls still glide up from
// zero and then settle, and through all of it the effect must produce the
// reference's doubles exactly, whatever the block boundaries.
TEST(OracleAgreement, BitExactWhileParametersRest) {
  const Settings cases[] = {{0.0, 5.0, 5.0, 5.0}, {3.7, 8.2, 1.3, 7.0}, {10.0, 0.0, 10.0, 2.0}};
  const double rates[] = {48000.0, 44100.0, 96000.0};
  for (int c = 0; c < 3; ++c) {
    const Settings& s = cases[c];
    const double fs = rates[c];
    SCOPED_TRACE(c);
    SideBySide pair(fs, 512);
    pair.Set(TORVA::kMic, s.mic);
    pair.Set(TORVA::kSize, s.size);
    pair.Set(TORVA::kCharacter, s.character);
    pair.Set(TORVA::kOutput, s.output);
    // Long enough for every smoother to reach its fixed point.
    const int total = static_cast<int>(fs * 3.5);
    const std::vector<double> inL = Noise(total, 20 + c, 1.0), inR = Noise(total, 30 + c, 1.0);
    std::mt19937 rng(40 + c);
    std::uniform_int_distribution<int> blockLength(1, 512);
    long differing = 0;
    for (int done = 0; done < total;) {
      const int n = std::min(blockLength(rng), total - done);
      pair.Block(inL.data() + done, inR.data() + done, n, &differing);
      done += n;
    }
    EXPECT_EQ(differing, 0);
  }
}

// The smoothers, sections and DC blockers carry on across rate changes, in a
// glide and at rest, with coefficients for the new rate from its first frame.
TEST(OracleAgreement, RateChangesKeepTheStateBitForBit) {
  SideBySide pair(48000.0, 512);
  pair.Set(TORVA::kSize, 8.0);
  const int total = 4 * 48000;
  const std::vector<double> inL = Noise(total, 70, 1.0), inR = Noise(total, 71, 1.0);
  long differing = 0;
  int done = 0;
  auto run = [&](int frames) {
    for (const int end = done + frames; done < end; done += 512) {
      pair.Block(inL.data() + done, inR.data() + done, 512, &differing);
    }
  };
  run(512 * 20);  // still gliding up from zero
  pair.SetRate(44100.0);
  run(512 * 300);  // settles at the new rate
  pair.SetRate(96000.0);
  run(512 * 20);
  EXPECT_EQ(differing, 0);
}

// Every parameter moves at every block, bypass flips now and then: the glide
// path must track the reference within 1e-9 of full scale over 10 s.
TEST(OracleAgreement, TracksTheReferenceUnderFullAutomation) {
  const double fs = 48000.0;
  const int block = 512;
  const int total = static_cast<int>(fs * 10);
  SideBySide pair(fs, block);
  const std::vector<double> inL = Noise(total, 50, 1.0), inR = Noise(total, 51, 1.0);
  std::mt19937 rng(52);
  std::uniform_real_distribution<double> plain(0.0, 10.0);
  long differing = 0;
  double worst = 0.0;
  int blockIndex = 0;
  for (int done = 0; done < total; done += block, ++blockIndex) {
    for (int index = TORVA::kMic; index <= TORVA::kOutput; ++index) pair.Set(index, plain(rng));
    if (blockIndex % 37 == 20) pair.Set(TORVA::kBypass, 0.0);
    if (blockIndex % 37 == 25) pair.Set(TORVA::kBypass, 1.0);
    const int n = std::min(block, total - done);
    worst = std::max(worst, pair.Block(inL.data() + done, inR.data() + done, n, &differing));
  }
  RecordProperty("largest_difference", std::to_string(worst));
  EXPECT_LE(worst, 1e-9);
}

}  // namespace

namespace {

// Bypass flips while everything else rests: the pass-through frames are exact
// copies, and the DC blockers resume where they stood when it was switched off.
TEST(OracleAgreement, BypassTogglesMatchTheReferenceExactly) {
  SideBySide pair(44100.0, 256);
  const int total = 44100;
  const std::vector<double> inL = Noise(total, 60, 1.0), inR = Noise(total, 61, 1.0);
  long differing = 0;
  for (int done = 0, k = 0; done < total; done += 256, ++k) {
    if (k % 6 == 2) pair.Set(TORVA::kBypass, 0.0);
    if (k % 6 == 4) pair.Set(TORVA::kBypass, 1.0);
    pair.Block(inL.data() + done, inR.data() + done, std::min(256, total - done), &differing);
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
