#include "tools/torva-render/Render.h"

#include <unistd.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "tools/torva-render/DemoSignal.h"
#include "tools/torva-render/PendingOutput.h"
#include "tools/torva-render/RenderError.h"
#include "tools/torva-render/ResponsePlot.h"
#include "tools/torva-render/SoundFile.h"

namespace {

// Progress is worth showing only for long inputs, and only to a person.
class Progress {
 public:
  Progress(long long totalFrames, int sampleRate)
      : total_(totalFrames), shown_(isatty(STDERR_FILENO) && totalFrames > 10LL * sampleRate) {}
  ~Progress() {
    if (shown_ && last_ >= 0) std::fprintf(stderr, "\n");
  }
  void Update(long long done) {
    if (!shown_) return;
    const int percent = static_cast<int>(100 * done / total_);
    if (percent == last_) return;
    last_ = percent;
    std::fprintf(stderr, "\rtorva-render: %3d%%", percent);
    std::fflush(stderr);
  }

 private:
  long long total_;
  bool shown_;
  int last_ = -1;
};

int OutputSubtype(RenderOptions::SampleFormat wanted, int inputFormat) {
  switch (wanted) {
    case RenderOptions::SampleFormat::Float: return SF_FORMAT_FLOAT;
    case RenderOptions::SampleFormat::Double: return SF_FORMAT_DOUBLE;
    default: return inputFormat & SF_FORMAT_SUBMASK;
  }
}

// Streams `source` (or nothing) plus `tailFrames` of silence through the
// effect into `sink`, one block at a time.
template <class ReadBlock>
void Stream(EffectRunner& runner, SoundFile& sink, long long tailFrames, long long expectedFrames,
            int sampleRate, ReadBlock readBlock) {
  const int channels = runner.Channels();
  std::vector<double> block(static_cast<size_t>(runner.BlockSize()) * channels);
  Progress progress(expectedFrames + tailFrames, sampleRate);
  long long done = 0;
  for (;;) {
    const long long n = readBlock(block.data(), runner.BlockSize());
    if (n <= 0) break;
    runner.ProcessBlock(block.data(), static_cast<int>(n));
    sink.Write(block.data(), n);
    done += n;
    progress.Update(done);
  }
  for (long long left = tailFrames; left > 0;) {
    const int n = static_cast<int>(std::min<long long>(left, runner.BlockSize()));
    std::fill(block.begin(), block.end(), 0.0);
    runner.ProcessBlock(block.data(), n);
    sink.Write(block.data(), n);
    left -= n;
    done += n;
    progress.Update(done);
  }
}

std::string DryPathFor(const std::string& output) {
  const size_t slash = output.find_last_of('/');
  const size_t dot = output.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? output.substr(0, dot) : output) + "-dry.wav";
}

// Every output must name a file of its own. Two outputs under one name would
// share one temporary file: the later would overwrite the earlier and the run
// would end with a wrong file in place.
void RefuseUnusableOutputNames(const std::vector<std::string>& paths) {
  std::vector<std::filesystem::path> seen;
  for (const std::string& path : paths) {
    std::error_code error;
    if ((!path.empty() && path.back() == '/') || std::filesystem::is_directory(path, error)) {
      throw BadInput(path + ": is a folder; name the file to write");
    }
    std::filesystem::path normal = std::filesystem::absolute(path, error).lexically_normal();
    if (error) normal = std::filesystem::path(path).lexically_normal();
    if (std::find(seen.begin(), seen.end(), normal) != seen.end()) {
      throw BadInput(path + ": named for two outputs (OUTPUT, its -dry.wav and --response "
                            "must be different files)");
    }
    seen.push_back(normal);
  }
}

std::string SettingsText(const EffectSettings& s) {
  char text[160];
  std::snprintf(text, sizeof text,
                "Mic Placement %.1f, Cabinet Size %.1f, Character %.1f, Output %.1f, Bypass %d "
                "(measured at 48 kHz)",
                s.values[TORVA::kMic], s.values[TORVA::kSize], s.values[TORVA::kCharacter],
                s.values[TORVA::kOutput], static_cast<int>(s.values[TORVA::kBypass]));
  return text;
}

}  // namespace

void Render(const RenderOptions& options) {
  std::vector<std::string> outputs = {options.outputPath};
  if (options.inputPath.empty()) outputs.push_back(DryPathFor(options.outputPath));
  if (!options.responsePath.empty()) outputs.push_back(options.responsePath);
  RefuseUnusableOutputNames(outputs);

  std::vector<std::unique_ptr<PendingOutput>> pending;
  auto stage = [&](const std::string& path) -> const std::string& {
    pending.push_back(std::make_unique<PendingOutput>(path));
    return pending.back()->TemporaryPath();
  };
  // The plot's file is created first, so that an unwritable place for it
  // fails the run before the audio is rendered, not after.
  std::ofstream plot;
  if (!options.responsePath.empty()) {
    plot.open(stage(options.responsePath), std::ios::binary | std::ios::trunc);
    if (!plot) throw RenderFailure(options.responsePath + ": cannot write");
  }

  if (options.inputPath.empty()) {
    const std::vector<double> dry = SynthesizeDemoGuitar();
    const int major = MajorFormatForName(options.outputPath, SF_FORMAT_WAV);
    // The demo's own sample format is float; FLAC holds integers only, and
    // 24 bits keep all the cabinet's output has to say.
    const int wetSubtype = OutputSubtype(
        options.sampleFormat, major == SF_FORMAT_FLAC ? SF_FORMAT_PCM_24 : SF_FORMAT_FLOAT);
    const std::string dryPath = DryPathFor(options.outputPath);
    SoundFile dryFile = SoundFile::CreateForWriting(
        stage(dryPath), dryPath, SF_FORMAT_WAV | OutputSubtype(options.sampleFormat, SF_FORMAT_FLOAT),
        1, kDemoSampleRate);
    dryFile.Write(dry.data(), static_cast<long long>(dry.size()));
    dryFile.Close();
    SoundFile wet = SoundFile::CreateForWriting(stage(options.outputPath), options.outputPath,
                                                major | wetSubtype, 1, kDemoSampleRate);
    EffectRunner runner(kDemoSampleRate, options.blockSize, 1, options.settings, options.ramps);
    size_t at = 0;
    Stream(runner, wet, std::llround(options.tailSeconds * kDemoSampleRate),
           static_cast<long long>(dry.size()), kDemoSampleRate,
           [&](double* block, int frames) -> long long {
             const size_t n = std::min(static_cast<size_t>(frames), dry.size() - at);
             std::copy(dry.begin() + at, dry.begin() + at + n, block);
             at += n;
             return static_cast<long long>(n);
           });
    wet.Close();
  } else {
    SoundFile in = SoundFile::OpenForReading(options.inputPath);
    if (in.Channels() != 1 && in.Channels() != 2) {
      throw BadInput(options.inputPath + ": " + std::to_string(in.Channels()) +
                     " channels; only mono and stereo files can be rendered");
    }
    if (in.Frames() <= 0) throw BadInput(options.inputPath + ": the file holds no audio");
    EffectRunner runner(in.SampleRate(), options.blockSize, in.Channels(), options.settings,
                        options.ramps);
    const int major = MajorFormatForName(options.outputPath, in.Format() & SF_FORMAT_TYPEMASK);
    SoundFile out = SoundFile::CreateForWriting(
        stage(options.outputPath), options.outputPath, major | OutputSubtype(options.sampleFormat, in.Format()),
        in.Channels(), in.SampleRate());
    Stream(runner, out, std::llround(options.tailSeconds * in.SampleRate()), in.Frames(),
           in.SampleRate(),
           [&](double* block, int frames) { return in.Read(block, frames); });
    out.Close();
  }

  if (plot.is_open()) {
    const std::string svg = ResponseSvg(MeasureResponse(options.settings, 48000.0),
                                        MeasureResponse(EffectSettings{}, 48000.0),
                                        SettingsText(options.settings));
    plot << svg;
    plot.close();
    if (!plot) throw RenderFailure(options.responsePath + ": cannot write");
  }

  for (auto& p : pending) p->Commit();
}
