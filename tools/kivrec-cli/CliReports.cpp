// Text and JSON renderings of a cassette report.
#include "CliReports.h"

#include <ostream>

#include "Json.h"
#include "Latin1.h"
#include "cassette/Cassette.h"
#include "cassette/MessageName.h"

namespace kivcli {
namespace {

using kiv::CassetteReport;
using kiv::MessageEntry;

uint32_t Seconds(const MessageEntry& entry, uint32_t rate) { return entry.Length() / rate; }

size_t CountDeleted(const kiv::MessageTable& table) {
  size_t deleted = 0;
  for (const MessageEntry& entry : table.entries) deleted += entry.number == kiv::kDeletedNumber;
  return deleted;
}

}  // namespace

std::string PathForJson(const std::string& path) {
  return IsUtf8(path) ? path : Latin1ToUtf8(path);
}

std::string SidecarSummary(const CassetteReport& report) {
  const std::string sidecar = kiv::Cassette::SidecarPathFor(report.path);
  if (!report.sidecarExists) return "none";
  if (report.recoveryPending) {
    return sidecar + " holds an interrupted recording; 'kivrec-cli recover' merges it";
  }
  return sidecar + " exists but holds nothing to recover";
}

void PrintInfoText(const CassetteReport& report, std::ostream& out, std::ostream& err) {
  out << "Cassette:     " << report.path << "\n"
      << "Length:       " << report.length << " bytes\n";
  if (report.table) {
    const kiv::MessageTable& table = *report.table;
    out << "Base rate:    " << table.rate << " Hz\n"
        << "Table:        at offset " << table.pos << ", " << table.entries.size() << " entries\n"
        << "Messages:     " << report.messageCount << "; deleted entries: " << CountDeleted(table)
        << "\n"
        << "Time left:    " << report.remaining << "\n"
        << "Inconsistent: " << (report.inconsistent ? "yes, recording is refused" : "no") << "\n";
  } else {
    out << "Table:        none that the recorder can use\n";
  }
  out << "Sidecar:      " << SidecarSummary(report) << "\n";
  for (const std::string& problem : report.problems) err << "Problem:      " << problem << "\n";
}

void PrintInfoJson(const CassetteReport& report, std::ostream& out) {
  JsonWriter json;
  json.BeginObject();
  json.Key("path").String(PathForJson(report.path));
  if (report.table) {
    json.Key("base_rate").Number(report.table->rate);
  } else {
    json.Key("base_rate").Null();
  }
  json.Key("length").Number(report.length);
  if (report.table) {
    json.Key("table_pos").Number(report.table->pos);
  } else {
    json.Key("table_pos").Null();
  }
  json.Key("message_count").Number(report.messageCount);
  json.Key("entries").BeginArray();
  if (report.table) {
    for (const MessageEntry& entry : report.table->entries) {
      json.BeginObject()
          .Key("number")
          .Number(entry.number)
          .Key("start")
          .Number(entry.start)
          .Key("end")
          .Number(entry.end)
          .Key("name")
          .String(Latin1ToUtf8(entry.NameText()))
          .EndObject();
    }
  }
  json.EndArray();
  json.Key("inconsistent").Bool(report.inconsistent);
  json.Key("sidecar").Bool(report.sidecarExists);
  if (report.table) {
    json.Key("remaining").String(report.remaining);
  } else {
    json.Key("remaining").Null();
  }
  json.EndObject();
  out << json.Text() << "\n";
}

void PrintListText(const CassetteReport& report, std::ostream& out) {
  const kiv::MessageTable& table = *report.table;
  uint32_t line = 0;
  for (const MessageEntry& entry : table.entries) {
    if (!kiv::IsLiveNumber(entry.number)) continue;
    out << kiv::SelectorLine(++line, entry.NameText(), Seconds(entry, table.rate)) << "\n";
  }
}

void PrintListJson(const CassetteReport& report, std::ostream& out) {
  const kiv::MessageTable& table = *report.table;
  JsonWriter json;
  json.BeginArray();
  for (const MessageEntry& entry : table.entries) {
    if (!kiv::IsLiveNumber(entry.number)) continue;
    const std::string name = entry.NameText();
    json.BeginObject()
        .Key("number")
        .Number(entry.number)
        .Key("start")
        .Number(entry.start)
        .Key("end")
        .Number(entry.end)
        .Key("seconds")
        .Number(Seconds(entry, table.rate))
        .Key("name")
        .String(Latin1ToUtf8(name))
        .Key("display")
        .String(Latin1ToUtf8(kiv::DisplayText(name)))
        .Key("note")
        .String(Latin1ToUtf8(kiv::NoteOf(name)))
        .EndObject();
  }
  json.EndArray();
  out << json.Text() << "\n";
}

size_t PrintCheck(const CassetteReport& report, std::ostream& out, std::ostream& err) {
  out << "Cassette: " << report.path << " (" << report.length << " bytes)\n";
  if (report.table) {
    const kiv::MessageTable& table = *report.table;
    size_t inconsistent = 0;
    for (const MessageEntry& entry : table.entries) {
      inconsistent += kiv::IsInconsistentNumber(entry.number);
    }
    out << "Table: at offset " << table.pos << ", " << table.rate << " Hz, " << table.entries.size()
        << " entries: " << report.messageCount << " messages, " << CountDeleted(table)
        << " deleted, " << inconsistent << " inconsistent\n";
    for (size_t i = 0; i < table.entries.size(); ++i) {
      const MessageEntry& entry = table.entries[i];
      if (entry.number != kiv::kDeletedNumber) continue;
      out << "Deleted: table entry " << i + 1 << ", bytes " << entry.start << " to " << entry.end
          << ", kept until the next pack\n";
    }
  } else {
    out << "Table: none that the recorder can use\n";
  }
  out << "Sidecar: " << SidecarSummary(report) << "\n";

  size_t problems = report.problems.size();
  for (const std::string& problem : report.problems) err << "Problem: " << problem << "\n";
  if (report.recoveryPending) {
    err << "Problem: A recording was interrupted; the cassette lacks it until it is recovered.\n";
    ++problems;
  }
  if (problems == 0) {
    out << "No problems found.\n";
  } else {
    err << problems << (problems == 1 ? " problem" : " problems") << " found.\n";
  }
  return problems;
}

}  // namespace kivcli
