// The lettering printed on the skins: a small stroke font of our own, so that the art does not
// depend on which fonts the build machine happens to have and comes out the same everywhere.
//
// Every glyph is a few polylines on a grid 4 units wide and 6 units tall (capitals and digits
// only; lower case is drawn as upper case). At scale 1 with a 1-pixel pen the strokes land on
// pixel centres, so small labels stay crisp; larger scales give the logo lettering.
#pragma once

#include <QColor>
#include <QPointF>
#include <QString>

class QPainter;

namespace skingen {

struct Lettering {
  qreal scale = 1;     // pixels per grid unit
  qreal pen = 1;       // stroke width in pixels
  qreal tracking = 2;  // grid units between glyphs
  QColor colour;
};

// Width and height in pixels that `text` occupies (the ink box of the strokes' centre lines plus
// the pen).
qreal TextWidth(const QString& text, const Lettering& style);
qreal TextHeight(const Lettering& style);

// Draws `text` with its top-left ink corner at `topLeft`.
void DrawText(QPainter& painter, const QString& text, QPointF topLeft, const Lettering& style);

// Draws `text` centred horizontally on `centreX`, top at `top`; pixel-snapped for odd pens.
void DrawTextCentred(QPainter& painter, const QString& text, qreal centreX, qreal top,
                     const Lettering& style);

}  // namespace skingen
