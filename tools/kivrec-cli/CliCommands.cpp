// Dispatch of the companion's commands; the writing commands go through kiv::Cassette.
#include "CliCommands.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <ostream>
#include <unistd.h>

#include "CliPaths.h"
#include "CliReports.h"
#if KIVREC_HAS_CONVERTER
#include "CliTransfer.h"
#endif
#include "Json.h"
#include "Latin1.h"
#include "RecorderSkin.h"
#include "cassette/Cassette.h"
#include "cassette/CassetteReport.h"
#include "cassette/File.h"

namespace kivcli {
namespace {

using kiv::Cassette;
using kiv::CassetteReport;
using kiv::Status;

struct Context {
  const Invocation& inv;
  std::string path;
  std::ostream& out;
  std::ostream& err;
  kiv::FileSystem& files;
  bool progressBar;  // stderr is a terminal
};

std::optional<std::string> CassettePathFor(const Invocation& inv, std::ostream& err) {
  if (!inv.cassette.empty()) return inv.cassette;
  std::optional<std::string> folder = DataFolder();
  if (!folder) {
    err << "kivrec-cli: no data folder: " << DataFolderVariables()
        << " names one; give the cassette with --cassette PATH\n";
    return std::nullopt;
  }
  return *folder + kDefaultCassetteName;
}

bool Inspect(const Context& ctx, CassetteReport* report) {
  Status status = kiv::InspectCassette(ctx.path, report, ctx.files);
  if (status.ok()) return true;
  if (status.code() == kiv::StatusCode::NotFound) {
    ctx.err << "kivrec-cli: Can't find specified file: " << ctx.path << "\n";
  } else {
    ctx.err << "kivrec-cli: File is not available: " << ctx.path << " (" << status.message()
            << ")\n";
  }
  return false;
}

void PrintProblems(const CassetteReport& report, std::ostream& err) {
  for (const std::string& problem : report.problems) err << "  " << problem << "\n";
}

// The store replaces a file without a table when it opens one, and merges a waiting recording;
// neither may happen behind the back of a command that was asked for something else.
bool ReadyForWriting(const CassetteReport& report, std::ostream& err) {
  if (!report.table) {
    err << "kivrec-cli: " << report.path << " has no valid message table; it is left as it is.\n";
    PrintProblems(report, err);
    if (report.recoveryPending) {
      err << "An interrupted recording waits in its sidecar: 'kivrec-cli recover' merges it.\n";
    }
    return false;
  }
  if (report.recoveryPending) {
    err << "kivrec-cli: an interrupted recording waits in " << Cassette::SidecarPathFor(report.path)
        << "; run 'kivrec-cli recover' before changing the cassette.\n";
    return false;
  }
  return true;
}

kiv::CassetteEnvironment Environment(const Context& ctx) {
  kiv::CassetteEnvironment env;
  // The data folder only matters if the store had to fall back to its default cassette, which
  // ReadyForWriting prevents; without HOME the temporary folder stands in.
  env.dataFolder = DataFolder().value_or(TempFolder());
  env.files = &ctx.files;
  return env;
}

bool OpenForWriting(const Context& ctx, Cassette* cassette, std::ostream& noticeStream) {
  kiv::OpenOutcome outcome = cassette->OpenCassette(ctx.path, [&noticeStream] {
    noticeStream << "Unfinished recording detected. Auto Recovery will be started.\n";
  });
  switch (outcome) {
    case kiv::OpenOutcome::Opened:
    case kiv::OpenOutcome::Recovered:
      return true;
    case kiv::OpenOutcome::MissingFile:
      ctx.err << "kivrec-cli: Can't find specified file: " << ctx.path << "\n";
      return false;
    case kiv::OpenOutcome::CannotOpen:
      ctx.err << "kivrec-cli: File is not available: " << ctx.path
              << " (the recorder or another program may be writing to it)\n";
      return false;
    case kiv::OpenOutcome::ReplacedByBlank:
      ctx.err << "kivrec-cli: " << ctx.path << " lost its table before it could be opened; "
              << cassette->CassettePath() << " was made a blank cassette";
      if (!cassette->LastBackupPath().empty()) {
        ctx.err << " and its old bytes kept in " << cassette->LastBackupPath();
      }
      ctx.err << ".\n";
      return false;
  }
  return false;
}

int Failed(const Context& ctx, const Status& status) {
  ctx.err << "kivrec-cli: " << status.message() << "\n";
  return kExitFileProblem;
}

// Inspects, refuses what must not be written, and opens the cassette for one writing command.
std::optional<CassetteReport> PrepareWrite(const Context& ctx, Cassette* cassette) {
  CassetteReport report;
  if (!Inspect(ctx, &report) || !ReadyForWriting(report, ctx.err)) return std::nullopt;
  if (ctx.inv.number != 0 && report.table->FindLive(ctx.inv.number) == nullptr) {
    ctx.err << "kivrec-cli: " << ctx.path << " has no message " << ctx.inv.number << " (it holds "
            << report.messageCount << ").\n";
    return std::nullopt;
  }
  if (!OpenForWriting(ctx, cassette, ctx.err)) return std::nullopt;
  return report;
}

// ---- Reading commands ----------------------------------------------------------------------

int Info(const Context& ctx) {
  CassetteReport report;
  if (!Inspect(ctx, &report)) return kExitFileProblem;
  if (ctx.inv.json) {
    PrintInfoJson(report, ctx.out);
  } else {
    PrintInfoText(report, ctx.out, ctx.err);
  }
  return report.table ? kExitOk : kExitFileProblem;
}

int List(const Context& ctx) {
  CassetteReport report;
  if (!Inspect(ctx, &report)) return kExitFileProblem;
  if (!report.table) {
    ctx.err << "kivrec-cli: " << ctx.path << " has no valid message table.\n";
    PrintProblems(report, ctx.err);
    return kExitFileProblem;
  }
  if (report.recoveryPending) {
    ctx.err << "kivrec-cli: the last recording was interrupted and is not listed; "
               "'kivrec-cli recover' merges it.\n";
  }
  if (ctx.inv.json) {
    PrintListJson(report, ctx.out);
  } else {
    PrintListText(report, ctx.out);
  }
  return kExitOk;
}

int Check(const Context& ctx) {
  CassetteReport report;
  if (!Inspect(ctx, &report)) return kExitFileProblem;
  return PrintCheck(report, ctx.out, ctx.err) == 0 ? kExitOk : kExitFileProblem;
}

// ---- Writing commands ----------------------------------------------------------------------

int Create(const Context& ctx) {
  if (ctx.inv.cassette.empty()) {
    std::error_code error;
    std::filesystem::create_directories(kiv::FolderOf(ctx.path), error);
    if (error) {
      ctx.err << "kivrec-cli: cannot make the data folder " << kiv::FolderOf(ctx.path) << ": "
              << error.message() << "\n";
      return kExitFileProblem;
    }
  }
  if (ctx.files.Exists(ctx.path) && ctx.files.Size(ctx.path) > 0 && !ctx.inv.force) {
    ctx.err << "kivrec-cli: " << ctx.path << " already holds " << ctx.files.Size(ctx.path)
            << " bytes; add --force to empty it.\n";
    return kExitFileProblem;
  }
  Cassette cassette(Environment(ctx));
  Status status = cassette.CreateBlankCassette(ctx.path);
  cassette.CloseStream();
  if (!status.ok()) {
    ctx.err << "kivrec-cli: cannot make a blank cassette: " << status.message() << "\n";
    return kExitFileProblem;
  }
  ctx.out << "Created a blank cassette at " << ctx.path << " (" << cassette.BaseRate() << " Hz).\n";
  return kExitOk;
}

int Rename(const Context& ctx) {
  Cassette cassette(Environment(ctx));
  if (!PrepareWrite(ctx, &cassette)) return kExitFileProblem;
  auto [tag1, tag2] = RecorderColorTags();
  cassette.SetTickerColorTags(tag1, tag2);
  Status status = cassette.RenameMessage(ctx.inv.number, Utf8ToLatin1(ctx.inv.text));
  cassette.CloseStream();
  if (!status.ok()) return Failed(ctx, status);
  ctx.out << "Renamed message " << ctx.inv.number << ".\n";
  return kExitOk;
}

int Delete(const Context& ctx) {
  Cassette cassette(Environment(ctx));
  if (!PrepareWrite(ctx, &cassette)) return kExitFileProblem;
  Status status = cassette.SelectMessage(ctx.inv.number);
  if (status.ok()) status = cassette.DeleteMessage();
  cassette.CloseStream();
  if (!status.ok()) return Failed(ctx, status);
  ctx.out << "Deleted message " << ctx.inv.number << "; " << cassette.MessageCount()
          << (cassette.MessageCount() == 1 ? " message" : " messages") << " left.\n";
  return kExitOk;
}

int DeleteAll(const Context& ctx) {
  Cassette cassette(Environment(ctx));
  if (!PrepareWrite(ctx, &cassette)) return kExitFileProblem;
  Status status = cassette.DeleteAllMessages();
  cassette.CloseStream();
  if (!status.ok()) return Failed(ctx, status);
  ctx.out << "Deleted every message; " << ctx.path << " is a blank cassette.\n";
  return kExitOk;
}

int Pack(const Context& ctx) {
  Cassette cassette(Environment(ctx));
  std::optional<CassetteReport> before = PrepareWrite(ctx, &cassette);
  if (!before) return kExitFileProblem;
  Status status = cassette.PackCassette();
  cassette.CloseStream();
  if (!status.ok()) return Failed(ctx, status);
  ctx.out << "Packed " << ctx.path << ": " << before->length << " bytes before, "
          << ctx.files.Size(ctx.path) << " bytes now.\n";
  return kExitOk;
}

int Recover(const Context& ctx) {
  CassetteReport report;
  if (!Inspect(ctx, &report)) return kExitFileProblem;
  if (!report.recoveryPending) {
    if (!report.table) {
      ctx.err << "kivrec-cli: nothing to recover: " << ctx.path
              << " has no valid message table and no interrupted recording waits beside it.\n";
      PrintProblems(report, ctx.err);
      return kExitFileProblem;
    }
    ctx.out << "Nothing to recover: no interrupted recording waits for " << ctx.path << ".\n";
    return kExitOk;
  }

  Cassette cassette(Environment(ctx));
  bool opened = OpenForWriting(ctx, &cassette, ctx.out);
  cassette.CloseStream();
  if (!opened) return kExitFileProblem;

  CassetteReport after;
  if (!Inspect(ctx, &after)) return kExitFileProblem;
  if (after.recoveryPending || !after.table) {
    ctx.err << "kivrec-cli: the recording could not be recovered into " << ctx.path << ".\n";
    PrintProblems(after, ctx.err);
    return kExitFileProblem;
  }
  const kiv::MessageEntry* last = after.table->FindLive(after.messageCount);
  ctx.out << "Recovered the interrupted recording into " << ctx.path << ".\n";
  if (last != nullptr) {
    ctx.out << "It is message " << last->number << ", bytes " << last->start << " to " << last->end
            << " (" << last->Length() / after.table->rate << " seconds).\n";
  }
  if (after.inconsistent) {
    ctx.out << "The cassette is marked inconsistent: recording stays refused until every message "
               "is deleted, so export what matters first.\n";
  }
  return kExitOk;
}

// ---- Export and import ----------------------------------------------------------------------

#if KIVREC_HAS_CONVERTER

// The converter's texts for a person; a job that ended without a word was refused by name.
int TransferFailed(const Context& ctx, const ConverterResult& result) {
  if (result.texts.empty()) {
    ctx.err << "kivrec-cli: nothing was done: the cassette's name must end in .cst or .zdc\n";
  }
  for (std::string text : result.texts) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n  ");
    ctx.err << "kivrec-cli: " << text << "\n";
  }
  return kExitFileProblem;
}

std::string LastThree(const std::string& path) {
  return path.size() < 3 ? path : path.substr(path.size() - 3);
}

std::string Duration(uint32_t bytes, uint32_t rate) {
  const uint32_t seconds = rate ? bytes / rate : 0;
  return kiv::TwoDigits(seconds / 60) + ":" + kiv::TwoDigits(seconds % 60);
}

int Export(const Context& ctx) {
  CassetteReport report;
  if (!Inspect(ctx, &report)) return kExitFileProblem;
  const kiv::MessageEntry* entry = report.table ? report.table->FindLive(ctx.inv.number) : nullptr;
  if (entry == nullptr) {
    ctx.err << "kivrec-cli: " << ctx.path
            << (report.table ? " has no message " + std::to_string(ctx.inv.number)
                             : std::string(" has no valid message table"))
            << ".\n";
    return kExitFileProblem;
  }
  const uint32_t rate = report.table->rate;
  ConverterResult result = RunConverter(
      [&](kiv::convert::TZCAConv& zca) {
        zca.SetChangeFrom(ctx.path);
        zca.SetChangeFromType("MSG");
        zca.SetChangeFromFreq(int(rate));
        zca.SetChangeToFreq(int(rate));
        zca.SetChangeToMessageStart(entry->start);
        zca.SetChangeToMessageEnd(entry->end);
        zca.SetChangeTo(ctx.inv.file);
        zca.SetChangeToType(ctx.inv.mp3 ? "MP3" : "WAV");
        zca.SetMp3BitRate(ctx.inv.bitrate);
        zca.DoExport("Kiv Sound Recorder Export", kiv::DisplayText(entry->NameText()),
                     int(ctx.inv.number));
      },
      ctx.err, ctx.progressBar);
  if (!result.succeeded) return TransferFailed(ctx, result);
  const uint64_t size = ctx.files.Size(ctx.inv.file);
  if (ctx.inv.json) {
    JsonWriter json;
    json.BeginObject().Key("message").Number(ctx.inv.number).Key("file").String(PathForJson(ctx.inv.file));
    json.Key("format").String(ctx.inv.mp3 ? "mp3" : "wav").Key("bytes").Number(size);
    json.Key("seconds").Number(entry->Length() / rate).EndObject();
    ctx.out << json.Text() << "\n";
  } else {
    ctx.out << "Exported message " << ctx.inv.number << " (" << Duration(entry->Length(), rate)
            << ") to " << ctx.inv.file << ", " << size << " bytes.\n";
  }
  return kExitOk;
}

int Import(const Context& ctx) {
  const bool existed = ctx.files.Exists(ctx.path);
  if (existed) {
    CassetteReport report;
    if (!Inspect(ctx, &report) || !ReadyForWriting(report, ctx.err)) return kExitFileProblem;
  } else if (ctx.inv.cassette.empty()) {
    std::error_code error;
    std::filesystem::create_directories(kiv::FolderOf(ctx.path), error);
  }
  if (!ctx.files.Exists(ctx.inv.file)) {
    ctx.err << "kivrec-cli: Can't find specified file: " << ctx.inv.file << "\n";
    return kExitFileProblem;
  }
  ConverterResult result = RunConverter(
      [&](kiv::convert::TZCAConv& zca) {
        auto [tag1, tag2] = RecorderColorTags();
        zca.SetTickerColorTags(tag1, tag2);
        zca.SetChangeFrom(ctx.inv.file);
        zca.SetChangeFromType(LastThree(ctx.inv.file));
        zca.SetChangeFromFreq(0);
        zca.SetChangeTo(ctx.path);
        zca.SetChangeToType(LastThree(ctx.path));
        zca.DoImport();
      },
      ctx.err, ctx.progressBar);
  if (!result.succeeded) return TransferFailed(ctx, result);
  CassetteReport after;
  if (!Inspect(ctx, &after) || !after.table) return kExitFileProblem;
  const kiv::MessageEntry* entry = after.table->FindLive(after.messageCount);
  if (entry == nullptr) return kExitFileProblem;
  const std::string line = kiv::SelectorLine(entry->number, entry->NameText(), entry->Length() / after.table->rate);
  if (ctx.inv.json) {
    JsonWriter json;
    json.BeginObject().Key("message").Number(entry->number).Key("file").String(PathForJson(ctx.inv.file));
    json.Key("name").String(Latin1ToUtf8(entry->NameText())).Key("line").String(Latin1ToUtf8(line));
    json.Key("seconds").Number(entry->Length() / after.table->rate).Key("created").Bool(!existed);
    json.EndObject();
    ctx.out << json.Text() << "\n";
  } else {
    ctx.out << "Imported " << ctx.inv.file << " into " << ctx.path << " as " << Latin1ToUtf8(line)
            << "\n";
  }
  return kExitOk;
}

#else

// Built where the codec libraries are missing (the Windows cross-build): no converter at all.
int NoConverter(const Context& ctx) {
  ctx.err << "kivrec-cli: this build has no converter, so it cannot export or import; the "
             "cassette is left as it was.\n";
  return kExitFileProblem;
}
int Export(const Context& ctx) { return NoConverter(ctx); }
int Import(const Context& ctx) { return NoConverter(ctx); }

#endif

}  // namespace

int RunCommand(const Invocation& inv, std::ostream& out, std::ostream& err) {
  if (inv.command == Command::Help) {
    out << UsageText();
    return kExitOk;
  }
  std::optional<std::string> path = CassettePathFor(inv, err);
  if (!path) return kExitFileProblem;
  // The bar's carriage returns only make sense to a person watching the terminal.
  const bool progressBar = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
  const Context ctx{inv, *path, out, err, kiv::FileSystem::Default(), progressBar};
  switch (inv.command) {
    case Command::Help:
      break;
    case Command::Create:
      return Create(ctx);
    case Command::Info:
      return Info(ctx);
    case Command::List:
      return List(ctx);
    case Command::Rename:
      return Rename(ctx);
    case Command::Delete:
      return Delete(ctx);
    case Command::DeleteAll:
      return DeleteAll(ctx);
    case Command::Pack:
      return Pack(ctx);
    case Command::Check:
      return Check(ctx);
    case Command::Recover:
      return Recover(ctx);
    case Command::Export:
      return Export(ctx);
    case Command::Import:
      return Import(ctx);
  }
  return kExitUsage;
}

}  // namespace kivcli
