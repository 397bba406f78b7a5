// The controls on the panel: keys in their wells, resting or pressed, with their symbols, lamps
// and printed captions, and the volume knob. Part of painting the panel (PanelArt.h); each control
// stays inside its own box, so its bitmap can be cut out of the whole picture.
#pragma once

#include <QRect>
#include <QString>

#include "SkinDesign.h"

class QPainter;

namespace skingen {

enum class KnobTurn { Rest, Up, Down };

// The caption printed on the body under `box`.
void PaintCaption(QPainter& p, const Design& d, QRect box, const QString& caption, bool red);

// A key in its well; pressed, the cap sinks by a pixel, darkens and its lamp is lit.
void PaintKey(QPainter& p, const Design& d, const KeyArt& key, bool pressed);

// The volume knob with its caption; turning, it points aside and a lit arc shows the direction.
void PaintKnob(QPainter& p, const Design& d, KnobTurn turn);

}  // namespace skingen
