// The converter program's progress window: the panel's small gauge window (TChangeClothes), made
// when a pass begins and destroyed when it ends, as the panel does it for the built-in converter.
//
// A pass reports 64-bit file positions, often every kilobyte. The gauge runs over a fixed number
// of steps instead, so huge cassettes fit an int and the window is repainted only when the bar
// really moves (the job runs on this thread, so nothing else would paint it).
#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

namespace kiv {

class TChangeClothes;

namespace zac {

class Progress {
 public:
  static constexpr int kSteps = 1000;

  Progress();
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // `color` is a Windows colour value, 0x00BBGGRR, as the converter gives it.
  void Begin(qint64 min, qint64 max, const QString& title, quint32 color);
  void Advance(qint64 position);
  void End();

  // The window while a pass runs, else nullptr.
  TChangeClothes* Window() const { return window_.get(); }

 private:
  int StepOf(qint64 position) const;

  std::unique_ptr<TChangeClothes> window_;
  qint64 min_ = 0;
  qint64 max_ = 0;
};

}  // namespace zac
}  // namespace kiv
