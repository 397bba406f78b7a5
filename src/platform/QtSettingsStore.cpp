#include "platform/QtSettingsStore.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include "platform/AutostartEntry.h"

namespace kiv {
namespace {

// A fresh QSettings per call: it rereads the file when another process changed it.
struct OpenSettings {
  OpenSettings()
      : settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zorvikware"),
                 QStringLiteral("Kiv Sound Recorder")) {
    settings.beginGroup(QtSettingsStore::VersionGroup());
  }
  QSettings settings;
};

}  // namespace

QString QtSettingsStore::VersionGroup() { return QLatin1String(kSettingsVersion); }

QString QtSettingsStore::ReadSetting(const QString& name) const {
  OpenSettings open;
  const QVariant value = open.settings.value(name);
  // A value typed into the INI file by hand with an unquoted comma comes back as a list; the
  // text the user meant is the list joined again.
  if (value.typeId() == QMetaType::QStringList) {
    return value.toStringList().join(QStringLiteral(", "));
  }
  return value.toString();
}

void QtSettingsStore::WriteSetting(const QString& name, const QString& text) {
  OpenSettings open;
  open.settings.setValue(name, text);
  open.settings.sync();
}

void QtSettingsStore::SetAutostart(bool on, const QString& programPath) {
  if (on) {
    AutostartEntry::Write(programPath);
  } else {
    AutostartEntry::Remove();
  }
}

}  // namespace kiv
