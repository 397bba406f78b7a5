// The bar gauge.
#include "app/TCGauge.h"

#include <QPainter>
#include <algorithm>

namespace kiv {

TCGauge::TCGauge(QWidget* parent) : QWidget(parent) {}

void TCGauge::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  SetProgress(progress_);
}

void TCGauge::SetProgress(int progress) {
  progress_ = std::clamp(progress, minimum_, maximum_);
  update();
}

void TCGauge::SetColors(QColor back, QColor bar) {
  back_ = back;
  bar_ = bar;
  update();
}

void TCGauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), back_);
  const qint64 span = qint64(maximum_) - minimum_;
  if (span <= 0) return;
  const int filled = int(qint64(width()) * (progress_ - minimum_) / span);
  painter.fillRect(QRect(0, 0, filled, height()), bar_);
}

}  // namespace kiv
