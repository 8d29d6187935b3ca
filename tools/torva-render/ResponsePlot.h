#pragma once
#include <string>
#include <vector>

#include "tools/torva-render/EffectRunner.h"

// The effect's magnitude response measured through the effect itself: a new
// instance at the given settings is left to settle on silence, then fed a unit
// impulse; the FFT of what comes out is the response.
struct MagnitudeResponse {
  double sampleRate = 0.0;
  std::vector<double> db;  // per FFT bin, 0 .. n/2
  // Magnitude at `hz`, interpolated between bins.
  double DbAt(double hz) const;
};

MagnitudeResponse MeasureResponse(const EffectSettings& settings, double sampleRate);

// An SVG document: 20 Hz to 20 kHz on a logarithmic axis, dB upwards, the
// response at `settings` drawn over the one at the default settings.
std::string ResponseSvg(const MagnitudeResponse& atSettings, const MagnitudeResponse& atDefaults,
                        const std::string& settingsText);
