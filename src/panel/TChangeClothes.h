// The small "Loading..." window shown while a skin is put on the panel.
//
// A stay-on-top tool window without border icons, centred on the screen, whose client area holds
// only the gauge `Gauge` with an orange bar. The skin loader makes one per load, shows it without
// making it modal, advances it once per key row, and destroys it when the load ends, whether the
// load worked or not. The window owns its gauge.
#pragma once

#include <QProgressBar>
#include <QWidget>

namespace kiv {

class TChangeClothes : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kClientSize{229, 24};
  static constexpr QRect kGaugeRect{4, 3, 221, 18};
  static constexpr QRgb kBarColor = 0xFFFF8000;  // red 255, green 128, blue 0

  explicit TChangeClothes(QWidget* parent = nullptr);

  QProgressBar* Gauge() const { return gauge_; }
  // One step further, painted at once: the loader does not return to the event loop until it is
  // done, and the user should still see the bar move.
  void Advance();
  // The bar's colour; conversions show theirs.
  void SetBarColor(QColor color);

 private:
  QProgressBar* gauge_;
};

}  // namespace kiv
