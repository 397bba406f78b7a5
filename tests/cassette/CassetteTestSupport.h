// Shared helpers of the cassette tests: a throw-away folder per test under $TMPDIR, a cassette
// builder that writes the file byte by byte without using the code under test, small file
// mutation helpers, and an I/O fault injector that fails one chosen operation.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "cassette/Cassette.h"
#include "cassette/File.h"

namespace kiv::test {

using Bytes = std::vector<uint8_t>;

// The clock every test cassette reads: 5 December 2026, 14:03:59.
inline const LocalTime kClockTime{2026, 12, 5, 14, 3, 59};
inline const std::string kClockName = "255%05.12.2026|65280%14:03:59";

// The 128-byte name field as the format fixes it: text, CR, spaces up to byte 124, FC FC FC FC.
inline Bytes NameField(const std::string& text) {
  Bytes field(128, 0x20);
  std::copy(text.begin(), text.end(), field.begin());
  field[text.size()] = 0x0D;
  std::fill(field.begin() + 124, field.end(), 0xFC);
  return field;
}

class CassetteBuilder {
 public:
  CassetteBuilder& Sound(size_t count, uint8_t value) {
    bytes_.insert(bytes_.end(), count, value);
    return *this;
  }
  CassetteBuilder& Raw(const Bytes& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
  }
  CassetteBuilder& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(uint8_t(v >> (8 * i)));
    return *this;
  }
  CassetteBuilder& Table(uint32_t rate = 11025) { return U32(0xFEFEFEFE).U32(rate); }
  CassetteBuilder& Entry(uint32_t number, uint32_t start, uint32_t end,
                         const std::string& name = kClockName) {
    return EntryWithField(number, start, end, NameField(name));
  }
  CassetteBuilder& EntryWithField(uint32_t number, uint32_t start, uint32_t end,
                                  const Bytes& field) {
    return U32(number).U32(start).U32(end).Raw(field);
  }
  size_t size() const { return bytes_.size(); }
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

inline Bytes Flipped(Bytes bytes, size_t offset, uint8_t mask) {
  bytes.at(offset) ^= mask;
  return bytes;
}

inline Bytes Truncated(const Bytes& bytes, size_t length) {
  return Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min(length, bytes.size())));
}

inline Bytes Slice(const Bytes& bytes, size_t from, size_t count) {
  return Bytes(bytes.begin() + std::ptrdiff_t(from), bytes.begin() + std::ptrdiff_t(from + count));
}

inline uint32_t U32At(const Bytes& bytes, size_t offset) {
  return uint32_t(bytes.at(offset)) | uint32_t(bytes.at(offset + 1)) << 8 |
         uint32_t(bytes.at(offset + 2)) << 16 | uint32_t(bytes.at(offset + 3)) << 24;
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
  size_t common = std::min(actual.size(), expected.size());
  for (size_t i = 0; i < common; ++i) {
    if (actual[i] != expected[i]) {
      return ::testing::AssertionFailure()
             << "first difference at offset " << i << ": 0x" << std::hex << int(actual[i])
             << " instead of 0x" << int(expected[i]) << std::dec << " (sizes " << actual.size()
             << " and " << expected.size() << ")";
    }
  }
  if (actual.size() != expected.size()) {
    return ::testing::AssertionFailure()
           << "size " << actual.size() << " instead of " << expected.size();
  }
  return ::testing::AssertionSuccess();
}

// Fails the n-th file operation (counting from 1) of the given kinds, and only that one.
class FailNthOperation : public IoFaults {
 public:
  FailNthOperation(int n, std::set<IoOp> ops) : n_(n), ops_(std::move(ops)) {}
  bool ShouldFail(IoOp op, const std::string&) override {
    if (ops_.count(op) == 0) return false;
    if (++seen_ != n_) return false;
    fired_ = true;
    return true;
  }
  bool fired() const { return fired_; }

 private:
  int n_;
  std::set<IoOp> ops_;
  int seen_ = 0;
  bool fired_ = false;
};

// Installs a fault injector for the lifetime of the guard.
class ScopedIoFaults {
 public:
  explicit ScopedIoFaults(IoFaults* faults) { SetIoFaults(faults); }
  ~ScopedIoFaults() { SetIoFaults(nullptr); }
  ScopedIoFaults(const ScopedIoFaults&) = delete;
  ScopedIoFaults& operator=(const ScopedIoFaults&) = delete;
};

// A fresh folder under $TMPDIR per test with data/ (the default cassette's folder), tmp/ (the
// pack files) and cassettes/ (files the tests open by path).
class CassetteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                          "/kivrec-cassette-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern + "/";
    for (const char* sub : {"data", "tmp", "cassettes"})
      std::filesystem::create_directory(root_ + sub);
  }
  void TearDown() override {
    SetIoFaults(nullptr);
    std::filesystem::remove_all(root_);
  }

  CassetteEnvironment Env() const {
    return CassetteEnvironment{root_ + "data/", root_ + "tmp/", [] { return kClockTime; }};
  }
  std::string DataFolder() const { return root_ + "data/"; }
  std::string TempFolder() const { return root_ + "tmp/"; }
  std::string DefaultPath() const { return root_ + "data/kivrec.cst"; }
  std::string CassettesFolder() const { return root_ + "cassettes/"; }
  std::string PathIn(const std::string& name) const { return root_ + "cassettes/" + name; }

  std::string root_;
};

}  // namespace kiv::test
