// The tape machine's situation as the transport decides on it: what the tape is doing and
// whether an export or import holds the cassette. The panel fills one in from the engines'
// flags (never from what a label or a menu shows) and asks the controller with it.
#pragma once

#include <cstdint>

namespace kiv {

enum class TapeMode : uint8_t {
  Idle,
  Playing,
  PlayPaused,
  Recording,
  RecordPaused,
};

struct TransportState {
  TapeMode mode = TapeMode::Idle;
  bool offSpeed = false;        // slow or fast play, paused or not
  bool conversionBusy = false;  // an export or import runs

  bool Playing() const { return mode == TapeMode::Playing || mode == TapeMode::PlayPaused; }
  bool OffSpeed() const { return Playing() && offSpeed; }
  bool Recording() const { return mode == TapeMode::Recording || mode == TapeMode::RecordPaused; }
  bool Paused() const { return mode == TapeMode::PlayPaused || mode == TapeMode::RecordPaused; }
};

}  // namespace kiv
