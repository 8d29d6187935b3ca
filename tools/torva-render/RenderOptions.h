#pragma once
#include <string>
#include <vector>

#include "tools/torva-render/EffectRunner.h"
#include "tools/torva-render/ParameterRamp.h"

// What one torva-render run is asked to do.
struct RenderOptions {
  EffectSettings settings;
  int blockSize = 512;
  std::vector<ParameterRamp> ramps;
  enum class SampleFormat { AsInput, Float, Double } sampleFormat = SampleFormat::AsInput;
  double tailSeconds = 0.0;
  std::string responsePath;  // empty: no plot
  std::string inputPath;     // empty: the embedded demo
  std::string outputPath;
};

// Parses the command line. Returns the exit status to leave with at once
// (0 after --help or --version, 2 after bad options, with one line on stderr)
// or -1 when `options` is ready to run.
int ParseRenderOptions(int argc, char** argv, RenderOptions* options);
