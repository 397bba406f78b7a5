// Folders for tests: whatever paths the test gives, returned as they are.
#pragma once

#include "platform/Folders.h"

namespace kiv {

class FakeFolders final : public Folders {
 public:
  FakeFolders(QString programFolder, QString dataFolder, QString tempFolder);

  QString ProgramFolder() const override { return program_; }
  QString DataFolder() const override { return data_; }
  QString TempFolder() const override { return temp_; }

 private:
  QString program_;
  QString data_;
  QString temp_;
};

}  // namespace kiv
