// The converter module: TZCAConv behind the panel's ConversionJob, in a library the panel loads
// at its first export or import.
#include <charconv>
#include <string>
#include <system_error>

#include "convert/ConversionJob.h"
#include "convert/ZCAConv.h"

namespace kiv::convert {
namespace {

template <typename Number>
bool ReadNumber(const std::string& text, Number* value) {
  Number parsed{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  *value = parsed;
  return true;
}

class ZcaJob final : public ConversionJob {
 public:
  ZcaJob(const char* tempFolder, const char* programFolder)
      : converter_(Environment(tempFolder, programFolder)) {}

  void SetEvents(ConversionEvents events) override {
    events_ = std::move(events);
    converter_.OnException = events_.exception;
    converter_.OnConversionBegin = events_.begin;
    converter_.OnConversionProgress = events_.progress;
    converter_.OnConversionEnd = events_.end;
    converter_.OnConversionDone = [this](uint32_t wPar, uint32_t lPar) {
      if (events_.done) events_.done(int32_t(wPar), int32_t(lPar));
    };
  }

  void HandOver(const std::string& name, const std::string& value) override {
    int rate = 0;
    int64_t offset = 0;
    if (name == "ChangeFromType") {
      converter_.SetChangeFromType(value);
    } else if (name == "ChangeFrom") {
      converter_.SetChangeFrom(value);
    } else if (name == "ChangeTo") {
      converter_.SetChangeTo(value);
    } else if (name == "ChangeToType") {
      converter_.SetChangeToType(value);
    } else if (name == "ChangeFromFreq" && ReadNumber(value, &rate)) {
      converter_.SetChangeFromFreq(rate);
    } else if (name == "ChangeToFreq" && ReadNumber(value, &rate)) {
      converter_.SetChangeToFreq(rate);
    } else if (name == "ChangeToMessageStart" && ReadNumber(value, &offset)) {
      converter_.SetChangeToMessageStart(offset);
    } else if (name == "ChangeToMessageEnd" && ReadNumber(value, &offset)) {
      converter_.SetChangeToMessageEnd(offset);
    }
  }

  void SetNameColors(const std::string& tag1, const std::string& tag2) override {
    converter_.SetTickerColorTags(tag1, tag2);
  }
  void DoExport(const std::string& album, const std::string& title, int track) override {
    converter_.DoExport(album, title, track);
  }
  void DoImport() override { converter_.DoImport(); }

 private:
  static ZcaEnvironment Environment(const char* tempFolder, const char* programFolder) {
    ZcaEnvironment env = DefaultZcaEnvironment(programFolder);
    env.tempFolder = tempFolder;
    if (!env.tempFolder.empty() && env.tempFolder.back() != '/') env.tempFolder += '/';
    return env;
  }

  TZCAConv converter_;
  ConversionEvents events_;
};

}  // namespace
}  // namespace kiv::convert

extern "C" __attribute__((visibility("default"))) kiv::ConversionJob* KivNewConversionJob(
    const char* tempFolder, const char* programFolder) {
  return new kiv::convert::ZcaJob(tempFolder, programFolder);
}
