// What the playback engine needs from the front panel: the counter, the analyser, the faces of
// the tape keys, the control availability, the two menu items a playback locks, the tape wheels
// and one setting. The transport implements it on the panel; tests record the calls.
//
// The engine calls these only from its own operations, on the GUI thread, and never keeps what
// it is handed.
#pragma once

#include <QByteArray>
#include <cstdint>

#include "transport/ControlAvailability.h"

namespace kiv {

class PlaybackView {
 public:
  virtual ~PlaybackView() = default;

  // The counter with length and position of the message, in whole seconds of tape.
  virtual void ShowCounter(uint32_t lengthSeconds, uint32_t positionSeconds) = 0;
  // The bytes played since the previous progress tick, for the analyser's playback trace; empty
  // when nothing was played.
  virtual void DrawPlaybackTrace(const QByteArray& bytes) = 0;
  // The analyser's flat line in the playback colour: nothing is being fed to it any more.
  virtual void DrawIdleLine() = 0;

  // A paused playback goes on: the Playing tray icon, "PauseM.BMP" on the Pause key.
  virtual void ShowPlayingFace() = 0;
  // The playback was paused: the paused tray icon, "PauseA.BMP" on the Pause key.
  virtual void ShowPausedFace() = 0;
  // The playback has ended: the idle tray icon, "PlayM.bmp" and "PauseM.BMP" on the Play and
  // Pause keys, and the hints "Previous Message" and "Next Message" back on the message keys.
  virtual void ShowIdleFace() = 0;

  // Every control at once, as the table gives them for a situation.
  virtual void ApplyAvailability(const ControlAvailability& availability) = 0;
  // One control changes while the rest stay as they are.
  virtual void SetAvailability(PanelControl control, Availability availability) = 0;
  // "Delete Message" and "Export Message to WAV": a playing message must stay where it is.
  virtual void EnableMessageMenuItems(bool enabled) = 0;

  // The wheel animation: paused and resumed with the playback (frames kept), stopped for good
  // at its end (frames released).
  virtual void PauseWheels() = 0;
  virtual void ResumeWheels() = 0;
  virtual void StopWheels() = 0;

  // The "AutoRewindOnStop" setting, read when a playback ends, so a change in the Options
  // dialog applies to the next end.
  virtual bool AutoRewindOnStop() const = 0;

 protected:
  PlaybackView() = default;
  PlaybackView(const PlaybackView&) = delete;
  PlaybackView& operator=(const PlaybackView&) = delete;
};

}  // namespace kiv
