// The recorder's icon for menus, launchers and the software centre: the tray icon's dictaphone
// with its red record lamp, at every size the hicolor icon theme asks for. The package installs
// them as share/icons/hicolor/<N>x<N>/apps/KivRec.png.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace icongen {

// The sizes a desktop looks for, smallest first.
QList<int> DesktopIconSizes();

// One picture, `side` pixels square, transparent around the dictaphone.
QImage DrawDesktopIcon(int side);

// Writes every size into <theme folder>/<N>x<N>/apps/<name>.png; returns what went wrong, or an
// empty text.
QString WriteDesktopIcons(const QString& themeFolder, const QString& name);

}  // namespace icongen
