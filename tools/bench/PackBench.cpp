// Measures packing a full ten-minute cassette against a plain copy of a file of the same size.
//
// A cassette of 20 messages filling the capacity is built in a fresh folder under $TMPDIR, its
// first message is marked deleted, and the pack that follows is timed beside a chunked copy of
// the whole cassette with the same final sync. The medians of all rounds close the table; the
// goal is a ratio of at most 1.2. Run: build/bin/kivrec-bench-pack [rounds]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cassette/Cassette.h"
#include "cassette/File.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string MakeFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kivrec-bench-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  return pattern + "/";
}

// Records `messages` messages that together fill the cassette's capacity.
void FillCassette(kiv::Cassette& cassette, int messages) {
  const uint32_t capacity = kiv::RecordCapacity(kiv::kDefaultRate);
  std::vector<uint8_t> sound(capacity / messages - kiv::kEntrySize);
  for (size_t i = 0; i < sound.size(); ++i) sound[i] = uint8_t(128 + (i * 7) % 64);
  for (int m = 0; m < messages; ++m) {
    if (!cassette.BeginRecording().ok() || !cassette.WriteSound(sound.data(), sound.size()).ok() ||
        !cassette.EndRecording(true).ok()) {
      std::fprintf(stderr, "cannot build the cassette\n");
      std::exit(1);
    }
  }
}

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "%s failed\n", what);
  std::exit(1);
}

double PlainCopy(const std::string& from, const std::string& to) {
  kiv::FileSystem& files = kiv::FileSystem::Default();
  const auto start = Clock::now();
  std::unique_ptr<kiv::File> in;
  std::unique_ptr<kiv::File> out;
  Require(files.Open(from, kiv::File::Mode::ReadOnly, &in).ok(), "opening the cassette");
  Require(files.Open(to, kiv::File::Mode::CreateReadWrite, &out).ok(), "creating the copy");
  std::vector<uint8_t> chunk(kiv::kCopyChunk);
  const uint64_t length = in->Length();
  for (uint64_t at = 0; at < length; at += chunk.size()) {
    size_t size = size_t(std::min<uint64_t>(chunk.size(), length - at));
    Require(in->ReadAt(at, chunk.data(), size) && out->WriteAt(at, chunk.data(), size), "copying");
  }
  Require(out->Sync(), "syncing the copy");
  return Seconds(start);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string folder = MakeFolder();
  kiv::CassetteEnvironment env{folder, kiv::SystemLocalTime};
  kiv::FileSystem& files = kiv::FileSystem::Default();

  std::vector<double> packs;
  std::vector<double> copies;
  std::printf("round  cassette bytes  pack s  plain copy s  ratio\n");
  for (int round = 1; round <= rounds; ++round) {
    kiv::Cassette cassette(env);
    if (!cassette.CreateBlankCassette(folder + "bench.cst").ok()) return 1;
    FillCassette(cassette, 20);
    const uint64_t size = files.Size(folder + "bench.cst");
    double copy = PlainCopy(folder + "bench.cst", folder + "copy.bin");

    Require(cassette.DeleteEntry(1).ok() && cassette.SelectMessage(1).ok(), "deleting message 1");
    const auto start = Clock::now();
    kiv::Status status = cassette.PackCassette();
    const double pack = Seconds(start);
    if (!status.ok()) {
      std::fprintf(stderr, "pack failed: %s\n", status.message().c_str());
      return 1;
    }
    std::printf("%5d  %14llu  %6.3f  %12.3f  %5.2f\n", round, (unsigned long long)size, pack, copy,
                copy > 0 ? pack / copy : 0.0);
    packs.push_back(pack);
    copies.push_back(copy);
    cassette.CloseStream();
  }
  const double pack = Median(packs);
  const double copy = Median(copies);
  std::printf("median %14s  %6.3f  %12.3f  %5.2f  (goal <= 1.20)\n", "", pack, copy,
              copy > 0 ? pack / copy : 0.0);
  Require(files.Remove(folder + "bench.cst") && files.Remove(folder + "copy.bin") &&
              rmdir(folder.c_str()) == 0,
          "removing the benchmark folder");
  return 0;
}
