// A settings store in memory for tests: the values are a map the test can fill and read, and
// the start-with-system entry is a recorded state instead of a file or registry value.
#pragma once

#include <QMap>

#include "platform/SettingsStore.h"

namespace kiv {

class FakeSettingsStore final : public SettingsStore {
 public:
  FakeSettingsStore() = default;
  explicit FakeSettingsStore(QMap<QString, QString> values);

  QString ReadSetting(const QString& name) const override;
  void WriteSetting(const QString& name, const QString& text) override;
  void SetAutostart(bool on, const QString& programPath) override;

  // Every value written so far (and those given at construction).
  const QMap<QString, QString>& Values() const { return values_; }
  bool Contains(const Setting& setting) const {
    return values_.contains(QString::fromLatin1(setting.name));
  }
  int WriteCount() const { return writeCount_; }

  // Whether an autostart entry exists now, and which program it starts (empty when none).
  bool AutostartOn() const { return autostartOn_; }
  QString AutostartProgram() const { return autostartProgram_; }

 private:
  QMap<QString, QString> values_;
  int writeCount_ = 0;
  bool autostartOn_ = false;
  QString autostartProgram_;
};

}  // namespace kiv
