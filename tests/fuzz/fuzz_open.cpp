// Fuzzes opening a cassette file, with or without a recording sidecar beside it: open (with its
// recovery and fallback to a blank cassette), selection, listing, the remaining time and the
// read-only report. Afterwards the selected message must lie inside the file.
//
// Input layout: byte 0 bit 0 = a sidecar exists; bytes 1..2 = its length (little-endian, cut
// to what is left); the sidecar is taken from the end of the rest, the cassette is the remainder.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzRequire.h"
#include "cassette/Cassette.h"
#include "cassette/CassetteReport.h"
#include "cassette/File.h"

namespace {

// One folder for the whole run, made on first use under $TMPDIR and removed at exit. The name
// is never freed, so the exit handler can still read it after static destructors have run.
const std::string& Folder() {
  static const std::string* folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kivrec-fuzz-open-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) __builtin_trap();
    // libFuzzer ends a timed run with exit(), so the folder goes with it.
    std::atexit([] { std::filesystem::remove_all(Folder()); });
    return new std::string(pattern + "/");
  }();
  return *folder;
}

void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

void RequireSelectionInside(const kiv::Cassette& cassette) {
  if (!cassette.CassetteLoaded()) return;
  uint64_t length = std::filesystem::file_size(cassette.CassettePath());
  Require(cassette.MessageStart() <= cassette.MessageEnd());
  Require(cassette.MessageEnd() <= length);
  Require(cassette.Head().Position() <= length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  bool withSidecar = (data[0] & 1) != 0;
  size_t sidecarSize = withSidecar ? std::min<size_t>(size - 3, data[1] | size_t(data[2]) << 8) : 0;
  const uint8_t* cassetteBytes = data + 3;
  size_t cassetteSize = size - 3 - sidecarSize;

  // Backups and the default cassette from earlier inputs must not pile up.
  std::filesystem::remove_all(Folder());
  std::filesystem::create_directories(Folder());
  std::string path = Folder() + "fuzz.cst";
  WriteBytes(path, cassetteBytes, cassetteSize);
  if (withSidecar) WriteBytes(kiv::Cassette::SidecarPathFor(path), cassetteBytes + cassetteSize, sidecarSize);

  kiv::Cassette cassette({Folder(), [] { return kiv::LocalTime{2026, 12, 5, 14, 3, 59}; }});
  kiv::OpenOutcome outcome = cassette.OpenCassette(path);
  bool opened = outcome == kiv::OpenOutcome::Opened || outcome == kiv::OpenOutcome::Recovered;
  RequireSelectionInside(cassette);
  if (opened) {
    uint32_t count = std::min<uint32_t>(cassette.MessageCount(), 16);
    for (uint32_t k = 1; k <= count; ++k) {
      // A damaged entry may refuse selection; the selection must stay inside the file either way.
      (void)cassette.SelectMessage(k);
      RequireSelectionInside(cassette);
    }
    cassette.SelectorLines();
  }
  cassette.RemainingTimeHint(false);
  cassette.CloseStream();

  kiv::CassetteReport report;
  if (kiv::InspectCassette(cassette.CassettePath(), &report).ok()) {
    Require(report.length == std::filesystem::file_size(cassette.CassettePath()));
    Require(!report.table || report.table->pos + 8 <= report.length);
    Require(!opened || !report.table || cassette.MessageEnd() <= report.table->pos);
  }
  return 0;
}
