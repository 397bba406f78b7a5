// The recorder's persistent settings: text values under one per-user key, plus the one entry kept
// outside that key, the start-with-system entry.
//
// Every reader treats the empty text as "use the default", so an absent value and a store that
// cannot be read look the same: reads never fail and failed writes are dropped silently. The
// front panel owns one store for the life of the program and hands it to whoever needs settings.
#pragma once

#include <QString>

#include "platform/SettingNames.h"

namespace kiv {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The value of `setting`; its default when the value is absent, empty or cannot be read.
  QString Read(const Setting& setting) const {
    const QString text = Stored(setting);
    return text.isEmpty() ? QString::fromLatin1(setting.byDefault) : text;
  }
  // The value as stored, the empty text when it is absent: for readers that tell absence apart.
  QString Stored(const Setting& setting) const {
    return ReadSetting(QString::fromLatin1(setting.name));
  }
  void Write(const Setting& setting, const QString& text) {
    WriteSetting(QString::fromLatin1(setting.name), text);
  }

  // The same by the value's name as text. Settings of the program go through the names above;
  // these are the store's own primitives.
  // The value's text; the empty text when it is absent or the store cannot be read.
  virtual QString ReadSetting(const QString& name) const = 0;

  // Stores `text` under `name` where other programs (the external converter) can read it at once.
  virtual void WriteSetting(const QString& name, const QString& text) = 0;

  // Makes the desktop start `programPath` when the user logs on, or stops it doing so. Turning it
  // off when there is no entry does nothing.
  virtual void SetAutostart(bool on, const QString& programPath) = 0;

 protected:
  SettingsStore() = default;
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;
};

}  // namespace kiv
