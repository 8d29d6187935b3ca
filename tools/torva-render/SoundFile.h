#pragma once
#include <sndfile.h>

#include <string>
#include <vector>

// An audio file opened through libsndfile, closed on destruction. Samples
// travel as interleaved doubles, full scale ±1.
class SoundFile {
 public:
  // Opens an existing file for reading. Throws BadInput when it is missing,
  // unreadable or not an audio format libsndfile knows.
  static SoundFile OpenForReading(const std::string& path);
  // Creates `path` for writing with the given format (SF_FORMAT_* major |
  // subtype). Throws BadInput when the combination cannot be written and
  // RenderFailure when the file cannot be created. Samples beyond full scale
  // are clipped in integer formats rather than wrapped around.
  // `shownName` is the name messages use (the final name of a staged file).
  static SoundFile CreateForWriting(const std::string& path, const std::string& shownName,
                                    int format, int channels, int sampleRate);

  SoundFile(SoundFile&& other) noexcept;
  SoundFile& operator=(SoundFile&&) = delete;
  SoundFile(const SoundFile&) = delete;
  ~SoundFile();

  int Channels() const { return info_.channels; }
  int SampleRate() const { return info_.samplerate; }
  long long Frames() const { return static_cast<long long>(info_.frames); }
  int Format() const { return info_.format; }

  // Reads up to `frames` frames; returns how many were read (0 at the end).
  long long Read(double* interleaved, long long frames);
  // Writes all `frames` frames or throws RenderFailure.
  void Write(const double* interleaved, long long frames);
  // Flushes and closes; throws RenderFailure when the data could not be written.
  void Close();

 private:
  SoundFile(SNDFILE* file, const SF_INFO& info, std::string path)
      : file_(file), info_(info), path_(std::move(path)) {}

  SNDFILE* file_ = nullptr;
  SF_INFO info_{};
  std::string path_;
};

// The major format for an output name by its extension (wav, aif/aiff, flac),
// or `fallback` when the extension says nothing.
int MajorFormatForName(const std::string& path, int fallback);
