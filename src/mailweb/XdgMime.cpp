#include "mailweb/XdgMime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace kiv::xdg {
namespace {

QString EnvFolder(const char* name, const QString& fallback) {
  const QString value = qEnvironmentVariable(name);
  return value.isEmpty() ? fallback : value;
}

QStringList EnvFolders(const char* name, const QString& fallback) {
  return EnvFolder(name, fallback).split(u':', Qt::SkipEmptyParts);
}

QString ConfigHome() { return EnvFolder("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config")); }
QString DataHome() { return EnvFolder("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share")); }
QStringList ConfigDirs() { return EnvFolders("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")); }
QStringList DataDirs() { return EnvFolders("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")); }

// The desktops named in XDG_CURRENT_DESKTOP, lower case, as their list files are named.
QStringList CurrentDesktops() {
  QStringList desktops;
  for (const QString& desktop : EnvFolders("XDG_CURRENT_DESKTOP", QString())) desktops << desktop.toLower();
  return desktops;
}

void AddListsOf(const QString& folder, QStringList* lists) {
  for (const QString& desktop : CurrentDesktops())
    lists->append(folder + u'/' + desktop + QStringLiteral("-mimeapps.list"));
  lists->append(folder + QStringLiteral("/mimeapps.list"));
}

// The values of `key` in `group` of a desktop-entry style file; empty when absent.
QString GroupValue(const QString& file, const QString& group, const QString& key) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QTextStream text(&in);
  bool inGroup = false;
  while (!text.atEnd()) {
    const QString line = text.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      inGroup = line == u'[' + group + u']';
      continue;
    }
    if (!inGroup) continue;
    const qsizetype equals = line.indexOf(u'=');
    if (equals > 0 && line.left(equals).trimmed() == key) return line.mid(equals + 1).trimmed();
  }
  return {};
}

// The string escapes of a desktop file value (\s, \n, \t, \r, \\).
QString Unescape(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const QChar next = value[++i];
    if (next == u's') out += u' ';
    else if (next == u'n') out += u'\n';
    else if (next == u't') out += u'\t';
    else if (next == u'r') out += u'\r';
    else if (next == u'\\') out += u'\\';
    else out += QString(u'\\') + next;  // not a string escape: left for the Exec quoting
  }
  return out;
}

}  // namespace

QStringList MimeAppsLists() {
  QStringList lists;
  AddListsOf(ConfigHome(), &lists);
  for (const QString& folder : ConfigDirs()) AddListsOf(folder, &lists);
  AddListsOf(DataHome() + QStringLiteral("/applications"), &lists);
  for (const QString& folder : DataDirs()) AddListsOf(folder + QStringLiteral("/applications"), &lists);
  return lists;
}

QStringList ApplicationFolders() {
  QStringList folders{DataHome() + QStringLiteral("/applications")};
  for (const QString& folder : DataDirs()) folders << folder + QStringLiteral("/applications");
  return folders;
}

QString FindDesktopFile(const QString& desktopId) {
  if (desktopId.isEmpty() || desktopId.contains(u'/')) return {};
  for (const QString& folder : ApplicationFolders()) {
    const QString flat = folder + u'/' + desktopId;
    if (QFileInfo(flat).isFile()) return flat;
    // A dash in an id may stand for a subfolder of the applications folder.
    QString nested = desktopId;
    for (qsizetype dash = nested.indexOf(u'-'); dash >= 0; dash = nested.indexOf(u'-', dash + 1)) {
      nested[dash] = u'/';
      if (QFileInfo(folder + u'/' + nested).isFile()) return folder + u'/' + nested;
    }
  }
  return {};
}

QString DefaultApplication(const QString& mimeType) {
  const QStringList lists = MimeAppsLists();
  for (const char* group : {"Default Applications", "Added Associations"}) {
    for (const QString& list : lists) {
      const QString ids = GroupValue(list, QString::fromLatin1(group), mimeType);
      for (const QString& id : ids.split(u';', Qt::SkipEmptyParts)) {
        const QString file = FindDesktopFile(id.trimmed());
        if (!file.isEmpty()) return file;
      }
    }
  }
  // No choice made anywhere: the applications that say they handle the type, as the desktop's
  // cache of the installed desktop files lists them.
  for (const QString& folder : ApplicationFolders()) {
    const QString ids = GroupValue(folder + QStringLiteral("/mimeinfo.cache"), QStringLiteral("MIME Cache"), mimeType);
    for (const QString& id : ids.split(u';', Qt::SkipEmptyParts)) {
      const QString file = FindDesktopFile(id.trimmed());
      if (!file.isEmpty()) return file;
    }
  }
  return {};
}

bool SplitExec(const QString& exec, QStringList* command) {
  command->clear();
  QString argument;
  bool started = false;     // an argument is open (a quote opens one, even an empty one)
  bool fieldCode = false;   // the open argument held a field code
  bool quoted = false;
  auto close = [&] {
    // An argument that was nothing but field codes stands for the file or address: it goes.
    if (started && !(argument.isEmpty() && fieldCode)) command->append(argument);
    argument.clear();
    started = fieldCode = false;
  };
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted) {
      if (c == u'"') {
        quoted = false;
      } else if (c == u'\\' && i + 1 < exec.size() && QStringLiteral("\"`$\\").contains(exec[i + 1])) {
        argument += exec[++i];
      } else {
        argument += c;
      }
    } else if (c == u' ' || c == u'\t') {
      close();
    } else if (c == u'"') {
      quoted = started = true;
    } else if (c == u'%' && i + 1 < exec.size()) {
      const QChar code = exec[++i];
      if (code == u'%') {
        argument += u'%';
        started = true;
      } else {
        fieldCode = started = true;  // %u, %U, %f, %F, %i, %c, %k and the deprecated ones
      }
    } else {
      argument += c;
      started = true;
    }
  }
  if (quoted) {
    command->clear();
    return false;
  }
  close();
  return !command->isEmpty();
}

bool DesktopCommand(const QString& desktopFile, QStringList* command) {
  const QString entry = QStringLiteral("Desktop Entry");
  if (GroupValue(desktopFile, entry, QStringLiteral("Hidden")) == QStringLiteral("true")) return false;
  return SplitExec(Unescape(GroupValue(desktopFile, entry, QStringLiteral("Exec"))), command);
}

}  // namespace kiv::xdg
