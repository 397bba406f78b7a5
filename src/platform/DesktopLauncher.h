// Starts desktop programs on the user's behalf: the default handler for an address (the help
// page, a web page), the desktop's volume control, and programs of our own (the external
// converter). The front panel owns one and uses it for
// its help keys and Alt+V; the mixer's "Volume Controls" menu reuses StartVolumeControl, so both
// open the same program on the same view.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kiv {

class DesktopLauncher {
 public:
  virtual ~DesktopLauncher() = default;

  // Opens `address` (a file:// or http(s) address) with the desktop's default handler.
  // False when nothing could be started.
  virtual bool OpenAddress(const QString& address) = 0;

  enum class VolumeView { Playback, Recording };
  // Starts the desktop's volume control on its playback or recording view. False when no volume
  // control is installed or it could not be started (the caller then does nothing).
  virtual bool StartVolumeControl(VolumeView view) = 0;

  // Starts the program at `path` with `arguments`, without waiting for it. False when it could
  // not be started.
  virtual bool StartProgram(const QString& path, const QStringList& arguments) = 0;
  // The same, and `ended` is called from the event loop once the program has ended, however it
  // ended. The program goes on when the caller ends first.
  virtual bool StartWatchedProgram(const QString& path, const QStringList& arguments,
                                   std::function<void()> ended) = 0;

 protected:
  DesktopLauncher() = default;
  DesktopLauncher(const DesktopLauncher&) = delete;
  DesktopLauncher& operator=(const DesktopLauncher&) = delete;
};

}  // namespace kiv
