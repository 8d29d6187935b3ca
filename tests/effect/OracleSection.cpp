#include "tests/effect/OracleSection.h"

#include <cmath>

OracleSection::OracleSection(int order, const OracleTermRow* aRows, int aCount,
                             const OracleTermRow* bRows, int bCount)
    : order_(order),
      aRows_(aRows, aRows + aCount),
      bRows_(bRows, bRows + bCount),
      a_(order + 1, 0.0),
      b_(order + 1, 0.0),
      x_(order, 0.0),
      y_(order, 0.0) {}

double OracleSection::BilinearEntry(int order, int j, int k) {
  std::vector<double> poly(order + 1, 0.0);
  poly[0] = 1.0;
  int degree = 0;
  auto multiplyBy = [&](double sign) {  // by (1 + sign·z^−1)
    ++degree;
    for (int i = degree; i > 0; --i) poly[i] = poly[i] + sign * poly[i - 1];
  };
  for (int i = 0; i < k; ++i) multiplyBy(-1.0);
  for (int i = k; i < order; ++i) multiplyBy(1.0);
  return poly[j];
}

double OracleSection::Polynomial(const std::vector<OracleTermRow>& rows, int k, double p,
                                 double q) {
  for (const OracleTermRow& row : rows) {
    if (row.k != k) continue;
    const auto& f = row.factors;
    return f[0] + f[1] * q + f[2] * p + f[3] * (p * q) + f[4] * (p * p) + f[5] * (p * p * q);
  }
  return 0.0;
}

void OracleSection::UpdateCoefficients(double fs, double p, double q) {
  for (int j = 0; j <= order_; ++j) {
    a_[j] = 0.0;
    b_[j] = 0.0;
    for (int k = 0; k <= order_; ++k) {
      const double m = BilinearEntry(order_, j, k);
      a_[j] += m * Polynomial(aRows_, k, p, q) * std::pow(fs, k);
      b_[j] += m * Polynomial(bRows_, k, p, q) * std::pow(fs, k);
    }
  }
}

double OracleSection::ProcessSample(double x) {
  double sum = b_[1] * x_[0] + b_[0] * x;
  for (int i = 2; i <= order_; ++i) sum += b_[i] * x_[i - 1];
  for (int i = 1; i <= order_; ++i) sum -= a_[i] * y_[i - 1];
  const double y = sum / a_[0];
  for (int i = order_ - 1; i > 0; --i) {
    x_[i] = x_[i - 1];
    y_[i] = y_[i - 1];
  }
  x_[0] = x;
  y_[0] = y;
  return y;
}

namespace {
const OracleTermRow kCharacterA[] = {
    {7, {1.46112453965763e-33, -1.39553442183155e-33, 6.64147518026189e-34, -6.34333828105243e-34, -6.64147518026189e-34, 6.34333828105243e-34}},
    {6, {4.18042176459154e-29, -3.91148825433117e-29, 1.41601917821069e-29, -1.31551125716624e-29, -1.48243393001331e-29, 1.37894463997677e-29}},
    {5, {1.15632600171216e-24, -1.04595772658465e-24, 1.10910252881109e-25, -8.20516324851495e-26, -1.24074223386177e-25, 9.42552443146541e-26}},
    {4, {1.15285405515135e-20, -9.6193756032248e-21, 4.43294858325745e-22, -1.38164060423112e-22, -5.38610077436916e-22, 2.05874861589663e-22}},
    {3, {5.87124998699329e-17, -2.85036082047303e-17, 6.57140815763436e-19, 1.02743609056402e-19, -1.02936035610994e-18, 2.15357487144062e-22}},
    {2, {1.46097679732367e-13, -1.09742701075599e-14, -5.13711148822205e-16, 1.07678743572267e-19, -1.07669914751499e-18, -2.62225158815309e-31}},
    {1, {5.48705984183308e-11, -1.14540401045819e-14, -5.38349573758449e-16, -1.31112579407699e-28, 1.05783783229799e-27, 4.97531423255143e-41}},
    {0, {5.72655048113701e-11, 2.69336066855655e-24, 5.28918916148995e-25, 2.48765711627571e-38, 0, 0}},
};
const OracleTermRow kCharacterB[] = {
    {3, {2.18864484009084e-17, 0, 0, 0, 0, 0}},
    {2, {2.18864484009084e-14, 0, 1.09432242004542e-13, 0, 0, 0}},
    {1, {5.47161210022711e-11, 0, 0, 0, 0, 0}},
    {0, {0, 0, 0, 0, 0, 0}},
};
const OracleTermRow kSizeA[] = {
    {3, {0, 0, 1.74570462008599e-15, 3.17400864572463e-14, 0, 0}},
    {2, {8.72852310042993e-13, 1.58700432286232e-11, 4.6685430408502e-12, 4.09498186317388e-15, 0, 0}},
    {1, {7.47181095180979e-10, 3.5920893536613e-13, 8.71281449572875e-09, 0, 0, 0}},
    {0, {7.64281973309539e-07, 0, 0, 0, 0, 0}},
};
const OracleTermRow kSizeB[] = {
    {3, {0, 0, 1.68220418103441e-15, 3.17397015289512e-14, 0, 0}},
    {2, {8.41102090517206e-13, 1.58698507644756e-11, 0, 0, 0, 0}},
    {1, {0, 0, 0, 0, 0, 0}},
    {0, {0, 0, 0, 0, 0, 0}},
};
const OracleTermRow kMicA[] = {
    {5, {0, 0, 7.05213323114109e-24, 0, 0, 0}},
    {4, {1.06850503502138e-20, 0, 2.21351896213821e-20, -1.30593753898407e-20, 0, 0}},
    {3, {3.35354678749475e-17, -1.97869324088496e-17, 1.41453771706759e-17, -1.5155948228055e-18, 0, 0}},
    {2, {2.14260920914559e-14, -2.29635579212954e-15, 1.37704852038183e-15, -1.34361243156516e-17, 0, 0}},
    {1, {2.08356528627583e-12, -2.03577641146236e-14, 1.20146034478828e-14, 0, 0, 0}},
    {0, {1.81767568680935e-11, 0, 0, 0, 0, 0}},
};
const OracleTermRow kMicB[] = {
    {5, {0, 0, 6.41090199144734e-24, 0, 0, 0}},
    {4, {9.71348786582931e-21, 0, 1.81950341749501e-19, 0, 0, 0}},
    {3, {3.03922383621404e-17, 0, 3.88945610159028e-16, 0, 0, 0}},
    {2, {1.91839471739438e-14, 0, 1.69798777177283e-13, 0, 0, 0}},
    {1, {1.70858097381046e-12, 0, 0, 0, 0, 0}},
    {0, {0, 0, 0, 0, 0, 0}},
};

template <size_t NA, size_t NB>
OracleSection Make(int order, const OracleTermRow (&a)[NA], const OracleTermRow (&b)[NB]) {
  return OracleSection(order, a, static_cast<int>(NA), b, static_cast<int>(NB));
}
}  // namespace

OracleSection MakeOracleCharacterFilter() { return Make(7, kCharacterA, kCharacterB); }
OracleSection MakeOracleSizeFilter() { return Make(3, kSizeA, kSizeB); }
OracleSection MakeOracleMicFilter() { return Make(5, kMicA, kMicB); }
