#include "platform/fake/FakeSettingsStore.h"

#include <utility>

namespace kiv {

FakeSettingsStore::FakeSettingsStore(QMap<QString, QString> values) : values_(std::move(values)) {}

QString FakeSettingsStore::ReadSetting(const QString& name) const { return values_.value(name); }

void FakeSettingsStore::WriteSetting(const QString& name, const QString& text) {
  values_.insert(name, text);
  ++writeCount_;
}

void FakeSettingsStore::SetAutostart(bool on, const QString& programPath) {
  autostartOn_ = on;
  autostartProgram_ = on ? programPath : QString();
}

}  // namespace kiv
