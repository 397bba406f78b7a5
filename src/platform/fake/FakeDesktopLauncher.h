// The desktop launcher for tests: starts nothing, remembers every address and volume view it was
// asked for, in order, and answers with a scripted result.
#pragma once

#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

#include "platform/DesktopLauncher.h"

namespace kiv {

class FakeDesktopLauncher final : public DesktopLauncher {
 public:
  bool OpenAddress(const QString& address) override {
    openedAddresses_.append(address);
    return result_;
  }
  bool StartVolumeControl(VolumeView view) override {
    volumeViews_.push_back(view);
    return result_;
  }

  bool StartProgram(const QString& path, const QStringList& arguments) override {
    startedPrograms_.append(QStringList{path} + arguments);
    return result_;
  }

  bool StartWatchedProgram(const QString& path, const QStringList& arguments,
                           std::function<void()> ended) override {
    ended_ = std::move(ended);
    return StartProgram(path, arguments);
  }
  // As if the last watched program had ended.
  void EndWatchedProgram() {
    if (ended_) ended_();
  }

  // What the next calls answer: true by default, false for "nothing could be started".
  void SetResult(bool result) { result_ = result; }
  const QStringList& OpenedAddresses() const { return openedAddresses_; }
  const std::vector<VolumeView>& VolumeViews() const { return volumeViews_; }
  // Each started program as its path followed by its arguments.
  const QList<QStringList>& StartedPrograms() const { return startedPrograms_; }

 private:
  bool result_ = true;
  QStringList openedAddresses_;
  std::vector<VolumeView> volumeViews_;
  QList<QStringList> startedPrograms_;
  std::function<void()> ended_;
};

}  // namespace kiv
