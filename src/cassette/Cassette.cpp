// Opening, selecting and recording on the cassette. Editing and packing live in
// CassetteEditing.cpp.
#include "cassette/Cassette.h"

#include <algorithm>
#include <utility>

#include "cassette/File.h"
#include "cassette/Sidecar.h"

namespace kiv {
namespace {

MessageEntry MakeEntry(uint32_t number, uint32_t start, uint32_t end,
                       const std::array<uint8_t, kNameSize>& name) {
  MessageEntry entry;
  entry.number = number;
  entry.start = start;
  entry.end = end;
  entry.name = name;
  return entry;
}

void AppendEntry(std::vector<uint8_t>* bytes, const MessageEntry& entry) {
  auto encoded = entry.Encode();
  bytes->insert(bytes->end(), encoded.begin(), encoded.end());
}

// Every whole entry of a table held in memory ends in FC FC FC FC again. The table's layout is
// known from its marker, so only terminator bytes are touched, never a name that happens to
// contain the terminator's byte value.
void RepairTerminators(std::vector<uint8_t>* table) {
  for (size_t at = kTableHeadSize; at + kEntrySize <= table->size(); at += kEntrySize) {
    PutU32(table->data() + at + kEntrySize - 4, kNameTerminator);
  }
}

}  // namespace

Cassette::Cassette(CassetteEnvironment env)
    : env_(std::move(env)), files_(env_.files ? *env_.files : FileSystem::Default()) {
  if (!env_.clock) env_.clock = SystemLocalTime;
}

Cassette::~Cassette() = default;

std::string Cassette::DefaultCassettePath() const { return env_.dataFolder + "kivrec.cst"; }

std::string Cassette::SidecarPathFor(const std::string& cassettePath) {
  if (cassettePath.size() < 3) return cassettePath + "zf";
  return cassettePath.substr(0, cassettePath.size() - 3) + "zf";
}

void Cassette::SetTickerColorTags(std::string tag1, std::string tag2) {
  tag1_ = std::move(tag1);
  tag2_ = std::move(tag2);
}

std::array<uint8_t, kNameSize> Cassette::NewName() const {
  return EncodeNameField(ClockNameText(env_.clock(), tag1_, tag2_));
}

Status Cassette::EnsureStreamOpen() {
  if (stream_) return Status::Ok();
  if (cassettePath_.empty()) return Status::Error(StatusCode::Refused, "No cassette is open");
  return files_.Open(cassettePath_, File::Mode::ReadWrite, &stream_);
}

void Cassette::CloseStream() {
  // A running recording writes through the stream until it ends.
  if (!recording_) stream_.reset();
}

Status Cassette::ReadSound(uint64_t offset, void* data, size_t size) {
  Status status = EnsureStreamOpen();
  if (!status.ok()) return status;
  // During a recording the old table still lies beyond the new sound until it is written back.
  const uint64_t soundEnd = recording_ ? writePos_ : stream_->Length();
  if (offset > soundEnd || size > soundEnd - offset) {
    return Status::Error(StatusCode::Refused, "No sound at offset " + std::to_string(offset) +
                                                  " of " + cassettePath_);
  }
  if (size == 0) return Status::Ok();
  if (!stream_->ReadAt(offset, data, size)) {
    return Status::Error(StatusCode::IoError, "Cannot read sound from " + cassettePath_);
  }
  return Status::Ok();
}

Status Cassette::ReadTable(TableSearch search, MessageTable* table) {
  Status status = EnsureStreamOpen();
  if (!status.ok()) return status;
  const uint64_t length = stream_->Length();
  std::optional<uint64_t> pos;
  // Offsets are 32-bit: nothing past 4 GiB can be a cassette.
  if (length <= UINT32_MAX) pos = FindTableMarker(*stream_, length, search);
  if (!pos) return Status::Error(StatusCode::NoTable, "No message table in " + cassettePath_);
  if (!ReadTableFromFile(*stream_, *pos, length, table)) {
    return Status::Error(StatusCode::IoError, "Cannot read the message table of " + cassettePath_);
  }
  if (!table->HasValidRate()) {
    return Status::Error(StatusCode::NoTable, "The message table of " + cassettePath_ +
                                                  " has no valid sample rate");
  }
  return Status::Ok();
}

void Cassette::UpdateNavigation() {
  nextEnabled_ = messageCount_ >= 2 && currentMessage_ < messageCount_;
  prevEnabled_ = messageCount_ >= 2 && currentMessage_ >= 2;
}

void Cassette::SetEmptyState(const char* label) {
  messageCount_ = currentMessage_ = messageStart_ = messageEnd_ = 0;
  head_.Clear();
  currentNote_.clear();
  messageLabel_ = label;
  UpdateNavigation();
}

void Cassette::ApplySelection(const MessageTable& table, const MessageEntry& entry) {
  currentMessage_ = entry.number;
  // A damaged entry must not send playback or export outside the sound area.
  messageEnd_ = uint32_t(table.SoundEnd(entry));
  messageStart_ = uint32_t(table.SoundStart(entry));
  head_.SelectMessage(messageStart_, messageEnd_);
  currentNote_ = NoteOf(entry.NameText());
  messageLabel_ = std::to_string(currentMessage_) + "/" + std::to_string(messageCount_);
  UpdateNavigation();
}

OpenOutcome Cassette::OpenCassette(const std::string& path,
                                   const std::function<void()>& recoveryNotice) {
  if (recording_) return OpenOutcome::CannotOpen;
  if (!files_.Exists(path)) return OpenOutcome::MissingFile;
  // Our own lock would refuse a second open of the same file.
  stream_.reset();
  std::unique_ptr<File> file;
  if (!files_.Open(path, File::Mode::ReadWrite, &file).ok()) return OpenOutcome::CannotOpen;

  stream_ = std::move(file);
  cassettePath_ = path;
  const uint64_t length = stream_->Length();
  cassetteLength_ = uint32_t(std::min<uint64_t>(length, UINT32_MAX));
  head_.Clear();
  cassetteInconsistent_ = false;

  std::optional<MessageTable> valid;
  {
    MessageTable table;
    if (ReadTable(TableSearch::Bounded, &table).ok()) valid = std::move(table);
  }

  const std::string sidecarPath = SidecarPathFor(path);
  const bool sidecarExists = files_.Exists(sidecarPath);
  std::vector<uint8_t> sidecar;
  // A sidecar that cannot be read stays empty and is judged unusable, so it is left alone.
  if (sidecarExists) (void)ReadWholeFile(files_, sidecarPath, &sidecar);

  bool recovered = false;
  const SidecarVerdict verdict = JudgeSidecar(sidecar, sidecarExists, *stream_, length, valid);
  switch (verdict) {
    case SidecarVerdict::Stale:
      // Everything it knows is in the cassette. Should it stay, the next open judges it stale
      // again.
      (void)files_.Remove(sidecarPath);
      break;
    case SidecarVerdict::RecoverAfterTruncate:
    case SidecarVerdict::Recover:
      if (recoveryNotice) recoveryNotice();
      // A half-written table after the sound is cut off; the sidecar holds all of it.
      if (verdict == SidecarVerdict::RecoverAfterTruncate && !stream_->Truncate(valid->pos)) {
        return OpenOutcome::CannotOpen;
      }
      if (!MergeSidecar(sidecar).ok()) return OpenOutcome::CannotOpen;
      recovered = true;
      break;
    case SidecarVerdict::None:
    case SidecarVerdict::Unusable:
      break;
  }

  MessageTable table;
  if (!ReadTable(TableSearch::Unbounded, &table).ok() || (!valid && !recovered)) {
    return ReplaceWithDefaultBlank().ok() ? OpenOutcome::ReplacedByBlank : OpenOutcome::CannotOpen;
  }

  baseRate_ = table.rate;
  head_.SetBaseRate(baseRate_);
  tableEntries_ = uint32_t(table.entries.size());
  cassetteLength_ = uint32_t(stream_->Length());
  cassetteLoaded_ = true;
  if (recovered || table.HasInconsistentNumber()) cassetteInconsistent_ = true;
  messageCount_ = table.LiveCount();
  const MessageEntry* first = messageCount_ > 0 ? table.FirstLive() : nullptr;
  if (first) {
    ApplySelection(table, *first);
  } else {
    SetEmptyState("0 / 0");
  }
  return recovered ? OpenOutcome::Recovered : OpenOutcome::Opened;
}

Status Cassette::MergeSidecar(const std::vector<uint8_t>& sidecar) {
  SidecarContent content;
  if (!ParseSidecar(sidecar, &content)) {
    return Status::Error(StatusCode::Damaged, "The recording sidecar is damaged");
  }
  const uint64_t length = stream_->Length();
  // The old table's whole entries, the interrupted message, the recovery entry: for a sidecar
  // as the recording wrote it these are its own bytes. One that was cut short or misaligned is
  // rebuilt on entry boundaries, so every entry can be read back as one.
  const uint64_t openEntryAt = content.openEndOffset - 8;
  const uint64_t oldTable = openEntryAt - (openEntryAt - kTableHeadSize) % kEntrySize;
  std::vector<uint8_t> bytes(sidecar.begin(), sidecar.begin() + ptrdiff_t(oldTable));
  MessageEntry interrupted;
  if (openEntryAt + kEntrySize <= sidecar.size()) {
    interrupted = MessageEntry::Decode(sidecar.data() + openEntryAt);
  } else {
    interrupted = MakeEntry(GetU32(sidecar.data() + openEntryAt), content.openStart, 0, NewName());
  }
  // The interrupted message ends where the sound that reached the disk ends.
  interrupted.end = uint32_t(length);
  AppendEntry(&bytes, interrupted);
  AppendEntry(&bytes, MakeEntry(kRecoveryNumber, 0, 0, NewName()));
  if (!stream_->WriteAt(length, bytes.data(), bytes.size()) || !stream_->Sync()) {
    // Take back what may have reached the file, so the next open finds the same situation; if
    // even that fails, the sidecar still describes the recording.
    (void)stream_->Truncate(length);
    return Status::Error(StatusCode::IoError, "Cannot write the recovered table to " + cassettePath_);
  }
  // The cassette is complete now. A sidecar that cannot be removed is merged once more at the next
  // open, which repeats the interrupted message but loses nothing.
  (void)files_.Remove(SidecarPathFor(cassettePath_));
  cassetteInconsistent_ = true;
  return Status::Ok();
}

Status Cassette::BackupFile(const std::string& path) {
  // A blank cassette (or nothing at all) holds nothing worth keeping.
  if (!files_.Exists(path) || files_.Size(path) <= kTableHeadSize) return Status::Ok();
  for (int n = 0; n < 1000; ++n) {
    std::string name = path + ".damaged" + (n == 0 ? std::string() : "." + std::to_string(n));
    switch (files_.MoveNoReplace(path, name)) {
      case MoveResult::Moved:
        lastBackup_ = name;
        return Status::Ok();
      case MoveResult::TargetTaken:
        continue;
      case MoveResult::Failed:
        return Status::Error(StatusCode::IoError, "Cannot keep a copy of " + path);
    }
  }
  return Status::Error(StatusCode::IoError, "Cannot keep a copy of " + path);
}

Status Cassette::ReplaceWithDefaultBlank() {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  stream_.reset();
  const std::string path = DefaultCassettePath();
  Status status = BackupFile(path);
  if (!status.ok()) return status;
  cassettePath_ = path;
  baseRate_ = kDefaultRate;
  head_.SetBaseRate(baseRate_);
  return CreateBlankCassette(path);
}

Status Cassette::CreateBlankCassette(const std::string& path) {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  stream_.reset();
  std::unique_ptr<File> file;
  Status status = files_.Open(path, File::Mode::CreateReadWrite, &file);
  if (!status.ok()) return status;
  uint8_t head[kTableHeadSize];
  PutU32(head, kTableMarker);
  PutU32(head + 4, baseRate_);
  if (!file->WriteAt(0, head, sizeof head) || !file->Sync()) {
    return Status::Error(StatusCode::IoError, "Cannot write " + path);
  }
  stream_ = std::move(file);
  cassettePath_ = path;
  cassetteLength_ = kTableHeadSize;
  tableEntries_ = 0;
  cassetteInconsistent_ = false;
  cassetteLoaded_ = true;
  SetEmptyState("0/0");
  return Status::Ok();
}

Status Cassette::SelectMessage(uint32_t k) {
  MessageTable table;
  Status status = ReadTable(TableSearch::Bounded, &table);
  if (!status.ok()) return status;
  const MessageEntry* entry = table.FindLive(k);
  if (!entry) return Status::Error(StatusCode::NotFound, "No message " + std::to_string(k));
  tableEntries_ = uint32_t(table.entries.size());
  ApplySelection(table, *entry);
  return Status::Ok();
}

Status Cassette::NextMessage() {
  if (currentMessage_ >= messageCount_) return Status::Error(StatusCode::Refused, "No next message");
  return SelectMessage(currentMessage_ + 1);
}

Status Cassette::PreviousMessage() {
  if (currentMessage_ <= 1) return Status::Error(StatusCode::Refused, "No previous message");
  return SelectMessage(currentMessage_ - 1);
}

Status Cassette::BeginRecording() {
  if (recording_) return Status::Error(StatusCode::Refused, "A recording is running");
  BeforeRecording before;
  before.streamClosed = stream_ == nullptr;
  before.messageStart = messageStart_;
  before.tablePos = tablePos_;
  before.writePos = writePos_;
  before.tableCopy = tableCopy_;
  MessageTable table;
  Status status = ReadTable(TableSearch::Bounded, &table);
  if (!status.ok()) return status;
  // Kept as it is on disk, damage and all, since the file is to be the same if the recording
  // is abandoned. The bounded search keeps it below 70000 bytes.
  before.fileLength = stream_->Length();
  before.tableOnDisk.assign(size_t(before.fileLength - table.pos), 0);
  if (!stream_->ReadAt(table.pos, before.tableOnDisk.data(), before.tableOnDisk.size())) {
    return Status::Error(StatusCode::IoError, "Cannot read the message table of " + cassettePath_);
  }

  // A partial entry at the end of a damaged table is no entry; copied along it would shift the
  // new entry off the 140-byte grid and make it unreadable.
  tableCopy_.assign(size_t(table.ByteSize() - table.trailingBytes), 0);
  if (!stream_->ReadAt(table.pos, tableCopy_.data(), tableCopy_.size())) {
    return Status::Error(StatusCode::IoError, "Cannot read the message table of " + cassettePath_);
  }
  // The sidecar must hold exactly the bytes that the end of the recording writes back, so
  // recovery can recognise a write-back that was cut short.
  RepairTerminators(&tableCopy_);
  tablePos_ = uint32_t(table.pos);
  recordingNumber_ = table.LiveCount() + 1;

  std::vector<uint8_t> sidecar = tableCopy_;
  AppendEntry(&sidecar, MakeEntry(recordingNumber_, tablePos_, kOpenEnd, NewName()));
  const std::string sidecarPath = SidecarPathFor(cassettePath_);
  std::unique_ptr<File> file;
  status = files_.Open(sidecarPath, File::Mode::CreateReadWrite, &file);
  if (!status.ok()) return status;
  // The sidecar must be on disk before the first sound byte overwrites the table.
  if (!file->WriteAt(0, sidecar.data(), sidecar.size()) || !file->Sync()) {
    file.reset();
    // Nothing was recorded; a sidecar left behind starts where the table still stands, which the
    // next open judges stale.
    (void)files_.Remove(sidecarPath);
    return Status::Error(StatusCode::IoError, "Cannot write " + sidecarPath);
  }
  messageStart_ = tablePos_;
  writePos_ = tablePos_;
  recording_ = true;
  tailTried_ = false;
  beforeRecording_ = std::move(before);
  return Status::Ok();
}

Status Cassette::WriteSound(const uint8_t* data, size_t size) {
  if (!recording_) return Status::Error(StatusCode::Refused, "No recording is running");
  if (writePos_ + size > UINT32_MAX) return Status::Error(StatusCode::Refused, "The cassette is full");
  if (!stream_->WriteAt(writePos_, data, size)) {
    return Status::Error(StatusCode::IoError, "Cannot write sound to " + cassettePath_);
  }
  writePos_ += size;
  return Status::Ok();
}

Status Cassette::EndRecording(bool autoRewindOnStop) {
  return FinishRecording(NewName(), autoRewindOnStop, false);
}

Status Cassette::EndRecordingWithNote(const std::string& note) {
  const std::string clockName = ClockNameText(env_.clock(), tag1_, tag2_);
  return FinishRecording(EncodeNameField(RenamedNameText(clockName, note, tag1_)), true, true);
}

Status Cassette::FinishRecording(const std::array<uint8_t, kNameSize>& name, bool autoRewindOnStop,
                                 bool keepRecordingOnFailure) {
  if (!recording_) return Status::Error(StatusCode::Refused, "No recording is running");
  recording_ = keepRecordingOnFailure;
  const uint32_t end = uint32_t(writePos_);
  std::vector<uint8_t> tail = tableCopy_;
  AppendEntry(&tail, MakeEntry(recordingNumber_, tablePos_, end, name));
  const uint64_t newLength = writePos_ + tail.size();
  tailTried_ = true;
  // Until this is durable the sidecar is the only complete description of the tape: it stays
  // in place on any failure and the next open recovers from it.
  if (!stream_->WriteAt(writePos_, tail.data(), tail.size()) ||
      (stream_->Length() > newLength && !stream_->Truncate(newLength)) || !stream_->Sync()) {
    return Status::Error(StatusCode::IoError, "Cannot write the message table of " + cassettePath_);
  }
  recording_ = false;
  // The table and entry are durable; a sidecar left behind matches them and is judged stale at
  // the next open.
  (void)files_.Remove(SidecarPathFor(cassettePath_));

  messageCount_ = recordingNumber_;
  currentMessage_ = messageCount_;
  tableEntries_ = uint32_t((tableCopy_.size() - kTableHeadSize) / kEntrySize + 1);
  messageStart_ = tablePos_;
  messageEnd_ = end;
  currentNote_ = NoteOf(NameTextOfField(name));
  cassetteLength_ = uint32_t(newLength);
  head_.SelectMessage(messageStart_, messageEnd_);
  if (!autoRewindOnStop) head_.SeekToEnd();
  messageLabel_ = std::to_string(currentMessage_) + "/" + std::to_string(messageCount_);
  UpdateNavigation();
  return Status::Ok();
}

Status Cassette::AbandonRecording() {
  if (!recording_) return Status::Error(StatusCode::Refused, "No recording is running");
  recording_ = false;
  // With nothing written the file is as it was; only the sidecar has to go. Should putting the
  // table back fail, the sidecar stays for the next open to judge.
  const Status status = writePos_ > tablePos_ || tailTried_ ? PutOldTableBack() : Status::Ok();
  // The old table stands where the sidecar's recording starts, so a sidecar that cannot be
  // removed is judged stale at the next open.
  if (status.ok()) (void)files_.Remove(SidecarPathFor(cassettePath_));

  // The old messages' sound lies before the recording's start whatever happened after it, so
  // the selection is right either way.
  BeforeRecording before = std::move(beforeRecording_);
  beforeRecording_ = BeforeRecording();
  messageStart_ = before.messageStart;
  tablePos_ = before.tablePos;
  writePos_ = before.writePos;
  tableCopy_ = std::move(before.tableCopy);
  if (before.streamClosed) stream_.reset();
  return status;
}

Status Cassette::PutOldTableBack() {
  const std::vector<uint8_t>& table = beforeRecording_.tableOnDisk;
  const uint64_t length = beforeRecording_.fileLength;
  // The marker goes back last: until it is there the file has no table at the recording's
  // start and the sidecar is what a crash is recovered from. Written first, it would make the
  // sound still lying where the entries belong pass for entries.
  const bool restored =
      stream_->WriteAt(tablePos_ + 4, table.data() + 4, table.size() - 4) &&
      (stream_->Length() <= length || stream_->Truncate(length)) && stream_->Sync() &&
      stream_->WriteAt(tablePos_, table.data(), 4) && stream_->Sync();
  if (!restored) {
    return Status::Error(StatusCode::IoError,
                         "Cannot put the message table of " + cassettePath_ + " back");
  }
  return Status::Ok();
}

std::string Cassette::RemainingTimeHint(bool recordPaused) const {
  if (recording_ && !recordPaused) return {};
  const std::string full = RemainingTimeText(0, baseRate_);
  if (messageCount_ == 0 && !recording_) return full;

  // Read-only and shared: the hint must never disturb the stream an operation holds.
  MessageTable table;
  if (recording_) {
    std::vector<uint8_t> sidecar;
    if (!ReadWholeFile(files_, SidecarPathFor(cassettePath_), &sidecar) ||
        !ReadTableFromBytes(sidecar.data(), sidecar.size(), 0, &table)) {
      return full;
    }
    // Its entries point into the cassette's sound, which ended where the table stood.
    table.pos = tablePos_;
  } else {
    std::unique_ptr<File> file;
    if (!files_.Open(cassettePath_, File::Mode::ReadOnly, &file).ok()) return full;
    const uint64_t length = file->Length();
    auto pos = FindTableMarker(*file, length, TableSearch::Bounded);
    if (!pos || !ReadTableFromFile(*file, *pos, length, &table)) return full;
  }
  uint64_t used = table.UsedSoundBytes(messageCount_);
  if (recording_) used += writePos_ - tablePos_;
  return RemainingTimeText(used, baseRate_);
}

RecordStartCheck Cassette::CheckRecordStart(double freeMiB) {
  RecordStartFacts facts;
  facts.inconsistent = cassetteInconsistent_;
  facts.recordCapacity = recordCapacity_;
  facts.freeMiB = freeMiB;
  if (EnsureStreamOpen().ok()) facts.fileLength = stream_->Length();
  MessageTable table;
  if (!facts.inconsistent && ReadTable(TableSearch::Bounded, &table).ok()) {
    facts.tableEntries = table.entries.size();
  }
  return DecideRecordStart(facts);
}

RunningCheck Cassette::CheckRunningRecording(double freeMiB) const {
  const uint64_t length = stream_ ? stream_->Length() : files_.Size(cassettePath_);
  return DecideRunningRecording(freeMiB, length, recordCapacity_);
}

}  // namespace kiv
