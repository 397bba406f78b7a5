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

Status Cassette::CopyRange(const File& from, uint64_t start, uint64_t end, File& to, uint64_t at,
                           PackStage stage, uint64_t* done, uint64_t total,
                           const PackProgress& progress) {
  std::vector<uint8_t> chunk(size_t(std::min<uint64_t>(kCopyChunk, end - start)));
  while (start < end) {
    const size_t size = size_t(std::min<uint64_t>(kCopyChunk, end - start));
    if (!from.ReadAt(start, chunk.data(), size) || !to.WriteAt(at, chunk.data(), size)) {
      return Status::Error(StatusCode::IoError, "Cannot copy from " + from.path() + " to " + to.path());
    }
    start += size;
    at += size;
    *done += size;
    if (progress) progress(stage, *done, total);
  }
  return Status::Ok();
}

Status Cassette::PackCassette(const PackProgress& progress) {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  MessageTable table;
  Status status = ReadTable(TableSearch::Bounded, &table);
  if (!status.ok()) return status;

  const std::string packedPath = env_.tempFolder + "tmpc.tmp";
  const std::string tablePath = env_.tempFolder + "tmpf.tmp";
  const std::string swapPath = cassettePath_ + ".packing";
  auto cleanUp = [&] {
    RemoveFile(packedPath);
    RemoveFile(tablePath);
    RemoveFile(swapPath);
  };
  auto fail = [&](Status why) {
    cleanUp();
    return why;
  };

  auto packed = File::Open(packedPath, File::Mode::CreateReadWrite, &status);
  if (!packed) return fail(status);
  auto packedTable = File::Open(tablePath, File::Mode::CreateReadWrite, &status);
  if (!packedTable) return fail(status);

  uint8_t head[kTableHeadSize];
  PutU32(head, kTableMarker);
  PutU32(head + 4, table.rate);
  if (!packedTable->WriteAt(0, head, sizeof head)) {
    return fail(Status::Error(StatusCode::IoError, "Cannot write " + tablePath));
  }

  // Sound of the live messages back to back, and a table that points into it.
  const uint64_t total = table.pos;
  uint64_t done = 0;
  uint64_t packedLength = 0;
  uint64_t tableLength = kTableHeadSize;
  uint32_t newStart = messageStart_;
  uint32_t newEnd = messageEnd_;
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
    moved.start = uint32_t(packedLength);
    status = CopyRange(*stream_, start, end, *packed, packedLength, PackStage::Packing, &done, total,
                       progress);
    if (!status.ok()) return fail(status);
    packedLength += end - start;
    moved.end = uint32_t(packedLength);
    auto bytes = moved.Encode();
    if (!packedTable->WriteAt(tableLength, bytes.data(), bytes.size())) {
      return fail(Status::Error(StatusCode::IoError, "Cannot write " + tablePath));
    }
    tableLength += bytes.size();
    if (entry.number == currentMessage_) {
      newStart = moved.start;
      newEnd = moved.end;
    }
  }
  if (progress) progress(PackStage::Packing, total, total);
  uint64_t tableDone = 0;
  status = CopyRange(*packedTable, 0, tableLength, *packed, packedLength, PackStage::Packing,
                     &tableDone, tableLength, {});
  if (!status.ok()) return fail(status);
  packedTable.reset();
  RemoveFile(tablePath);

  // The packed cassette is completed beside the old one and only then takes its name, so the
  // old cassette stays whole until the new one is entirely on disk.
  const uint64_t packedSize = packedLength + tableLength;
  auto swap = File::Open(swapPath, File::Mode::CreateReadWrite, &status);
  if (!swap) return fail(status);
  uint64_t copied = 0;
  if (progress) progress(PackStage::Copying, 0, packedSize);
  status = CopyRange(*packed, 0, packedSize, *swap, 0, PackStage::Copying, &copied, packedSize,
                     progress);
  if (!status.ok()) return fail(status);
  if (!swap->Sync()) return fail(Status::Error(StatusCode::IoError, "Cannot write " + swapPath));
  swap.reset();
  packed.reset();
  if (!ReplaceFile(swapPath, cassettePath_)) {
    return fail(Status::Error(StatusCode::IoError, "Cannot replace " + cassettePath_));
  }
  cleanUp();

  // The old stream still reads the replaced file.
  stream_.reset();
  status = EnsureStreamOpen();
  if (!status.ok()) return status;
  cassetteLength_ = uint32_t(packedSize);
  tableEntries_ = uint32_t((tableLength - kTableHeadSize) / kEntrySize);
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

}  // namespace kiv
