// A desktop in a throw-away folder for tests of browser and mail lookups: while this object
// lives, the XDG configuration and data folders and the front of PATH point into `root`, so
// nothing of the machine's own associations is seen. Programs written here record the arguments
// they were started with.
#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <gtest/gtest.h>
#include <map>

namespace kiv::test {

class XdgTestHome {
 public:
  explicit XdgTestHome(const QString& root) : root_(root) {
    for (const char* sub : {"config", "etc", "data/applications", "share/applications", "bin"})
      QDir().mkpath(root + u'/' + QLatin1String(sub));
    Set("XDG_CONFIG_HOME", root + QStringLiteral("/config"));
    Set("XDG_CONFIG_DIRS", root + QStringLiteral("/etc"));
    Set("XDG_DATA_HOME", root + QStringLiteral("/data"));
    Set("XDG_DATA_DIRS", root + QStringLiteral("/share"));
    Set("XDG_CURRENT_DESKTOP", QStringLiteral("Test"));
    Set("PATH", root + QStringLiteral("/bin:") + qEnvironmentVariable("PATH"));
  }
  ~XdgTestHome() {
    for (const auto& [name, value] : saved_) {
      if (value.isNull()) qunsetenv(name.c_str());
      else qputenv(name.c_str(), value);
    }
  }
  XdgTestHome(const XdgTestHome&) = delete;
  XdgTestHome& operator=(const XdgTestHome&) = delete;

  const QString& Root() const { return root_; }
  // A desktop file `id` with the Exec line `exec`, in the user's or the system's folder.
  QString AddApplication(const QString& id, const QString& exec, bool system = false) const {
    const QString file = root_ + (system ? QStringLiteral("/share") : QStringLiteral("/data")) +
                         QStringLiteral("/applications/") + id;
    Write(file, "[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\nExec=" + exec.toUtf8() + "\n");
    return file;
  }
  // A mimeapps.list (a path under the root) naming `id` the default for `type`.
  void SetDefault(const QString& list, const QString& type, const QString& id) const {
    Write(root_ + u'/' + list, "[Default Applications]\n" + type.toUtf8() + '=' + id.toUtf8() + ";\n", true);
  }
  // An executable in the root's bin folder that records its arguments (see Arguments).
  QString AddRecorder(const QString& name) const {
    const QString path = root_ + QStringLiteral("/bin/") + name;
    const QByteArray out = QFile::encodeName(root_ + u'/' + name + QStringLiteral(".args"));
    Write(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done >'" + out + ".part'\nmv '" +
                    out + ".part' '" + out + "'\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
  }
  // The arguments the recorder `name` was last started with, waiting for it a little; empty
  // when it did not run.
  QStringList Arguments(const QString& name, int waitMs = 5000) const {
    QFile file(root_ + u'/' + name + QStringLiteral(".args"));
    for (QDeadlineTimer deadline(waitMs); !file.exists() && !deadline.hasExpired();) QThread::msleep(20);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList arguments;
    for (const QByteArray& argument : file.readAll().split('\0')) arguments << QString::fromUtf8(argument);
    arguments.removeLast();  // after the last terminator
    file.remove();
    return arguments;
  }
  static void Write(const QString& path, const QByteArray& bytes, bool append = false) {
    QFile file(path);
    ASSERT_TRUE(file.open(append ? QIODevice::Append : QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
  }

 private:
  void Set(const char* name, const QString& value) {
    if (saved_.count(name) == 0) saved_[name] = qgetenv(name);
    qputenv(name, value.toLocal8Bit());
  }

  QString root_;
  std::map<std::string, QByteArray> saved_;
};

}  // namespace kiv::test
