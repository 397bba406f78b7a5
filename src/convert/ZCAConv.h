// TZCAConv: copies sound between the recorder's cassettes and ordinary sound files. DoExport
// writes one message of a cassette to a WAV (or MP3) file; DoImport converts a WAV or MP3 file
// to the cassette's format and appends it to a cassette as a new message.
//
// A job runs synchronously on the caller's thread and reports only through the events: begin,
// progress and end of each pass (to drive a progress window), OnException for every error text
// and for the final success notice, and OnConversionDone once at the end with (1, 1) for a
// failed or empty job or (kDoneWParam, kDoneLParam) for success. Nothing throws.
//
// The converter owns its temporary files (all in the temporary folder, removed by the
// destructor) and the per-job log "ZvZAC.log" there. Everything it needs from the machine (the
// folders, free disk space, the clock that names an imported message, the file system) comes in
// through ZcaEnvironment, so tests can supply their own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "cassette/File.h"
#include "cassette/MessageName.h"
#include "convert/ID3v1Tag.h"
#include "convert/WaveFormat.h"

namespace kiv::convert {

struct ZcaEnvironment {
  std::string tempFolder;     // with its trailing separator
  std::string programFolder;  // with its trailing separator
  // Free space in MiB on the disk that holds `path`; negative when it cannot be told.
  std::function<double(const std::string& path)> freeMiB;
  Clock clock = SystemLocalTime;  // names an imported message
  FileSystem* files = &FileSystem::Default();  // the cassette's and the targets' writes
};

// The machine's own: $TMPDIR (else /tmp), the given program folder, the disk's free space.
ZcaEnvironment DefaultZcaEnvironment(const std::string& programFolder);

class TZCAConv {
 public:
  static constexpr uint32_t kDoneWParam = 0x000E000D;
  static constexpr uint32_t kDoneLParam = 0x000BF79B;
  static constexpr uint32_t kProgressColor = 33023;
  static constexpr uint32_t kImportColor = 0xFF0000;
  static constexpr const char* kLogName = "ZvZAC.log";

  explicit TZCAConv(ZcaEnvironment env);
  ~TZCAConv();
  TZCAConv(const TZCAConv&) = delete;
  TZCAConv& operator=(const TZCAConv&) = delete;

  std::function<void(const std::string& text)> OnException;
  std::function<void(int64_t min, int64_t max, const std::string& title, uint32_t color)>
      OnConversionBegin;
  std::function<void(int64_t position)> OnConversionProgress;
  std::function<void()> OnConversionEnd;
  std::function<void(uint32_t wPar, uint32_t lPar)> OnConversionDone;

  const std::string& ChangeFrom() const { return changeFrom_; }
  void SetChangeFrom(const std::string& path) { changeFrom_ = path; }
  const std::string& ChangeFromType() const { return changeFromType_; }
  void SetChangeFromType(const std::string& type) { changeFromType_ = type; }
  int ChangeFromFreq() const { return changeFromFreq_; }
  void SetChangeFromFreq(int rate) { changeFromFreq_ = rate; }
  int ChangeFromChannels() const { return changeFromChannels_; }
  void SetChangeFromChannels(int channels) { changeFromChannels_ = channels == 2 ? 2 : 1; }
  int ChangeFromBits() const { return changeFromBits_; }
  void SetChangeFromBits(int bits) { changeFromBits_ = bits == 16 ? 16 : 8; }
  const std::string& ChangeTo() const { return changeTo_; }
  void SetChangeTo(const std::string& path) { changeTo_ = path; }
  const std::string& ChangeToType() const { return changeToType_; }
  void SetChangeToType(const std::string& type) { changeToType_ = type; }
  int ChangeToFreq() const { return changeToFreq_; }
  void SetChangeToFreq(int rate) { changeToFreq_ = rate; }
  int ChangeToChannels() const { return changeToChannels_; }
  void SetChangeToChannels(int channels) { changeToChannels_ = channels == 2 ? 2 : 1; }
  int ChangeToBits() const { return changeToBits_; }
  void SetChangeToBits(int bits) { changeToBits_ = bits == 16 ? 16 : 8; }
  int64_t ChangeToMessageStart() const { return messageStart_; }
  void SetChangeToMessageStart(int64_t offset) { messageStart_ = offset; }
  int64_t ChangeToMessageEnd() const { return messageEnd_; }
  void SetChangeToMessageEnd(int64_t offset) { messageEnd_ = offset; }
  const std::string& SeparatorWAV() const { return separatorWav_; }  // kept, never used here
  void SetSeparatorWAV(const std::string& path) { separatorWav_ = path; }
  bool DoChooseMP3Format() const { return doChooseMp3Format_; }
  void SetDoChooseMP3Format(bool value) { doChooseMp3Format_ = value; }
  // Constant bit rate of an MP3 target, kbit/s.
  int Mp3BitRate() const { return mp3BitRate_; }
  void SetMp3BitRate(int kbps) { mp3BitRate_ = kbps; }
  // The skin's colour tags, stored in an imported message's name as in a recorded one.
  void SetTickerColorTags(std::string tag1, std::string tag2);

  // The message between ChangeToMessageStart and ChangeToMessageEnd of the cassette ChangeFrom
  // to the file ChangeTo. Album, title and track label an MP3 target's ID3v1 tag only.
  void DoExport(const std::string& album, const std::string& title, int track);
  // The WAV or MP3 file ChangeFrom onto the cassette ChangeTo, as a new last message.
  void DoImport();

  std::string LogPath() const { return env_.tempFolder + kLogName; }
  // The temporary files a job may leave until the destructor removes them.
  static const char* const kTempNames[9];

 private:
  struct Pass;

  void InitialLog();
  void WriteLog(const std::string& text);
  void RaiseException(const std::string& text);
  // RaiseException, the log line with `tag`, then done (1, 1).
  void Fail(const std::string& tag, const std::string& text);
  void Done(uint32_t wPar, uint32_t lPar);
  std::string TempPath(int index) const { return env_.tempFolder + kTempNames[index]; }

  bool ConvertPass(Pass& pass);
  bool ExportPass(const TACMWaveFormat& in, const TACMWaveFormat& out, bool mp3);
  bool DecodeToCassetteFormat(const std::string& sourceKind, uint32_t rate,
                              std::string* decodedPath);
  bool AppendToCassette(const std::string& soundPath, const std::string& cassettePath);

  ZcaEnvironment env_;
  std::string changeFrom_, changeFromType_, changeTo_, changeToType_, separatorWav_;
  int changeFromFreq_ = 11025, changeFromChannels_ = 1, changeFromBits_ = 8;
  int changeToFreq_ = 11025, changeToChannels_ = 1, changeToBits_ = 8;
  int64_t messageStart_ = 0, messageEnd_ = 0;
  bool doChooseMp3Format_ = true;
  int mp3BitRate_ = 32;
  std::string tag1_ = "255%", tag2_ = "65280%";

  std::string statusCaption_ = "Converting...";
  uint32_t progressColor_ = kProgressColor;
  bool mp3CodecInstalled_ = false;
  // Per job.
  std::string album_, title_, sourcePath_, targetPath_, sourceKind_, targetKind_;
  int track_ = 0;
  TID3v1Tag tag_;
  bool doneSent_ = false;
};

}  // namespace kiv::convert
