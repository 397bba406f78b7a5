// Where the companion finds the recorder's files. The recorder asks Qt (QStandardPaths,
// QDir::tempPath); the companion does not link Qt, so it follows the same environment rules
// itself and must stay in step with them.
#pragma once

#include <optional>
#include <string>

namespace kivcli {

// $XDG_DATA_HOME/Zorvikware/Kiv Sound Recorder/ with a trailing '/'; XDG_DATA_HOME unset, empty
// or relative means $HOME/.local/share. On Windows %LOCALAPPDATA%\Zorvikware\Kiv Sound Recorder\.
// Nothing when no variable gives a folder.
std::optional<std::string> DataFolder();

// $TMPDIR or /tmp, with a trailing '/'; on Windows %TMP% or %TEMP% with a trailing '\'.
std::string TempFolder();

// The variables DataFolder() reads, for the message when it finds none.
const char* DataFolderVariables();

inline constexpr const char* kDefaultCassetteName = "kivrec.cst";

}  // namespace kivcli
