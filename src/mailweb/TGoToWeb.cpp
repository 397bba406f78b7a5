#include "mailweb/TGoToWeb.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "mailweb/XdgMime.h"
#include "platform/DesktopLauncher.h"

#ifdef Q_OS_WIN
#include <QSettings>
#include <qt_windows.h>
#include <shellapi.h>
#endif

namespace kiv {
namespace {

#ifdef Q_OS_WIN
// The open command of the first HTML file type that has one, from the registry.
QString RegisteredBrowserCommand() {
  const QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT"), QSettings::NativeFormat);
  for (const char* extension : {".HTM", ".HTML", ".SHTML", ".SHTM"}) {
    const QString key = QString::fromLatin1(extension);
    const QString type = classes.value(key + QStringLiteral("/Default")).toString();
    QString command;
    if (!type.isEmpty())
      command = classes.value(type + QStringLiteral("/shell/open/command/Default")).toString();
    if (command.isEmpty())
      command = classes.value(key + QStringLiteral("/shell/open/command/Default")).toString();
    if (!command.isEmpty()) return command;
  }
  return {};
}
#endif

}  // namespace

QStringList TGoToWeb::BrowserTypes() {
  return {QStringLiteral("text/html"), QStringLiteral("application/xhtml+xml"),
          QStringLiteral("x-scheme-handler/http"), QStringLiteral("x-scheme-handler/https")};
}

QString TGoToWeb::BrowserPath() {
  browserParameters_.clear();
#ifdef Q_OS_WIN
  QString parameters;
  const QString path = SplitBrowserCommand(RegisteredBrowserCommand(), &parameters);
  if (!parameters.isEmpty()) browserParameters_ << parameters;
  return path;
#else
  for (const QString& type : BrowserTypes()) {
    const QString desktopFile = xdg::DefaultApplication(type);
    QStringList command;
    if (desktopFile.isEmpty() || !xdg::DesktopCommand(desktopFile, &command)) continue;
    QString program = command.takeFirst();
    // A bare program name is looked up on PATH, as the desktop does.
    if (!program.contains(u'/')) program = QStandardPaths::findExecutable(program);
    if (program.isEmpty()) continue;
    browserParameters_ = command;
    return program;
  }
  return {};
#endif
}

bool TGoToWeb::IsAnyBrowser() {
  const QString path = BrowserPath();
  return !path.isEmpty() && QFileInfo(path).isFile();
}

bool TGoToWeb::Execute() {
  const QString path = BrowserPath();
  if (path.isEmpty()) return false;
#ifdef Q_OS_WIN
  const QString arguments = browserParameters_.join(u' ') + u' ' + Url;
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, nullptr, reinterpret_cast<const wchar_t*>(path.utf16()),
                    reinterpret_cast<const wchar_t*>(arguments.utf16()), nullptr,
                    GwToSw(BrowserState)));
  return result > 32;
#else
  return launcher_.StartProgram(path, browserParameters_ + QStringList{Url});
#endif
}

QString SplitBrowserCommand(const QString& command, QString* parameters) {
  parameters->clear();
  const QString upper = command.toUpper();
  qsizetype end = -1;
  for (qsizetype at = upper.size() - 4; at >= 0 && end < 0; --at) {
    const QStringView four = QStringView(upper).mid(at, 4);
    if (four == u".EXE" || four == u".BAT" || four == u".COM") end = at + 4;
  }
  if (end < 0) return {};
  QString rest = command.mid(end).trimmed();
  rest.remove(u'"');
  QString kept;
  for (qsizetype i = 0; i < rest.size(); ++i) {
    if (rest[i] == u'%') {
      while (i < rest.size() && rest[i] != u' ') ++i;
      if (i == rest.size()) break;
    }
    kept += rest[i];
  }
  *parameters = kept.trimmed();
  QString path = command.left(end);
  if (path.startsWith(u'"')) path.remove(0, 1);
  return path;
}

}  // namespace kiv
