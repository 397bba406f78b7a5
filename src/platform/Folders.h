// The folders the recorder works in: the program folder (skins, icons, help and sounds; beside the
// executable, or the installed share/kivrec), the data folder (the default cassette, the export
// dialogs' first folder) and the temporary folder (pack files, the converter's log). Every path
// ends with "/". The front panel asks once at start-up and keeps the answers.
#pragma once

#include <QString>

namespace kiv {

class Folders {
 public:
  virtual ~Folders() = default;

  virtual QString ProgramFolder() const = 0;

  // The per-user data folder, created with any missing parents; the temporary folder when it
  // cannot be created.
  virtual QString DataFolder() const = 0;

  virtual QString TempFolder() const = 0;

 protected:
  Folders() = default;
  Folders(const Folders&) = delete;
  Folders& operator=(const Folders&) = delete;
};

}  // namespace kiv
