// The sound player on QSoundEffect.
#include "platform/QtSoundPlayer.h"

#include <QSoundEffect>
#include <QUrl>

namespace kiv {

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

bool QtSoundPlayer::Play(const QString& path) {
  Stop();
  // QSoundEffect would only say later, through its status, that a file is missing or broken;
  // the caller wants to know now, and wants no half-loaded sound left behind.
  if (!IsReadableWavFile(path)) return false;
  if (!effect_) effect_ = std::make_unique<QSoundEffect>();
  const QUrl source = QUrl::fromLocalFile(path);
  if (effect_->source() != source) effect_->setSource(source);
  // Starts as soon as the sound is loaded, in the background.
  effect_->play();
  return true;
}

void QtSoundPlayer::Stop() {
  if (effect_) effect_->stop();
}

}  // namespace kiv
