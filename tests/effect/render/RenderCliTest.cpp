// The renderer as its users drive it: a child process per case.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "effect/TORVA.h"

namespace fs = std::filesystem;

namespace {

struct Audio {
  int channels = 0;
  int rate = 0;
  int format = 0;
  std::vector<double> samples;  // interleaved
  long long Frames() const { return channels ? static_cast<long long>(samples.size()) / channels : 0; }
};

struct RunResult {
  int status = -1;
  std::string err;
  std::string out;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class RenderCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("torva-render-test-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  RunResult Run(const std::vector<std::string>& args) const {
    std::string cmd = Quote(TORVA_RENDER_PATH);
    for (const std::string& a : args) cmd += " " + Quote(a);
    cmd += " >" + Quote(Path(".stdout")) + " 2>" + Quote(Path(".stderr"));
    const int raw = std::system(cmd.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = ReadFile(Path(".stderr"));
    r.out = ReadFile(Path(".stdout"));
    fs::remove(Path(".stdout"));
    fs::remove(Path(".stderr"));
    return r;
  }

  void Write(const std::string& name, const Audio& a) const {
    SF_INFO info{};
    info.channels = a.channels;
    info.samplerate = a.rate;
    info.format = a.format;
    SNDFILE* f = sf_open(Path(name).c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    if (a.Frames() > 0) sf_writef_double(f, a.samples.data(), a.Frames());
    sf_close(f);
  }

  Audio Read(const std::string& name) const {
    SF_INFO info{};
    Audio a;
    SNDFILE* f = sf_open(Path(name).c_str(), SFM_READ, &info);
    if (!f) return a;
    a.channels = info.channels;
    a.rate = info.samplerate;
    a.format = info.format;
    a.samples.resize(static_cast<size_t>(info.frames) * info.channels);
    sf_readf_double(f, a.samples.data(), info.frames);
    sf_close(f);
    return a;
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

Audio Noise(int channels, int rate, long long frames, int format, unsigned seed) {
  Audio a{channels, rate, format, {}};
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> d(-0.5, 0.5);
  a.samples.resize(static_cast<size_t>(frames) * channels);
  for (double& s : a.samples) s = d(rng);
  return a;
}

constexpr int kWavDouble = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;

// ---- Bad input: exit status 2, one line on stderr, no output left behind ----

struct BadCase {
  const char* what;
  std::vector<std::string> args;
};

TEST_F(RenderCli, BadInputFailsCleanly) {
  Write("mono.wav", Noise(1, 44100, 2000, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1));
  Write("float.wav", Noise(1, 44100, 2000, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2));
  Write("three.wav", Noise(3, 44100, 2000, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3));
  Write("empty.wav", Audio{2, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16, {}});
  std::ofstream(Path("garbage.wav")) << "this is not audio at all, just some words\n";
  fs::create_directories(Path("folder.wav"));
  std::ofstream(Path("keep.wav")) << "keep";
  const std::vector<std::string> before = Entries();

  const BadCase cases[] = {
      {"missing input", {Path("missing.wav"), Path("out.wav")}},
      {"not audio", {Path("garbage.wav"), Path("out.wav")}},
      {"a folder", {Path("folder.wav"), Path("out.wav")}},
      {"three channels", {Path("three.wav"), Path("out.wav")}},
      {"empty file", {Path("empty.wav"), Path("out.wav")}},
      {"float into FLAC", {Path("float.wav"), Path("out.flac")}},
      {"unknown option", {"--louder", Path("mono.wav"), Path("out.wav")}},
      {"too many files", {Path("mono.wav"), Path("mono.wav"), Path("out.wav")}},
      {"no files", {"--mic", "3"}},
      {"mic above 10", {"--mic", "10.01", Path("mono.wav"), Path("out.wav")}},
      {"size below 0", {"--size", "-0.5", Path("mono.wav"), Path("out.wav")}},
      {"character nan", {"--character", "nan", Path("mono.wav"), Path("out.wav")}},
      {"output not a number", {"--output", "loud", Path("mono.wav"), Path("out.wav")}},
      {"bypass 2", {"--bypass", "2", Path("mono.wav"), Path("out.wav")}},
      {"block 0", {"--block", "0", Path("mono.wav"), Path("out.wav")}},
      {"negative tail", {"--tail", "-1", Path("mono.wav"), Path("out.wav")}},
      {"float and double", {"--float", "--double", Path("mono.wav"), Path("out.wav")}},
      {"ramp without =", {"--automate", "mic", Path("mono.wav"), Path("out.wav")}},
      {"ramp empty", {"--automate", "mic=", Path("mono.wav"), Path("out.wav")}},
      {"ramp without time", {"--automate", "mic=5", Path("mono.wav"), Path("out.wav")}},
      {"ramp time missing", {"--automate", "mic=5@", Path("mono.wav"), Path("out.wav")}},
      {"ramp value above 10", {"--automate", "mic=11@0", Path("mono.wav"), Path("out.wav")}},
      {"ramp unknown name", {"--automate", "bypass=1@0", Path("mono.wav"), Path("out.wav")}},
      {"ramp backwards", {"--automate", "size=5@1,4@0.5", Path("mono.wav"), Path("out.wav")}},
      {"ramp negative time", {"--automate", "size=5@-1", Path("mono.wav"), Path("out.wav")}},
      {"ramp empty point", {"--automate", "size=5@0,,4@1", Path("mono.wav"), Path("out.wav")}},
      {"ramp twice", {"--automate", "size=5@0", "--automate", "size=4@0", Path("mono.wav"),
                      Path("out.wav")}},
      {"failure keeps an existing output", {"--mic", "12", Path("mono.wav"), Path("keep.wav")}},
      {"demo with a bad value", {"--mic", "99", Path("demo.wav")}},
      {"empty input name", {"", Path("out.wav")}},
      {"empty plot name", {"--response", "", Path("mono.wav"), Path("out.wav")}},
      {"output is a folder", {Path("mono.wav"), dir_.string()}},
      {"plot over the output", {"--response", Path("out.wav"), Path("mono.wav"), Path("out.wav")}},
      {"plot over the demo's dry file", {"--response", Path("demo-dry.wav"), Path("demo.wav")}},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.what);
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("torva-render: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(Entries(), before);  // nothing written, nothing half-written
  }
  EXPECT_EQ(ReadFile(Path("keep.wav")), "keep");
}

// ---- Frame counts, channel counts and sample formats ----

struct ShapeCase {
  int channels;
  int rate;
  long long frames;
  int format;
  std::vector<std::string> options;
  long long expectedFrames;
  int expectedSubtype;
};

TEST_F(RenderCli, OutputKeepsShapeAndAddsTheTail) {
  const ShapeCase cases[] = {
      {1, 44100, 1000, SF_FORMAT_WAV | SF_FORMAT_PCM_16, {}, 1000, SF_FORMAT_PCM_16},
      {2, 48000, 777, SF_FORMAT_WAV | SF_FORMAT_PCM_24, {"--block", "7"}, 777, SF_FORMAT_PCM_24},
      {2, 96000, 5000, SF_FORMAT_AIFF | SF_FORMAT_PCM_16, {"--float"}, 5000, SF_FORMAT_FLOAT},
      {1, 22050, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {"--tail", "0.5"}, 1 + 11025,
       SF_FORMAT_PCM_16},
      {2, 44100, 3000, SF_FORMAT_WAV | SF_FORMAT_FLOAT, {"--double", "--tail", "0.01", "--block",
       "1"}, 3000 + 441, SF_FORMAT_DOUBLE},
  };
  int n = 0;
  for (const ShapeCase& c : cases) {
    const std::string ext = (c.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_AIFF   ? ".aiff"
                            : (c.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC ? ".flac"
                                                                                : ".wav";
    const std::string in = "in" + std::to_string(n) + ext;
    const std::string out = "out" + std::to_string(n++) + ext;
    SCOPED_TRACE(in);
    Write(in, Noise(c.channels, c.rate, c.frames, c.format, 10 + n));
    std::vector<std::string> args = c.options;
    args.push_back(Path(in));
    args.push_back(Path(out));
    const RunResult r = Run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const Audio a = Read(out);
    EXPECT_EQ(a.channels, c.channels);
    EXPECT_EQ(a.rate, c.rate);
    EXPECT_EQ(a.Frames(), c.expectedFrames);
    EXPECT_EQ(a.format & SF_FORMAT_SUBMASK, c.expectedSubtype);
    EXPECT_EQ(a.format & SF_FORMAT_TYPEMASK, c.format & SF_FORMAT_TYPEMASK);
  }
}

TEST_F(RenderCli, MonoRunsLikeTheLeftChannelOfStereo) {
  const Audio mono = Noise(1, 48000, 9000, kWavDouble, 20);
  Audio stereo = Noise(2, 48000, 9000, kWavDouble, 21);
  for (long long f = 0; f < 9000; ++f) stereo.samples[2 * f] = mono.samples[f];
  Write("mono.wav", mono);
  Write("stereo.wav", stereo);
  ASSERT_EQ(Run({Path("mono.wav"), Path("mono-out.wav")}).status, 0);
  ASSERT_EQ(Run({Path("stereo.wav"), Path("stereo-out.wav")}).status, 0);
  const Audio m = Read("mono-out.wav"), s = Read("stereo-out.wav");
  ASSERT_EQ(m.Frames(), 9000);
  ASSERT_EQ(s.Frames(), 9000);
  for (long long f = 0; f < 9000; ++f) ASSERT_EQ(m.samples[f], s.samples[2 * f]) << f;
  EXPECT_NE(m.samples, mono.samples);  // the cabinet did something
}

TEST_F(RenderCli, BypassZeroCopiesTheInput) {
  const Audio in = Noise(2, 44100, 4000, kWavDouble, 30);
  Write("in.wav", in);
  ASSERT_EQ(Run({"--bypass", "0", Path("in.wav"), Path("out.wav")}).status, 0);
  EXPECT_EQ(Read("out.wav").samples, in.samples);
}

// The ramps reach the effect at every block start as the value at f / fs; the
// same effect driven that way in this process must give the same doubles.
TEST_F(RenderCli, AutomationSetsRampValuesAtBlockStarts) {
  const int rate = 48000, block = 100, frames = 30000;
  const Audio in = Noise(2, rate, frames, kWavDouble, 40);
  Write("in.wav", in);
  // A ramp right before the files must leave them to be the files.
  const RunResult r = Run({"--size", "2", "--block", "100", "--automate", "output=5@0,0@0.25",
                           "--automate", "mic=2@0.1,10@0.5", Path("in.wav"), Path("out.wav")});
  ASSERT_EQ(r.status, 0) << r.err;
  const Audio out = Read("out.wav");
  ASSERT_EQ(out.Frames(), frames);

  std::unique_ptr<TORVA> fx(static_cast<TORVA*>(CreatePluginInstance(nullptr)));
  ASSERT_TRUE(fx->Prepare(rate, block, 2));
  const double initial[5] = {0.0, 2.0, 5.0, 5.0, 1.0};
  for (int i = 0; i < 5; ++i) fx->SetPlainValue(i, initial[i]);
  std::vector<double> l(block), rr(block);
  for (int start = 0; start < frames; start += block) {
    const double t = static_cast<double>(start) / rate;
    const double output = t >= 0.25 ? 0.0 : 5.0 + (0.0 - 5.0) * (t / 0.25);
    const double mic = t <= 0.1 ? 2.0 : t >= 0.5 ? 10.0 : 2.0 + 8.0 * ((t - 0.1) / 0.4);
    fx->SetPlainValue(TORVA::kOutput, output);
    fx->SetPlainValue(TORVA::kMic, mic);
    for (int f = 0; f < block; ++f) {
      l[f] = in.samples[2 * (start + f)];
      rr[f] = in.samples[2 * (start + f) + 1];
    }
    double* io[2] = {l.data(), rr.data()};
    fx->Process(io, io, block);
    for (int f = 0; f < block; ++f) {
      ASSERT_EQ(out.samples[2 * (start + f)], l[f]) << start + f;
      ASSERT_EQ(out.samples[2 * (start + f) + 1], rr[f]) << start + f;
    }
  }
  // Output ramps to 0 by 0.25 s and the gain glides after it: silence at the end.
  EXPECT_LT(std::fabs(out.samples.back()), 1e-3);
}

TEST_F(RenderCli, DemoWritesProcessedAndDrySignalAndAPlot) {
  const RunResult r = Run({"--tail", "0.5", "--response", Path("plot.svg"), Path("demo-cab.wav")});
  ASSERT_EQ(r.status, 0) << r.err;
  const Audio wet = Read("demo-cab.wav"), dry = Read("demo-cab-dry.wav");
  EXPECT_EQ(wet.rate, 48000);
  EXPECT_EQ(dry.rate, 48000);
  ASSERT_GT(dry.Frames(), 48000 * 3);
  EXPECT_EQ(wet.Frames(), dry.Frames() + 24000);
  double peak = 0.0;
  for (double s : dry.samples) peak = std::max(peak, std::fabs(s));
  EXPECT_GT(peak, 0.1);
  EXPECT_LE(peak, 1.0);
  const std::string svg = ReadFile(Path("plot.svg"));
  EXPECT_EQ(svg.rfind("<svg", 0), 0u);
  EXPECT_NE(svg.find("Frequency (Hz)"), std::string::npos);
  EXPECT_NE(svg.find("Magnitude (dB)"), std::string::npos);
  EXPECT_NE(svg.find(">1k<"), std::string::npos);
  EXPECT_EQ(std::count(svg.begin(), svg.end(), '\n') > 20, true);
  size_t curves = 0;
  for (size_t at = svg.find("<path"); at != std::string::npos; at = svg.find("<path", at + 1)) ++curves;
  EXPECT_EQ(curves, 2u);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");

  // FLAC holds no float samples: the demo goes there as 24-bit integers.
  ASSERT_EQ(Run({Path("demo.flac")}).status, 0);
  EXPECT_EQ(Read("demo.flac").format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  EXPECT_EQ(Read("demo.flac").Frames(), dry.Frames());
}

TEST_F(RenderCli, HelpAndVersion) {
  const RunResult help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* word : {"--mic", "--automate", "--response", "--tail", "[INPUT] OUTPUT"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
  const RunResult version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "torva-render 1.0.0\n");
}

}  // namespace
