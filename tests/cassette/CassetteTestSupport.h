// Shared helpers of the cassette tests: a throw-away folder per test under $TMPDIR, a cassette
// builder that writes the file byte by byte without using the code under test, small file
// helpers, and the sweep that fails each disk operation of a step in turn.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "FaultyFileSystem.h"
#include "cassette/Cassette.h"
#include "cassette/File.h"

namespace kiv {

// The tests' own look at the disk, apart from the FileSystem under test.
inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace kiv

namespace kiv::test {

using Bytes = std::vector<uint8_t>;

// The clock every test cassette reads: 5 December 2026, 14:03:59.
inline const LocalTime kClockTime{2026, 12, 5, 14, 3, 59};
inline const std::string kClockName = "255%05.12.2026|65280%14:03:59";
// An empty cassette: the table marker and the rate 11025, nothing else.
inline const Bytes kBlank{0xFE, 0xFE, 0xFE, 0xFE, 0x11, 0x2B, 0x00, 0x00};

// The 128-byte name field: text, CR, spaces up to byte 124, then four terminator bytes (FC FC FC
// FC as the recorder writes them).
inline Bytes NameField(const std::string& text, uint8_t terminator = 0xFC) {
  Bytes field(128, 0x20);
  std::copy(text.begin(), text.end(), field.begin());
  field[text.size()] = 0x0D;
  std::fill(field.begin() + 124, field.end(), terminator);
  return field;
}

class CassetteBuilder {
 public:
  CassetteBuilder& Sound(size_t count, uint8_t value) { return Raw(Bytes(count, value)); }
  CassetteBuilder& Raw(const Bytes& more) { return bytes_.insert(bytes_.end(), more.begin(), more.end()), *this; }
  CassetteBuilder& U32(uint32_t v) { return Raw({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }
  CassetteBuilder& Table(uint32_t rate = 11025) { return U32(0xFEFEFEFE).U32(rate); }
  CassetteBuilder& Entry(uint32_t number, uint32_t start, uint32_t end,
                         const std::string& name = kClockName) {
    return EntryWithField(number, start, end, NameField(name));
  }
  CassetteBuilder& EntryWithField(uint32_t number, uint32_t start, uint32_t end, const Bytes& field) {
    return U32(number).U32(start).U32(end).Raw(field);
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

// One message of a hand-made cassette: its table number, sound length and fill byte.
struct Msg {
  uint32_t number;
  uint32_t length;
  uint8_t fill;
  std::string name = kClockName;
};

// The messages' sound back to back, then a table with one entry per message in the same order.
inline Bytes MakeCassette(const std::vector<Msg>& messages, uint32_t rate = 11025) {
  CassetteBuilder b;
  for (const Msg& m : messages) b.Sound(m.length, m.fill);
  b.Table(rate);
  uint32_t start = 0;
  for (const Msg& m : messages) {
    b.Entry(m.number, start, start + m.length, m.name);
    start += m.length;
  }
  return b.bytes();
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes Flipped(Bytes bytes, size_t offset, uint8_t mask) { return bytes.at(offset) ^= mask, bytes; }

inline Bytes Slice(const Bytes& bytes, size_t from, size_t count) {
  count = std::min(count, bytes.size() - std::min(from, bytes.size()));
  return Bytes(bytes.begin() + std::ptrdiff_t(from), bytes.begin() + std::ptrdiff_t(from + count));
}

// Names of the files in `folder`, sorted.
inline std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Compares two byte strings and says where they first differ, instead of printing both.
inline ::testing::AssertionResult SameBytes(const Bytes& actual, const Bytes& expected) {
  auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  if (a == actual.end() && e == expected.end()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "first difference at offset " << (a - actual.begin())
                                       << " (sizes " << actual.size() << " and " << expected.size() << ")";
}

// One run of a fault sweep: Faulted(op) performs `op` with the chosen disk operation failing;
// Fired() is false once a run got through without reaching it, which completes the sweep.
struct FaultRun {
  template <typename Op>
  auto Faulted(Op op) {
    files.Inject(&faults);
    auto result = op();
    files.Inject(nullptr);
    return result;
  }
  bool Fired() const { return faults.fired(); }
  FaultyFileSystem& files;
  FailNthOperation faults;
};

// A fresh folder under $TMPDIR per test with data/ (the default cassette's folder), tmp/ (which
// must stay empty) and cassettes/ (files the tests open by path).
class CassetteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // TMPDIR on POSIX, TMP or TEMP on Windows.
    const std::string base = std::filesystem::temp_directory_path().generic_string();
    std::random_device random;
    std::string folder;
    for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
      const std::string name = base + "/kivrec-cassette-" + std::to_string(random());
      if (std::filesystem::create_directory(name)) folder = name;
    }
    ASSERT_FALSE(folder.empty()) << "no fresh folder under " << base;
    root_ = folder + "/";
    for (const char* sub : {"data", "tmp", "cassettes"}) std::filesystem::create_directory(root_ + sub);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  CassetteEnvironment Env() { return CassetteEnvironment{root_ + "data/", [] { return kClockTime; }, &files_}; }
  std::string DataFolder() const { return root_ + "data/"; }
  std::string TempFolder() const { return root_ + "tmp/"; }
  std::string DefaultPath() const { return root_ + "data/kivrec.cst"; }
  std::string CassettesFolder() const { return root_ + "cassettes/"; }
  std::string PathIn(const std::string& name) const { return root_ + "cassettes/" + name; }

  // `bytes` written to `name` (and `sidecar` beside it unless empty), opened as `outcome`.
  std::string Put(Cassette& cassette, const std::string& name, const Bytes& bytes,
                  const Bytes& sidecar = {}, OpenOutcome outcome = OpenOutcome::Opened) {
    const std::string path = PathIn(name);
    cassette.CloseStream();  // as between two operations: Windows refuses a second writer
    WriteFile(path, bytes);
    std::filesystem::remove(Cassette::SidecarPathFor(path));
    if (!sidecar.empty()) WriteFile(Cassette::SidecarPathFor(path), sidecar);
    EXPECT_EQ(cassette.OpenCassette(path), outcome);
    return path;
  }

  // What a crash leaves on disk at this moment: the cassette and its sidecar, copied elsewhere.
  std::string CrashCopy(const std::string& path) {
    std::filesystem::remove_all(root_ + "crash");
    std::filesystem::create_directory(root_ + "crash");
    const std::string copy = root_ + "crash/" + std::filesystem::path(path).filename().string();
    std::filesystem::copy_file(path, copy);
    const std::string sidecar = Cassette::SidecarPathFor(path);
    if (FileExists(sidecar)) std::filesystem::copy_file(sidecar, Cassette::SidecarPathFor(copy));
    return copy;
  }

  // Runs `attempt` with the 1st, 2nd, ... disk operation failing until a run reaches no such
  // operation; every run must also keep the operations in a crash-safe order. Returns how many
  // runs had an operation fail.
  template <typename Attempt>
  int SweepFaults(Attempt attempt) {
    for (int n = 1; n <= 500; ++n) {
      SCOPED_TRACE("failing operation " + std::to_string(n));
      FaultRun run{files_, FailNthOperation(n)};
      attempt(run);
      EXPECT_EQ(files_.Unsafe(), "");
      if (!run.Fired() || HasFailure()) return n - 1;
    }
    ADD_FAILURE() << "the sweep did not end";
    return 0;
  }

  std::string root_;
  FaultyFileSystem files_;
};

}  // namespace kiv::test
