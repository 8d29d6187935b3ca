#include "tools/torva-render/SoundFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <utility>

#include "tools/torva-render/RenderError.h"

SoundFile SoundFile::OpenForReading(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw BadInput(path + ": is a folder, not an audio file");
  }
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) throw BadInput(path + ": " + sf_strerror(nullptr));
  return SoundFile(file, info, path);
}

SoundFile SoundFile::CreateForWriting(const std::string& path, const std::string& shownName,
                                      int format, int channels, int sampleRate) {
  SF_INFO info{};
  info.format = format;
  info.channels = channels;
  info.samplerate = sampleRate;
  if (!sf_format_check(&info)) {
    throw BadInput(shownName + ": this file type cannot hold that sample format "
                               "(choose a .wav or .aiff name, or another sample format)");
  }
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) throw RenderFailure(shownName + ": " + sf_strerror(nullptr));
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return SoundFile(file, info, shownName);
}

SoundFile::SoundFile(SoundFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), info_(other.info_), path_(std::move(other.path_)) {}

SoundFile::~SoundFile() {
  if (file_) sf_close(file_);
}

long long SoundFile::Read(double* interleaved, long long frames) {
  return static_cast<long long>(sf_readf_double(file_, interleaved, frames));
}

void SoundFile::Write(const double* interleaved, long long frames) {
  if (sf_writef_double(file_, interleaved, frames) != frames) {
    throw RenderFailure(path_ + ": " + sf_strerror(file_));
  }
}

void SoundFile::Close() {
  if (!file_) return;
  sf_write_sync(file_);
  const int status = sf_close(file_);
  file_ = nullptr;
  if (status != 0) throw RenderFailure(path_ + ": " + sf_error_number(status));
}

int MajorFormatForName(const std::string& path, int fallback) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return fallback;
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == "wav") return SF_FORMAT_WAV;
  if (ext == "aif" || ext == "aiff") return SF_FORMAT_AIFF;
  if (ext == "flac") return SF_FORMAT_FLAC;
  return fallback;
}
