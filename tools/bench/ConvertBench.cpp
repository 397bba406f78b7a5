// Measures the converter against the stock command-line tools doing the same work:
//  - export of a full ten-minute message to WAV, beside sox turning the same raw bytes into WAV;
//  - import of a ten-minute 44.1 kHz stereo MP3 onto a cassette, beside mpg123 decoding it and
//    sox resampling the decoded sound to the cassette's 8-bit mono at 11025 Hz (in one pipe).
//
// Everything is made at run time in a fresh folder under $TMPDIR: the cassette through the
// cassette store, the MP3 by our LAME encoder from a generated tone. The tools' times include
// their process start, as a user would pay it. Each side runs `rounds` times and the medians are
// compared; the goals are ratios of at most 1.0. Run: build/bin/kivrec-bench-convert [rounds]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "cassette/Cassette.h"
#include "convert/ACMConvertor.h"
#include "convert/Mp3Format.h"
#include "convert/ZCAConv.h"

namespace {

using Clock = std::chrono::steady_clock;
using kiv::convert::TZCAConv;

constexpr uint32_t kRate = 11025;
constexpr int kSeconds = 600;

[[noreturn]] void Die(const std::string& why) {
  std::fprintf(stderr, "kivrec-bench-convert: %s\n", why.c_str());
  std::exit(1);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double TimeRounds(int rounds, const std::function<void()>& run) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    run();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  return Median(times);
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) Die("failed: " + command);
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) Die("cannot write " + path);
}

// A ten-minute message of a spoken-voice-like sweep of tones, 8-bit unsigned.
std::vector<uint8_t> MessageSound() {
  std::vector<uint8_t> sound(size_t(kRate) * kSeconds);
  for (size_t i = 0; i < sound.size(); ++i) {
    const double t = double(i) / kRate;
    sound[i] = uint8_t(128 + std::lround(90 * std::sin(2 * std::numbers::pi * (300 + 200 * std::sin(t)) * t)));
  }
  return sound;
}

// Ten minutes of a 440 Hz tone, 44.1 kHz stereo, encoded at 128 kbit/s.
std::vector<uint8_t> Mp3Sound() {
  using namespace kiv::convert;
  TACMConvertor acm;
  acm.OnException = [](const std::string& text) { Die(text); };
  const TACMWaveFormat pcm = PcmFormat(2, 44100, 16);
  if (!acm.SetFormatIn(pcm).ok() || !acm.SetFormatOut(Mp3WaveFormat(2, 44100, 16000, {})).ok() ||
      !acm.SetInputBufferSize(1 << 16).ok()) {
    Die("cannot set up the MP3 encoder");
  }
  acm.SetActive(true);
  std::vector<uint8_t> mp3;
  const size_t frames = size_t(44100) * kSeconds;
  for (size_t frame = 0; frame < frames;) {
    auto* out = reinterpret_cast<int16_t*>(acm.InputBuffer());
    const size_t block = std::min<size_t>(acm.InputBufferSize() / 4, frames - frame);
    if (block * 4 != acm.InputBufferSize()) acm.ChangeInputBufferSize(uint32_t(block * 4));
    for (size_t i = 0; i < block; ++i, ++frame) {
      out[2 * i] = out[2 * i + 1] =
          int16_t(std::lround(12000 * std::sin(2 * std::numbers::pi * 440 * double(frame) / 44100)));
    }
    const uint32_t n = acm.Convert();
    mp3.insert(mp3.end(), acm.OutputBuffer(), acm.OutputBuffer() + n);
  }
  const uint32_t n = acm.Flush();
  mp3.insert(mp3.end(), acm.OutputBuffer(), acm.OutputBuffer() + n);
  return mp3;
}

// Runs one converter job and insists on its success.
void RunJob(const std::string& folder, const std::function<void(TZCAConv&)>& job) {
  kiv::convert::ZcaEnvironment env = kiv::convert::DefaultZcaEnvironment(folder);
  env.tempFolder = folder;
  TZCAConv zca(env);
  std::string texts;
  bool succeeded = false;
  zca.OnException = [&texts](const std::string& text) { texts += text + "\n"; };
  zca.OnConversionDone = [&succeeded](uint32_t w, uint32_t) { succeeded = w == TZCAConv::kDoneWParam; };
  job(zca);
  if (!succeeded) Die("the converter failed: " + texts);
}

void Row(const char* what, double ours, double theirs, const char* tool) {
  std::printf("%-44s %8.1f ms   %-14s %8.1f ms   ratio %.2f (goal <= 1.00)\n", what, ours * 1000,
              tool, theirs * 1000, ours / theirs);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/kivrec-bench-convert-XXXXXX";
  if (!mkdtemp(folder.data())) Die("cannot make a folder under $TMPDIR");
  folder += "/";

  // The message: recorded through the cassette store, and the same bytes as a raw file for sox.
  const std::vector<uint8_t> sound = MessageSound();
  const std::string cassettePath = folder + "bench.cst";
  {
    kiv::CassetteEnvironment env;
    env.dataFolder = folder;
    kiv::Cassette cassette(env);
    if (!cassette.CreateBlankCassette(cassettePath).ok() || !cassette.BeginRecording().ok() ||
        !cassette.WriteSound(sound.data(), sound.size()).ok() || !cassette.EndRecording(true).ok()) {
      Die("cannot record the message");
    }
  }
  WriteBytes(folder + "message.raw", sound);

  const double oursExport = TimeRounds(rounds, [&] {
    RunJob(folder, [&](TZCAConv& zca) {
      zca.SetChangeFrom(cassettePath);
      zca.SetChangeFromType("MSG");
      zca.SetChangeTo(folder + "ours.wav");
      zca.SetChangeToMessageEnd(int64_t(sound.size()));
      zca.DoExport("Kiv Sound Recorder Export", "bench", 1);
    });
  });
  const double soxExport = TimeRounds(rounds, [&] {
    Shell("sox -t raw -r 11025 -e unsigned-integer -b 8 -c 1 " + Quoted(folder + "message.raw") +
          " " + Quoted(folder + "sox.wav"));
  });

  const std::string mp3Path = folder + "tone.mp3";
  WriteBytes(mp3Path, Mp3Sound());
  const double oursImport = TimeRounds(rounds, [&] {
    std::filesystem::remove(folder + "import.cst");
    RunJob(folder, [&](TZCAConv& zca) {
      zca.SetChangeFrom(mp3Path);
      zca.SetChangeTo(folder + "import.cst");
      zca.DoImport();
    });
  });
  const double toolsImport = TimeRounds(rounds, [&] {
    Shell("mpg123 -q -s " + Quoted(mp3Path) +
          " | sox -t raw -r 44100 -e signed-integer -b 16 -c 2 - -r 11025 -e unsigned-integer -b 8 -c 1 " +
          Quoted(folder + "tools.wav"));
  });

  std::printf("Converter against the command-line tools, median of %d rounds\n", rounds);
  Row("export of a ten-minute message to WAV", oursExport, soxExport, "sox");
  Row("import of a ten-minute 44.1 kHz stereo MP3", oursImport, toolsImport, "mpg123 + sox");
  std::filesystem::remove_all(folder);
  return 0;
}
