// Where the recorder finds its own files. In the build folder everything is beside the
// executable. Installed into a prefix, the executables are in <prefix>/bin, the program files
// (skins, help, sounds, tray icons, pictures) in <prefix>/share/kivrec and the two libraries it
// loads at run time in <prefix>/lib/kivrec. Beside the executable is looked at first, so a build
// folder never picks up an installed copy. Nothing here writes anywhere.
#pragma once

#include <QString>

namespace kiv::InstallLayout {

// The first of `executableFolder` and `executableFolder`/`installedFolder` that holds `entry`
// (a file or folder), cleaned and without a trailing "/"; `executableFolder` when neither does.
QString FolderHolding(const QString& executableFolder, const QString& installedFolder,
                      const QString& entry);

// The running program's program files folder: the one with the Skin folder.
QString ProgramFilesFolder();

// The file to load for our library `name` ("kivqtsound"): beside the executable, else installed.
QString ModulePath(const QString& name);

}  // namespace kiv::InstallLayout
