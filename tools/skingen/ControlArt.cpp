#include "ControlArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "StrokeFont.h"

namespace skingen {
namespace {

QColor WithAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

QPainterPath KeyPath(KeyShape shape, QRectF r) {
  QPainterPath path;
  switch (shape) {
    case KeyShape::RoundRect:
      path.addRoundedRect(r, 5, 5);
      break;
    case KeyShape::Pill:
      path.addRoundedRect(r, r.height() / 2, r.height() / 2);
      break;
    case KeyShape::Circle:
      path.addEllipse(r);
      break;
  }
  return path;
}

QPolygonF Triangle(qreal tipX, qreal baseX, qreal centreY, qreal height) {
  QPolygonF t;
  t << QPointF(baseX, centreY - height / 2) << QPointF(tipX, centreY)
    << QPointF(baseX, centreY + height / 2);
  return t;
}

void PaintSymbol(QPainter& p, Symbol symbol, QPointF centre, qreal size, QColor ink) {
  const qreal s = size;
  const qreal cx = centre.x();
  const qreal cy = centre.y();
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  switch (symbol) {
    case Symbol::Play:
      p.drawPolygon(Triangle(cx + s * 0.55, cx - s * 0.4, cy, s));
      break;
    case Symbol::Record:
      p.drawEllipse(centre, s * 0.45, s * 0.45);
      break;
    case Symbol::Pause: {
      const qreal w = std::round(s * 0.3);
      const qreal h = std::round(s * 0.95);
      const qreal top = std::round(cy - h / 2);
      p.drawRect(QRectF(std::round(cx - w - 1.5), top, w, h));
      p.drawRect(QRectF(std::round(cx + 1.5), top, w, h));
      break;
    }
    case Symbol::Stop: {
      const qreal side = std::round(s * 0.8);
      p.drawRect(QRectF(std::round(cx - side / 2), std::round(cy - side / 2), side, side));
      break;
    }
    case Symbol::Rewind:
      p.drawPolygon(Triangle(cx - s * 0.55, cx, cy, s * 0.8));
      p.drawPolygon(Triangle(cx, cx + s * 0.55, cy, s * 0.8));
      break;
    case Symbol::Forward:
      p.drawPolygon(Triangle(cx + s * 0.55, cx, cy, s * 0.8));
      p.drawPolygon(Triangle(cx, cx - s * 0.55, cy, s * 0.8));
      break;
    case Symbol::PreviousMessage: {
      const qreal left = std::round(cx - s * 0.75);
      p.drawRect(QRectF(left, std::round(cy - s * 0.4), 2, std::round(s * 0.8)));
      p.drawPolygon(Triangle(left + 2.5, left + 2.5 + s * 0.5, cy, s * 0.8));
      p.drawPolygon(Triangle(left + 2.5 + s * 0.5, left + 2.5 + s, cy, s * 0.8));
      break;
    }
    case Symbol::NextMessage: {
      const qreal right = std::round(cx + s * 0.75);
      p.drawRect(QRectF(right - 2, std::round(cy - s * 0.4), 2, std::round(s * 0.8)));
      p.drawPolygon(Triangle(right - 2.5, right - 2.5 - s * 0.5, cy, s * 0.8));
      p.drawPolygon(Triangle(right - 2.5 - s * 0.5, right - 2.5 - s, cy, s * 0.8));
      break;
    }
    case Symbol::DelText: {
      Lettering text{1, 1, 2, ink};
      DrawTextCentred(p, QStringLiteral("DEL"), cx, std::round(cy - TextHeight(text) / 2), text);
      break;
    }
    case Symbol::Menu: {
      const qreal w = std::round(s * 1.1);
      const qreal left = std::round(cx - w / 2);
      for (int i = -1; i <= 1; ++i) {
        p.drawRect(QRectF(left, std::round(cy) + i * 3 - 1, w, 1.5));
      }
      break;
    }
    case Symbol::Power: {
      const qreal r = s * 0.42;
      QPen pen(ink, 1.4);
      pen.setCapStyle(Qt::RoundCap);
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(cx - r, cy - r + 0.5, 2 * r, 2 * r), 125 * 16, 290 * 16);
      p.drawLine(QPointF(cx, cy - r - 0.5), QPointF(cx, cy + 0.5));
      break;
    }
    case Symbol::Minus:
    case Symbol::Plus: {
      const qreal len =
          static_cast<int>(std::round(s * 1.1)) & ~1;  // even, like the bar: symmetric
      const qreal bar = 2;
      const qreal x0 = std::round(cx - len / 2);
      const qreal y0 = std::round(cy - bar / 2);
      p.drawRect(QRectF(x0, y0, len, bar));
      if (symbol == Symbol::Plus) {
        const qreal x1 = std::round(cx - bar / 2);
        const qreal y1 = std::round(cy - len / 2);
        p.drawRect(QRectF(x1, y1, bar, len));
      }
      break;
    }
  }
  p.restore();
}

// How large a symbol is drawn, as a part of the cap's smaller side.
qreal SymbolScale(Symbol symbol) {
  switch (symbol) {
    case Symbol::Play:
    case Symbol::Record:
    case Symbol::Pause:
    case Symbol::Stop:
      return 0.42;
    case Symbol::Power:
      return 0.62;
    default:
      return 0.5;
  }
}

void PaintLamp(QPainter& p, QPointF at, QColor lamp, bool lit) {
  p.save();
  p.setPen(Qt::NoPen);
  if (lit) {
    QRadialGradient glow(at, 5);
    glow.setColorAt(0, WithAlpha(lamp, 200));
    glow.setColorAt(1, WithAlpha(lamp, 0));
    p.setBrush(glow);
    p.drawEllipse(at, 5, 5);
    p.setBrush(lamp);
    p.drawEllipse(at, 2, 2);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawEllipse(at + QPointF(-0.5, -0.5), 0.8, 0.8);
  } else {
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawEllipse(at, 2.4, 2.4);
    p.setBrush(lamp.darker(420));
    p.drawEllipse(at, 1.8, 1.8);
  }
  p.restore();
}

bool InsideDeck(const Design& d, QRect box) { return d.deck.contains(QRectF(box)); }

}  // namespace

void PaintCaption(QPainter& p, const Design& d, QRect box, const QString& caption, bool red) {
  if (caption.isEmpty()) return;
  const Palette& c = d.colours;
  const QColor ink = red ? c.recPrint : InsideDeck(d, box) ? c.deckPrint : c.print;
  Lettering text{1, 1, 2, ink};
  DrawTextCentred(p, caption, box.left() + box.width() / 2.0, box.top() + box.height() + 3, text);
}

void PaintKey(QPainter& p, const Design& d, const KeyArt& key, bool pressed) {
  const Palette& c = d.colours;
  const QRectF box = QRectF(key.box);
  p.save();
  p.setPen(Qt::NoPen);

  // The well the key sits in: a dark hollow with a light lower lip.
  const QPainterPath well = KeyPath(key.shape, box.adjusted(0.5, 0.5, -0.5, -0.5));
  p.setBrush(QColor(0, 0, 0, 80));
  p.drawPath(well);
  QLinearGradient lip(0, box.top(), 0, box.bottom());
  lip.setColorAt(0, QColor(0, 0, 0, 110));
  lip.setColorAt(0.6, QColor(0, 0, 0, 0));
  lip.setColorAt(1, QColor(255, 255, 255, 70));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(lip), 1));
  p.drawPath(well);
  p.setPen(Qt::NoPen);

  // Resting, the cap stands proud and throws a shadow; pressed, it sinks one pixel down and to
  // the right, loses the shadow and darkens.
  const QRectF face = pressed ? box.adjusted(3, 3, -1, -1) : box.adjusted(2, 2, -2, -2);
  const QColor base = key.red ? c.recFace : c.keyFace;
  if (!pressed) {
    p.setBrush(QColor(0, 0, 0, 130));
    p.drawPath(KeyPath(key.shape, face.translated(0.7, 1.2)));
  }
  QLinearGradient cap(0, face.top(), 0, face.bottom());
  if (pressed) {
    cap.setColorAt(0, base.darker(150));
    cap.setColorAt(0.5, base.darker(125));
    cap.setColorAt(1, base.darker(112));
  } else {
    cap.setColorAt(0, base.lighter(140));
    cap.setColorAt(0.45, base.lighter(108));
    cap.setColorAt(1, base.darker(125));
  }
  const QPainterPath capPath = KeyPath(key.shape, face);
  p.setBrush(cap);
  p.drawPath(capPath);

  p.save();
  p.setClipPath(capPath);
  if (pressed) {
    // Inner shadow along the top: the cap is below the rim now.
    QLinearGradient inset(0, face.top(), 0, face.top() + 4);
    inset.setColorAt(0, QColor(0, 0, 0, 120));
    inset.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(face.left(), face.top(), face.width(), 4), inset);
  } else {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 80), 1));
    p.drawPath(KeyPath(key.shape, face.adjusted(1.5, 1.5, -1.5, -1.5)));
  }
  p.restore();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(base.darker(230), 1));
  p.drawPath(KeyPath(key.shape, face.adjusted(0.5, 0.5, -0.5, -0.5)));

  QColor ink = key.symbolColour.isValid() ? key.symbolColour : key.red ? c.recSymbol : c.keySymbol;
  if (pressed) ink = ink.darker(112);
  const qreal size = std::round(std::min(face.width(), face.height()) * SymbolScale(key.symbol));
  PaintSymbol(p, key.symbol, face.center(), size, ink);

  if (key.led.isValid()) {
    const QPointF lamp = key.shape == KeyShape::Circle
                             ? QPointF(face.center().x(), face.top() + 5.5)
                             : QPointF(face.right() - 6, face.top() + 5.5);
    PaintLamp(p, lamp, key.led, pressed);
  }
  p.restore();
}

void PaintKnob(QPainter& p, const Design& d, KnobTurn turn) {
  const Palette& c = d.colours;
  const QRectF box = QRectF(d.knob);
  const QPointF centre = box.center();
  const qreal outer = box.width() / 2 - 2;
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 90));
  p.drawEllipse(centre, box.width() / 2 - 0.5, box.height() / 2 - 0.5);

  // While the volume moves, a lit arc on the side it turns to.
  if (turn != KnobTurn::Rest) {
    const QColor glow = turn == KnobTurn::Up ? c.knobUp : c.knobDown;
    QPen arc(glow, 2);
    arc.setCapStyle(Qt::RoundCap);
    p.setPen(arc);
    p.setBrush(Qt::NoBrush);
    const QRectF ring(centre.x() - outer - 0.5, centre.y() - outer - 0.5, 2 * outer + 1,
                      2 * outer + 1);
    if (turn == KnobTurn::Up) {
      p.drawArc(ring, 80 * 16, -110 * 16);
    } else {
      p.drawArc(ring, 100 * 16, 110 * 16);
    }
    p.setPen(Qt::NoPen);
  }

  const qreal angle = turn == KnobTurn::Up ? 35 : turn == KnobTurn::Down ? -35 : 0;
  p.setBrush(QColor(0, 0, 0, 120));
  p.drawEllipse(centre + QPointF(0.6, 1), outer, outer);
  p.setBrush(c.keyFace.darker(150));
  p.drawEllipse(centre, outer, outer);

  // Knurled rim, turning with the knob.
  p.translate(centre);
  p.rotate(angle);
  for (int i = 0; i < 24; ++i) {
    p.save();
    p.rotate(i * 15.0);
    p.setBrush(c.keyFace.lighter(135));
    p.drawRect(QRectF(-0.6, -outer + 0.5, 1.2, 2.5));
    p.restore();
  }
  const qreal capRadius = outer - 3;
  QRadialGradient dome(QPointF(-capRadius * 0.35, -capRadius * 0.4), capRadius * 1.6);
  dome.setColorAt(0, c.keyFace.lighter(175));
  dome.setColorAt(0.5, c.keyFace.lighter(115));
  dome.setColorAt(1, c.keyFace.darker(130));
  p.setBrush(dome);
  p.drawEllipse(QPointF(0, 0), capRadius, capRadius);
  QPen pointer(c.accent, 2);
  pointer.setCapStyle(Qt::RoundCap);
  p.setPen(pointer);
  p.drawLine(QPointF(0, -capRadius * 0.25), QPointF(0, -capRadius + 1.5));
  p.restore();

  PaintCaption(p, d, d.knob, d.knobCaption, false);
}

}  // namespace skingen
