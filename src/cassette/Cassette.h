// The open cassette: its file, the selected message and every operation that reads or writes the
// file (open with recovery, blank, select, record, rename, delete, pack).
//
// The front panel owns one Cassette and shows what it reports; nothing here draws or asks. The
// file is opened on demand with other writers denied (`CassetteStream`) and stays open until the
// caller ends its operation with CloseStream(), so other programs can use the file in between.
// The table is never cached: every operation finds and reads it again.
//
// Guarantees kept against crashes and I/O errors:
//  - a recording is recoverable at every moment: the sidecar is durable before the first sound
//    byte is written and is removed only after the table and the new entry are durable;
//  - an abandoned recording puts the old table back marker last and removes the sidecar only
//    once the table is durable, so until then the sidecar still describes the file;
//  - a pack builds the new cassette completely beside the old one (`<cassette>.packing`), syncs
//    it and swaps it in with a rename, so a failure at any step leaves the old cassette as it was
//    and removes the half-made file;
//  - a file that has to be replaced by a blank cassette is first kept under a backup name.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cassette/Capacity.h"
#include "cassette/CassetteLayout.h"
#include "cassette/File.h"
#include "cassette/MessageName.h"
#include "cassette/MessageTable.h"
#include "cassette/PlayHead.h"
#include "cassette/Status.h"

namespace kiv {

enum class OpenOutcome {
  Opened,           // a valid table was found
  Recovered,        // an interrupted recording was merged from the sidecar
  MissingFile,      // "Can't find specified file: " + path
  CannotOpen,       // "File is not available: " + path
  ReplacedByBlank,  // no table and no sidecar: the default cassette was made blank
};

// Packing: the live messages' sound is gathered into the new file. Copying: its table is written
// and the file made durable and swapped in.
enum class PackStage { Packing, Copying };
// Called after every chunk: stage, bytes done, bytes in all.
using PackProgress = std::function<void(PackStage, uint64_t, uint64_t)>;

struct CassetteEnvironment {
  std::string dataFolder;  // with trailing separator; holds the default cassette
  Clock clock = SystemLocalTime;
  // Every file operation goes here; never null. Outlives the Cassette.
  FileSystem* files = &FileSystem::Default();
};

class Cassette {
 public:
  explicit Cassette(CassetteEnvironment env);
  ~Cassette();
  Cassette(const Cassette&) = delete;
  Cassette& operator=(const Cassette&) = delete;

  // ---- The mirrored fields --------------------------------------------------------------
  const std::string& CassettePath() const { return cassettePath_; }
  bool CassetteStreamClosed() const { return stream_ == nullptr; }
  uint32_t BaseRate() const { return baseRate_; }
  uint32_t MessageCount() const { return messageCount_; }
  uint32_t CurrentMessage() const { return currentMessage_; }
  uint32_t MessageStart() const { return messageStart_; }
  uint32_t MessageEnd() const { return messageEnd_; }
  uint32_t TablePos() const { return tablePos_; }
  const std::vector<uint8_t>& TableCopy() const { return tableCopy_; }
  const std::string& CurrentNote() const { return currentNote_; }
  bool CassetteInconsistent() const { return cassetteInconsistent_; }
  uint32_t CassetteLength() const { return cassetteLength_; }
  bool CassetteLoaded() const { return cassetteLoaded_; }
  bool NextEnabled() const { return nextEnabled_; }
  bool PrevEnabled() const { return prevEnabled_; }
  bool Recording() const { return recording_; }
  // Entries of the table as the last operation read or wrote it, deleted ones included: an
  // empty cassette whose messages were all deleted still has some.
  uint32_t TableEntryCount() const { return tableEntries_; }
  // "3/7" for a selected message; "0 / 0" for an empty cassette after open, "0/0" after a blank
  // cassette was made or the last message deleted.
  const std::string& MessageLabelText() const { return messageLabel_; }
  // The default cassette: the data folder + "kivrec.cst".
  std::string DefaultCassettePath() const;
  static std::string SidecarPathFor(const std::string& cassettePath);

  // The play head in the selected message. Selecting a message, ending a recording and a pack
  // move it here; playback and the transport move it through its own operations.
  const PlayHead& Head() const { return head_; }
  PlayHead& Head() { return head_; }

  // Colours 1 and 2 of the skin, stored inside every name written from now on.
  void SetTickerColorTags(std::string tag1, std::string tag2);
  const std::string& TickerColorTag1() const { return tag1_; }

  // ---- Opening --------------------------------------------------------------------------
  // Opens `path` as the current cassette; `recoveryNotice` is called before an interrupted
  // recording is merged, so the panel can say so first. The stream is left open.
  OpenOutcome OpenCassette(const std::string& path, const std::function<void()>& recoveryNotice = {});
  // Creates or empties `path` and makes it the current, empty cassette.
  Status CreateBlankCassette(const std::string& path);
  // The fallback when the open cassette has no table: the default cassette, made blank. Whatever
  // was in that file is kept under a backup name first.
  Status ReplaceWithDefaultBlank();
  // The name of the last backup taken of a file before it was replaced, "" when none.
  const std::string& LastBackupPath() const { return lastBackup_; }

  Status EnsureStreamOpen();
  void CloseStream();
  // Reads `size` bytes of sound at `offset` for playback, opening the stream if it is closed.
  // Only the sound area is read: the file up to its end, or while a recording runs up to the
  // last byte written; a range reaching past it reads nothing and is Refused.
  Status ReadSound(uint64_t offset, void* data, size_t size);

  // ---- Selection ------------------------------------------------------------------------
  Status SelectMessage(uint32_t k);
  Status NextMessage();
  Status PreviousMessage();

  // ---- Recording ------------------------------------------------------------------------
  // Copies the table, writes the sidecar with the open entry and positions the writes at the
  // old table. NoTable means the panel must fall back to the default cassette.
  Status BeginRecording();
  // Appends captured sound at the write position.
  Status WriteSound(const uint8_t* data, size_t size);
  uint64_t WritePosition() const { return writePos_; }
  // Writes the table back after the sound, appends the new entry and removes the sidecar.
  Status EndRecording(bool autoRewindOnStop);
  // Ends the recording as a message whose clock name carries `note`, stored as RenameMessage
  // would store it. Unlike EndRecording, a failure leaves the recording running, so the caller
  // can AbandonRecording and have the file back byte for byte (an import does).
  Status EndRecordingWithNote(const std::string& note);
  // Takes back a recording that must not become a message (its sound card would not start):
  // the file gets its old bytes back, the table where it stood and any sound written over it
  // gone, the sidecar is removed, and the selection, the table fields and the stream are as
  // they were before BeginRecording. On an I/O error the recording is over all the same and the
  // sidecar stays, so the next open of the cassette repairs it.
  Status AbandonRecording();

  // ---- Editing --------------------------------------------------------------------------
  Status RenameMessage(uint32_t k, const std::string& text);
  // Marks entry k deleted and renumbers the following live entries.
  Status DeleteEntry(uint32_t k);
  // Deletes the current message and packs, selecting the message that takes its place; deleting
  // the only message leaves a blank cassette.
  Status DeleteMessage(const PackProgress& progress = {});
  Status PackCassette(const PackProgress& progress = {});
  Status DeleteAllMessages();

  // ---- Capacity -------------------------------------------------------------------------
  uint32_t RecordCapacityBytes() const { return recordCapacity_; }
  void SetRecordCapacity(uint32_t bytes) { recordCapacity_ = bytes; }
  // Remaining time text for the message label's hint; empty while a recording runs unpaused.
  std::string RemainingTimeHint(bool recordPaused) const;
  RecordStartCheck CheckRecordStart(double freeMiB);
  RunningCheck CheckRunningRecording(double freeMiB) const;

  // ---- Listing --------------------------------------------------------------------------
  // Selector lines of the live messages in table order; empty when there are none.
  std::vector<std::string> SelectorLines();
  // The name text of live message k (the ticker markup, see MessageName.h); empty when there is
  // no such message.
  std::string NameTextOfMessage(uint32_t k);

 private:
  Status ReadTable(TableSearch search, MessageTable* table);
  void ApplySelection(const MessageTable& table, const MessageEntry& entry);
  void SetEmptyState(const char* label);
  void UpdateNavigation();
  Status BackupFile(const std::string& path);
  Status MergeSidecar(const std::vector<uint8_t>& sidecar);
  Status WriteTableBody(const MessageTable& table);
  Status CopyRange(uint64_t start, uint64_t end, File& to, uint64_t at, std::vector<uint8_t>& chunk,
                   uint64_t* done, uint64_t total, const PackProgress& progress);
  Status WritePacked(File& packed, const MessageTable& table, const PackProgress& progress,
                     uint64_t* size, uint32_t* newStart, uint32_t* newEnd, uint32_t* entries);
  std::array<uint8_t, kNameSize> NewName() const;
  Status PutOldTableBack();
  Status FinishRecording(const std::array<uint8_t, kNameSize>& name, bool autoRewindOnStop,
                         bool keepRecordingOnFailure);

  CassetteEnvironment env_;
  FileSystem& files_;
  std::string tag1_ = "255%";
  std::string tag2_ = "65280%";

  std::string cassettePath_;
  std::unique_ptr<File> stream_;
  uint32_t baseRate_ = kDefaultRate;
  uint32_t messageCount_ = 0;
  uint32_t currentMessage_ = 0;
  uint32_t messageStart_ = 0;
  uint32_t messageEnd_ = 0;
  uint32_t tablePos_ = 0;
  std::vector<uint8_t> tableCopy_;
  std::string currentNote_;
  bool cassetteInconsistent_ = false;
  uint32_t cassetteLength_ = 0;
  bool cassetteLoaded_ = false;
  bool nextEnabled_ = false;
  bool prevEnabled_ = false;
  std::string messageLabel_ = "0 / 0";
  uint32_t tableEntries_ = 0;
  uint32_t recordCapacity_ = RecordCapacity(kDefaultRate);

  bool recording_ = false;
  uint32_t recordingNumber_ = 0;
  uint64_t writePos_ = 0;
  // The table write-back of the running recording was tried: the bytes at the table's place may
  // have changed even when no sound was written.
  bool tailTried_ = false;
  // What BeginRecording changed, for AbandonRecording to put back.
  struct BeforeRecording {
    bool streamClosed = false;
    uint32_t messageStart = 0;
    uint32_t tablePos = 0;
    uint64_t writePos = 0;
    std::vector<uint8_t> tableCopy;
    uint64_t fileLength = 0;
    std::vector<uint8_t> tableOnDisk;  // the file from the old table to its end, byte for byte
  };
  BeforeRecording beforeRecording_;
  std::string lastBackup_;
  PlayHead head_;
};

}  // namespace kiv
