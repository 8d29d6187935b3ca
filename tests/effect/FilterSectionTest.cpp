#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "effect/dsp/CharacterFilter.h"
#include "effect/dsp/DcBlocker.h"
#include "effect/dsp/MicFilter.h"
#include "effect/dsp/OnePoleSmoother.h"
#include "effect/dsp/SizeFilter.h"
#include "tests/effect/OracleSection.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

template <class Section>
double GainDb(const Section& s, double fs, double hz) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / fs);
  std::complex<double> num = 0.0, den = 0.0, zj = 1.0;
  for (int j = 0; j <= Section::N; ++j) {
    num += s.b[j] * zj;
    den += s.a[j] * zj;
    zj *= z1;
  }
  return 20.0 * std::log10(std::abs(num / den));
}

template <class Section>
Section Updated(double fs, double p, double q) {
  Section s;
  s.UpdateCoefficients(fs, p, q);
  return s;
}

// Relative agreement to `digits` significant digits.
void ExpectSignificant(double expected, double actual, double digits) {
  EXPECT_NEAR(actual, expected, std::fabs(expected) * std::pow(10.0, 1.0 - digits))
      << "expected " << expected;
}

TEST(BilinearMatrix, RowsAreTheExpandedPolynomials) {
  const double n3[4][4] = {{1, 1, 1, 1}, {3, 1, -1, -3}, {3, -1, -1, 3}, {1, -1, 1, -1}};
  for (int j = 0; j < 4; ++j) {
    for (int k = 0; k < 4; ++k) EXPECT_EQ(BilinearMatrix<3>::kM[j][k], n3[j][k]) << j << "," << k;
  }
  const double n7row1[8] = {7, 5, 3, 1, -1, -3, -5, -7};
  const double binomial7[8] = {1, 7, 21, 35, 35, 21, 7, 1};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(BilinearMatrix<7>::kM[1][k], n7row1[k]);
    EXPECT_EQ(BilinearMatrix<7>::kM[0][k], 1.0);
    EXPECT_EQ(BilinearMatrix<7>::kM[k][0], binomial7[k]);
  }
  for (int j = 0; j <= 5; ++j) {
    for (int k = 0; k <= 5; ++k) {
      EXPECT_EQ(BilinearMatrix<5>::kM[j][k], OracleSection::BilinearEntry(5, j, k));
    }
  }
}

TEST(FilterSection, SizeCoefficientsAt48k) {
  const SizeFilter s = Updated<SizeFilter>(48000.0, 0.18, 0.5);
  const double a[] = {0.3730111866, -1.074123708, 1.029667636, -0.3285490004};
  const double b[] = {0.3696210022, -1.068423072, 1.027983137, -0.3291810676};
  for (int j = 0; j <= 3; ++j) {
    ExpectSignificant(a[j], s.a[j], 10);
    ExpectSignificant(b[j], s.b[j], 10);
  }
  EXPECT_NEAR(GainDb(s, 48000.0, 100.0), 2.46, 0.005);
  EXPECT_NEAR(GainDb(s, 48000.0, 1000.0), -0.03, 0.005);
}

TEST(FilterSection, MicAndCharacterCoefficientsAt48k) {
  // The controls the defaults produce: m = 0.15, s = 0.5.
  const MicFilter mic = Updated<MicFilter>(48000.0, 0.15, 0.5 / 3.0 + 0.15);
  ExpectSignificant(0.3438806806, mic.a[0], 10);
  ExpectSignificant(0.4513881837, mic.b[0], 10);
  EXPECT_NEAR(GainDb(mic, 48000.0, 1000.0), 10.17, 0.005);

  const CharacterFilter ch = Updated<CharacterFilter>(48000.0, 0.5, 1.0 - (0.5 / 3.0 + 0.15));
  ExpectSignificant(0.6783694915, ch.a[0], 10);
  ExpectSignificant(0.002599584795, ch.b[0], 10);
  EXPECT_NEAR(GainDb(ch, 48000.0, 1000.0), -2.91, 0.005);
}

// Magnitudes at 44.1 kHz, rounded to 0.1 dB.
struct ResponseCase {
  const char* section;
  double p, q;
  double db[5];  // 100 Hz, 600 Hz, 3 kHz, 8 kHz, 16 kHz
};

class SectionResponse : public ::testing::TestWithParam<ResponseCase> {};

TEST_P(SectionResponse, MatchesTheVoicingAt44k1) {
  const ResponseCase& c = GetParam();
  const double hz[5] = {100, 600, 3000, 8000, 16000};
  for (int i = 0; i < 5; ++i) {
    double db = 0.0;
    const std::string name = c.section;
    if (name == "character") db = GainDb(Updated<CharacterFilter>(44100.0, c.p, c.q), 44100.0, hz[i]);
    if (name == "size") db = GainDb(Updated<SizeFilter>(44100.0, c.p, c.q), 44100.0, hz[i]);
    if (name == "mic") db = GainDb(Updated<MicFilter>(44100.0, c.p, c.q), 44100.0, hz[i]);
    EXPECT_NEAR(db, c.db[i], 0.051) << c.section << " at " << hz[i] << " Hz";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Voicing, SectionResponse,
    ::testing::Values(ResponseCase{"character", 0.5, 0.6833, {-1.3, -4.3, 1.3, -20.5, -66.4}},
                      ResponseCase{"character", 0.0, 0.6833, {-2.0, -14.2, 0.6, -19.5, -65.4}},
                      ResponseCase{"character", 1.0, 0.6833, {0.0, 0.3, 2.2, -19.1, -65.4}},
                      ResponseCase{"size", 0.18, 0.5, {2.5, 0.0, 0.0, 0.0, 0.0}},
                      ResponseCase{"size", 0.10, 0.0, {-19.7, -2.8, -0.9, -0.4, -0.3}},
                      ResponseCase{"size", 0.26, 1.0, {2.8, 0.1, 0.0, 0.0, 0.0}},
                      ResponseCase{"mic", 0.15, 0.3167, {7.6, 10.5, 7.8, 2.8, -0.3}},
                      ResponseCase{"mic", 0.5, 0.6667, {15.7, 19.8, 9.0, 2.3, -0.4}}));

// Over the whole control square and at several rates: the numerator sums to
// zero (no gain at DC), a[0] stays positive (also when p = 0 drops the top
// analog term), and the coefficients are the reference model's, bit for bit.
template <class Section>
void CheckGrid(OracleSection (*makeOracle)()) {
  for (double fs : {22050.0, 44100.0, 48000.0, 96000.0, 192000.0}) {
    for (double p : {0.0, 0.1, 0.18, 0.26, 0.5, 0.77, 1.0}) {
      for (double q : {0.0, 0.1667, 0.3166667, 0.5, 0.6833333, 1.0}) {
        Section s;
        s.UpdateCoefficients(fs, p, q);
        OracleSection o = makeOracle();
        o.UpdateCoefficients(fs, p, q);
        double sum = 0.0, scale = 0.0;
        for (int j = 0; j <= Section::N; ++j) {
          sum += s.b[j];
          scale += std::fabs(s.b[j]);
          ASSERT_EQ(s.a[j], o.A()[j]) << fs << " " << p << " " << q << " a" << j;
          ASSERT_EQ(s.b[j], o.B()[j]) << fs << " " << p << " " << q << " b" << j;
        }
        EXPECT_LE(std::fabs(sum), scale * 1e-12);
        EXPECT_GT(s.a[0], 0.0);
      }
    }
  }
}

TEST(FilterSection, CoefficientsAgreeWithReferenceOverTheControlSquare) {
  CheckGrid<CharacterFilter>(MakeOracleCharacterFilter);
  CheckGrid<SizeFilter>(MakeOracleSizeFilter);
  CheckGrid<MicFilter>(MakeOracleMicFilter);
}

TEST(FilterSection, CoefficientsFollowEveryChangeOfRateOrControl) {
  SizeFilter cached;
  cached.UpdateCoefficients(48000.0, 0.18, 0.5);
  cached.UpdateCoefficients(44100.0, 0.18, 0.5);  // same controls, new rate
  EXPECT_EQ(cached.a[0], Updated<SizeFilter>(44100.0, 0.18, 0.5).a[0]);
  cached.UpdateCoefficients(44100.0, std::nextafter(0.18, 1.0), 0.5);  // one ulp
  const SizeFilter fresh = Updated<SizeFilter>(44100.0, std::nextafter(0.18, 1.0), 0.5);
  for (int j = 0; j <= 3; ++j) {
    EXPECT_EQ(cached.a[j], fresh.a[j]);
    EXPECT_EQ(cached.b[j], fresh.b[j]);
  }
}

TEST(FilterSection, HistoriesRunInDirectForm) {
  SizeFilter s;
  s.UpdateCoefficients(48000.0, 0.18, 0.5);
  OracleSection o = MakeOracleSizeFilter();
  o.UpdateCoefficients(48000.0, 0.18, 0.5);
  // An impulse, then a step: the product and the plain form agree exactly.
  for (int i = 0; i < 2000; ++i) {
    const double x = i == 0 ? 1.0 : (i > 1000 ? 0.25 : 0.0);
    ASSERT_EQ(s.ProcessSample(x), o.ProcessSample(x)) << i;
  }
  // First output is b0/a0 times the impulse.
  SizeFilter t;
  t.UpdateCoefficients(48000.0, 0.18, 0.5);
  EXPECT_DOUBLE_EQ(t.ProcessSample(1.0), t.b[0] / t.a[0]);
  EXPECT_EQ(t.x[0], 1.0);
  t.ProcessSample(0.0);
  EXPECT_EQ(t.x[1], 1.0);
  EXPECT_EQ(t.x[0], 0.0);
}

TEST(OnePoleSmootherAndDcBlocker, StepAsDefined) {
  OnePoleSmoother s;
  EXPECT_EQ(s.Advance(0.7), 0.7);  // a0 = 1, b1 = 0 after construction
  s.SetPole(0.25);
  EXPECT_EQ(s.a0, 0.75);
  EXPECT_EQ(s.Advance(1.5), 0.25 * 0.7 + 0.75 * 1.5);
  for (int i = 0; i < 200; ++i) s.Advance(1.5);
  EXPECT_TRUE(s.IsSettledAt(1.5));
  EXPECT_FALSE(s.IsSettledAt(1.0));

  DcBlocker dc;
  EXPECT_EQ(dc.Step(1.0), 1.0);
  EXPECT_EQ(dc.Step(1.0), 0.999);
  EXPECT_EQ(dc.Step(0.5), 0.999 * 0.999 + (0.5 - 1.0));
}

}  // namespace
