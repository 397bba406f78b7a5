#include "panel/ConversionProgress.h"

#include <QColor>
#include <QProgressBar>

#include "panel/TChangeClothes.h"

namespace kiv {

ConversionProgress::ConversionProgress(QWidget* parent) : parent_(parent) {}
ConversionProgress::~ConversionProgress() = default;

void ConversionProgress::Begin(qint64 min, qint64 max, const QString& title, quint32 color) {
  if (!window_) window_ = std::make_unique<TChangeClothes>(parent_);
  min_ = min;
  max_ = max;
  QProgressBar* gauge = window_->Gauge();
  gauge->setRange(0, kSteps);
  gauge->setValue(0);
  window_->SetBarColor(QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
  window_->setWindowTitle(title);
  window_->show();
}

int ConversionProgress::StepOf(qint64 position) const {
  if (max_ <= min_ || position >= max_) return kSteps;
  if (position <= min_) return 0;
  // (position - min) * kSteps could overflow near the top of the 64-bit range; long double
  // keeps every step exact enough for a bar.
  return int((long double)(position - min_) * kSteps / (long double)(max_ - min_));
}

void ConversionProgress::Advance(qint64 position) {
  if (!window_) return;
  QProgressBar* gauge = window_->Gauge();
  const int step = StepOf(position);
  if (step == gauge->value()) return;
  gauge->setValue(step);
  gauge->repaint();
}

void ConversionProgress::End() {
  if (!window_) return;
  window_->Gauge()->setValue(kSteps);
  window_->close();
  window_.reset();
}

}  // namespace kiv
