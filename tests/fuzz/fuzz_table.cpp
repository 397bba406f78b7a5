// Fuzzes the in-memory table readers: the marker search, the table and entry decoding, the
// recording sidecar parser, and the name texts derived from every entry's name field.
// Any property broken below is a bug; it traps so libFuzzer keeps the input.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzRequire.h"
#include "cassette/CassetteLayout.h"
#include "cassette/MessageName.h"
#include "cassette/MessageTable.h"
#include "cassette/Sidecar.h"

namespace {

void CheckNames(const kiv::MessageEntry& entry, uint32_t index) {
  std::string text = kiv::NameTextOfField(entry.name);
  Require(text.size() <= kiv::kNameSize);
  Require(text.find('\r') == std::string::npos);
  std::string note = kiv::NoteOf(text);
  Require(note.size() <= text.size());
  Require(kiv::DisplayText(text).size() <= text.size());
  kiv::SelectorLine(index, text, entry.Length() / 11025);

  // Renaming any stored name with any note fits the field, and the field reads back the text.
  std::string applied;
  std::string renamed = kiv::RenamedNameText(text, note + "|%\r\nx\r", "255%", &applied);
  Require(renamed.size() <= kiv::kNameTextLimit);
  Require(applied.find_first_of("|%\r\n") == std::string::npos);
  auto field = kiv::EncodeNameField(renamed);
  Require(field[kiv::kNameTerminatorOffset] == 0xFC && field[kiv::kNameSize - 1] == 0xFC);
  Require(kiv::NameTextOfField(field) == renamed);
}

void CheckTable(const uint8_t* data, size_t size, kiv::TableSearch search) {
  auto pos = kiv::FindTableMarker(data, size, search);
  if (!pos) return;
  Require(*pos + 4 <= size);
  Require(kiv::GetU32(data + *pos) == kiv::kTableMarker);
  // It is the last marker: none starts after it.
  for (uint64_t p = *pos + 1; p + 4 <= size; ++p) Require(kiv::GetU32(data + p) != kiv::kTableMarker);
  if (search == kiv::TableSearch::Bounded) Require(size - *pos <= kiv::kTableSearchSpan);

  kiv::MessageTable table;
  if (!kiv::ReadTableFromBytes(data, size, *pos, &table)) {
    Require(*pos + kiv::kTableHeadSize > size);
    return;
  }
  Require(table.pos == *pos);
  Require(table.ByteSize() == size - *pos);
  Require(table.trailingBytes < kiv::kEntrySize);
  uint32_t count = table.LiveCount();
  if (count > 0) Require(table.FindLive(count) != nullptr && table.FirstLive() != nullptr);
  table.HasInconsistentNumber();
  uint32_t index = 0;
  for (const kiv::MessageEntry& entry : table.entries) {
    if (!table.EntryRangeDamaged(entry)) Require(entry.start <= entry.end && entry.end <= *pos);
    CheckNames(entry, ++index);
    // Entries re-encode to the bytes they were read from.
    auto bytes = entry.Encode();
    const uint8_t* source = data + *pos + kiv::kTableHeadSize + (index - 1) * kiv::kEntrySize;
    Require(std::memcmp(bytes.data(), source, kiv::kEntrySize) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckTable(data, size, kiv::TableSearch::Bounded);
  CheckTable(data, size, kiv::TableSearch::Unbounded);

  std::vector<uint8_t> bytes(data, data + size);
  kiv::SidecarContent sidecar;
  if (kiv::ParseSidecar(bytes, &sidecar)) {
    Require(sidecar.openEndOffset + 4 <= size);
    Require(kiv::GetU32(data + sidecar.openEndOffset) == kiv::kOpenEnd);
    Require(sidecar.oldTableSize <= size);
    Require(!sidecar.table.entries.empty());
  }
  return 0;
}
