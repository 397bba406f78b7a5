// A File whose bytes live in memory: the wave streams over a memory block, the fuzz targets and
// the tests read and write through it exactly as through a file on disk. Writing past the end
// grows it; the owner can take the bytes out at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cassette/File.h"

namespace kiv::convert {

class MemoryFile final : public File {
 public:
  explicit MemoryFile(std::vector<uint8_t> bytes = {}, std::string name = "memory")
      : File(std::move(name)), bytes_(std::move(bytes)) {}

  uint64_t Length() const override { return bytes_.size(); }
  bool ReadAt(uint64_t offset, void* data, size_t size) const override;
  bool WriteAt(uint64_t offset, const void* data, size_t size) override;
  bool Truncate(uint64_t length) override;
  bool Sync() override { return true; }

  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace kiv::convert
