#include "ZacJob.h"

#include <limits>

#include "platform/SettingsStore.h"

namespace kiv::zac {
namespace {

std::optional<qint64> Number(const QString& text, qint64 low, qint64 high) {
  if (text == QStringLiteral("import")) return 0;
  bool ok = false;
  const qint64 value = text.trimmed().toLongLong(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<int> Rate(const QString& text) {
  const auto value = Number(text, 0, std::numeric_limits<int>::max());
  return value ? std::optional<int>(int(*value)) : std::nullopt;
}

std::optional<qint64> Offset(const QString& text) {
  return Number(text, 0, std::numeric_limits<qint64>::max());
}

}  // namespace

std::optional<Mode> ParseMode(const QStringList& arguments) {
  if (arguments.size() != 1) return std::nullopt;
  if (arguments.front() == QStringLiteral("export")) return Mode::Export;
  if (arguments.front() == QStringLiteral("import")) return Mode::Import;
  return std::nullopt;
}

Job ReadJob(const SettingsStore& store, Mode mode) {
  Job job;
  job.mode = mode;
  job.changeFrom = store.Stored(settings::ChangeFrom);
  job.changeFromType = store.Stored(settings::ChangeFromType);
  job.changeFromFreq = Rate(store.Stored(settings::ChangeFromFreq));
  job.changeToFreq = Rate(store.Stored(settings::ChangeToFreq));
  job.changeToMessageStart = Offset(store.Stored(settings::ChangeToMessageStart));
  job.changeToMessageEnd = Offset(store.Stored(settings::ChangeToMessageEnd));
  job.changeTo = store.Stored(settings::ChangeTo);
  job.changeToType = store.Stored(settings::ChangeToType);
  return job;
}

}  // namespace kiv::zac
