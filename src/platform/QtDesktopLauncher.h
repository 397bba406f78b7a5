// The desktop launcher on top of QProcess: every program is looked up on PATH when it is needed
// (so one installed while the recorder runs is found) and started detached, so it outlives the
// recorder and never blocks it.
//
// Volume controls, first installed wins (options as the Debian packages' programs take them):
//
//   program               playback view      recording view     notes
//   pavucontrol           --tab 1            --tab 2            tabs count from 1
//   pavucontrol-qt        --tab 1            --tab 2            the same options as pavucontrol
//   mate-volume-control   --page output      --page input       MATE's mixer, device volumes
//
// On Windows the system's own "sndvol" is the only candidate; it has no view option.
#pragma once

#include "platform/DesktopLauncher.h"

#include <QStringList>

namespace kiv {

class QtDesktopLauncher final : public DesktopLauncher {
 public:
  QtDesktopLauncher() = default;

  bool OpenAddress(const QString& address) override;
  bool StartVolumeControl(VolumeView view) override;
  bool StartProgram(const QString& path, const QStringList& arguments) override;
  bool StartWatchedProgram(const QString& path, const QStringList& arguments,
                           std::function<void()> ended) override;

 private:
  // Starts `program` found on PATH with `arguments`; false when it is missing or did not start.
  static bool StartFromPath(const QString& program, const QStringList& arguments);
};

}  // namespace kiv
