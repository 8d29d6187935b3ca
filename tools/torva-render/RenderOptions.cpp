#include "tools/torva-render/RenderOptions.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <iostream>
#include <memory>

#include "framework/plugbase/PackedVersion.h"
#include "tools/torva-render/RenderError.h"

namespace {

// CLI11's range check lets NaN through; plain values must be real numbers.
const CLI::Validator kPlainValue(
    [](std::string& text) -> std::string {
      double v = 0.0;
      if (!CLI::detail::lexical_cast(text, v) || !std::isfinite(v) || v < 0.0 || v > 10.0) {
        return "must be a number from 0 to 10, not " + text;
      }
      return std::string();
    },
    "0..10");

const CLI::Validator kTail(
    [](std::string& text) -> std::string {
      double v = 0.0;
      // An hour of tail is far more than any cabinet rings; more is a typo.
      if (!CLI::detail::lexical_cast(text, v) || !std::isfinite(v) || v < 0.0 || v > 3600.0) {
        return "must be 0 to 3600 seconds, not " + text;
      }
      return std::string();
    },
    "SECONDS");

std::string VersionText() {
  TORVA* probe = static_cast<TORVA*>(CreatePluginInstance(nullptr));
  const std::string text = std::string("torva-render ") + FormatVersionText(probe->Version()).substr(1);
  delete probe;
  return text;
}

// The usage line names the optional INPUT before OUTPUT; both arrive through
// one positional list, which CLI11 would show as "OUTPUT(1x)".
class UsageFormatter : public CLI::Formatter {
 public:
  std::string make_option_usage(const CLI::Option* opt) const override {
    if (opt->get_positional()) return "[INPUT] OUTPUT";
    return CLI::Formatter::make_option_usage(opt);
  }
};

int Fail(const std::string& message) {
  std::cerr << "torva-render: " << message << "\n";
  return 2;
}

}  // namespace

int ParseRenderOptions(int argc, char** argv, RenderOptions* options) {
  CLI::App app{
      "Runs INPUT (WAV, AIFF or FLAC; mono or stereo) through the TORVA cabinet and writes\n"
      "OUTPUT. Without INPUT an embedded guitar demo is rendered, and its dry signal is\n"
      "written beside OUTPUT as NAME-dry.wav. OUTPUT's file type follows its extension\n"
      "(.wav, .aif/.aiff, .flac), otherwise INPUT's; the sample format is INPUT's (the\n"
      "demo's: float, 24-bit in FLAC) unless --float or --double is given. Bad input exits\n"
      "with status 2.",
      "torva-render"};
  app.formatter(std::make_shared<UsageFormatter>());
  app.set_version_flag("--version", VersionText());
  app.option_defaults()->always_capture_default();

  double* values = options->settings.values;
  app.add_option("--mic", values[TORVA::kMic], "Mic Placement, 0 to 10")->check(kPlainValue);
  app.add_option("--size", values[TORVA::kSize], "Cabinet Size, 0 to 10")->check(kPlainValue);
  app.add_option("--character", values[TORVA::kCharacter], "Character, 0 to 10")->check(kPlainValue);
  app.add_option("--output", values[TORVA::kOutput], "Output (5 is unity gain), 0 to 10")
      ->check(kPlainValue);
  app.add_option("--bypass", values[TORVA::kBypass], "1 runs the cabinet, 0 copies the input")
      ->check(CLI::IsMember({"0", "1"}));
  app.add_option("--block", options->blockSize, "Frames per processing call")
      ->check(CLI::Range(1, 65536));
  std::vector<std::string> ramps;
  // One ramp per occurrence, so that the files after it stay positionals.
  app.add_option("--automate", ramps,
                 "NAME=V@T,V@T,...: a linear ramp of plain values over time in seconds;\n"
                 "NAME is mic, size, character or output (repeatable)")
      ->expected(1)
      ->allow_extra_args(false)
      ->take_all();
  auto* asFloat = app.add_flag("--float", "Write 32-bit float samples");
  auto* asDouble = app.add_flag("--double", "Write 64-bit float samples");
  asFloat->excludes(asDouble);
  app.add_option("--tail", options->tailSeconds, "Seconds of silence processed after the input")
      ->check(kTail);
  auto* response = app.add_option("--response", options->responsePath,
                 "Also write a magnitude-response plot (SVG) at these settings");
  std::vector<std::string> files;
  app.add_option("OUTPUT", files,
                 "[INPUT] OUTPUT: the file to process (none: the demo), then the file to write")
      ->type_name("FILE")
      ->default_str("")
      ->required()
      ->expected(1, 2);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::string message = e.what();
    if (message.empty()) message = e.get_name();
    // One line on stderr, whatever CLI11 formats.
    for (char& c : message) {
      if (c == '\n') c = ' ';
    }
    while (!message.empty() && message.back() == ' ') message.pop_back();
    return Fail(message + " (see --help)");
  }

  try {
    bool seen[TORVA::kNumParams] = {};
    for (const std::string& text : ramps) {
      ParameterRamp ramp = ParameterRamp::Parse(text);
      if (seen[ramp.ParamIndex()]) throw BadInput("--automate " + ramp.Name() + " is given twice");
      seen[ramp.ParamIndex()] = true;
      options->ramps.push_back(std::move(ramp));
    }
  } catch (const BadInput& e) {
    return Fail(e.what());
  }
  if (*asFloat) options->sampleFormat = RenderOptions::SampleFormat::Float;
  if (*asDouble) options->sampleFormat = RenderOptions::SampleFormat::Double;
  options->outputPath = files.back();
  if (files.size() == 2) options->inputPath = files.front();
  if (options->outputPath.empty()) return Fail("OUTPUT must not be empty");
  if (files.size() == 2 && options->inputPath.empty()) return Fail("INPUT must not be empty");
  if (*response && options->responsePath.empty()) return Fail("--response needs a file name");
  return -1;
}
