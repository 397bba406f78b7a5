#include "convert/MemoryFile.h"

#include <cstring>

namespace kiv::convert {

bool MemoryFile::ReadAt(uint64_t offset, void* data, size_t size) const {
  if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
  if (size > 0) std::memcpy(data, bytes_.data() + offset, size);
  return true;
}

bool MemoryFile::WriteAt(uint64_t offset, const void* data, size_t size) {
  // A memory block is not a disk: refuse sizes no real file of this program reaches.
  constexpr uint64_t kLimit = uint64_t(1) << 32;
  if (offset > kLimit || size > kLimit - offset) return false;
  if (offset + size > bytes_.size()) bytes_.resize(offset + size);
  if (size > 0) std::memcpy(bytes_.data() + offset, data, size);
  return true;
}

bool MemoryFile::Truncate(uint64_t length) {
  if (length > (uint64_t(1) << 32)) return false;
  bytes_.resize(length);
  return true;
}

}  // namespace kiv::convert
