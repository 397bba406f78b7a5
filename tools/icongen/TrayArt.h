// The pictures of the recorder's tray icons: a little handheld dictaphone, seen from the front,
// with its cassette window at the top and a lamp below that tells the transport state at a
// glance: a red dot while recording, a green triangle while playing, two amber bars while
// paused, and the plain speaker grille while idle. The background family, shown while the panel
// is on screen behind other windows, is the same picture faded towards grey.
//
// Each size has its own layout on whole pixels, so the 16-pixel icon is drawn for 16 pixels and
// not shrunk from a larger one.
#pragma once

#include <QImage>
#include <QList>

namespace icongen {

enum class TrayState { Idle, Playing, Paused, Recording };

struct TrayIconFile {
  const char* fileName;
  TrayState state;
  bool background;  // the panel is shown but another program is the active one
};

// Every icon file the recorder loads, foreground family first.
QList<TrayIconFile> TrayIconFiles();

// The sizes in each file, smallest first.
QList<int> TrayIconSizes();

// One picture, `side` pixels square (16, 32, 48, or any larger side, drawn from the 48-pixel
// layout), transparent around the dictaphone.
QImage DrawTrayIcon(TrayState state, bool background, int side);

}  // namespace icongen
