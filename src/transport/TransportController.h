// The transport's decisions: which key or menu may act in which tape state, and every move of
// the play head that a key, the mouse wheel or the time positioner asks for. The panel passes
// the events in and shows the outcome; the arithmetic lives in the play head.
//
// The panel owns the controller; the play head (the cassette's) and the player (the playback
// engine) outlive it.
#pragma once

#include <cstdint>

#include "transport/TransportState.h"

namespace kiv {

class PlayHead;
class TransportPlayer;

// The modifier keys held with a wheel turn or a positioner key: plain steps are one second,
// Ctrl steps a tenth of the message, Ctrl+Shift a hundredth. Any other mix is a plain step.
enum class StepKeys : uint8_t { Plain, Ctrl, CtrlShift };

enum class RecordMenuAction : uint8_t { StartRecording, Stop };
enum class PlayKeyAction : uint8_t { Ignore, TogglePause, NormalSpeed, Start };
enum class WindOutcome : uint8_t { None, Wound, Skipped };

class TransportController {
 public:
  static constexpr int kWindTickMs = 55;       // one second of tape per tick while winding
  static constexpr uint32_t kCoarseStepPercent = 10;
  static constexpr int kWheelNotch = 120;      // finer wheels and touch pads send parts of it

  TransportController(PlayHead& head, TransportPlayer& player) : head_(head), player_(player) {}

  // ---- May this act now? ------------------------------------------------------------------
  // The tape keys do nothing while an export or import holds the cassette.
  static bool TapeKeysIgnored(const TransportState& state) { return state.conversionBusy; }
  // The settings menu's Options, Always on Top and Import, and the ticker menu's message items:
  // only while nothing plays, records or converts.
  static bool MayChangeSettings(const TransportState& state);
  // Winding and the message keys: not while recording or paused.
  static bool MayWind(const TransportState& state);
  // Letting go of a winding key ends the winding unless recording or paused; a conversion that
  // began while the key was held must not leave it winding.
  static bool WindKeyReleaseCounts(const TransportState& state) {
    return !state.Recording() && state.mode != TapeMode::PlayPaused;
  }
  // The time positioner opens over a message of at least a second, not during a recording or
  // slow or fast play.
  static bool MayOpenPositioner(const TransportState& state, const PlayHead& head);
  static bool MayWheelSeek(const TransportState& state) { return !state.Recording(); }
  static RecordMenuAction ForRecordMenu(const TransportState& state);
  static PlayKeyAction ForPlayKey(const TransportState& state);
  // Record during a recording pauses or resumes it.
  static bool RecordKeyPauses(const TransportState& state) { return state.Recording(); }

  // ---- Moving the head --------------------------------------------------------------------
  // One tick of a held Rewind (-1) or Forward (+1): idle, the head winds a second of tape
  // within the message when the key is available; playing, the player skips.
  WindOutcome WindTick(int direction, bool keyAvailable);
  // A step for a wheel notch or a positioner key over a message of `length` bytes.
  static uint64_t SeekStep(uint32_t length, uint32_t playRate, StepKeys keys);
  // One wheel notch away from the user (+1) or towards (-1), from the byte being heard.
  void WheelSeek(int direction, StepKeys keys);
  // The positioner's bar moved to `progress` bytes into the message.
  void SeekTo(uint32_t progress);
  // Adds a wheel turn; returns the whole notches in it (signed), keeping the rest for later.
  int TakeWheelNotches(int angleDelta);

 private:
  // Fold, move, and restart at normal speed when playing: every seek's sequence.
  template <typename Move>
  void Seek(Move move);

  PlayHead& head_;
  TransportPlayer& player_;
  int wheelTurn_ = 0;
};

}  // namespace kiv
