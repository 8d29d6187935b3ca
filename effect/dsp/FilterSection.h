#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

#include "effect/dsp/BilinearMatrix.h"

// Column order of a coefficient table row: the factors of 1, q, p, p·q, p²
// and p²·q. A_k (or B_k) is the sum of the row's six terms.
enum SectionTerm { kTermOne, kTermQ, kTermP, kTermPQ, kTermPP, kTermPPQ, kTermCount };

// One recursive section of order N: the bilinear image of an analog transfer
// function whose s^k coefficients are polynomials in the controls p and q.
// Terms supplies kOrder and the tables kA/kB, indexed [k][SectionTerm].
//
// Plain data owned by value; allocates nothing. Coefficients are recomputed
// only when the sample rate or a control differs in any bit from the last
// call, which yields exactly the doubles a fresh computation would.
template <class Terms>
struct FilterSection {
  static constexpr int N = Terms::kOrder;

  double a[N + 1] = {};  // a[0] is not normalised to 1
  double b[N + 1] = {};
  double x[N] = {};  // x[i]: input i + 1 samples ago
  double y[N] = {};  // y[i]: output i + 1 samples ago

  // Replaces a[] and b[]; the histories stay as they are.
  void UpdateCoefficients(double fs, double p, double q) {
    if (BitsOf(fs) != fsBits_) {
      fsBits_ = BitsOf(fs);
      for (int k = 0; k <= N; ++k) fsPower_[k] = std::pow(fs, k);
    } else if (BitsOf(p) == pBits_ && BitsOf(q) == qBits_) {
      return;
    }
    pBits_ = BitsOf(p);
    qBits_ = BitsOf(q);

    const double pq = p * q;
    const double pp = p * p;
    const double ppq = pp * q;
    double analogA[N + 1];
    double analogB[N + 1];
    for (int k = 0; k <= N; ++k) {
      analogA[k] = Polynomial(Terms::kA[k], p, q, pq, pp, ppq);
      analogB[k] = Polynomial(Terms::kB[k], p, q, pq, pp, ppq);
    }
    // Each a[j] and b[j] is summed over k in ascending order, term by term
    // as (M[j][k] · A_k) · fs^k.
    constexpr auto& M = BilinearMatrix<N>::kM;
    for (int j = 0; j <= N; ++j) {
      a[j] = 0.0;
      b[j] = 0.0;
    }
    for (int k = 0; k <= N; ++k) {
      const double power = fsPower_[k];
      for (int j = 0; j <= N; ++j) {
        a[j] += M[j][k] * analogA[k] * power;
        b[j] += M[j][k] * analogB[k] * power;
      }
    }
  }

  // Direct form: the newest input's product comes second, after the one of
  // the previous input; the sum runs left to right in that fixed order.
  double ProcessSample(double in) {
    double acc = b[1] * x[0] + b[0] * in;
    for (int i = 2; i <= N; ++i) acc += b[i] * x[i - 1];
    for (int i = 1; i <= N; ++i) acc -= a[i] * y[i - 1];
    const double out = acc / a[0];
    for (int i = N - 1; i > 0; --i) {
      x[i] = x[i - 1];
      y[i] = y[i - 1];
    }
    x[0] = in;
    y[0] = out;
    return out;
  }

 private:
  static uint64_t BitsOf(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
  }

  static double Polynomial(const double (&t)[kTermCount], double p, double q, double pq,
                           double pp, double ppq) {
    return t[kTermOne] + t[kTermQ] * q + t[kTermP] * p + t[kTermPQ] * pq + t[kTermPP] * pp +
           t[kTermPPQ] * ppq;
  }

  // A quiet NaN pattern no real control or rate can have: the first call
  // always computes.
  static constexpr uint64_t kNever = 0x7ff8dead0000beefULL;
  uint64_t fsBits_ = kNever;
  uint64_t pBits_ = kNever;
  uint64_t qBits_ = kNever;
  double fsPower_[N + 1] = {};
};
