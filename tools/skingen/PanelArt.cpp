#include "PanelArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "ControlArt.h"
#include "StrokeFont.h"

namespace skingen {
namespace {

// A stable integer hash for the brushed texture: the same row always gets the same streak.
unsigned Scramble(unsigned x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

QPainterPath RoundedBox(QRectF r, qreal top, qreal bottom) {
  QPainterPath p;
  p.moveTo(r.left() + top, r.top());
  p.lineTo(r.right() - top, r.top());
  p.arcTo(QRectF(r.right() - 2 * top, r.top(), 2 * top, 2 * top), 90, -90);
  p.lineTo(r.right(), r.bottom() - bottom);
  p.arcTo(QRectF(r.right() - 2 * bottom, r.bottom() - 2 * bottom, 2 * bottom, 2 * bottom), 0, -90);
  p.lineTo(r.left() + bottom, r.bottom());
  p.arcTo(QRectF(r.left(), r.bottom() - 2 * bottom, 2 * bottom, 2 * bottom), 270, -90);
  p.lineTo(r.left(), r.top() + top);
  p.arcTo(QRectF(r.left(), r.top(), 2 * top, 2 * top), 180, -90);
  p.closeSubpath();
  return p;
}

QPainterPath RoundRectPath(QRectF r, qreal radius) {
  QPainterPath p;
  p.addRoundedRect(r, radius, radius);
  return p;
}

QRectF GripBand(const Design& d) {
  return QRectF(d.body.left() - 4, d.gripTop, d.body.width() + 8, d.gripBottom - d.gripTop);
}

// The outline of the whole device: what becomes the window.
QPainterPath DeviceOutline(const Design& d) {
  QPainterPath body = RoundedBox(d.body, d.topRadius, d.bottomRadius);
  if (d.outline == Outline::MicCap) {
    body = body.united(RoundRectPath(d.cap, 10));
  } else {
    body = body.united(RoundRectPath(GripBand(d), 4));
  }
  return body.simplified();
}

// ---- Body ------------------------------------------------------------------------------------

void PaintBody(QPainter& p, const Design& d, const QPainterPath& outline) {
  const Palette& c = d.colours;
  const QRectF bounds = outline.boundingRect();
  QLinearGradient sweep(bounds.left(), 0, bounds.right(), 0);
  sweep.setColorAt(0.0, c.bodyLeft);
  sweep.setColorAt(0.35, c.bodyMiddle);
  sweep.setColorAt(0.55, c.bodyMiddle);
  sweep.setColorAt(1.0, c.bodyRight);
  p.fillPath(outline, sweep);

  // Brushed metal: faint horizontal streaks, lighter and darker by row.
  p.save();
  p.setClipPath(outline);
  for (int y = static_cast<int>(bounds.top()); y <= static_cast<int>(bounds.bottom()); ++y) {
    const unsigned h = Scramble(static_cast<unsigned>(y) * 2654435761u + 17u);
    const int strength = static_cast<int>(h % static_cast<unsigned>(c.grain + 1));
    const QColor streak =
        (h & 0x100u) ? QColor(255, 255, 255, strength) : QColor(0, 0, 0, strength);
    p.fillRect(QRectF(bounds.left(), y, bounds.width(), 1), streak);
  }
  // A soft vertical sheen, as light falls on a curved case.
  QLinearGradient shade(0, bounds.top(), 0, bounds.bottom());
  shade.setColorAt(0.0, QColor(255, 255, 255, 40));
  shade.setColorAt(0.25, QColor(255, 255, 255, 0));
  shade.setColorAt(0.8, QColor(0, 0, 0, 0));
  shade.setColorAt(1.0, QColor(0, 0, 0, 50));
  p.fillRect(bounds, shade);

  // Bevel: light on the upper left edge, dark on the lower right.
  QLinearGradient bevel(bounds.topLeft(), bounds.bottomRight());
  bevel.setColorAt(0.0, QColor(255, 255, 255, 170));
  bevel.setColorAt(0.5, QColor(255, 255, 255, 30));
  bevel.setColorAt(0.51, QColor(0, 0, 0, 20));
  bevel.setColorAt(1.0, QColor(0, 0, 0, 120));
  p.setPen(QPen(QBrush(bevel), 3));
  p.setBrush(Qt::NoBrush);
  p.drawPath(outline);
  p.restore();
}

void PaintMicCap(QPainter& p, const Design& d) {
  // A row of microphone holes along the cap, above the body's top edge.
  const Palette& c = d.colours;
  const qreal y = d.cap.top() + 5.5;
  for (int i = 0; i < 9; ++i) {
    const qreal x = d.cap.center().x() + (i - 4) * 7;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(QPointF(x + 0.4, y + 0.6), 1.8, 1.8);
    p.setBrush(c.grilleHole);
    p.drawEllipse(QPointF(x, y), 1.7, 1.7);
  }
}

void PaintGrips(QPainter& p, const Design& d) {
  const Palette& c = d.colours;
  const QRectF band = GripBand(d);
  const QPainterPath bandPath = RoundRectPath(band, 4);
  for (int side = 0; side < 2; ++side) {
    const QRectF strip = side == 0 ? QRectF(band.left(), band.top(), 10, band.height())
                                   : QRectF(band.right() - 10, band.top(), 10, band.height());
    QPainterPath clip;
    clip.addRect(strip);
    const QPainterPath grip = bandPath.intersected(clip);
    p.save();
    p.setClipPath(grip);
    p.fillRect(strip, c.rubber);
    for (qreal y = band.top() + 3; y < band.bottom() - 2; y += 4) {
      p.fillRect(QRectF(strip.left(), y, strip.width(), 1), QColor(0, 0, 0, 150));
      p.fillRect(QRectF(strip.left(), y + 1, strip.width(), 1), QColor(255, 255, 255, 28));
    }
    // The rubber sits in a groove of the case.
    const qreal edge = side == 0 ? strip.right() - 1 : strip.left();
    p.fillRect(QRectF(edge, band.top(), 1, band.height()), QColor(0, 0, 0, 120));
    p.restore();
  }
}

void PaintGrille(QPainter& p, const Design& d) {
  const Palette& c = d.colours;
  const QRectF g = d.grille;
  p.save();
  p.setPen(Qt::NoPen);
  if (d.grilleKind == Grille::Slots) {
    for (qreal y = g.top(); y + 3 <= g.bottom(); y += 5) {
      const QRectF slot(g.left(), y, g.width(), 3);
      p.setBrush(QColor(255, 255, 255, 110));
      p.drawRoundedRect(slot.translated(0, 1), 1.5, 1.5);
      p.setBrush(c.grilleHole);
      p.drawRoundedRect(slot, 1.5, 1.5);
    }
  } else {
    p.setClipPath(RoundRectPath(g, 20));
    const qreal pitch = 6;
    int row = 0;
    for (qreal y = g.top() + 3; y < g.bottom(); y += pitch * 0.866, ++row) {
      const qreal shift = (row % 2) ? pitch / 2 : 0;
      for (qreal x = g.left() + 3 + shift; x < g.right(); x += pitch) {
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawEllipse(QPointF(x + 0.5, y + 0.7), 1.7, 1.7);
        p.setBrush(c.grilleHole);
        p.drawEllipse(QPointF(x, y), 1.7, 1.7);
      }
    }
  }
  p.restore();
}

void PaintLogo(QPainter& p, const Design& d) {
  const QRect box = d.logo;
  Lettering big{3, 3, 1.5, d.logoInk};
  const qreal bigHeight = TextHeight(big);
  const qreal top = box.top() + std::floor((box.height() - bigHeight) / 2);
  DrawText(p, QStringLiteral("KIV"), QPointF(box.left() + 3, top), big);
  const qreal afterBig = box.left() + 3 + TextWidth(QStringLiteral("KIV"), big);
  // A short bar in the accent colour, then the product line in two rows.
  p.fillRect(QRectF(afterBig + 4, top + 1, 2, bigHeight - 2), d.colours.accent);
  Lettering small{1, 1, 2, d.logoInk};
  const qreal smallLeft = afterBig + 10;
  const qreal rows = 2 * TextHeight(small) + 3;
  const qreal smallTop = box.top() + std::floor((box.height() - rows) / 2);
  DrawText(p, QStringLiteral("SOUND"), QPointF(smallLeft, smallTop), small);
  DrawText(p, QStringLiteral("RECORDER"), QPointF(smallLeft, smallTop + TextHeight(small) + 3),
           small);
}

// ---- Display -----------------------------------------------------------------------------------

void PaintDisplay(QPainter& p, const Design& d) {
  const Palette& c = d.colours;
  // Bezel: a black frame, slightly glossy, sunk into the body.
  const QRectF bezel = QRectF(d.bezel);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 90));
  p.drawRoundedRect(bezel.translated(0, 1), 9, 9);
  QLinearGradient gloss(0, bezel.top(), 0, bezel.bottom());
  gloss.setColorAt(0, c.bezel.lighter(180));
  gloss.setColorAt(0.12, c.bezel);
  gloss.setColorAt(1, c.bezel);
  p.setBrush(gloss);
  p.drawRoundedRect(bezel, 9, 9);

  // Glass.
  const QRectF glass = QRectF(d.glass);
  p.setBrush(c.lcdBack);
  p.drawRoundedRect(glass, 4, 4);
  p.save();
  p.setClipRect(glass);
  QLinearGradient inner(0, glass.top(), 0, glass.top() + 3);
  inner.setColorAt(0, QColor(0, 0, 0, 150));
  inner.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(QRectF(glass.left(), glass.top(), glass.width(), 3), inner);
  p.restore();

  // What the recorder itself paints there at rest: the analyser's flat line and its base line,
  // the empty volume gauge.
  const DisplayBoxes& b = d.small;
  p.fillRect(b.analyser, c.analyserBack);
  p.fillRect(
      QRect(b.analyser.left(), b.analyser.top() + b.analyser.height() / 2, b.analyser.width(), 1),
      c.analyserPlay);
  p.fillRect(b.analyserLine, c.analyserPlay);
  p.fillRect(d.gauge, c.gaugeBack);

  Lettering legend{1, 1, 2, c.lcdDim};
  const qreal legendTop =
      d.gauge.top() + std::floor((d.gauge.height() - TextHeight(legend)) / 2.0 + 0.5);
  DrawText(p, d.gaugeLegend,
           QPointF(d.gauge.left() - 4 - TextWidth(d.gaugeLegend, legend), legendTop), legend);
}

// ---- Cassette window ---------------------------------------------------------------------------

void PaintHub(QPainter& p, const Design& d, QPointF centre, int frame) {
  const Palette& c = d.colours;
  const qreal r = d.hubRadius;
  const qreal turn = frame * 30.0;  // half the period of the six teeth
  p.save();
  p.translate(centre);
  p.setPen(Qt::NoPen);
  QRadialGradient body(QPointF(-r * 0.3, -r * 0.3), r * 1.4);
  body.setColorAt(0, c.hub.lighter(108));
  body.setColorAt(1, c.hub.darker(125));
  p.setBrush(body);
  p.drawEllipse(QPointF(0, 0), r, r);
  p.setPen(QPen(c.hub.darker(200), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(0, 0), r - 0.4, r - 0.4);

  p.rotate(turn);
  p.setPen(Qt::NoPen);
  // Six holes in the ring and six teeth inside the spindle hole.
  for (int i = 0; i < 6; ++i) {
    p.save();
    p.rotate(i * 60.0);
    p.setBrush(c.hub.darker(260));
    p.drawEllipse(QPointF(0, -r * 0.74), 1.15, 1.15);
    p.restore();
  }
  const qreal hole = r * 0.5;
  p.setBrush(QColor(24, 20, 18));
  p.drawEllipse(QPointF(0, 0), hole, hole);
  p.setBrush(c.hub.darker(110));
  for (int i = 0; i < 6; ++i) {
    p.save();
    p.rotate(i * 60.0 + 30.0);
    p.drawRect(QRectF(-0.9, -hole - 0.2, 1.8, 2.2));
    p.restore();
  }
  p.restore();
}

void PaintCassetteWindow(QPainter& p, const Design& d, int frame) {
  const Palette& c = d.colours;
  const QRectF frameBox = QRectF(d.cassetteWindow);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 90));
  p.drawRoundedRect(frameBox.translated(0, 1), 8, 8);
  p.setBrush(c.windowFrame);
  p.drawRoundedRect(frameBox, 8, 8);

  const QRectF glass = frameBox.adjusted(4, 4, -4, -4);
  const QPainterPath glassPath = RoundRectPath(glass, 5);
  p.save();
  p.setClipPath(glassPath);

  // The cassette inside: its shell, the cut-out around the reels, the wound tape, the hubs.
  QLinearGradient shell(0, glass.top(), 0, glass.bottom());
  shell.setColorAt(0, c.cassetteShell.lighter(112));
  shell.setColorAt(1, c.cassetteShell.darker(115));
  p.fillRect(glass, shell);
  const QPointF lh = d.leftHub;
  const QPointF rh = d.rightHub;
  const qreal reach = std::max(d.leftPack, d.rightPack) + 3;
  const QRectF cavity(lh.x() - reach, lh.y() - reach, rh.x() - lh.x() + 2 * reach, 2 * reach);
  p.setBrush(QColor(255, 255, 255, 70));
  p.drawRoundedRect(cavity.translated(0, 1), reach, reach);
  p.setBrush(QColor(30, 26, 24));
  p.drawRoundedRect(cavity, reach, reach);
  // Screws of the shell.
  for (const QPointF& screw :
       {QPointF(glass.left() + 6, glass.top() + 6), QPointF(glass.right() - 6, glass.top() + 6),
        QPointF(glass.left() + 6, glass.bottom() - 6),
        QPointF(glass.right() - 6, glass.bottom() - 6)}) {
    p.setBrush(c.cassetteShell.darker(160));
    p.drawEllipse(screw, 2.2, 2.2);
    p.setPen(QPen(c.cassetteShell.lighter(130), 0.8));
    p.drawLine(screw + QPointF(-1.3, 0), screw + QPointF(1.3, 0));
    p.setPen(Qt::NoPen);
  }

  auto pack = [&](QPointF centre, qreal radius) {
    QRadialGradient wound(centre, radius);
    wound.setColorAt(0, c.tape.darker(130));
    wound.setColorAt(0.7, c.tape);
    wound.setColorAt(1, c.tape.lighter(130));
    p.setBrush(wound);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::NoBrush);
    for (qreal ring = d.hubRadius + 3; ring < radius - 1; ring += 3.5) {
      p.setPen(QPen(QColor(0, 0, 0, 45), 0.7));
      p.drawEllipse(centre, ring, ring);
    }
    p.setPen(Qt::NoPen);
  };
  pack(lh, d.leftPack);
  pack(rh, d.rightPack);

  // The tape running between the reels over two guide rollers.
  const QPointF guideL(lh.x() + d.leftPack * 0.55, lh.y() + reach - 4);
  const QPointF guideR(rh.x() - d.rightPack * 0.25 - 6, lh.y() + reach - 4);
  p.setPen(QPen(c.tape.lighter(120), 1.4));
  p.drawLine(QPointF(lh.x() + 2, lh.y() + d.leftPack - 0.5), guideL);
  p.drawLine(guideL, guideR);
  p.drawLine(guideR, QPointF(rh.x() - 2, rh.y() + d.rightPack - 0.5));
  p.setPen(Qt::NoPen);
  for (const QPointF& guide : {guideL, guideR}) {
    p.setBrush(c.hub.darker(140));
    p.drawEllipse(guide, 2, 2);
  }

  PaintHub(p, d, lh, frame);
  PaintHub(p, d, rh, frame);

  // Smoked glass and a reflection across it.
  p.fillRect(glass, QColor(14, 16, 22, 60));
  QPolygonF streak;
  streak << QPointF(glass.left() + glass.width() * 0.18, glass.top())
         << QPointF(glass.left() + glass.width() * 0.34, glass.top())
         << QPointF(glass.left() + glass.width() * 0.16, glass.bottom())
         << QPointF(glass.left(), glass.bottom());
  p.setBrush(QColor(255, 255, 255, 26));
  p.drawPolygon(streak);
  p.restore();

  // The glass sits in the frame: a dark lip at the top.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 160), 1));
  p.drawRoundedRect(glass.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

// ---- Key deck ----------------------------------------------------------------------------------

void PaintDeck(QPainter& p, const Design& d) {
  const Palette& c = d.colours;
  const QRectF deck = d.deck;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 110));
  p.drawRoundedRect(deck.translated(0, 1), d.deckRadius, d.deckRadius);
  p.setBrush(QColor(0, 0, 0, 90));
  p.drawRoundedRect(deck.translated(0, -1), d.deckRadius, d.deckRadius);
  QLinearGradient plate(0, deck.top(), 0, deck.bottom());
  plate.setColorAt(0, c.deck.darker(115));
  plate.setColorAt(0.1, c.deck);
  plate.setColorAt(1, c.deck.lighter(112));
  p.setBrush(plate);
  p.drawRoundedRect(deck, d.deckRadius, d.deckRadius);
}

// ---- Final step: outline ----------------------------------------------------------------------

QImage Flatten(const QImage& art, const QPainterPath& outline, QColor rim) {
  QImage coverage(art.size(), QImage::Format_Alpha8);
  coverage.fill(0);
  {
    QPainter mask(&coverage);
    mask.setRenderHint(QPainter::Antialiasing);
    mask.fillPath(outline, Qt::white);
  }
  QImage out(art.size(), QImage::Format_RGB32);
  for (int y = 0; y < art.height(); ++y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(art.constScanLine(y));
    const uchar* cover = coverage.constScanLine(y);
    QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < art.width(); ++x) {
      // Half covered or more belongs to the device; its soft edge fades into the rim colour,
      // never into the magenta around it.
      if (cover[x] < 128) {
        dst[x] = kTransparentKey;
        continue;
      }
      const QRgb s = src[x];  // premultiplied
      const int a = qAlpha(s);
      const int r = qRed(s) + rim.red() * (255 - a) / 255;
      const int g = qGreen(s) + rim.green() * (255 - a) / 255;
      const int b = qBlue(s) + rim.blue() * (255 - a) / 255;
      QRgb pixel = qRgb(r, g, b);
      if (pixel == kTransparentKey) pixel = qRgb(0xFE, 0x00, 0xFE);
      dst[x] = pixel;
    }
  }
  return out;
}

}  // namespace

QImage PaintPanel(const Design& design, const PanelState& state) {
  const Design& d = design;
  QImage art(d.canvas, QImage::Format_ARGB32_Premultiplied);
  art.fill(Qt::transparent);
  const QPainterPath outline = DeviceOutline(d);
  {
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    PaintBody(p, d, outline);
    p.setClipPath(outline);
    if (d.outline == Outline::MicCap) {
      PaintMicCap(p, d);
    } else {
      PaintGrips(p, d);
    }
    PaintGrille(p, d);
    PaintLogo(p, d);
    PaintDisplay(p, d);
    PaintCassetteWindow(p, d, state.wheelFrame);
    PaintDeck(p, d);
    for (const KeyArt& key : d.keys) {
      PaintKey(p, d, key, state.pressed == key.id);
      PaintCaption(p, d, key.box, key.caption, key.red);
    }
    PaintKnob(p, d, state.knob);
  }
  return Flatten(art, outline, d.colours.rim);
}

}  // namespace skingen
