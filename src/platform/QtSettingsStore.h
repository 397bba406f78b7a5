// The settings store of the running program: QSettings in its native format, user scope,
// organisation "Zorvikware", application "Kiv Sound Recorder", group "3.4". On Windows that is the
// registry key HKCU\Software\Zorvikware\Kiv Sound Recorder\3.4; elsewhere an INI file,
// $XDG_CONFIG_HOME/Zorvikware/Kiv Sound Recorder.conf, section [3.4].
//
// Each call opens the settings afresh and writes are synced before returning, so a value another
// process wrote is seen by the next read, and a value written here is on disk for the next reader.
#pragma once

#include "platform/SettingsStore.h"

namespace kiv {

class QtSettingsStore final : public SettingsStore {
 public:
  QtSettingsStore() = default;

  QString ReadSetting(const QString& name) const override;
  void WriteSetting(const QString& name, const QString& text) override;
  void SetAutostart(bool on, const QString& programPath) override;

  // "3.4": the version whose settings these are; also the value of "KSRVer".
  static QString VersionGroup();
};

}  // namespace kiv
