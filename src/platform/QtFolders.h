// The real folders. The data folder is $XDG_DATA_HOME/Zorvikware/Kiv Sound Recorder/ (the local
// application data folder on Windows); kivrec-cli computes the same path without Qt
// (tools/kivrec-cli/CliPaths.cpp), so the rule here and there must stay the same.
#pragma once

#include "platform/Folders.h"

namespace kiv {

class QtFolders final : public Folders {
 public:
  QtFolders() = default;

  // The folder with the skins, help, sounds and pictures: beside the executable, or installed.
  QString ProgramFolder() const override;
  QString DataFolder() const override;
  // TMPDIR, or the system's temporary folder.
  QString TempFolder() const override;

  // The data folder's path for the given environment: `xdgDataHome`, or `home`/.local/share
  // when that is empty or relative, followed by "Zorvikware/Kiv Sound Recorder/". Empty when
  // neither gives a folder. Nothing is created.
  static QString DataFolderFor(const QString& xdgDataHome, const QString& home);

  // `folder` if it exists or can be created with its parents, otherwise `fallback`.
  static QString UsableFolder(const QString& folder, const QString& fallback);

  // `folder` with exactly one trailing "/" (the root stays "/").
  static QString WithTrailingSlash(QString folder);
};

}  // namespace kiv
