#include "tools/torva-render/ResponsePlot.h"

#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "tools/torva-render/RenderError.h"

namespace {

constexpr int kFftSize = 65536;
constexpr int kBlock = 512;
// Long enough for the slowest smoother (2 Hz per Advance) to come to rest.
constexpr double kSettleSeconds = 4.0;

struct FftConfigDeleter {
  void operator()(kiss_fftr_cfg cfg) const { kiss_fftr_free(cfg); }
};

std::string Format(const char* format, double a, double b = 0.0, double c = 0.0) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

}  // namespace

double MagnitudeResponse::DbAt(double hz) const {
  const double bin = hz * kFftSize / sampleRate;
  const size_t lower = static_cast<size_t>(bin);
  if (lower + 1 >= db.size()) return db.back();
  const double t = bin - static_cast<double>(lower);
  return db[lower] * (1.0 - t) + db[lower + 1] * t;
}

MagnitudeResponse MeasureResponse(const EffectSettings& settings, double sampleRate) {
  EffectRunner runner(sampleRate, kBlock, 1, settings, {});
  std::vector<double> block(kBlock, 0.0);
  const long long settleFrames = static_cast<long long>(kSettleSeconds * sampleRate);
  for (long long done = 0; done < settleFrames; done += kBlock) {
    std::fill(block.begin(), block.end(), 0.0);
    runner.ProcessBlock(block.data(), kBlock);
  }
  std::vector<kiss_fft_scalar> impulseResponse(kFftSize);
  for (int done = 0; done < kFftSize; done += kBlock) {
    std::fill(block.begin(), block.end(), 0.0);
    if (done == 0) block[0] = 1.0;
    runner.ProcessBlock(block.data(), kBlock);
    for (int i = 0; i < kBlock; ++i) impulseResponse[done + i] = static_cast<kiss_fft_scalar>(block[i]);
  }

  std::unique_ptr<std::remove_pointer_t<kiss_fftr_cfg>, FftConfigDeleter> cfg(
      kiss_fftr_alloc(kFftSize, 0, nullptr, nullptr));
  if (!cfg) throw RenderFailure("out of memory for the FFT");
  std::vector<kiss_fft_cpx> spectrum(kFftSize / 2 + 1);
  kiss_fftr(cfg.get(), impulseResponse.data(), spectrum.data());

  MagnitudeResponse response;
  response.sampleRate = sampleRate;
  response.db.reserve(spectrum.size());
  for (const kiss_fft_cpx& c : spectrum) {
    const double magnitude = std::hypot(static_cast<double>(c.r), static_cast<double>(c.i));
    response.db.push_back(20.0 * std::log10(std::max(magnitude, 1e-12)));
  }
  return response;
}

std::string ResponseSvg(const MagnitudeResponse& atSettings, const MagnitudeResponse& atDefaults,
                        const std::string& settingsText) {
  constexpr double kWidth = 900, kHeight = 520;
  constexpr double kLeft = 80, kRight = 30, kTop = 60, kBottom = 70;
  constexpr double kMinHz = 20.0, kMaxHz = 20000.0;
  const double plotW = kWidth - kLeft - kRight;
  const double plotH = kHeight - kTop - kBottom;

  // dB range: 10 dB above the highest point of either curve, 90 dB deep.
  double peak = -200.0;
  for (double hz = kMinHz; hz <= kMaxHz; hz *= 1.01) {
    peak = std::max({peak, atSettings.DbAt(hz), atDefaults.DbAt(hz)});
  }
  const double topDb = std::ceil((peak + 3.0) / 10.0) * 10.0;
  const double bottomDb = topDb - 90.0;
  auto x = [&](double hz) { return kLeft + plotW * std::log10(hz / kMinHz) / std::log10(kMaxHz / kMinHz); };
  auto y = [&](double db) {
    const double clamped = std::min(std::max(db, bottomDb), topDb);
    return kTop + plotH * (topDb - clamped) / (topDb - bottomDb);
  };
  auto curve = [&](const MagnitudeResponse& r) {
    std::string points;
    for (int px = 0; px <= static_cast<int>(plotW); ++px) {
      const double hz = kMinHz * std::pow(kMaxHz / kMinHz, px / plotW);
      points += Format("%.1f,%.2f ", kLeft + px, y(r.DbAt(hz)));
    }
    return points;
  };

  std::string svg;
  svg += Format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" ", kWidth, kHeight);
  svg += Format("viewBox=\"0 0 %.0f %.0f\" font-family=\"sans-serif\" font-size=\"13\">\n", kWidth, kHeight);
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += "<text x=\"80\" y=\"28\" font-size=\"17\" font-weight=\"bold\">TORVA magnitude response</text>\n";
  svg += "<text x=\"80\" y=\"47\" fill=\"#444\">" + settingsText + "</text>\n";

  const double gridHz[] = {20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};
  const char* gridLabel[] = {"20", "50", "100", "200", "500", "1k", "2k", "5k", "10k", "20k"};
  for (int i = 0; i < 10; ++i) {
    const double gx = x(gridHz[i]);
    svg += Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" ", gx, kTop, gx);
    svg += Format("y2=\"%.1f\" stroke=\"#ddd\"/>\n", kTop + plotH);
    svg += Format("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">", gx, kTop + plotH + 18);
    svg += std::string(gridLabel[i]) + "</text>\n";
  }
  for (double db = bottomDb; db <= topDb + 0.5; db += 10.0) {
    const double gy = y(db);
    svg += Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" ", kLeft, gy, kLeft + plotW);
    // The 0 dB line a little darker: it is the one the eye compares against.
    svg += Format("y2=\"%.1f\" stroke=\"", gy);
    svg += std::fabs(db) < 0.5 ? "#999\"/>\n" : "#ddd\"/>\n";
    svg += Format("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\">", kLeft - 8, gy + 4);
    svg += Format("%+.0f</text>\n", db);
  }
  svg += Format("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" ", kLeft, kTop, plotW);
  svg += Format("height=\"%.1f\" fill=\"none\" stroke=\"#333\"/>\n", plotH);
  svg += Format("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">Frequency (Hz)</text>\n",
                kLeft + plotW / 2, kHeight - 22);
  svg += Format("<text transform=\"translate(22 %.1f) rotate(-90)\" text-anchor=\"middle\">"
                "Magnitude (dB)</text>\n", kTop + plotH / 2);

  svg += "<polyline fill=\"none\" stroke=\"#999\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\" points=\"" +
         curve(atDefaults) + "\"/>\n";
  svg += "<polyline fill=\"none\" stroke=\"#c0392b\" stroke-width=\"2.2\" points=\"" +
         curve(atSettings) + "\"/>\n";

  const double lx = kLeft + plotW - 230, ly = kTop + 18;
  svg += Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" ", lx, ly, lx + 30);
  svg += Format("y2=\"%.1f\" stroke=\"#c0392b\" stroke-width=\"2.2\"/>\n", ly);
  svg += Format("<text x=\"%.1f\" y=\"%.1f\">at these settings</text>\n", lx + 38, ly + 4);
  svg += Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" ", lx, ly + 20, lx + 30);
  svg += Format("y2=\"%.1f\" stroke=\"#999\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"/>\n", ly + 20);
  svg += Format("<text x=\"%.1f\" y=\"%.1f\">at default settings</text>\n", lx + 38, ly + 24);
  svg += "</svg>\n";
  return svg;
}
