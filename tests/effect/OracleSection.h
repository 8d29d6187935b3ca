#pragma once
#include <array>
#include <vector>

// One analog coefficient polynomial: its k, then the factors of the terms 1, q,
// p, p·q, p² and p²·q.
struct OracleTermRow {
  int k;
  std::array<double, 6> factors;
};

// The reference model of a filter section, written the plain way: every
// coefficient is recomputed from the tables and the bilinear sums at every
// call, nothing is cached or folded. It is slow on purpose and serves as the
// yardstick for the product's sections.
class OracleSection {
 public:
  OracleSection(int order, const OracleTermRow* aRows, int aCount, const OracleTermRow* bRows,
                int bCount);

  // The entry of z^−j in (1 − z^−1)^k · (1 + z^−1)^(order − k), multiplied out.
  static double BilinearEntry(int order, int j, int k);

  void UpdateCoefficients(double fs, double p, double q);
  double ProcessSample(double x);

  int Order() const { return order_; }
  const std::vector<double>& A() const { return a_; }
  const std::vector<double>& B() const { return b_; }

 private:
  static double Polynomial(const std::vector<OracleTermRow>& rows, int k, double p, double q);

  int order_;
  std::vector<OracleTermRow> aRows_;
  std::vector<OracleTermRow> bRows_;
  std::vector<double> a_, b_, x_, y_;  // x_[i], y_[i]: i + 1 samples ago
};

OracleSection MakeOracleCharacterFilter();
OracleSection MakeOracleSizeFilter();
OracleSection MakeOracleMicFilter();
