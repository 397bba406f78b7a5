// The desktop's file associations, read the way the freedesktop.org rules describe them: which
// application is the default for a MIME type (mimeapps.list), where its desktop file lies, and
// what command its Exec line stands for. Every lookup reads the environment when it runs
// (XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME, XDG_DATA_DIRS, XDG_CURRENT_DESKTOP, PATH), so
// an association changed while the recorder runs counts, and a test points it at a throw-away
// home. Nothing here starts a program.
#pragma once

#include <QString>
#include <QStringList>

namespace kiv::xdg {

// The mimeapps.list files in the order they are consulted: the user's configuration, the
// system's configuration, then the user's and the system's applications folders; in each folder
// the current desktop's own list comes before the common one.
QStringList MimeAppsLists();

// The applications folders desktop files are looked up in, the user's first.
QStringList ApplicationFolders();

// The desktop file of the application id ("firefox.desktop"; "org-foo.desktop" may also lie at
// "org/foo.desktop"); empty when no applications folder holds it.
QString FindDesktopFile(const QString& desktopId);

// The desktop file of the default application for `mimeType` (a MIME type or
// "x-scheme-handler/<scheme>"): the first installed one of the "Default Applications", then of
// the "Added Associations", over all lists in order, then of the applications folders'
// mimeinfo.cache. Empty when there is none.
QString DefaultApplication(const QString& mimeType);

// The program and its arguments from a desktop file's Exec line, with the quoting and escapes
// undone and the field codes (%u, %U, %f, %F, ...) taken out: an argument that was only a field
// code disappears. False for a file without an Exec line in its [Desktop Entry] group, a hidden
// entry, or an Exec line that cannot be split (an unclosed quote).
bool DesktopCommand(const QString& desktopFile, QStringList* command);

// Splits an Exec value as above; false when it cannot be split or holds no program.
bool SplitExec(const QString& exec, QStringList* command);

}  // namespace kiv::xdg
