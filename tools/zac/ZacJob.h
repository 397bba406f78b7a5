// The job the panel hands to the external converter: the program's one argument says whether it
// is an export or an import, and the eight values the panel wrote into the settings store just
// before starting it say what to convert.
//
// Reading is all this unit does; it judges nothing. A rate or an offset that is not a number is
// left out (the converter keeps its own default), except the word "import", which the panel writes
// where an import has no value and which stands for 0, as the built-in converter is given.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kiv {

class SettingsStore;

namespace zac {

enum class Mode { Export, Import };

// The mode named by the program's arguments (without the program name): exactly one argument,
// "export" or "import". Nothing for anything else.
std::optional<Mode> ParseMode(const QStringList& arguments);

struct Job {
  Mode mode = Mode::Export;
  QString changeFrom;
  QString changeFromType;
  std::optional<int> changeFromFreq;
  std::optional<int> changeToFreq;
  std::optional<qint64> changeToMessageStart;
  std::optional<qint64> changeToMessageEnd;
  QString changeTo;
  QString changeToType;

  bool operator==(const Job&) const = default;
};

Job ReadJob(const SettingsStore& store, Mode mode);

}  // namespace zac
}  // namespace kiv
