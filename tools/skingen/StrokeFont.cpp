#include "StrokeFont.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace skingen {
namespace {

constexpr qreal kGlyphWidth = 4;
constexpr qreal kGlyphHeight = 6;

// Strokes are separated by ';', points by blanks, a point is "x,y" on the 4 x 6 grid. A stroke of
// one point is a dot. The shapes are chamfered rather than round: at 7 pixels a chamfer reads
// better than a curve and suits lettering on a machine.
const char* GlyphStrokes(char c) {
  switch (c) {
    case 'A':
      return "0,6 0,2 2,0 4,2 4,6;0,4 4,4";
    case 'B':
      return "0,0 3,0 4,1 4,2 3,3 0,3;3,3 4,4 4,5 3,6 0,6 0,0";
    case 'C':
      return "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5";
    case 'D':
      return "0,0 3,0 4,1 4,5 3,6 0,6 0,0";
    case 'E':
      return "4,0 0,0 0,6 4,6;0,3 3,3";
    case 'F':
      return "4,0 0,0 0,6;0,3 3,3";
    case 'G':
      return "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3 2,3";
    case 'H':
      return "0,0 0,6;4,0 4,6;0,3 4,3";
    case 'I':
      return "1,0 3,0;2,0 2,6;1,6 3,6";
    case 'J':
      return "4,0 4,5 3,6 1,6 0,5";
    case 'K':
      return "0,0 0,6;4,0 1,3 0,3;1,3 4,6";
    case 'L':
      return "0,0 0,6 4,6";
    case 'M':
      return "0,6 0,0 2,2 4,0 4,6";
    case 'N':
      return "0,6 0,0 4,6 4,0";
    case 'O':
      return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0";
    case 'P':
      return "0,6 0,0 3,0 4,1 4,2 3,3 0,3";
    case 'Q':
      return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;2,4 4,6";
    case 'R':
      return "0,6 0,0 3,0 4,1 4,2 3,3 0,3;2,3 4,6";
    case 'S':
      return "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5";
    case 'T':
      return "0,0 4,0;2,0 2,6";
    case 'U':
      return "0,0 0,5 1,6 3,6 4,5 4,0";
    case 'V':
      return "0,0 0,3 2,6 4,3 4,0";
    case 'W':
      return "0,0 0,5 1,6 2,5 3,6 4,5 4,0;2,5 2,3";
    case 'X':
      return "0,0 0,1 4,5 4,6;4,0 4,1 0,5 0,6";
    case 'Y':
      return "0,0 0,1 2,3 4,1 4,0;2,3 2,6";
    case 'Z':
      return "0,0 4,0 4,1 0,5 0,6 4,6";
    case '0':
      return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;1,4 3,2";
    case '1':
      return "1,1 2,0 2,6;1,6 3,6";
    case '2':
      return "0,1 1,0 3,0 4,1 4,2 0,6 4,6";
    case '3':
      return "0,0 4,0 2,2 3,2 4,3 4,5 3,6 1,6 0,5";
    case '4':
      return "3,6 3,0 0,4 4,4";
    case '5':
      return "4,0 0,0 0,2 3,2 4,3 4,5 3,6 1,6 0,5";
    case '6':
      return "3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3";
    case '7':
      return "0,0 4,0 4,1 2,4 2,6";
    case '8':
      return "1,0 3,0 4,1 4,2 3,3 1,3 0,2 0,1 1,0;1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3";
    case '9':
      return "4,3 1,3 0,2 0,1 1,0 3,0 4,1 4,5 3,6 1,6";
    case '+':
      return "0,3 4,3;2,1 2,5";
    case '-':
      return "1,3 3,3";
    case '/':
      return "0,6 4,0";
    case '.':
      return "2,6";
    case ':':
      return "2,2;2,5";
    case '\'':
      return "2,0 2,1";
    default:
      return "";  // blank
  }
}

std::vector<QPolygonF> ParseGlyph(char c) {
  std::vector<QPolygonF> strokes(1);
  const char* s = GlyphStrokes(c);
  while (*s != '\0') {
    if (*s == ';') {
      strokes.emplace_back();
      ++s;
      continue;
    }
    if (*s == ' ') {
      ++s;
      continue;
    }
    char* end = nullptr;
    const double x = std::strtod(s, &end);
    s = end + 1;  // the comma
    const double y = std::strtod(s, &end);
    s = end;
    strokes.back().append(QPointF(x, y));
  }
  if (strokes.back().isEmpty()) strokes.pop_back();
  return strokes;
}

char GlyphKey(QChar c) {
  const QChar upper = c.toUpper();
  return upper.unicode() < 128 ? static_cast<char>(upper.unicode()) : ' ';
}

}  // namespace

qreal TextWidth(const QString& text, const Lettering& style) {
  if (text.isEmpty()) return 0;
  const qreal n = text.size();
  return n * kGlyphWidth * style.scale + (n - 1) * style.tracking * style.scale + style.pen;
}

qreal TextHeight(const Lettering& style) { return kGlyphHeight * style.scale + style.pen; }

void DrawText(QPainter& painter, const QString& text, QPointF topLeft, const Lettering& style) {
  painter.save();
  QPen pen(style.colour, style.pen);
  pen.setCapStyle(style.pen <= 1.5 ? Qt::SquareCap : Qt::RoundCap);
  pen.setJoinStyle(style.pen <= 1.5 ? Qt::MiterJoin : Qt::RoundJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const qreal inset = style.pen / 2;
  qreal x = topLeft.x() + inset;
  const qreal y = topLeft.y() + inset;
  for (const QChar c : text) {
    for (const QPolygonF& stroke : ParseGlyph(GlyphKey(c))) {
      QPolygonF placed;
      for (const QPointF& point : stroke) {
        placed.append(QPointF(x + point.x() * style.scale, y + point.y() * style.scale));
      }
      if (placed.size() == 1) {
        // A dot: one pen-sized square, as solid as the strokes.
        const QPointF dot = placed.front();
        painter.fillRect(
            QRectF(dot.x() - style.pen / 2, dot.y() - style.pen / 2, style.pen, style.pen),
            style.colour);
      } else {
        painter.drawPolyline(placed);
      }
    }
    x += (kGlyphWidth + style.tracking) * style.scale;
  }
  painter.restore();
}

void DrawTextCentred(QPainter& painter, const QString& text, qreal centreX, qreal top,
                     const Lettering& style) {
  const qreal left = std::round(centreX - TextWidth(text, style) / 2);
  DrawText(painter, text, QPointF(left, top), style);
}

}  // namespace skingen
