// The tray icon table; the first matching row wins.
#include "transport/TrayIconChoice.h"

namespace kiv {

const char* TrayIconFile(const TapeState& state, bool panelInBackground) {
  if (!state.playing && !state.recording) return panelInBackground ? "idle4.ico" : "idle1.ico";
  if (state.paused) return panelInBackground ? "idle7.ico" : "pause.ico";
  if (state.playing) return panelInBackground ? "idle5.ico" : "play.ico";
  return panelInBackground ? "idle8.ico" : "record.ico";
}

}  // namespace kiv
