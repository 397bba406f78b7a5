// A flat bar gauge: the panel's volume indicator. Background and bar colours come from the
// skin; the bar fills the part of the width that the progress takes between minimum and maximum.
#pragma once

#include <QColor>
#include <QWidget>

namespace kiv {

class TCGauge : public QWidget {
  Q_OBJECT

 public:
  explicit TCGauge(QWidget* parent);

  void SetRange(int minimum, int maximum);
  // Clamped into the range.
  void SetProgress(int progress);
  int Progress() const { return progress_; }
  void SetColors(QColor back, QColor bar);
  QColor BackColor() const { return back_; }
  QColor BarColor() const { return bar_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  int progress_ = 0;
  QColor back_ = Qt::black;
  QColor bar_ = Qt::white;
};

}  // namespace kiv
