// The start-with-system entry: what makes the desktop start the recorder when the user logs on.
// On Windows it is the value "KivRec" under HKCU\Software\Microsoft\Windows\CurrentVersion\Run;
// on other systems an XDG autostart file, $XDG_CONFIG_HOME/autostart/KivRec.desktop. The entry
// belongs to the user's session, not to us: we only ever write or remove our own file or value.
#pragma once

#include <QString>
#include <QtGlobal>

namespace kiv {

class AutostartEntry {
 public:
  AutostartEntry() = delete;

  // Creates or replaces the entry so that it starts `programPath`. Failures are silent.
  static void Write(const QString& programPath);

  // Removes the entry; nothing happens when there is none.
  static void Remove();

#ifndef Q_OS_WIN
  // Where the entry goes: `xdgConfigHome`/autostart/KivRec.desktop, with `home`/.config instead
  // when XDG_CONFIG_HOME is empty or relative (a relative one is invalid and must be ignored).
  // Empty when neither gives a folder; then there is no entry to write or remove.
  static QString FilePathFor(const QString& xdgConfigHome, const QString& home);

  // FilePathFor() with this process's environment.
  static QString FilePath();

  // The complete desktop entry starting `programPath`.
  static QString DesktopEntryText(const QString& programPath);

  // `programPath` as the value of the Exec key, quoted and escaped by the desktop-entry rules.
  static QString ExecValue(const QString& programPath);
#endif
};

}  // namespace kiv
