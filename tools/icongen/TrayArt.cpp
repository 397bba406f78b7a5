#include "TrayArt.h"

#include <QLineF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace icongen {
namespace {

// Where the parts of the dictaphone lie at one size, in pixels.
struct Layout {
  QRectF body;  // the outer edge of the dark rim
  qreal bodyRadius;
  QRectF window;  // the cassette window
  qreal windowRadius;
  qreal reelY;  // centres of the two reels
  qreal reelX[2];
  qreal reelRadius;
  qreal hubRadius;  // 0: too small to show
  QRectF lamp;      // the box the state sign fills
  qreal lampRim;    // width of the dark edge around a sign
  qreal pauseBar;   // width of each pause bar, edge included
  int grilleRows;   // speaker slots while idle
};

// At 16 pixels every part sits on whole pixels and the sign takes half the height: that is the
// size a tray shows most often. The larger sizes give the reels their tape and hubs.
Layout LayoutFor(int side) {
  Q_ASSERT(side == 16 || side == 32 || side == 48);
  if (side == 16) {
    return {.body = QRectF(1, 0, 14, 16),
            .bodyRadius = 2.5,
            .window = QRectF(3, 2, 10, 4),
            .windowRadius = 1,
            .reelY = 4,
            .reelX = {5, 11},
            .reelRadius = 1,
            .hubRadius = 0,
            .lamp = QRectF(3, 7, 10, 8),
            .lampRim = 0.7,
            .pauseBar = 4,
            .grilleRows = 3};
  }
  if (side == 32) {
    return {.body = QRectF(3, 0, 26, 32),
            .bodyRadius = 5,
            .window = QRectF(6, 3, 20, 10),
            .windowRadius = 2,
            .reelY = 8,
            .reelX = {11, 21},
            .reelRadius = 3,
            .hubRadius = 1.25,
            .lamp = QRectF(7, 16, 18, 14),
            .lampRim = 1.5,
            .pauseBar = 7,
            .grilleRows = 5};
  }
  return {.body = QRectF(5, 0, 38, 48),
          .bodyRadius = 7,
          .window = QRectF(9, 5, 30, 16),
          .windowRadius = 3,
          .reelY = 12,
          .reelX = {17, 31},
          .reelRadius = 5,
          .hubRadius = 2,
          .lamp = QRectF(11, 24, 26, 21),
          .lampRim = 2,
          .pauseBar = 10,
          .grilleRows = 6};
}

// Colours of the front-panel family.
const QColor kRim(18, 22, 26);
const QColor kBodyTop(214, 220, 226);
const QColor kBodyBottom(150, 158, 168);
const QColor kGlass(24, 32, 40);
const QColor kReel(214, 222, 230);
const QColor kGrille(52, 60, 68);
const QColor kRecord(232, 36, 36);
const QColor kPlay(40, 200, 72);
const QColor kPause(255, 176, 0);

// Idle has the grille instead of a sign.
QColor SignColour(TrayState state) {
  if (state == TrayState::Recording) return kRecord;
  if (state == TrayState::Playing) return kPlay;
  return kPause;
}

void DrawBody(QPainter& p, const Layout& l) {
  p.setPen(Qt::NoPen);
  p.setBrush(kRim);
  p.drawRoundedRect(l.body, l.bodyRadius, l.bodyRadius);
  QLinearGradient face(l.body.topLeft(), l.body.bottomLeft());
  face.setColorAt(0, kBodyTop);
  face.setColorAt(1, kBodyBottom);
  p.setBrush(face);
  const QRectF inner = l.body.adjusted(1, 1, -1, -1);
  p.drawRoundedRect(inner, l.bodyRadius - 1, l.bodyRadius - 1);
}

void DrawWindow(QPainter& p, const Layout& l) {
  p.setBrush(kGlass);
  p.drawRoundedRect(l.window, l.windowRadius, l.windowRadius);
  p.setBrush(kReel);
  if (l.reelRadius <= 1) {
    // Too small for round reels and the tape: two square reels, which still read as such.
    for (qreal x : l.reelX) p.drawRect(QRectF(x - 1, l.reelY - 1, 2, 2));
    return;
  }
  // The tape runs from the bottom of one reel to the bottom of the other: with it the two
  // reels read as a cassette rather than as a pair of eyes.
  const qreal tape = std::round(l.reelRadius * 0.4);
  p.drawRect(QRectF(l.reelX[0], l.reelY + l.reelRadius - tape, l.reelX[1] - l.reelX[0], tape));
  for (qreal x : l.reelX) {
    p.setBrush(kReel);
    p.drawEllipse(QPointF(x, l.reelY), l.reelRadius, l.reelRadius);
    if (l.hubRadius > 0) {
      p.setBrush(kGlass);
      p.drawEllipse(QPointF(x, l.reelY), l.hubRadius, l.hubRadius);
    }
  }
}

void DrawGrille(QPainter& p, const Layout& l) {
  p.setBrush(kGrille);
  const qreal pitch = l.lamp.height() / l.grilleRows;
  const qreal slot = std::max<qreal>(1, std::round(pitch / 2));
  for (int row = 0; row < l.grilleRows; ++row) {
    const qreal y = std::round(l.lamp.top() + row * pitch + (pitch - slot) / 2);
    p.drawRect(QRectF(l.lamp.left() + 1, y, l.lamp.width() - 2, slot));
  }
}

// The triangle whose sides lie `d` inside those of `triangle`: shrunk towards the centre of its
// inscribed circle.
QPolygonF Inset(const QPolygonF& triangle, qreal d) {
  const QPointF a = triangle[0], b = triangle[1], c = triangle[2];
  const qreal la = QLineF(b, c).length(), lb = QLineF(c, a).length(), lc = QLineF(a, b).length();
  const qreal perimeter = la + lb + lc;
  const QPointF centre = (a * la + b * lb + c * lc) / perimeter;
  const qreal area =
      std::abs((b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y())) / 2;
  const qreal inradius = 2 * area / perimeter;
  const qreal k = (inradius - d) / inradius;
  QPolygonF inset;
  for (const QPointF& corner : triangle) inset << centre + (corner - centre) * k;
  return inset;
}

// The sign in the lamp box: its shape in the sign's colour over a dark edge that keeps it
// apart from the body on light and on dark trays alike.
void DrawSign(QPainter& p, const Layout& l, TrayState state) {
  const QRectF box = l.lamp;
  const qreal rim = l.lampRim;
  const QColor colour = SignColour(state);
  QPainterPath shape;
  QPainterPath inner;
  if (state == TrayState::Recording) {
    const qreal d = std::min(box.width(), box.height());
    const QRectF circle(box.center().x() - d / 2, box.center().y() - d / 2, d, d);
    shape.addEllipse(circle);
    inner.addEllipse(circle.adjusted(rim, rim, -rim, -rim));
  } else if (state == TrayState::Playing) {
    // A little narrower than high, and nudged right so that it looks centred.
    const qreal w = std::min(box.width(), box.height() * 0.92);
    const qreal left = box.center().x() - w / 2 + w * 0.08;
    const QRectF t(left, box.top(), w, box.height());
    const QPolygonF triangle({t.topLeft(), QPointF(t.right(), t.center().y()), t.bottomLeft()});
    shape.addPolygon(triangle);
    shape.closeSubpath();
    inner.addPolygon(Inset(triangle, rim));
    inner.closeSubpath();
  } else {
    const qreal bar = l.pauseBar;
    const QRectF left(box.left(), box.top(), bar, box.height());
    const QRectF right(box.right() - bar, box.top(), bar, box.height());
    shape.addRect(left);
    shape.addRect(right);
    inner.addRect(left.adjusted(rim, rim, -rim, -rim));
    inner.addRect(right.adjusted(rim, rim, -rim, -rim));
  }
  p.setBrush(kRim);
  p.drawPath(shape);
  p.setBrush(colour);
  p.drawPath(inner);
}

// Fades a picture towards a mid grey and lets a quarter of the tray through it: most of its
// colour and some of its contrast go, so the state stays readable (the sign keeps its shape and
// a trace of its colour) while the whole icon clearly steps back.
void FadeToBackground(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = line[x];
      const int alpha = qAlpha(c);
      if (alpha == 0) continue;
      const double grey = 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
      auto fade = [grey](int channel) {
        const double desaturated = grey + (channel - grey) * 0.3;
        return qBound(0, qRound(desaturated + (150 - desaturated) * 0.35), 255);
      };
      line[x] = qRgba(fade(qRed(c)), fade(qGreen(c)), fade(qBlue(c)), qRound(alpha * 0.75));
    }
  }
}

}  // namespace

QList<TrayIconFile> TrayIconFiles() {
  return {
      {"idle1.ico", TrayState::Idle, false},   {"play.ico", TrayState::Playing, false},
      {"pause.ico", TrayState::Paused, false}, {"record.ico", TrayState::Recording, false},
      {"idle4.ico", TrayState::Idle, true},    {"idle5.ico", TrayState::Playing, true},
      {"idle7.ico", TrayState::Paused, true},  {"idle8.ico", TrayState::Recording, true},
  };
}

QList<int> TrayIconSizes() { return {16, 32, 48}; }

QImage DrawTrayIcon(TrayState state, bool background, int side) {
  // Above 48 pixels whole-pixel steps no longer show, so the 48-pixel drawing is scaled as
  // shapes (not as a picture) and stays sharp.
  const int drawn = std::min(side, 48);
  const Layout l = LayoutFor(drawn);
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(qreal(side) / drawn, qreal(side) / drawn);
    DrawBody(p, l);
    DrawWindow(p, l);
    if (state == TrayState::Idle) {
      DrawGrille(p, l);
    } else {
      DrawSign(p, l, state);
    }
  }
  if (background) FadeToBackground(image);
  return image;
}

}  // namespace icongen
