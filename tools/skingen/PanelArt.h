// Paints the whole panel of a design in one state of its keys, wheels and knob.
//
// Every bitmap of a skin is cut from such a picture: the panel itself from the resting state, a
// key's pressed bitmap from the picture with that key pressed, a wheel's second frame from the
// picture with the hubs turned. So a key bitmap always matches the panel pixels around it, and a
// pressed key differs from the resting one only inside its own box.
//
// The result is an opaque 24-bit picture: inside the body outline everything is drawn with
// anti-aliasing, the outline's soft edge fades into the body's rim colour, and every pixel outside
// the outline is exactly magenta (FF00FF), the colour the window takes as "not part of me" from the
// bottom-left pixel. No pixel inside the body is ever that magenta.
#pragma once

#include <QImage>
#include <optional>

#include "ControlArt.h"
#include "SkinDesign.h"

namespace skingen {

struct PanelState {
  std::optional<KeyId> pressed;
  int wheelFrame = 0;  // 0 or 1: the hubs are turned by half a tooth in frame 1
  KnobTurn knob = KnobTurn::Rest;
};

inline constexpr QRgb kTransparentKey = 0xFFFF00FF;

QImage PaintPanel(const Design& design, const PanelState& state);

}  // namespace skingen
