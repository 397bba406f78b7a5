// The converter's jobs: export of a message, import of a sound file, and the conversion pass both
// are built on.
#include "convert/ZCAConv.h"

#include <lame.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "cassette/Capacity.h"
#include "cassette/Cassette.h"
#include "cassette/CassetteReport.h"
#include "cassette/DiskSpace.h"
#include "convert/ACMConvertor.h"
#include "convert/AudioInfo.h"
#include "convert/Mp3Format.h"
#include "convert/PCMWaveReader.h"
#include "convert/WaveStream.h"

namespace kiv::convert {
namespace {

constexpr uint32_t kChunk = 1024;          // bytes handed to the conversion stream at a time
constexpr size_t kFileBlock = 64 * 1024;   // disk reads and writes are gathered to this size
constexpr uint32_t kFailed = 1;

struct KindRule {
  const char* extension;
  const char* kind;
};

// The kind of the last rule whose extension occurs in the upper-cased path, "" when none does.
template <size_t N>
std::string KindOf(const std::string& path, const KindRule (&rules)[N]) {
  std::string upper = path;
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  std::string kind;
  for (const KindRule& rule : rules) {
    if (upper.find(rule.extension) != std::string::npos) kind = rule.kind;
  }
  return kind;
}

constexpr KindRule kExportSources[] = {
    {".ZDC", "ZDC"}, {".ZAC", "ZAC"}, {".ZCC", "ZCC"}, {".CST", "ZDC"}, {".CAS", "ZDC"}};
constexpr KindRule kExportTargets[] = {{".WAV", "WAV"}, {".MP3", "MP3"}};
constexpr KindRule kImportSources[] = {{".MP3", "MP3"}, {".WAV", "WAV"}};
constexpr KindRule kImportTargets[] = {
    {".ZDC", "ZDC"}, {".CST", "ZDC"}, {".ZAC", "ZAC"}, {".ZCC", "ZCC"}};

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// ---- Where the bytes of a pass come from and go to -------------------------------------------

class ZcaByteSource {
 public:
  virtual ~ZcaByteSource() = default;
  // Exactly `size` bytes of the source from byte `pos`; false when they cannot be had.
  virtual bool Read(int64_t pos, uint8_t* data, uint32_t size) = 0;
  // Why the last Read failed.
  virtual std::string Error() const { return "Disk Read Error"; }
};

class ZcaByteSink {
 public:
  virtual ~ZcaByteSink() = default;
  virtual bool Write(const uint8_t* data, size_t size) = 0;
  // Writes what is still gathered and completes the file.
  virtual Status Finish() = 0;
};

namespace {

// A file read in blocks ahead of the pass, which asks for a kilobyte at a time.
class FileByteSource final : public ZcaByteSource {
 public:
  explicit FileByteSource(std::unique_ptr<File> file) : file_(std::move(file)) {}
  bool Read(int64_t pos, uint8_t* data, uint32_t size) override {
    if (pos < 0) return false;
    const uint64_t at = uint64_t(pos);
    if (at < bufferStart_ || at + size > bufferStart_ + buffer_.size()) {
      const uint64_t length = file_->Length();
      if (at + size > length) return false;
      buffer_.resize(size_t(std::min<uint64_t>(std::max<uint64_t>(kFileBlock, size), length - at)));
      bufferStart_ = at;
      if (!file_->ReadAt(at, buffer_.data(), buffer_.size())) {
        buffer_.clear();
        return false;
      }
    }
    std::memcpy(data, buffer_.data() + (at - bufferStart_), size);
    return true;
  }

 private:
  std::unique_ptr<File> file_;
  std::vector<uint8_t> buffer_;
  uint64_t bufferStart_ = 0;
};

// A WAV file of any kind the reader decodes, as the bytes of its PCM form, read in order.
class ReaderByteSource final : public ZcaByteSource {
 public:
  explicit ReaderByteSource(TPCMWaveReader* reader) : reader_(reader) {}
  bool Read(int64_t, uint8_t* data, uint32_t size) override {
    const uint64_t frames = size / reader_->Format().blockAlign;
    uint64_t done = 0;
    const Status status = reader_->Read(data, frames, &done);
    if (!status.ok()) error_ = status.message();
    return status.ok() && done == frames;
  }
  std::string Error() const override { return error_.empty() ? "Disk Read Error" : error_; }

 private:
  TPCMWaveReader* reader_;
  std::string error_;
};

// Gathers bytes and hands them on in large writes.
class GatheringSink : public ZcaByteSink {
 public:
  bool Write(const uint8_t* data, size_t size) override {
    pending_.insert(pending_.end(), data, data + size);
    return pending_.size() < kFileBlock || Drain();
  }

 protected:
  virtual bool Put(const uint8_t* data, size_t size) = 0;
  bool Drain() {
    const bool ok = pending_.empty() || Put(pending_.data(), pending_.size());
    pending_.clear();
    return ok;
  }

 private:
  std::vector<uint8_t> pending_;
};

class WaveSink final : public GatheringSink {
 public:
  explicit WaveSink(std::unique_ptr<TWaveStream> stream) : stream_(std::move(stream)) {}
  Status Finish() override {
    if (!Drain()) return Status::Error(StatusCode::IoError, "Error writing to file.");
    return stream_->Finish();
  }

 private:
  bool Put(const uint8_t* data, size_t size) override {
    uint64_t done = 0;
    const uint64_t frames = size / stream_->Format().blockAlign;
    return stream_->Write(data, frames, &done).ok() && done == frames;
  }
  std::unique_ptr<TWaveStream> stream_;
};

// An MP3 target: the encoded frames as they come.
class RawSink final : public GatheringSink {
 public:
  explicit RawSink(std::unique_ptr<File> file) : file_(std::move(file)) {}
  Status Finish() override {
    if (!Drain() || !file_->Sync()) return Status::Error(StatusCode::IoError, "Cannot Flush.");
    return Status::Ok();
  }

 private:
  bool Put(const uint8_t* data, size_t size) override {
    if (!file_->WriteAt(at_, data, size)) return false;
    at_ += size;
    return true;
  }
  std::unique_ptr<File> file_;
  uint64_t at_ = 0;
};

}  // namespace

struct TZCAConv::Pass {
  ZcaByteSource* source;
  int64_t start, end;
  TACMWaveFormat in, out;
  ZcaByteSink* sink;
};

// ---- The component ---------------------------------------------------------------------------

const char* const TZCAConv::kTempNames[9] = {
    "~zact0001.wav", "~zact0002.wav", "~zact0003.wav", "~zact0001.mp3", "~zacwtmp.wav",
    "~zact0001.zac", "~zact0001.zdc", "~zact0001.zcc", "~zacsep.zsf"};

ZcaEnvironment DefaultZcaEnvironment(const std::string& programFolder) {
  ZcaEnvironment env;
  const char* tmp = std::getenv("TMPDIR");
  env.tempFolder = tmp && *tmp ? tmp : "/tmp";
  if (env.tempFolder.back() != '/') env.tempFolder += '/';
  env.programFolder = programFolder;
  env.freeMiB = FreeMiBOn;
  return env;
}

TZCAConv::TZCAConv(ZcaEnvironment env) : env_(std::move(env)) {
  if (!env_.files) env_.files = &FileSystem::Default();
  if (!env_.clock) env_.clock = SystemLocalTime;
}

TZCAConv::~TZCAConv() {
  for (int i = 0; i < 9; ++i) {
    if (env_.files->Exists(TempPath(i))) (void)env_.files->Remove(TempPath(i));
  }
}

void TZCAConv::SetTickerColorTags(std::string tag1, std::string tag2) {
  tag1_ = std::move(tag1);
  tag2_ = std::move(tag2);
}

void TZCAConv::WriteLog(const std::string& text) {
  std::FILE* log = std::fopen(LogPath().c_str(), "ab");
  if (!log) return;  // the log is a diagnosis aid; a job never fails for want of it
  std::fputs((text + "\r\n").c_str(), log);
  std::fclose(log);
}

void TZCAConv::InitialLog() {
  std::remove(LogPath().c_str());
  WriteLog("Captain's log :)");
  WriteLog("");
  // LAME is linked in; the probe still asks it for an encoder, which fails without memory.
  lame_global_flags* lame = lame_init();
  mp3CodecInstalled_ = lame != nullptr;
  if (lame) {
    lame_close(lame);
    WriteLog(std::string("[InitialLog]: LAME ") + get_lame_version() + " MP3 Encoder (Codec)");
  } else {
    WriteLog("[InitialLog]: No MP3 Codec Found!");
  }
}

void TZCAConv::RaiseException(const std::string& text) {
  if (OnException) OnException(text);
}

void TZCAConv::Done(uint32_t wPar, uint32_t lPar) {
  if (doneSent_) return;
  doneSent_ = true;
  if (OnConversionDone) OnConversionDone(wPar, lPar);
}

void TZCAConv::Fail(const std::string& tag, const std::string& text) {
  RaiseException(text);
  WriteLog(tag + text);
  Done(kFailed, kFailed);
}

bool TZCAConv::ConvertPass(Pass& pass) {
  TACMConvertor acm;
  std::string acmError;
  acm.OnException = [&acmError](const std::string& text) { acmError = text; };
  bool begun = false;
  // The progress window closes before the job's end is reported.
  auto fail = [&](const std::string& text) {
    if (begun && OnConversionEnd) OnConversionEnd();
    Fail("[ACMConvert]: ", text);
    return false;
  };
  auto acmFailed = [&](const Status& status) {
    return fail(!status.ok() ? status.message()
                : acmError.empty() ? std::string("Conversion failed") : acmError);
  };
  Status status = acm.SetFormatIn(pass.in);
  if (status.ok()) status = acm.SetFormatOut(pass.out);
  if (status.ok()) status = acm.SetInputBufferSize(kChunk);
  if (!status.ok()) return acmFailed(status);
  acm.SetActive(true);
  if (!acm.Active()) return acmFailed(status);

  if (OnConversionBegin) OnConversionBegin(pass.start, pass.end, statusCaption_, progressColor_);
  begun = true;
  for (int64_t pos = pass.start; pos < pass.end;) {
    const auto chunk = uint32_t(std::min<int64_t>(kChunk, pass.end - pos));
    if (chunk != acm.InputBufferSize()) {
      acm.ChangeInputBufferSize(chunk);
      if (!acm.Active()) return acmFailed(status);
    }
    if (!pass.source->Read(pos, acm.InputBuffer(), chunk)) return fail(pass.source->Error());
    const uint32_t produced = acm.Convert();
    if (produced == 0 && !acm.Active()) return acmFailed(status);
    if (!pass.sink->Write(acm.OutputBuffer(), produced)) return fail("Disk Write Error");
    pos += chunk;
    if (OnConversionProgress) OnConversionProgress(pos);
  }
  const uint32_t held = acm.Active() ? acm.Flush() : 0;
  if (!acmError.empty()) return acmFailed(status);
  if (!pass.sink->Write(acm.OutputBuffer(), held)) return fail("Disk Write Error");
  acm.SetActive(false);
  status = pass.sink->Finish();
  if (!status.ok()) {
    WriteLog("[ACMConvert]: " + status.message());
    return fail(pass.out.IsPcm() ? "Failed to write WAV file" : "Failed to write MP3 file");
  }
  if (OnConversionEnd) OnConversionEnd();
  return true;
}

// ---- Export ----------------------------------------------------------------------------------

void TZCAConv::DoExport(const std::string& album, const std::string& title, int track) {
  doneSent_ = false;
  InitialLog();
  album_ = album;
  title_ = title;
  track_ = track;
  sourcePath_ = changeFrom_;
  sourceKind_ = KindOf(sourcePath_, kExportSources);
  if (sourceKind_.empty()) return Done(kFailed, kFailed);
  if (!env_.files->Exists(sourcePath_)) {
    return Fail("[DoExport]: ", "File must exists: " + sourcePath_);
  }
  std::string fromType = changeFromType_;
  for (char& c : fromType) c = char(std::toupper(static_cast<unsigned char>(c)));
  // Whole-cassette exports (with separators, or as a self-playing program) are not offered here.
  if (sourceKind_ != "ZAC" && fromType != "MSG") {
    return Fail("[DoExport]: ", "Export of \"" + changeFromType_ + "\" is not supported");
  }
  const TACMWaveFormat in = PcmFormat(uint16_t(changeFromChannels_), uint32_t(changeFromFreq_),
                                      uint16_t(changeFromBits_));
  targetPath_ = changeTo_;
  targetKind_ = KindOf(targetPath_, kExportTargets);
  if (targetKind_.empty()) {
    targetPath_.clear();
    return Done(kFailed, kFailed);
  }
  if (messageStart_ < 0 || messageEnd_ < messageStart_) {
    return Fail("[DoExport]: ", "Invalid message bounds " + std::to_string(messageStart_) +
                                    " to " + std::to_string(messageEnd_));
  }
  const bool mp3 = targetKind_ == "MP3";
  TACMWaveFormat out;
  if (!mp3) {
    out = PcmFormat(uint16_t(changeToChannels_), uint32_t(changeToFreq_), uint16_t(changeToBits_));
  } else if (!mp3CodecInstalled_) {
    return Fail("[DoExport]: ", "No codecs installed! MP3 conversion is not possible!");
  } else {
    const auto avg = uint32_t(std::max(mp3BitRate_, 8) * 1000 / 8);
    out = doChooseMp3Format_
              ? Mp3TargetFormat(uint16_t(changeToChannels_), uint32_t(changeToFreq_), avg)
              : Mp3WaveFormat(uint16_t(changeToChannels_), uint32_t(changeToFreq_), avg, {});
  }
  ExportPass(in, out, mp3);
  statusCaption_ = "Converting...";
}

bool TZCAConv::ExportPass(const TACMWaveFormat& in, const TACMWaveFormat& out, bool mp3) {
  std::unique_ptr<File> source, target;
  if (!env_.files->Open(sourcePath_, File::Mode::ReadOnly, &source).ok()) {
    Fail("[ACMConvert]: ", "Unable to open " + sourcePath_);
    return false;
  }
  if (!env_.files->Open(targetPath_, File::Mode::CreateReadWrite, &target).ok()) {
    RaiseException("Unable to open " + targetPath_);
    WriteLog("[ACMConvert]: Unable to open mmio Output file " + targetPath_);
    Done(kFailed, kFailed);
    return false;
  }
  std::unique_ptr<ZcaByteSink> sink;
  if (mp3) {
    sink = std::make_unique<RawSink>(std::move(target));
  } else {
    std::unique_ptr<TWaveStream> stream;
    const Status status = TWaveStream::Create(std::move(target), out, &stream, WaveHeaderStyle::Export);
    if (!status.ok()) {
      WriteLog("[ACMConvert]: " + status.message());
      Fail("[ACMConvert]: ", "Failed to write WAV header");
      return false;
    }
    sink = std::make_unique<WaveSink>(std::move(stream));
  }
  FileByteSource bytes(std::move(source));
  Pass pass{&bytes, messageStart_, messageEnd_, in, out, sink.get()};
  if (!ConvertPass(pass)) return false;
  sink.reset();
  if (mp3) {
    TID3v1Tag tag;
    tag.SetField(TID3v1Tag::kTitle, title_);
    tag.SetField(TID3v1Tag::kArtist, album_);
    tag.SetField(TID3v1Tag::kAlbum, album_);
    tag.SetTrack(uint8_t(std::clamp(track_, 0, 255)));
    const Status status = tag.SaveToFile(targetPath_);
    if (!status.ok()) {
      Fail("[ACMConvert]: ", status.message());
      return false;
    }
  }
  const std::string notice = "Conversion Done! File " + FileNameOf(targetPath_) + " created!";
  RaiseException(notice);
  WriteLog("[ACMConvert]: " + notice);
  Done(kDoneWParam, kDoneLParam);
  return true;
}

// ---- Import ----------------------------------------------------------------------------------

void TZCAConv::DoImport() {
  doneSent_ = false;
  InitialLog();
  tag_.Clear();
  sourcePath_ = changeFrom_;
  sourceKind_ = KindOf(sourcePath_, kImportSources);
  if (sourceKind_.empty()) return Done(kFailed, kFailed);
  if (!env_.files->Exists(sourcePath_)) {
    return Fail("[DoImport]: ", "File must exists: " + sourcePath_);
  }
  targetPath_ = changeTo_;
  targetKind_ = KindOf(targetPath_, kImportTargets);
  if (targetKind_.empty()) return Done(kFailed, kFailed);
  if (targetKind_ != "ZDC") {
    return Fail("[DoImport]: ", "Only a digital cassette takes imports: " + targetPath_);
  }

  // The cassette's rate decides the decoded format; a missing cassette becomes a blank one,
  // but only once there is sound to put on it.
  uint32_t rate = kDefaultRate;
  if (env_.files->Exists(targetPath_)) {
    CassetteReport report;
    if (!InspectCassette(targetPath_, &report, *env_.files).ok() || !report.table ||
        !report.table->HasValidRate()) {
      return Fail("[DoImport]: ", "File Corrupted: " + targetPath_);
    }
    if (report.recoveryPending) {
      return Fail("[DoImport]: ", "An interrupted recording waits to be recovered into " +
                                      targetPath_ + "; open the cassette in the recorder first.");
    }
    rate = report.table->rate;
  }
  std::string decoded;
  if (!DecodeToCassetteFormat(sourceKind_, rate, &decoded)) return;
  if (AppendToCassette(decoded, targetPath_)) {
    const std::string notice = "Conversion Done! File " + FileNameOf(sourcePath_) + " imported!";
    RaiseException(notice);
    WriteLog("[DoImport]: " + notice);
    Done(kDoneWParam, kDoneLParam);
  }
}

bool TZCAConv::DecodeToCassetteFormat(const std::string& sourceKind, uint32_t rate,
                                      std::string* decodedPath) {
  std::unique_ptr<File> file;
  if (!env_.files->Open(sourcePath_, File::Mode::ReadOnly, &file).ok()) {
    Fail("[DoImport]: ", "Unable to open " + sourcePath_);
    return false;
  }
  std::unique_ptr<TWaveStream> wave;
  std::unique_ptr<TPCMWaveReader> reader;
  std::unique_ptr<ZcaByteSource> source;
  TACMWaveFormat in;
  int64_t start = 0, end = 0;
  auto unsupported = [this](const std::string& why) {
    WriteLog("[ReadRawWavFile]: " + why);
    Fail("[DoImport]: ", "File Format not Supported!\r\n" + why);
    return false;
  };
  if (sourceKind == "MP3") {
    TAudioInfo info;
    info.LoadFromStream(*file, 0, file->Length());
    if (info.FirstFrameOffset() < 0) return unsupported("No MPEG audio frame in " + sourcePath_);
    tag_ = info.Tag();
    in = Mp3SourceFormat(info.Header());
    end = int64_t(file->Length());
    source = std::make_unique<FileByteSource>(std::move(file));
  } else {
    const Status opened = TWaveStream::OpenForReading(std::move(file), &wave);
    if (!opened.ok()) return unsupported(opened.message());
    if (wave->Format().formatTag == kFormatMpegLayer3) {
      // MP3 frames in a WAV file: the decoder takes the data chunk's bytes as they are.
      in = wave->Format();
      start = int64_t(wave->DataStart());
      end = start + int64_t(wave->Length() * wave->Format().blockAlign);
      std::unique_ptr<File> again;
      if (!env_.files->Open(sourcePath_, File::Mode::ReadOnly, &again).ok()) {
        return unsupported("Unable to open " + sourcePath_);
      }
      source = std::make_unique<FileByteSource>(std::move(again));
    } else {
      const Status status = TPCMWaveReader::Open(wave.get(), &reader);
      if (!status.ok()) return unsupported(status.message());
      in = reader->Format();
      end = int64_t(reader->Length() * in.blockAlign);
      source = std::make_unique<ReaderByteSource>(reader.get());
    }
  }
  if (end <= start) return unsupported("No sound in " + sourcePath_);

  *decodedPath = TempPath(0);
  const TACMWaveFormat out = PcmFormat(1, rate, 8);
  std::unique_ptr<File> target;
  std::unique_ptr<TWaveStream> stream;
  if (!env_.files->Open(*decodedPath, File::Mode::CreateReadWrite, &target).ok() ||
      !TWaveStream::Create(std::move(target), out, &stream).ok()) {
    Fail("[DoImport]: ", "Unable to open " + *decodedPath);
    return false;
  }
  WaveSink sink(std::move(stream));
  Pass pass{source.get(), start, end, in, out, &sink};
  return ConvertPass(pass);
}

bool TZCAConv::AppendToCassette(const std::string& soundPath, const std::string& cassettePath) {
  std::unique_ptr<File> soundFile;
  std::unique_ptr<TWaveStream> sound;
  if (!env_.files->Open(soundPath, File::Mode::ReadOnly, &soundFile).ok() ||
      !TWaveStream::OpenForReading(std::move(soundFile), &sound).ok()) {
    Fail("[DoImport]: ", "Unable to open " + soundPath);
    return false;
  }
  const uint64_t length = sound->Length();  // one byte a frame: 8-bit mono

  CassetteEnvironment cassetteEnv;
  cassetteEnv.dataFolder = FolderOf(cassettePath);
  cassetteEnv.clock = env_.clock;
  cassetteEnv.files = env_.files;
  Cassette cassette(cassetteEnv);
  cassette.SetTickerColorTags(tag1_, tag2_);
  const bool existed = env_.files->Exists(cassettePath);
  // Refusals after a blank cassette was made for this import take it away again.
  auto refuse = [&](const std::string& text) {
    cassette.CloseStream();
    if (!existed) (void)env_.files->Remove(cassettePath);
    Fail("[DoImport]: ", text);
    return false;
  };
  if (!existed) {
    const Status created = cassette.CreateBlankCassette(cassettePath);
    if (!created.ok()) return refuse("Cannot create " + cassettePath + ": " + created.message());
  } else if (const OpenOutcome opened = cassette.OpenCassette(cassettePath);
             opened != OpenOutcome::Opened && opened != OpenOutcome::Recovered) {
    return refuse("File is not available: " + cassettePath);
  }
  // The converted sound must fit beside the margin a recording keeps free; unknown free space
  // lets the writes decide.
  const double freeMiB = env_.freeMiB ? env_.freeMiB(cassettePath) : -1;
  switch (cassette.CheckRecordStart(freeMiB < 0 ? 1e12 : freeMiB - BytesToMiB(length))) {
    case RecordStartCheck::Ok:
      break;
    case RecordStartCheck::Inconsistent:
      return refuse("The cassette " + cassettePath +
                    " is inconsistent; delete all its messages before importing.");
    case RecordStartCheck::CapacityFull:
      return refuse("The cassette " + cassettePath + " is full.");
    case RecordStartCheck::NotEnoughSpace:
      return refuse("Not enough free disk space on " + VolumeNameOf(cassettePath) + " to import " +
                    FileNameOf(sourcePath_) + ": " +
                    std::to_string(length) + " bytes of sound and " +
                    std::to_string(StartMarginMiB(cassette.RecordCapacityBytes())) +
                    " MiB to spare are needed.");
  }

  statusCaption_ = "Importing...";
  progressColor_ = kImportColor;
  Status status = cassette.BeginRecording();
  if (status.ok()) {
    if (OnConversionBegin) OnConversionBegin(0, int64_t(length), statusCaption_, progressColor_);
    std::vector<uint8_t> block(kFileBlock);
    for (uint64_t done = 0; status.ok() && done < length;) {
      uint64_t got = 0;
      status = sound->Read(block.data(), std::min<uint64_t>(block.size(), length - done), &got);
      if (status.ok() && got == 0) status = Status::Error(StatusCode::IoError, "Disk Read Error");
      if (status.ok()) status = cassette.WriteSound(block.data(), size_t(got));
      done += got;
      if (OnConversionProgress) OnConversionProgress(int64_t(done));
    }
    const std::string title = tag_.Present() ? tag_.Title() : std::string();
    if (status.ok()) status = cassette.EndRecordingWithNote(title.empty() ? "Imported" : title);
    if (OnConversionEnd) OnConversionEnd();
    if (!status.ok()) {
      const Status undone = cassette.AbandonRecording();
      if (!undone.ok()) {
        WriteLog("[DoImport]: " + undone.message());
        status = Status::Error(status.code(), status.message() +
                                                  "; the recorder repairs the cassette when it opens it next");
      }
    }
  }
  statusCaption_ = "Converting...";
  progressColor_ = kProgressColor;
  if (!status.ok()) return refuse("Import onto " + cassettePath + " failed: " + status.message());
  cassette.CloseStream();
  return true;
}

}  // namespace kiv::convert
