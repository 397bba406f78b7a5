// The sound player of the running program: Qt Multimedia's QSoundEffect on the system's default
// output. The file is loaded and played in the background; Play only checks that it is there
// and looks like a WAV file. The effect is made on the first sound, so a program that never
// plays one never talks to the sound server for it.
#pragma once

#include <memory>

#include "platform/SoundPlayer.h"

class QSoundEffect;

namespace kiv {

class QtSoundPlayer final : public SoundPlayer {
 public:
  QtSoundPlayer();
  ~QtSoundPlayer() override;

  bool Play(const QString& path) override;
  void Stop() override;

 private:
  std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace kiv
