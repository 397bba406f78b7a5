// Which tray icon file shows the tape machine's state: one family while the panel is in front
// or hidden, a dimmed one while it is shown behind other windows.
#pragma once

namespace kiv {

struct TapeState {
  bool playing = false;
  bool recording = false;
  bool paused = false;  // a playback or a recording is paused
};

// "idle1.ico", "pause.ico", "play.ico", "record.ico", or their background counterparts
// "idle4.ico", "idle7.ico", "idle5.ico", "idle8.ico".
const char* TrayIconFile(const TapeState& state, bool panelInBackground);

}  // namespace kiv
