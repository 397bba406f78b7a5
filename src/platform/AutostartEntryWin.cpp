// The Run value of the registry; other systems use AutostartEntry.cpp instead.
#include "platform/AutostartEntry.h"

#include <QDir>
#include <QSettings>

namespace kiv {
namespace {

QString RunKey() {
  return QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

}  // namespace

void AutostartEntry::Write(const QString& programPath) {
  QSettings run(RunKey(), QSettings::NativeFormat);
  run.setValue(QStringLiteral("KivRec"), QDir::toNativeSeparators(programPath));
  run.sync();
}

void AutostartEntry::Remove() {
  QSettings run(RunKey(), QSettings::NativeFormat);
  run.remove(QStringLiteral("KivRec"));
  run.sync();
}

}  // namespace kiv
