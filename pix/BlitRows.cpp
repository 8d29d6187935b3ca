#include "pix/BlitRows.h"

#include "pix/BlendPixel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pixrows {
namespace {

inline void LoadSource(const std::uint8_t* s, int* out) {
  out[0] = s[0];
  out[1] = s[1];
  out[2] = s[2];
  out[3] = s[3];
}

#if defined(__SSE2__)

// s + div256((d - s) * f) per 16-bit lane, for channels 0..255 and factors
// 0..256, rounded toward zero like the scalar form. The difference is split
// into its positive and negative parts so that each product is unsigned and
// fits 16 bits (at most 255 * 256).
inline __m128i MoveToward(__m128i d, __m128i s, __m128i f) {
  const __m128i up = _mm_srli_epi16(_mm_mullo_epi16(_mm_subs_epu16(d, s), f), 8);
  const __m128i down = _mm_srli_epi16(_mm_mullo_epi16(_mm_subs_epu16(s, d), f), 8);
  return _mm_sub_epi16(_mm_add_epi16(s, up), down);
}

// Each pixel's alpha (lane 3 of 4) copied to all four of its lanes.
inline __m128i SpreadAlpha(__m128i px16) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px16, 0xFF), 0xFF);
}

inline __m128i AlphaOf(__m128i px) { return _mm_srli_epi32(px, 24); }

inline bool AllEqual(__m128i a, __m128i b) {
  return _mm_movemask_epi8(_mm_cmpeq_epi32(a, b)) == 0xFFFF;
}

#endif

}  // namespace

void CopyWeightedRow(std::uint8_t* d, const std::uint8_t* s, int pixels, int iw) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i f = _mm_set1_epi16(short(256 - iw));
  for (; x + 4 <= pixels; x += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * x));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * x));
    const __m128i lo = MoveToward(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero), f);
    const __m128i hi = MoveToward(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero), f);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), _mm_packus_epi16(lo, hi));
  }
#endif
  int src[4];
  for (; x < pixels; ++x) {
    LoadSource(s + 4 * x, src);
    pixblend::CopyWeighted(d + 4 * x, src, iw);
  }
}

void AlphaCopyFullRow(std::uint8_t* d, const std::uint8_t* s, int pixels) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i opaque = _mm_set1_epi32(255);
  const __m128i c255 = _mm_set1_epi16(255);
  const __m128i alphaBytes = _mm_set1_epi32(int(0xFF000000u));
  for (; x + 4 <= pixels; x += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * x));
    const __m128i alpha = AlphaOf(sv);
    // Runs of transparent or opaque pixels are the common case in control
    // images: skip or copy them whole.
    const __m128i transparent = _mm_cmpeq_epi32(alpha, zero);
    if (_mm_movemask_epi8(transparent) == 0xFFFF) continue;
    if (AllEqual(alpha, opaque)) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), sv);
      continue;
    }
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * x));
    const __m128i s16lo = _mm_unpacklo_epi8(sv, zero);
    const __m128i s16hi = _mm_unpackhi_epi8(sv, zero);
    // Factor 255 - sA; at sA = 255 it is 0 and gives the source exactly.
    const __m128i flo = _mm_sub_epi16(c255, SpreadAlpha(s16lo));
    const __m128i fhi = _mm_sub_epi16(c255, SpreadAlpha(s16hi));
    const __m128i lo = MoveToward(_mm_unpacklo_epi8(dv, zero), s16lo, flo);
    const __m128i hi = MoveToward(_mm_unpackhi_epi8(dv, zero), s16hi, fhi);
    __m128i out = _mm_packus_epi16(lo, hi);
    // Alpha: min(dA + sA, 255) is a saturating byte add.
    out = _mm_or_si128(_mm_andnot_si128(alphaBytes, out),
                       _mm_and_si128(alphaBytes, _mm_adds_epu8(dv, sv)));
    // A transparent source pixel leaves its destination untouched.
    out = _mm_or_si128(_mm_and_si128(transparent, dv), _mm_andnot_si128(transparent, out));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), out);
  }
#endif
  int src[4];
  for (; x < pixels; ++x) {
    LoadSource(s + 4 * x, src);
    pixblend::AlphaCopyFull(d + 4 * x, src);
  }
}

void AlphaCopyWeightedRow(std::uint8_t* d, const std::uint8_t* s, int pixels, int iw) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  const __m128i c256 = _mm_set1_epi16(256);
  const __m128i weight = _mm_set1_epi16(short(iw));
  // 16-bit lanes 3 and 7: the alpha channels of the two pixels in a half.
  const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
  for (; x + 4 <= pixels; x += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * x));
    if (AllEqual(AlphaOf(sv), zero)) continue;
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * x));
    __m128i half[2];
    for (int h = 0; h < 2; ++h) {
      const __m128i s16 = h ? _mm_unpackhi_epi8(sv, zero) : _mm_unpacklo_epi8(sv, zero);
      const __m128i d16 = h ? _mm_unpackhi_epi8(dv, zero) : _mm_unpacklo_epi8(dv, zero);
      // k = ((sA + 1) * iw) >> 8, at most 255 for iw < 256; a transparent
      // source pixel gets k = 0 and leaves its destination as it was.
      const __m128i k = _mm_srli_epi16(_mm_mullo_epi16(_mm_add_epi16(SpreadAlpha(s16), one), weight), 8);
      const __m128i colour = MoveToward(d16, s16, _mm_sub_epi16(c256, k));
      // Alpha dA + k; the pack below saturates it to 255.
      const __m128i alpha = _mm_add_epi16(d16, k);
      half[h] = _mm_or_si128(_mm_andnot_si128(alphaLanes, colour), _mm_and_si128(alphaLanes, alpha));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), _mm_packus_epi16(half[0], half[1]));
  }
#endif
  int src[4];
  for (; x < pixels; ++x) {
    LoadSource(s + 4 * x, src);
    pixblend::AlphaCopyWeighted(d + 4 * x, src, iw);
  }
}

}  // namespace pixrows
