// The progress window of an export or import, for the panel's built-in converter and for the
// external converter program alike: the small gauge window (TChangeClothes), made when a pass
// begins and destroyed when it ends, with the converter's title and bar colour.
//
// A pass reports 64-bit file positions, often every kilobyte. The gauge runs over a fixed number
// of steps instead, so huge cassettes fit an int, and the bar is repainted at once whenever it
// really moves: the job runs on the caller's thread without returning to the event loop.
#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

class QWidget;

namespace kiv {

class TChangeClothes;

class ConversionProgress {
 public:
  static constexpr int kSteps = 1000;

  // The window is made with `parent` (none for a program without a panel).
  explicit ConversionProgress(QWidget* parent = nullptr);
  ~ConversionProgress();
  ConversionProgress(const ConversionProgress&) = delete;
  ConversionProgress& operator=(const ConversionProgress&) = delete;

  // `color` is a Windows colour value, 0x00BBGGRR, as the converter gives it.
  void Begin(qint64 min, qint64 max, const QString& title, quint32 color);
  void Advance(qint64 position);
  void End();

  // The window while a pass runs, else nullptr.
  TChangeClothes* Window() const { return window_.get(); }

 private:
  int StepOf(qint64 position) const;

  QWidget* parent_;
  std::unique_ptr<TChangeClothes> window_;
  qint64 min_ = 0;
  qint64 max_ = 0;
};

}  // namespace kiv
