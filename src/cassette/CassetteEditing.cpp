// Renaming, deleting and packing messages, and listing them.
#include <algorithm>
#include <vector>

#include "cassette/Cassette.h"
#include "cassette/File.h"

namespace kiv {
namespace {

uint64_t EntryOffset(const MessageTable& table, size_t index) {
  return table.pos + kTableHeadSize + uint64_t(index) * kEntrySize;
}

// Index of the live entry numbered `number`, or entries.size().
size_t IndexOfLive(const MessageTable& table, uint32_t number) {
  const MessageEntry* entry = table.FindLive(number);
  return entry ? size_t(entry - table.entries.data()) : table.entries.size();
}

}  // namespace

Status Cassette::WriteTableBody(const MessageTable& table) {
  std::vector<uint8_t> body(table.entries.size() * kEntrySize);
  for (size_t i = 0; i < table.entries.size(); ++i) table.entries[i].EncodeTo(&body[i * kEntrySize]);
  if (!stream_->WriteAt(EntryOffset(table, 0), body.data(), body.size()) || !stream_->Sync()) {
    return Status::Error(StatusCode::IoError, "Cannot write the message table of " + cassettePath_);
  }
  return Status::Ok();
}

Status Cassette::RenameMessage(uint32_t k, const std::string& text) {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  MessageTable table;
  Status status = ReadTable(TableSearch::Bounded, &table);
  if (!status.ok()) return status;
  const size_t index = IndexOfLive(table, k);
  if (index == table.entries.size()) {
    return Status::Error(StatusCode::NotFound, "No message " + std::to_string(k));
  }
  std::string note;
  auto field = EncodeNameField(RenamedNameText(table.entries[index].NameText(), text, tag1_, &note));
  if (!stream_->WriteAt(EntryOffset(table, index) + kEntryHeadSize, field.data(), field.size()) ||
      !stream_->Sync()) {
    return Status::Error(StatusCode::IoError, "Cannot write the name of message " + std::to_string(k));
  }
  if (k == currentMessage_) currentNote_ = note;
  return Status::Ok();
}

Status Cassette::DeleteEntry(uint32_t k) {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  MessageTable table;
  Status status = ReadTable(TableSearch::Bounded, &table);
  if (!status.ok()) return status;
  const size_t index = IndexOfLive(table, k);
  if (index == table.entries.size()) {
    return Status::Error(StatusCode::NotFound, "No message " + std::to_string(k));
  }
  const uint32_t count = table.LiveCount();
  table.entries[index].number = kDeletedNumber;
  for (size_t i = index + 1; i < table.entries.size(); ++i) {
    uint32_t& number = table.entries[i].number;
    if (!IsLiveNumber(number)) continue;
    const uint32_t was = number--;
    if (was == count) break;
  }
  return WriteTableBody(table);
}

Status Cassette::DeleteMessage(const PackProgress& progress) {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  if (messageCount_ == 0) return Status::Ok();
  const uint32_t next = currentMessage_ == messageCount_ ? std::max(currentMessage_ - 1, 1u)
                                                         : currentMessage_;
  Status status = DeleteEntry(currentMessage_);
  if (!status.ok()) return status;
  if (messageCount_ == 1) {
    // The only message: what is left is a blank cassette under the same name.
    return CreateBlankCassette(cassettePath_);
  }
  --messageCount_;
  status = SelectMessage(next);
  if (!status.ok()) return status;
  return PackCassette(progress);
}

Status Cassette::DeleteAllMessages() {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  if (cassettePath_.empty()) return Status::Error(StatusCode::Refused, "No cassette is open");
  return CreateBlankCassette(cassettePath_);
}

Status Cassette::CopyRange(uint64_t start, uint64_t end, File& to, uint64_t at,
                           std::vector<uint8_t>& chunk, uint64_t* done, uint64_t total,
                           const PackProgress& progress) {
  while (start < end) {
    const size_t size = size_t(std::min<uint64_t>(kCopyChunk, end - start));
    if (chunk.size() < size) chunk.resize(size);
    if (!stream_->ReadAt(start, chunk.data(), size) || !to.WriteAt(at, chunk.data(), size)) {
      return Status::Error(StatusCode::IoError, "Cannot copy from " + cassettePath_ + " to " + to.path());
    }
    start += size;
    at += size;
    *done += size;
    if (progress) progress(PackStage::Packing, *done, total);
  }
  return Status::Ok();
}

// Writes the live messages' sound back to back into `packed`, then a table that points into it.
Status Cassette::WritePacked(File& packed, const MessageTable& table, const PackProgress& progress,
                             uint64_t* size, uint32_t* newStart, uint32_t* newEnd,
                             uint32_t* entries) {
  // The table is small (the bounded search keeps it under 70000 bytes), so it is built in memory
  // while the sound is copied and written once after it.
  std::vector<uint8_t> packedTable(kTableHeadSize);
  PutU32(packedTable.data(), kTableMarker);
  PutU32(packedTable.data() + 4, table.rate);
  const uint64_t total = table.pos;
  uint64_t done = 0;
  uint64_t soundLength = 0;
  // One buffer for every message, grown to the largest piece once rather than made per message.
  std::vector<uint8_t> chunk;
  *newStart = messageStart_;
  *newEnd = messageEnd_;
  *entries = 0;
  if (progress) progress(PackStage::Packing, 0, total);
  for (const MessageEntry& entry : table.entries) {
    const uint64_t start = table.SoundStart(entry);
    const uint64_t end = table.SoundEnd(entry);
    if (!IsLiveNumber(entry.number)) {
      done += end - start;
      if (progress) progress(PackStage::Packing, done, total);
      continue;
    }
    MessageEntry moved = entry;
    moved.start = uint32_t(soundLength);
    Status status = CopyRange(start, end, packed, soundLength, chunk, &done, total, progress);
    if (!status.ok()) return status;
    soundLength += end - start;
    moved.end = uint32_t(soundLength);
    auto bytes = moved.Encode();
    packedTable.insert(packedTable.end(), bytes.begin(), bytes.end());
    ++*entries;
    if (entry.number == currentMessage_) {
      *newStart = moved.start;
      *newEnd = moved.end;
    }
  }
  if (progress) progress(PackStage::Packing, total, total);

  // What is left is small to write but slow to make durable: the table, the sync and the swap.
  *size = soundLength + packedTable.size();
  if (progress) progress(PackStage::Copying, soundLength, *size);
  if (!packed.WriteAt(soundLength, packedTable.data(), packedTable.size()) || !packed.Sync()) {
    return Status::Error(StatusCode::IoError, "Cannot write " + packed.path());
  }
  return Status::Ok();
}

Status Cassette::PackCassette(const PackProgress& progress) {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  MessageTable table;
  Status status = ReadTable(TableSearch::Bounded, &table);
  if (!status.ok()) return status;

  // The packed cassette is completed beside the old one and only then takes its name, so the old
  // cassette stays whole until the new one is entirely on disk.
  const std::string packedPath = cassettePath_ + ".packing";
  std::unique_ptr<File> packed;
  status = files_.Open(packedPath, File::Mode::CreateReadWrite, &packed);
  // A file that could not be opened may be another program's pack in progress: left alone.
  if (!status.ok()) return status;
  uint64_t packedSize = 0;
  uint32_t newStart = 0;
  uint32_t newEnd = 0;
  uint32_t entries = 0;
  status = WritePacked(*packed, table, progress, &packedSize, &newStart, &newEnd, &entries);
  packed.reset();
  // Windows cannot rename over a file that is open, so the old cassette is let go first; the
  // stream opens again on demand, the new file's or, after a failure, the old one's.
  stream_.reset();
  if (status.ok() && !files_.Replace(packedPath, cassettePath_)) {
    status = Status::Error(StatusCode::IoError, "Cannot replace " + cassettePath_);
  }
  if (!status.ok()) {
    // The half-made file is ours and worthless; if it cannot go, the next pack empties it.
    (void)files_.Remove(packedPath);
    return status;
  }
  if (progress) progress(PackStage::Copying, packedSize, packedSize);

  status = EnsureStreamOpen();
  if (!status.ok()) return status;
  cassetteLength_ = uint32_t(packedSize);
  tableEntries_ = entries;
  messageStart_ = newStart;
  messageEnd_ = newEnd;
  head_.SelectMessage(messageStart_, messageEnd_);
  return Status::Ok();
}

std::vector<std::string> Cassette::SelectorLines() {
  std::vector<std::string> lines;
  MessageTable table;
  if (!ReadTable(TableSearch::Unbounded, &table).ok()) return lines;
  uint32_t index = 0;
  for (const MessageEntry& entry : table.entries) {
    if (!IsLiveNumber(entry.number)) continue;
    lines.push_back(SelectorLine(++index, entry.NameText(), uint32_t(table.SoundLength(entry) / baseRate_)));
  }
  return lines;
}

std::string Cassette::NameTextOfMessage(uint32_t k) {
  MessageTable table;
  if (!ReadTable(TableSearch::Unbounded, &table).ok()) return {};
  const MessageEntry* entry = table.FindLive(k);
  return entry ? entry->NameText() : std::string();
}

}  // namespace kiv
