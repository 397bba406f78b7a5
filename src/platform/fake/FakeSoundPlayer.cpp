// The silent sound player.
#include "platform/fake/FakeSoundPlayer.h"

namespace kiv {

bool FakeSoundPlayer::Play(const QString& path) {
  asked_.append(path);
  playing_.clear();
  if (!IsReadableWavFile(path)) return false;
  played_.append(path);
  playing_ = path;
  return true;
}

void FakeSoundPlayer::Stop() {
  ++stops_;
  playing_.clear();
}

}  // namespace kiv
