// Export and import run the recorder's own converter; this unit drives one converter job for the
// companion: it collects the converter's texts and draws its progress on a terminal.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "convert/ZCAConv.h"

namespace kivcli {

struct ConverterResult {
  bool succeeded = false;
  // Every text the converter gave, in order: its errors, or its success notice last.
  std::vector<std::string> texts;
};

// Sets up a converter, lets `job` set its properties and start it, and waits for its end. With
// `progressBar` each pass is drawn on `err` as a bar that one line holds.
ConverterResult RunConverter(const std::function<void(kiv::convert::TZCAConv&)>& job,
                             std::ostream& err, bool progressBar);

}  // namespace kivcli
