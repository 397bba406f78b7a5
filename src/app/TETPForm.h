// The Exact Time Positioner: a slim stay-on-top tool window whose bar stands for the whole
// selected message. Dragging on the bar, turning the wheel over it or holding Ctrl+Right or
// Ctrl+Left (with Shift or Alt for fine steps) moves the bar, and every move is handed to the
// host at once, so the play position follows, also during playback.
//
// The panel owns the one positioner, sets it up with Open, places it with EtpPlacement and runs
// it modally (the topmost dance, the swallowed key and window dragging are the panel's
// business). The positioner closes itself when the mouse button is released or Ctrl is let go.
#pragma once

#include <QDialog>
#include <cstdint>

#include "transport/TransportController.h"

class QLabel;
class QTimer;

namespace kiv {

class EtpHost;
class TCGauge;

class TETPForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 216;
  static constexpr int kClientHeight = 18;
  static constexpr int kTimerInterval = 40;  // ms between key steps while a key is held
  // The bar's colour as a Windows colour value (0x00BBGGRR): orange.
  static constexpr uint32_t kBarColor = 33023;

  // Where `ETPTimer`'s tag says the held key goes.
  static constexpr int kTagIdle = 0;
  static constexpr int kTagForward = 1;
  static constexpr int kTagBack = 2;

  // `host` must outlive the form.
  explicit TETPForm(EtpHost& host, QWidget* parent = nullptr);

  // Sets the bar up for a message of `messageLength` bytes with the play position `progress`
  // bytes into it; `playRate` (bytes per second) is a plain wheel step. Leaves no key held and
  // no drag going, so the form can be opened again and again.
  void Open(uint32_t messageLength, uint32_t progress, uint32_t playRate);

  // Top left corner of a window of `windowSize` (frame included) opened for a click at `cursor`
  // on a counter `counterHeight` high: 5 pixels below the counter, pulled back inside the
  // screen. One that would hang over the right edge is put flush with it; one that would hang
  // over the bottom edge is put twice its own height above it, leaving a window's height free.
  static QPoint EtpPlacement(QPoint cursor, int counterHeight, QSize windowSize, QSize screenSize);
  // The step size that the modifier keys held with a wheel turn ask for, here and on the panel.
  static StepKeys StepKeysOf(Qt::KeyboardModifiers modifiers);

  uint32_t Progress() const;
  uint32_t Maximum() const { return maximum_; }
  int Tag() const { return etpTimerTag_; }
  bool Fine() const { return fine_; }
  bool Dragging() const { return dragging_; }

  // "25% ( 00:25)": the percentage of the message before the bar's position and the position
  // part of the host's counter text.
  void UpdateEtpLabel();

  TCGauge* ETP;
  QLabel* Label1;
  QTimer* ETPTimer;

 public Q_SLOTS:
  // One key step in the direction of the tag; connected to `ETPTimer`.
  void ETPTimerTimer();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Label1MouseDown(int x);
  void Label1MouseMove(int x);
  void Label1MouseUp();
  // True when the key was one of the positioner's.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  bool FormKeyUp(int key, Qt::KeyboardModifiers modifiers);
  void FormMouseWheel(int delta, Qt::KeyboardModifiers modifiers);

  // The bar's progress for a pointer `x` pixels from the bar's left edge.
  int64_t ProgressAt(int x) const;
  // Clamps into [0, maximum] as the gauge does, then hands the position to the host.
  void MoveTo(int64_t progress);
  void ApplyEtpPosition();
  void StopKeyRepeat();

  EtpHost& host_;
  uint32_t maximum_ = 0;
  uint32_t playRate_ = 0;
  int etpTimerTag_ = kTagIdle;
  bool dragging_ = false;
  bool fine_ = false;
};

}  // namespace kiv
