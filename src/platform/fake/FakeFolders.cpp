#include "platform/fake/FakeFolders.h"

#include <utility>

namespace kiv {

FakeFolders::FakeFolders(QString programFolder, QString dataFolder, QString tempFolder)
    : program_(std::move(programFolder)),
      data_(std::move(dataFolder)),
      temp_(std::move(tempFolder)) {}

}  // namespace kiv
