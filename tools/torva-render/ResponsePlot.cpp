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

namespace {

// Page and plot geometry, in SVG user units.
constexpr double kWidth = 900, kHeight = 540;
constexpr double kLeft = 70, kRight = 30, kTop = 78, kBottom = 58;
constexpr double kPlotW = kWidth - kLeft - kRight;
constexpr double kPlotH = kHeight - kTop - kBottom;
constexpr double kMinHz = 20.0, kMaxHz = 20000.0;
// Deep enough for the cabinet's roll-off above 5 kHz, shallow enough that the
// few dB of voicing in the pass band stay visible.
constexpr double kRangeDb = 70.0;

const char* const kSettingsColour = "#c0392b";
const char* const kDefaultsColour = "#7f8c8d";

struct Axes {
  double topDb, bottomDb;
  double X(double hz) const {
    return kLeft + kPlotW * std::log10(hz / kMinHz) / std::log10(kMaxHz / kMinHz);
  }
  double Y(double db) const { return kTop + kPlotH * (topDb - db) / (topDb - bottomDb); }
};

// One curve as a path, one point per horizontal unit. Where it leaves the
// plot it runs to the edge and the pen lifts until it comes back, so that a
// curve below the range (a silent output, the roll-off near 20 kHz) never
// crawls along the frame.
std::string CurvePath(const MagnitudeResponse& r, const Axes& axes) {
  std::string d;
  bool penDown = false;
  bool previousOutside = false;
  double previousY = 0.0;
  for (int px = 0; px <= static_cast<int>(kPlotW); ++px) {
    const double hz = kMinHz * std::pow(kMaxHz / kMinHz, px / kPlotW);
    const double db = r.DbAt(hz);
    const double y = axes.Y(std::min(std::max(db, axes.bottomDb), axes.topDb));
    const double x = kLeft + px;
    if (db >= axes.bottomDb && db <= axes.topDb) {
      if (!penDown && previousOutside) d += Format(" M%.1f,%.2f", x - 1.0, previousY);
      d += Format(penDown || previousOutside ? " L%.1f,%.2f" : " M%.1f,%.2f", x, y);
      penDown = true;
      previousOutside = false;
    } else {
      if (penDown) d += Format(" L%.1f,%.2f", x, y);
      penDown = false;
      previousOutside = true;
    }
    previousY = y;
  }
  return d.empty() ? d : d.substr(1);
}

std::string Line(double x1, double y1, double x2, double y2, const char* stroke) {
  return Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" ", x1, y1, x2) +
         Format("y2=\"%.1f\" stroke=\"", y2) + stroke + "\"/>\n";
}

std::string FrequencyGrid(const Axes& axes) {
  std::string svg;
  // Every 1-2-...-9 step of each decade; the 1, 2 and 5 steps are labelled.
  for (double decade = 10.0; decade <= 10000.0; decade *= 10.0) {
    for (int step = 1; step <= 9; ++step) {
      const double hz = decade * step;
      if (hz < kMinHz || hz > kMaxHz) continue;
      const bool labelled = step == 1 || step == 2 || step == 5;
      const double x = axes.X(hz);
      svg += Line(x, kTop, x, kTop + kPlotH, labelled ? "#d0d0d0" : "#ececec");
      if (!labelled) continue;
      char label[16];
      if (hz >= 1000.0) {
        std::snprintf(label, sizeof label, "%gk", hz / 1000.0);
      } else {
        std::snprintf(label, sizeof label, "%g", hz);
      }
      svg += Format("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">", x, kTop + kPlotH + 18);
      svg += std::string(label) + "</text>\n";
    }
  }
  svg += Format("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" fill=\"#333\">"
                "Frequency (Hz)</text>\n",
                kLeft + kPlotW / 2, kHeight - 14);
  return svg;
}

std::string LevelGrid(const Axes& axes) {
  std::string svg;
  for (double db = axes.bottomDb; db <= axes.topDb + 0.5; db += 10.0) {
    const double y = axes.Y(db);
    // 0 dB a little darker: it is the line the eye compares against.
    svg += Line(kLeft, y, kLeft + kPlotW, y, std::fabs(db) < 0.5 ? "#8a8a8a" : "#d0d0d0");
    svg += Format("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\">", kLeft - 8, y + 4);
    svg += Format(std::fabs(db) < 0.5 ? "0</text>\n" : "%+.0f</text>\n", db);
  }
  svg += Format("<text transform=\"translate(20 %.1f) rotate(-90)\" text-anchor=\"middle\" "
                "fill=\"#333\">Magnitude (dB)</text>\n",
                kTop + kPlotH / 2);
  return svg;
}

// Above the plot, right-aligned, where no curve can run through it.
std::string Legend() {
  const double x = kLeft + kPlotW - 170, y = 30;
  std::string svg;
  svg += Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" ", x, y, x + 28);
  svg += Format("y2=\"%.1f\" stroke=\"", y) + kSettingsColour + "\" stroke-width=\"2.5\"/>\n";
  svg += Format("<text x=\"%.1f\" y=\"%.1f\">these settings</text>\n", x + 36, y + 4);
  svg += Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" ", x, y + 20, x + 28);
  svg += Format("y2=\"%.1f\" stroke=\"", y + 20) + kDefaultsColour +
         "\" stroke-width=\"1.6\" stroke-dasharray=\"6 4\"/>\n";
  svg += Format("<text x=\"%.1f\" y=\"%.1f\">default settings</text>\n", x + 36, y + 24);
  return svg;
}

}  // namespace

std::string ResponseSvg(const MagnitudeResponse& atSettings, const MagnitudeResponse& atDefaults,
                        const std::string& settingsText) {
  // The top grid line a few dB above the higher curve's peak.
  double peak = -200.0;
  for (double hz = kMinHz; hz <= kMaxHz; hz *= 1.01) {
    peak = std::max({peak, atSettings.DbAt(hz), atDefaults.DbAt(hz)});
  }
  Axes axes;
  axes.topDb = std::ceil((peak + 3.0) / 10.0) * 10.0;
  axes.bottomDb = axes.topDb - kRangeDb;

  std::string svg;
  svg += Format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" ",
                kWidth, kHeight);
  svg += Format("viewBox=\"0 0 %.0f %.0f\" font-family=\"Helvetica, Arial, sans-serif\" "
                "font-size=\"13\">\n",
                kWidth, kHeight);
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += Format("<text x=\"%.1f\" y=\"30\" font-size=\"18\" font-weight=\"bold\">"
                "TORVA magnitude response</text>\n",
                kLeft);
  svg += Format("<text x=\"%.1f\" y=\"52\" fill=\"#555\">", kLeft) + settingsText +
         "</text>\n";
  svg += Legend();

  svg += FrequencyGrid(axes);
  svg += LevelGrid(axes);
  svg += "<g fill=\"none\" stroke-linejoin=\"round\">\n";
  svg += std::string("<path stroke=\"") + kDefaultsColour +
         "\" stroke-width=\"1.6\" stroke-dasharray=\"6 4\" d=\"" + CurvePath(atDefaults, axes) +
         "\"/>\n";
  svg += std::string("<path stroke=\"") + kSettingsColour + "\" stroke-width=\"2.5\" d=\"" +
         CurvePath(atSettings, axes) + "\"/>\n";
  svg += "</g>\n";
  svg += Format("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" ", kLeft, kTop, kPlotW);
  svg += Format("height=\"%.1f\" fill=\"none\" stroke=\"#333\"/>\n", kPlotH);
  svg += "</svg>\n";
  return svg;
}
