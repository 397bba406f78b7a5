// One export or import, as the recorder's panel runs it: the eight named values handed over as
// text (the same names and texts the external converter program reads from the settings), the
// job itself, and the events that report on it while it runs. The job runs to its end inside
// DoExport or DoImport; every outcome, good or bad, arrives through the events, and the last
// event is always `done`.
//
// The panel gets its jobs from the converter module, a library beside the program that it loads
// at the first export or import: the codec libraries cost memory that a recorder which never
// converts should not pay.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kiv {

struct ConversionEvents {
  // An error, or the notice that the job succeeded: the host shows the text to the user.
  std::function<void(const std::string& text)> exception;
  // A pass over [min, max] begins; `title` and `color` (0x00BBGGRR) are for its progress bar.
  std::function<void(int64_t min, int64_t max, const std::string& title, uint32_t color)> begin;
  std::function<void(int64_t position)> progress;
  std::function<void()> end;
  // The whole job is over: (1, 1) when it failed or did nothing; (0x000E000D, 0x000BF79B) on
  // success.
  std::function<void(int32_t wPar, int32_t lPar)> done;
};

class ConversionJob {
 public:
  virtual ~ConversionJob() = default;

  virtual void SetEvents(ConversionEvents events) = 0;
  // "ChangeFromType", "ChangeFrom", "ChangeFromFreq", "ChangeToFreq", "ChangeToMessageStart",
  // "ChangeToMessageEnd", "ChangeTo" or "ChangeToType". A number that does not read as one
  // ("import" stands in for the numbers an import does not use) leaves the value as it was.
  virtual void HandOver(const std::string& name, const std::string& value) = 0;
  // The skin's ticker colour tags, stored in the name of an imported message as in a recorded one.
  virtual void SetNameColors(const std::string& tag1, const std::string& tag2) = 0;
  // Writes one message of a cassette to a sound file; the three values label an MP3 target.
  virtual void DoExport(const std::string& album, const std::string& title, int track) = 0;
  // Converts a sound file and appends it to a cassette as a new message.
  virtual void DoImport() = 0;

 protected:
  ConversionJob() = default;
  ConversionJob(const ConversionJob&) = delete;
  ConversionJob& operator=(const ConversionJob&) = delete;
};

// The converter module's one entry point: extern "C" ConversionJob* <kNewConversionJob>(
// const char* tempFolder, const char* programFolder), the caller owning the job.
inline constexpr const char* kNewConversionJob = "KivNewConversionJob";
using NewConversionJobFunction = ConversionJob* (*)(const char* tempFolder, const char* programFolder);

}  // namespace kiv
