// The XDG autostart file; Windows uses AutostartEntryWin.cpp instead.
#include "platform/AutostartEntry.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kiv {
namespace {

// Characters that force an Exec argument into double quotes.
bool IsReserved(QChar c) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  return reserved.contains(c);
}

}  // namespace

QString AutostartEntry::FilePathFor(const QString& xdgConfigHome, const QString& home) {
  QString base = xdgConfigHome;
  if (base.isEmpty() || !base.startsWith(u'/')) {
    if (home.isEmpty()) return {};
    base = home + QStringLiteral("/.config");
  }
  return QDir::cleanPath(base + QStringLiteral("/autostart/KivRec.desktop"));
}

QString AutostartEntry::FilePath() {
  return FilePathFor(qEnvironmentVariable("XDG_CONFIG_HOME"), qEnvironmentVariable("HOME"));
}

QString AutostartEntry::ExecValue(const QString& programPath) {
  // First the argument quoting of the Exec key, then "%" doubled so it is not a field code, then
  // the escapes every string value has (applied last, so a literal backslash ends up as four).
  QString argument = programPath;
  if (std::any_of(argument.cbegin(), argument.cend(), IsReserved)) {
    QString quoted = QStringLiteral("\"");
    for (QChar c : argument) {
      if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
      quoted += c;
    }
    quoted += u'"';
    argument = quoted;
  }
  argument.replace(u'%', QStringLiteral("%%"));

  QString value;
  for (QChar c : argument) {
    if (c == u'\\') {
      value += QStringLiteral("\\\\");
    } else if (c == u'\n') {
      value += QStringLiteral("\\n");
    } else if (c == u'\t') {
      value += QStringLiteral("\\t");
    } else if (c == u'\r') {
      value += QStringLiteral("\\r");
    } else {
      value += c;
    }
  }
  return value;
}

QString AutostartEntry::DesktopEntryText(const QString& programPath) {
  return QStringLiteral("[Desktop Entry]\n"
                        "Type=Application\n"
                        "Name=Kiv Sound Recorder\n"
                        "Exec=") +
         ExecValue(programPath) +
         QStringLiteral("\n"
                        "Terminal=false\n"
                        "X-GNOME-Autostart-enabled=true\n");
}

void AutostartEntry::Write(const QString& programPath) {
  const QString path = FilePath();
  if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath())) return;
  // Written aside and renamed, so the session never reads half an entry.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(DesktopEntryText(programPath).toUtf8());
  file.commit();
}

void AutostartEntry::Remove() {
  const QString path = FilePath();
  if (!path.isEmpty()) QFile::remove(path);
}

}  // namespace kiv
