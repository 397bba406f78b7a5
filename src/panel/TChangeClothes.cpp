#include "panel/TChangeClothes.h"

#include <QGuiApplication>
#include <QScreen>

namespace kiv {

TChangeClothes::TChangeClothes(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      gauge_(new QProgressBar(this)) {
  setFixedSize(kClientSize);
  gauge_->setObjectName(QStringLiteral("Gauge"));
  gauge_->setGeometry(kGaugeRect);
  gauge_->setAlignment(Qt::AlignCenter);
  // The style sheet gives the bar its colour on every widget style; the native styles would
  // otherwise paint it in the desktop's accent colour.
  SetBarColor(QColor(kBarColor));

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
}

void TChangeClothes::SetBarColor(QColor color) {
  gauge_->setStyleSheet(
      QStringLiteral(
          "QProgressBar { border: 1px solid #808080; background: #ffffff; color: #000000; }"
          "QProgressBar::chunk { background-color: %1; }")
          .arg(color.name()));
}

void TChangeClothes::Advance() {
  gauge_->setValue(gauge_->value() + 1);
  gauge_->repaint();
}

}  // namespace kiv
