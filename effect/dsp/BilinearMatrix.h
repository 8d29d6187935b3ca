#pragma once
#include <array>

// The bilinear map s = 2·fs·(1 − z⁻¹)/(1 + z⁻¹), multiplied through by
// (1 + z⁻¹)^N, turns the analog term s^k into (2·fs)^k times the polynomial
// (1 − z⁻¹)^k · (1 + z⁻¹)^(N−k). Entry [j][k] is that polynomial's integer
// coefficient of z^−j. Built at compile time so that no table can go stale.
template <int N>
struct BilinearMatrix {
  using Table = std::array<std::array<double, N + 1>, N + 1>;

  static constexpr Table Build() {
    Table m{};
    for (int k = 0; k <= N; ++k) {
      // Multiply out one factor at a time, starting from the constant 1.
      std::array<double, N + 1> poly{};
      poly[0] = 1.0;
      for (int factor = 0; factor < N; ++factor) {
        const double sign = factor < k ? -1.0 : 1.0;
        for (int j = N; j > 0; --j) poly[j] += sign * poly[j - 1];
      }
      for (int j = 0; j <= N; ++j) m[j][k] = poly[j];
    }
    return m;
  }

  static constexpr Table kM = Build();
};
