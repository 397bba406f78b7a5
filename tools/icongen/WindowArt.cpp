#include "WindowArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "TrayArt.h"

namespace icongen {
namespace {

const QColor kInk(28, 36, 52);
const QColor kDeep(38, 58, 96);
const QColor kLight(226, 234, 246);
const QColor kAccent(214, 64, 52);  // the record lamp's red

QFont Font(int pixels, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// The dictaphone of the tray icon, grown to `side` with whole-pixel steps.
void DrawDictaphone(QPainter& painter, QPoint at, int side) {
  const QImage icon = DrawTrayIcon(TrayState::Recording, false, 48);
  painter.drawImage(QRect(at, QSize(side, side)), icon.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation));
}

void DrawClickHere(QPainter& painter, QRect box, bool lit) {
  QPainterPath shape;
  shape.addRoundedRect(QRectF(box).adjusted(1.5, 1.5, -1.5, -1.5), 9, 9);
  QLinearGradient fill(box.topLeft(), box.bottomLeft());
  fill.setColorAt(0, lit ? QColor(255, 150, 120) : QColor(240, 110, 90));
  fill.setColorAt(1, lit ? QColor(230, 80, 60) : kAccent.darker(115));
  painter.setPen(QPen(lit ? QColor(255, 240, 200) : kInk, 2));
  painter.setBrush(fill);
  painter.drawPath(shape);
  painter.setPen(Qt::white);
  painter.setFont(Font(15, true));
  painter.drawText(box.adjusted(0, 4, 0, -22), Qt::AlignCenter, QStringLiteral("Click here"));
  painter.setFont(Font(11, false));
  painter.drawText(box.adjusted(0, 26, 0, -4), Qt::AlignCenter, QStringLiteral("for more from Zorvikware"));
}

}  // namespace

QImage DrawAboutLogo() {
  QImage logo(96, 96, QImage::Format_RGB32);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 96);
  sky.setColorAt(0, kLight);
  sky.setColorAt(1, QColor(150, 172, 210));
  painter.fillRect(logo.rect(), sky);
  DrawDictaphone(painter, QPoint(16, 8), 64);
  painter.setPen(kInk);
  painter.setFont(Font(12, true));
  painter.drawText(QRect(0, 74, 96, 20), Qt::AlignCenter, QStringLiteral("KivRec"));
  return logo;
}

QImage DrawStartupPanel() {
  QImage panel(486, 256, QImage::Format_RGB32);
  QPainter painter(&panel);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient back(0, 0, 486, 256);
  back.setColorAt(0, kDeep);
  back.setColorAt(1, kInk);
  painter.fillRect(panel.rect(), back);
  painter.setPen(QPen(kLight, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(panel.rect()).adjusted(1, 1, -1, -1));

  DrawDictaphone(painter, QPoint(18, 22), 96);
  painter.setPen(Qt::white);
  painter.setFont(Font(24, true));
  painter.drawText(QRect(130, 22, 340, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kiv Sound Recorder"));
  painter.setFont(Font(12, false));
  painter.setPen(kLight);
  painter.drawText(QRect(130, 60, 340, 120), Qt::AlignLeft | Qt::TextWordWrap,
                   QStringLiteral("A pocket dictaphone on your desktop: record, play, wind and "
                                  "name your messages. The recorder waits in the tray; click its "
                                  "icon to bring the panel back, right-click it for the menu. "
                                  "F1 opens the help at any time."));

  DrawClickHere(painter, QRect(18, 198, 194, 55), false);
  painter.setPen(kLight);
  painter.setFont(Font(12, false));
  painter.drawText(QRect(249, 229, 234, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Do not show this window at start"));
  return panel;
}

QImage DrawStartupHighlight() {
  QImage lit(194, 55, QImage::Format_RGB32);
  QPainter painter(&lit);
  painter.setRenderHint(QPainter::Antialiasing);
  // The same place of the panel below it, so the rounded corners blend in.
  painter.drawImage(QPoint(0, 0), DrawStartupPanel(), QRect(18, 198, 194, 55));
  DrawClickHere(painter, lit.rect(), true);
  return lit;
}

}  // namespace icongen
