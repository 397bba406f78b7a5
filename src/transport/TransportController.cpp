// The transport's decisions and seeks.
#include "transport/TransportController.h"

#include "cassette/PlayHead.h"
#include "transport/TransportPlayer.h"

namespace kiv {

bool TransportController::MayChangeSettings(const TransportState& state) {
  return state.mode == TapeMode::Idle && !state.conversionBusy;
}

bool TransportController::MayWind(const TransportState& state) {
  return !state.conversionBusy && !state.Recording() && state.mode != TapeMode::PlayPaused;
}

bool TransportController::MayOpenPositioner(const TransportState& state, const PlayHead& head) {
  if (state.conversionBusy || state.Recording() || state.OffSpeed()) return false;
  // Under a second there is nothing to position in: the counter reads 00:00 / 00:00.
  return head.Seconds().length > 0;
}

RecordMenuAction TransportController::ForRecordMenu(const TransportState& state) {
  return state.Recording() ? RecordMenuAction::Stop : RecordMenuAction::StartRecording;
}

PlayKeyAction TransportController::ForPlayKey(const TransportState& state) {
  if (state.conversionBusy) return PlayKeyAction::Ignore;
  if (state.OffSpeed()) return PlayKeyAction::NormalSpeed;
  // Play during a playback at normal speed is the pause key.
  if (state.Playing()) return PlayKeyAction::TogglePause;
  return PlayKeyAction::Start;
}

WindOutcome TransportController::WindTick(int direction, bool keyAvailable) {
  if (player_.Playing()) {
    if (direction > 0) {
      player_.SkipForward();
    } else {
      player_.SkipBack();
    }
    return WindOutcome::Skipped;
  }
  if (!keyAvailable) return WindOutcome::None;
  // Idle, the play rate is the cassette's own: a second of tape.
  head_.Wind(direction > 0 ? int64_t(head_.PlayRate()) : -int64_t(head_.PlayRate()));
  return WindOutcome::Wound;
}

uint64_t TransportController::SeekStep(uint32_t length, uint32_t playRate, StepKeys keys) {
  switch (keys) {
    case StepKeys::Ctrl:
      return uint64_t(length) * kCoarseStepPercent / 100;
    case StepKeys::CtrlShift:
      return length / 100;
    case StepKeys::Plain:
      break;
  }
  return playRate;
}

template <typename Move>
void TransportController::Seek(Move move) {
  const bool playing = player_.Playing();
  // Relative to the byte being heard, not to where the segment began.
  if (playing) player_.FoldPosition();
  move();
  if (playing) {
    // Normal speed at the new place; a pause ends with the restart.
    head_.NormalSpeed();
    player_.RequestRestart();
  }
}

void TransportController::WheelSeek(int direction, StepKeys keys) {
  if (direction == 0) return;
  Seek([&] {
    const int64_t step = int64_t(SeekStep(head_.Length(), head_.PlayRate(), keys));
    head_.Wind(direction > 0 ? step : -step);
  });
}

void TransportController::SeekTo(uint32_t progress) {
  Seek([&] { head_.SeekTo(progress); });
}

int TransportController::TakeWheelNotches(int angleDelta) {
  wheelTurn_ += angleDelta;
  const int notches = wheelTurn_ / kWheelNotch;
  wheelTurn_ -= notches * kWheelNotch;
  return notches;
}

}  // namespace kiv
