#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "tests/effect/EffectRig.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> Sine(double hz, double fs, double amplitude, int frames) {
  std::vector<double> v(frames);
  for (int i = 0; i < frames; ++i) v[i] = amplitude * std::sin(2.0 * kPi * hz * i / fs);
  return v;
}

double Rms(const std::vector<double>& v, size_t from) {
  double sum = 0.0;
  for (size_t i = from; i < v.size(); ++i) sum += v[i] * v[i];
  return std::sqrt(sum / static_cast<double>(v.size() - from));
}

double PeakFrom(const std::vector<double>& v, size_t from) {
  double peak = 0.0;
  for (size_t i = from; i < v.size(); ++i) peak = std::max(peak, std::fabs(v[i]));
  return peak;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(SignalPath, ImpulseResponseOfASettledInstance) {
  for (int blockSize : {64, 333, 512}) {
    SCOPED_TRACE(blockSize);
    EffectRig rig(48000.0, blockSize);
    rig.RunSilence(6 * 48000);
    std::vector<double> l(8, 0.0), r(8, 0.0);
    l[0] = 1.0;
    rig.Run(l, r);
    const double expected[8] = {0.00302075, 0.0213631, 0.0714712, 0.153341,
                                0.240994,   0.298313,  0.301797,  0.251338};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(l[i], expected[i], expected[i] * 5e-6) << i;
    for (double s : r) EXPECT_EQ(s, 0.0);
  }
}

TEST(SignalPath, ImpulseResponseOfAFreshInstance) {
  EffectRig rig;
  std::vector<double> l(512, 0.0), r(512, 0.0);
  l[0] = r[0] = 1.0;
  rig.Run(l, r);
  const double left[3] = {2.45857e-6, 4.15909e-5, 0.000165726};
  const double right[3] = {4.91656e-6, 5.54520e-5, 0.000198894};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(l[i], left[i], left[i] * 5e-6) << i;
    EXPECT_NEAR(r[i], right[i], right[i] * 5e-6) << i;
  }
}

struct ToneCase {
  double hz;
  double gainDb;
};

TEST(SignalPath, SettledGainAtDefaults) {
  const ToneCase tones[] = {{1000.0, 2.9}, {100.0, 4.4}, {3000.0, 4.7}};
  for (const ToneCase& t : tones) {
    SCOPED_TRACE(t.hz);
    EffectRig rig(44100.0);
    rig.RunSilence(3 * 44100);
    std::vector<double> l = Sine(t.hz, 44100.0, 0.1, 44100);
    std::vector<double> r = l;
    const std::vector<double> in = l;
    rig.Run(l, r);
    const size_t from = 22050;
    EXPECT_NEAR(20.0 * std::log10(Rms(l, from) / Rms(in, from)), t.gainDb, 0.06);
    if (t.hz == 1000.0) {
      EXPECT_NEAR(PeakFrom(l, from), 0.139, 0.0006);
    }
    EXPECT_TRUE(SameBits(l, r));  // identical channels at rest
  }
}

TEST(SignalPath, ConstantInputDecaysToZero) {
  EffectRig rig;
  rig.RunSilence(3 * 48000);
  std::vector<double> l(2 * 48000, 0.5), r(2 * 48000, -0.8);
  rig.Run(l, r);
  EXPECT_GT(PeakFrom(l, 0), 0.01);
  EXPECT_LT(std::fabs(l.back()), 1e-9);
  EXPECT_LT(std::fabs(r.back()), 1e-9);
}

TEST(SignalPath, OutputAtZeroFadesToSilence) {
  EffectRig rig, unity;
  rig.RunSilence(3 * 48000);
  unity.RunSilence(3 * 48000);
  rig.effect->SetPlainValue(TORVA::kOutput, 0.0);
  std::vector<double> l = Noise(48000, 1), r = Noise(48000, 2);
  std::vector<double> ul = l, ur = r;
  rig.Run(l, r);
  unity.Run(ul, ur);
  // Against the same signal at unity gain, the gain glides down with a time
  // constant of about 80 ms (2 Advances per frame at a 1 Hz corner each).
  const int at80ms = static_cast<int>(0.0796 * 48000);
  EXPECT_NEAR(l[at80ms] / ul[at80ms], std::exp(-1.0), 0.002);
  EXPECT_LT(PeakFrom(l, 43200), 1e-4);
  EXPECT_LT(PeakFrom(r, 43200), 1e-4);
}

// The signal before the DC blocker, recovered from its output: the blocker
// starts from rest and y[n] = 0.999·y[n−1] + x[n] − x[n−1].
std::vector<double> BeforeDcBlocker(const std::vector<double>& y) {
  std::vector<double> x(y.size());
  double previousX = 0.0, previousY = 0.0;
  for (size_t n = 0; n < y.size(); ++n) {
    x[n] = previousX + y[n] - 0.999 * previousY;
    previousX = x[n];
    previousY = y[n];
  }
  return x;
}

// A new instance's output gain glides up from 0 with two Advances per frame:
// 71.5 % of its target 0.1 s after the first frame at 44.1 kHz, 99.8 % after
// 0.5 s. Measured against an instance at full gain whose every other control
// has the same history, so that only the gain differs between the two.
TEST(SignalPath, OutputGainGlidesUpFromZero) {
  const double fs = 44100.0;
  EffectRig gliding(fs), full(fs);
  gliding.effect->SetPlainValue(TORVA::kOutput, 0.0);  // its gain stays at exactly 0
  gliding.RunSilence(3 * 44100);
  full.RunSilence(3 * 44100);
  gliding.effect->SetPlainValue(TORVA::kOutput, 5.0);

  std::vector<double> l = Sine(1000.0, fs, 0.5, 30000), r = l;
  std::vector<double> fl = l, fr = l;
  gliding.Run(l, r);
  full.Run(fl, fr);
  const std::vector<double> g = BeforeDcBlocker(l), f = BeforeDcBlocker(fl);
  auto gainAt = [&](double seconds) {
    // The frame at that time or just after it with a sample far from zero.
    size_t n = static_cast<size_t>(seconds * fs);
    while (std::fabs(f[n]) < 0.05) ++n;
    return g[n] / f[n];
  };
  EXPECT_NEAR(gainAt(0.1), 0.715, 0.001);
  EXPECT_NEAR(gainAt(0.5), 0.998, 0.0005);
}

TEST(SignalPath, BypassOffCopiesTheInputBitForBit) {
  for (bool inPlace : {false, true}) {
    SCOPED_TRACE(inPlace);
    EffectRig rig;
    rig.effect->SetPlainValue(TORVA::kBypass, 0.0);
    const std::vector<double> inL = Noise(5000, 3, 2.0), inR = Noise(5000, 4, 2.0);
    std::vector<double> l = inL, r = inR;
    if (inPlace) {
      rig.Run(l, r);
    } else {
      std::vector<double> src0 = inL, src1 = inR;
      double* in[2] = {src0.data(), src1.data()};
      double* out[2] = {l.data(), r.data()};
      rig.effect->Process(in, out, 5000);
    }
    EXPECT_TRUE(SameBits(l, inL));
    EXPECT_TRUE(SameBits(r, inR));
  }
}

TEST(SignalPath, BypassBetweenZeroAndOnePassesThrough) {
  EffectRig rig;
  StateChunk chunk;
  for (double v : {0.0, 5.0, 5.0, 5.0, 0.7}) chunk.PutDouble(v);  // restores clamp, not snap
  ASSERT_GT(rig.effect->UnserializeState(chunk, 0), 0);
  ASSERT_EQ(rig.effect->GetParam(TORVA::kBypass)->value, 0.7);
  const std::vector<double> in = Noise(1000, 5);
  std::vector<double> l = in, r = in;
  rig.Run(l, r);
  EXPECT_TRUE(SameBits(l, in));
}

TEST(SignalPath, MonoHostMatchesChannelZeroOfAStereoHost) {
  EffectRig mono(48000.0, 256, 1);
  EffectRig stereo(48000.0, 256, 2);
  const std::vector<double> in = Noise(20000, 6);
  std::vector<double> m = in;
  double* io[1] = {m.data()};
  ASSERT_TRUE(mono.effect->Process(io, io, 20000));
  std::vector<double> l = in, r = Noise(20000, 7);
  stereo.Run(l, r);
  EXPECT_TRUE(SameBits(m, l));
}

TEST(SignalPath, ZeroFramesWritesNothingAndLeavesTheStateAlone) {
  EffectRig touched, untouched;
  std::vector<double> sentinel(4, 123.0), sentinelR(4, 456.0);
  double* in[2] = {sentinel.data(), sentinelR.data()};
  double* out[2] = {sentinel.data(), sentinelR.data()};
  {
    ProcessLockGuard guard(touched.effect->Lock());
    touched.effect->ProcessBlock(in, out, 0);
    touched.effect->ProcessBlock(in, out, -3);
  }
  EXPECT_EQ(sentinel[0], 123.0);
  EXPECT_EQ(sentinelR[3], 456.0);
  std::vector<double> a = Noise(3000, 8), b = a, c = a, d = a;
  touched.Run(a, b);
  untouched.Run(c, d);
  EXPECT_TRUE(SameBits(a, c));
}

TEST(SignalPath, ChannelsDifferSlightlyDuringAGlide) {
  EffectRig rig;
  rig.RunSilence(48000 * 3);
  rig.effect->SetPlainValue(TORVA::kMic, 10.0);
  std::vector<double> l = Noise(4800, 9), r = l;
  rig.Run(l, r);
  double maxDiff = 0.0;
  for (size_t i = 0; i < l.size(); ++i) maxDiff = std::max(maxDiff, std::fabs(l[i] - r[i]));
  EXPECT_GT(maxDiff, 0.0);
  EXPECT_LT(maxDiff, 0.05);
}

TEST(SignalPath, UnlimitedOutput) {
  EffectRig rig;
  rig.effect->SetPlainValue(TORVA::kOutput, 10.0);
  rig.RunSilence(3 * 48000);
  std::vector<double> l = Sine(500.0, 48000.0, 1.0, 9600), r = l;
  rig.Run(l, r);
  EXPECT_GT(PeakFrom(l, 0), 1.0);
}

// Faults from outside must not poison the model for good.
TEST(SignalPath, NonFiniteParameterValueIsRefused) {
  EffectRig rig, reference;
  rig.effect->SetPlainValue(TORVA::kCharacter, std::numeric_limits<double>::quiet_NaN());
  std::vector<double> a = Noise(4000, 10), b = a, c = a, d = a;
  rig.Run(a, b);
  reference.Run(c, d);
  EXPECT_TRUE(SameBits(a, c));  // character kept its last good value
}

TEST(SignalPath, UnusableSampleRatePassesThroughAndKeepsTheState) {
  for (double bad : {0.0, -44100.0, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(bad);
    EffectRig rig, reference;
    rig.effect->SetSampleRate(bad);
    const std::vector<double> in = Noise(700, 11);
    std::vector<double> l = in, r = in;
    rig.Run(l, r);
    EXPECT_TRUE(SameBits(l, in));
    rig.effect->SetSampleRate(48000.0);
    std::vector<double> a = Noise(3000, 12), b = a, c = a, d = a;
    rig.Run(a, b);
    reference.Run(c, d);
    EXPECT_TRUE(SameBits(a, c));
  }
}

}  // namespace
