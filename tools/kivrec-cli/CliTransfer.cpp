// The converter job of export and import, and its progress bar.
#include "CliTransfer.h"

#include <cstdint>
#include <iomanip>
#include <ostream>

namespace kivcli {
namespace {

// "Importing... [##########               ]  40%", redrawn in place when the percentage moves.
class ProgressBar {
 public:
  explicit ProgressBar(std::ostream& err) : err_(err) {}
  void Begin(int64_t min, int64_t max, const std::string& title) {
    min_ = min, max_ = max, title_ = title, shown_ = -1;
    Update(min);
  }
  void Update(int64_t position) {
    const int64_t span = max_ - min_;
    const int percent = span <= 0 ? 100 : int((position - min_) * 100 / span);
    if (percent == shown_) return;
    shown_ = percent;
    const int filled = percent / 4;
    err_ << "\r" << title_ << " [" << std::string(size_t(filled), '#')
         << std::string(size_t(25 - filled), ' ') << "] " << std::setw(3) << percent << "%"
         << std::flush;
  }
  void End() {
    if (shown_ >= 0) err_ << "\n" << std::flush;
    shown_ = -1;
  }

 private:
  std::ostream& err_;
  int64_t min_ = 0, max_ = 0;
  std::string title_;
  int shown_ = -1;
};

}  // namespace

ConverterResult RunConverter(const std::function<void(kiv::convert::TZCAConv&)>& job,
                             std::ostream& err, bool progressBar) {
  ConverterResult result;
  kiv::convert::TZCAConv converter(kiv::convert::DefaultZcaEnvironment(""));
  ProgressBar bar(err);
  converter.OnException = [&result](const std::string& text) { result.texts.push_back(text); };
  if (progressBar) {
    converter.OnConversionBegin = [&bar](int64_t min, int64_t max, const std::string& title,
                                         uint32_t) { bar.Begin(min, max, title); };
    converter.OnConversionProgress = [&bar](int64_t position) { bar.Update(position); };
    converter.OnConversionEnd = [&bar] { bar.End(); };
  }
  converter.OnConversionDone = [&result](uint32_t wPar, uint32_t lPar) {
    result.succeeded = wPar == kiv::convert::TZCAConv::kDoneWParam &&
                       lPar == kiv::convert::TZCAConv::kDoneLParam;
  };
  job(converter);
  return result;
}

}  // namespace kivcli
