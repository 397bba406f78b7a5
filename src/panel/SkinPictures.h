// The one table of a skin's pictures: for every panel control that shows a picture, the key-file
// row that places it and the bitmap file of each of its states. The skin loader, the front panel
// and the skin generator all name pictures through it, so a picture cannot be drawn under one
// name and looked for under another.
//
// Plain C++ without Qt: the skin generator includes it without linking any of the panel.
// File names are spelled as the shipped skins spell them; the recorder matches them without
// regard to case anyway, because skins from elsewhere spell them as their authors typed them.
#pragma once

#include <array>

#include "panel/SkinControl.h"

namespace kiv {

enum class PictureState {
  Rest,         // what the loader puts up: key released, wheel still, volume key untouched
  Pressed,      // a key held down, or latched while its function runs
  Turned,       // a wheel's second frame, shown in turn with its resting one
  TurningUp,    // the volume key while the volume rises
  TurningDown,  // the volume key while the volume falls
};

struct ControlPictures {
  SkinControl control;
  const char* row;  // key-file row that places the control; nullptr for the panel itself
  const char* rest;
  const char* pressed = nullptr;
  const char* turned = nullptr;
  const char* turningUp = nullptr;
  const char* turningDown = nullptr;
};

inline constexpr std::array<ControlPictures, 18> kControlPictures = {{
    {SkinControl::ZvSkin1, nullptr, "DictaphoneA.BMP"},
    {SkinControl::volButton, "VolumeButton", "VolPMM.bmp", nullptr, nullptr, "VolPA.bmp",
     "VolMA.bmp"},
    {SkinControl::PauseButton, "Pause", "PauseM.bmp", "PauseA.BMP"},
    {SkinControl::playButton, "Play", "PlayM.bmp", "PlayA.BMP"},
    {SkinControl::recButton, "Record", "RecM.bmp", "RecA.BMP"},
    {SkinControl::stopButton, "Stop", "StopM.bmp", "StopA.BMP"},
    {SkinControl::delButton, "Del", "DelM.bmp"},
    {SkinControl::moreButton, "Settings", "MoreM.bmp"},
    {SkinControl::rewSButton, "FastRewind", "FastBackwardM.bmp", "FastBackwardA.bmp"},
    {SkinControl::rewButton, "Rewind", "BackwardM.bmp", "BackwardA.bmp"},
    {SkinControl::forwButton, "Forward", "ForwardM.bmp", "ForwardA.bmp"},
    {SkinControl::forwEButton, "FastForward", "FastForwardM.bmp", "FastForwardA.bmp"},
    {SkinControl::exitButton, "Off", "OffM.bmp"},
    {SkinControl::WheelL, "LeftWheel", "WheelLA.bmp", nullptr, "WheelLB.bmp"},
    {SkinControl::WheelD, "RightWheel", "WheelDA.bmp", nullptr, "WheelDB.bmp"},
    {SkinControl::UserBMP, "UserBMP", "Logo.bmp"},
    {SkinControl::VolPlusButton, "VolPlusButton", "VolPlusM.bmp", "VolPlusA.bmp"},
    {SkinControl::VolMinusButton, "VolMinusButton", "VolMinusM.bmp", "VolMinusA.bmp"},
}};

// The row of `control`, or nullptr for a control that shows no picture.
constexpr const ControlPictures* PicturesOf(SkinControl control) {
  for (const ControlPictures& entry : kControlPictures) {
    if (entry.control == control) return &entry;
  }
  return nullptr;
}

// The file of `control` in `state`; nullptr when the control has no picture for that state.
constexpr const char* SkinPictureName(SkinControl control,
                                      PictureState state = PictureState::Rest) {
  const ControlPictures* entry = PicturesOf(control);
  if (entry == nullptr) return nullptr;
  switch (state) {
    case PictureState::Rest: return entry->rest;
    case PictureState::Pressed: return entry->pressed;
    case PictureState::Turned: return entry->turned;
    case PictureState::TurningUp: return entry->turningUp;
    case PictureState::TurningDown: return entry->turningDown;
  }
  return nullptr;
}

// Every file of the table, for the generator that must write them all.
template <typename Visit>
constexpr void ForEachSkinPicture(Visit visit) {
  for (const ControlPictures& entry : kControlPictures) {
    for (const char* name : {entry.rest, entry.pressed, entry.turned, entry.turningUp,
                             entry.turningDown}) {
      if (name != nullptr) visit(entry.control, name);
    }
  }
}

}  // namespace kiv
