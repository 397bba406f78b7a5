// Read-only examination of a cassette file and its recording sidecar.
#include "cassette/CassetteReport.h"

#include <memory>

#include "cassette/Capacity.h"
#include "cassette/Cassette.h"
#include "cassette/File.h"
#include "cassette/Sidecar.h"

namespace kiv {
namespace {

std::string Offset(uint64_t value) { return std::to_string(value); }

// "Table entry 3 (number 2)": the position in the table is what a hex editor finds, the number
// is what the recorder shows; a damaged table can make them differ, so both are named.
std::string EntryName(size_t index, const MessageEntry& entry) {
  return "Table entry " + std::to_string(index + 1) + " (number " + std::to_string(entry.number) +
         ")";
}

void ReportMissingTable(const File& file, uint64_t length, CassetteReport* report) {
  // The recorder stops looking kTableSearchSpan bytes back; a marker further back means the
  // table grew too large to be found, which is worth telling apart from a file without one.
  if (auto far = FindTableMarker(file, length, TableSearch::Unbounded)) {
    report->tableBeyondSearch = true;
    report->problems.push_back("A table marker stands at offset " + Offset(*far) + ", " +
                               Offset(length - *far) + " bytes before the end, beyond the last " +
                               Offset(kTableSearchSpan) +
                               " bytes that are searched: the table is too large to be found.");
    return;
  }
  report->problems.push_back("No table marker (FE FE FE FE) within the last " +
                             Offset(kTableSearchSpan) + " bytes: the file has no message table.");
}

void ReportEntries(const MessageTable& table, CassetteReport* report) {
  if (table.trailingBytes != 0) {
    report->problems.push_back("The table ends in a partial entry: " + Offset(table.trailingBytes) +
                               " bytes after the last whole entry.");
  }
  for (size_t i = 0; i < table.entries.size(); ++i) {
    const MessageEntry& entry = table.entries[i];
    if (entry.start > entry.end) {
      report->problems.push_back(EntryName(i, entry) + " starts at " + Offset(entry.start) +
                                 " but ends earlier, at " + Offset(entry.end) + ".");
    }
    if (entry.end > table.pos) {
      report->problems.push_back(EntryName(i, entry) + " ends at " + Offset(entry.end) +
                                 ", beyond the sound, which stops at the table at " +
                                 Offset(table.pos) + ".");
    }
    if (IsInconsistentNumber(entry.number)) {
      std::string why =
          entry.number == kRecoveryNumber
              ? " is the mark an automatic recovery leaves"
              : " is neither a message number (1 to 65534) nor the deleted mark (65535)";
      report->problems.push_back(EntryName(i, entry) + why +
                                 ": recording stays refused until all messages are deleted.");
    }
  }
}

void ReportSidecar(FileSystem& files, const File& cassette, uint64_t length,
                   CassetteReport* report) {
  const std::string sidecarPath = Cassette::SidecarPathFor(report->path);
  report->sidecarExists = files.Exists(sidecarPath);
  if (!report->sidecarExists) return;
  std::vector<uint8_t> sidecar;
  if (!ReadWholeFile(files, sidecarPath, &sidecar)) {
    report->problems.push_back("The recording sidecar " + sidecarPath + " cannot be read.");
    return;
  }
  switch (JudgeSidecar(sidecar, true, cassette, length, report->table)) {
    case SidecarVerdict::Recover:
    case SidecarVerdict::RecoverAfterTruncate:
      report->recoveryPending = true;
      break;
    case SidecarVerdict::Unusable:
      report->problems.push_back("The recording sidecar " + sidecarPath +
                                 " is not a table with an open entry, so no recording can be "
                                 "recovered from it.");
      break;
    case SidecarVerdict::None:
    case SidecarVerdict::Stale:
      break;
  }
}

}  // namespace

Status InspectCassette(const std::string& path, CassetteReport* report, FileSystem& files) {
  *report = CassetteReport{};
  report->path = path;
  std::unique_ptr<File> file;
  Status status = files.Open(path, File::Mode::ReadOnly, &file);
  if (!status.ok()) return status;
  const uint64_t length = file->Length();
  report->length = length;

  if (auto pos = FindTableMarker(*file, length, TableSearch::Bounded)) {
    MessageTable table;
    if (length - *pos < kTableHeadSize) {
      report->problems.push_back("The table marker at offset " + Offset(*pos) +
                                 " is not followed by a rate word: the file has no valid table.");
    } else if (!ReadTableFromFile(*file, *pos, length, &table)) {
      return Status::Error(StatusCode::IoError, "Cannot read the table of " + path);
    } else if (!table.HasValidRate()) {
      report->problems.push_back("The word after the table marker at offset " + Offset(*pos) +
                                 " is " + Offset(table.rate) +
                                 ", not 11025, 22050 or 44100: the file has no valid table.");
    } else {
      report->table = std::move(table);
    }
  } else {
    ReportMissingTable(*file, length, report);
  }

  if (report->table) {
    const MessageTable& table = *report->table;
    ReportEntries(table, report);
    report->messageCount = table.LiveCount();
    report->inconsistent = table.HasInconsistentNumber();
    report->remaining = RemainingTimeText(table.UsedSoundBytes(report->messageCount), table.rate);
  }
  ReportSidecar(files, *file, length, report);
  return Status::Ok();
}

}  // namespace kiv
