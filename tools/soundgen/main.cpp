// kivrec-soundgen: makes the recorder's sounds.
//
//   kivrec-soundgen <program folder>
//       writes limit.wav into <program folder> (the build uses <build>/bin)
//
// Plain C++, no Qt and no display: the same numbers give the same bytes on every run, so the
// build can remake the file whenever the generator changes and nothing binary is kept in the
// repository.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "Chime.h"
#include "WavFile.h"

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& message) {
  std::fprintf(stderr, "kivrec-soundgen: %s\n", message.c_str());
  return 1;
}

// Writes beside the target and renames over it, so a reader never sees half a file.
bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  fs::path partial = path;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) return false;
  }
  std::error_code error;
  fs::rename(partial, path, error);
  return !error;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The recorder plays what is on disk; a file that reads back as anything but the sound just
// made fails the build here rather than sounding wrong later.
std::string CheckReadBack(const fs::path& path, const soundgen::MonoSound& made) {
  const std::optional<soundgen::MonoSound> read = soundgen::ReadWavFile(ReadFile(path));
  if (!read) return path.string() + " does not read back as a 16-bit mono WAV file";
  if (read->rate != made.rate || read->samples != made.samples) {
    return path.string() + " reads back different from the sound written";
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '-') {
    std::fputs("usage: kivrec-soundgen <program folder>\n", stderr);
    return 2;
  }
  const fs::path folder = argv[1];
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return Fail("cannot make " + folder.string());

  const soundgen::MonoSound limit = soundgen::LimitSound();
  const fs::path path = folder / "limit.wav";
  if (!WriteFile(path, soundgen::WavFileBytes(limit))) return Fail("cannot write " + path.string());
  const std::string problem = CheckReadBack(path, limit);
  return problem.empty() ? 0 : Fail(problem);
}
