// Reading the recording sidecar and deciding what an open must do with it.
#include "cassette/Sidecar.h"

#include <algorithm>

#include "cassette/File.h"

namespace kiv {
namespace {

// A sidecar is a table of at most a few hundred entries; anything far larger is not one.
constexpr uint64_t kSidecarSizeLimit = 16u << 20;

bool TailMatches(const File& cassette, uint64_t from, uint64_t size, const std::vector<uint8_t>& expected) {
  std::vector<uint8_t> tail(size_t(size), 0);
  return cassette.ReadAt(from, tail.data(), tail.size()) &&
         std::equal(tail.begin(), tail.end(), expected.begin());
}

}  // namespace

bool ReadWholeFile(FileSystem& files, const std::string& path, std::vector<uint8_t>* bytes) {
  std::unique_ptr<File> file;
  if (!files.Open(path, File::Mode::ReadOnly, &file).ok()) return false;
  uint64_t length = file->Length();
  if (length > kSidecarSizeLimit) return false;
  bytes->assign(size_t(length), 0);
  return file->ReadAt(0, bytes->data(), bytes->size());
}

bool ParseSidecar(const std::vector<uint8_t>& bytes, SidecarContent* content) {
  const uint64_t size = bytes.size();
  if (size < kTableHeadSize + kEntrySize || GetU32(bytes.data()) != kTableMarker) return false;
  if (!ReadTableFromBytes(bytes.data(), size, 0, &content->table) || !content->table.HasValidRate()) {
    return false;
  }
  // The open entry was appended last, so its end word is normally 132 bytes from the end; a
  // sidecar copied from a damaged table may be misaligned, hence the search.
  for (uint64_t p = size - 4 + 1; p-- > kTableHeadSize + 8;) {
    if (GetU32(bytes.data() + p) == kOpenEnd) {
      content->openEndOffset = p;
      content->openStart = GetU32(bytes.data() + p - 4);
      content->oldTableSize = p - 8;
      return true;
    }
  }
  return false;
}

SidecarVerdict JudgeSidecar(const std::vector<uint8_t>& sidecar, bool sidecarExists,
                            const File& cassette, uint64_t length,
                            const std::optional<MessageTable>& validTable) {
  if (!sidecarExists) return SidecarVerdict::None;
  SidecarContent content;
  if (!ParseSidecar(sidecar, &content)) return SidecarVerdict::Unusable;
  if (!validTable) return SidecarVerdict::Recover;

  const uint64_t pos = validTable->pos;
  // The table still stands where the recording began (nothing was captured), or somewhere a
  // later pack moved it: the cassette does not depend on the sidecar.
  if (pos <= content.openStart) return SidecarVerdict::Stale;

  // A table after the new sound: the recording was being ended. Compare what reached the disk
  // with the table the sidecar says was written back.
  const uint64_t tail = length - pos;
  const uint64_t compared = std::min(tail, content.oldTableSize);
  if (TailMatches(cassette, pos, compared, sidecar)) {
    if (tail < content.oldTableSize + kEntrySize) return SidecarVerdict::RecoverAfterTruncate;
    if (tail == content.oldTableSize + kEntrySize && !validTable->entries.empty() &&
        validTable->entries.back().start == content.openStart) {
      return SidecarVerdict::Stale;
    }
  }
  // Whatever the search found after the recording's start is not the table written back (sound
  // can hold the marker's bytes by chance): the sound since the start is the recording.
  return SidecarVerdict::Recover;
}

}  // namespace kiv
