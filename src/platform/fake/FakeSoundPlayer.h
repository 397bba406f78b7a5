// A sound player for tests: nothing is heard. It keeps every path it was asked to play and the
// sound "playing" now, and answers like the real player: only a readable WAV file plays.
#pragma once

#include <QStringList>

#include "platform/SoundPlayer.h"

namespace kiv {

class FakeSoundPlayer final : public SoundPlayer {
 public:
  FakeSoundPlayer() = default;

  bool Play(const QString& path) override;
  void Stop() override;

  // Every path asked for, in order, whether it played or not.
  const QStringList& Asked() const { return asked_; }
  // The paths that started playing, in order.
  const QStringList& Played() const { return played_; }
  // The sound playing now: the last one started, until Stop or the next Play; empty otherwise.
  const QString& Playing() const { return playing_; }
  int StopCount() const { return stops_; }

 private:
  QStringList asked_;
  QStringList played_;
  QString playing_;
  int stops_ = 0;
};

}  // namespace kiv
