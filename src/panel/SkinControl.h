// The front panel's controls, by the names the main window gives them. Plain C++ (no Qt), so the
// skin generator can name the controls whose pictures it draws.
#pragma once

namespace kiv {

enum class SkinControl {
  volButton,  // volume key; also shows which way the volume is turning
  CGauge1,    // volume indicator gauge
  PauseButton,
  playButton,
  recButton,
  stopButton,
  delButton,
  moreButton,  // the settings key
  rewSButton,  // previous message
  rewButton,
  forwButton,
  forwEButton,  // next message
  exitButton,   // hides the panel to the tray
  mname,        // the ticker tape
  message,      // message counter label
  Count,        // time counter label
  WheelL,       // left tape wheel
  WheelD,       // right tape wheel
  UserBMP,      // the logo
  PaintBox1,    // graphic analyser area
  Shape2,       // the line under the analyser
  VolPlusButton,
  VolMinusButton,
  ZvSkin1,  // the panel picture, which also gives the window its outline
};

// The control's name as a string, for object names and messages.
constexpr const char* SkinControlName(SkinControl control) {
  switch (control) {
    case SkinControl::volButton: return "volButton";
    case SkinControl::CGauge1: return "CGauge1";
    case SkinControl::PauseButton: return "PauseButton";
    case SkinControl::playButton: return "playButton";
    case SkinControl::recButton: return "recButton";
    case SkinControl::stopButton: return "stopButton";
    case SkinControl::delButton: return "delButton";
    case SkinControl::moreButton: return "moreButton";
    case SkinControl::rewSButton: return "rewSButton";
    case SkinControl::rewButton: return "rewButton";
    case SkinControl::forwButton: return "forwButton";
    case SkinControl::forwEButton: return "forwEButton";
    case SkinControl::exitButton: return "exitButton";
    case SkinControl::mname: return "mname";
    case SkinControl::message: return "message";
    case SkinControl::Count: return "Count";
    case SkinControl::WheelL: return "WheelL";
    case SkinControl::WheelD: return "WheelD";
    case SkinControl::UserBMP: return "UserBMP";
    case SkinControl::PaintBox1: return "PaintBox1";
    case SkinControl::Shape2: return "Shape2";
    case SkinControl::VolPlusButton: return "VolPlusButton";
    case SkinControl::VolMinusButton: return "VolMinusButton";
    case SkinControl::ZvSkin1: return "ZvSkin1";
  }
  return "";
}

}  // namespace kiv
