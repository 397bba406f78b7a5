// The start-up panel: one picture that says what the recorder is, a "click here" place that opens
// the advertised page, and a "do not show again" box. It closes by a click on the picture or by
// itself after 30 seconds unless the user did something with it first. The panel that shows it
// reads and writes the "Info" setting from the box.
#pragma once

#include <QDialog>
#include <memory>

class QCheckBox;
class QLabel;
class QTimer;

namespace kiv {

class DesktopLauncher;
class TGoToWeb;

class TInfoForm final : public QDialog {
  Q_OBJECT

 public:
  // The pictures are read from `programFolder` ("Info.bmp", "InfoHot.bmp"); the advertised page
  // opens maximised through `launcher`.
  TInfoForm(DesktopLauncher& launcher, const QString& programFolder, QWidget* parent = nullptr);
  ~TInfoForm() override;

  bool DontShowAgain() const;
  void SetDontShowAgain(bool ticked);
  // The 30-second close.
  void Timer1Timer();
  // A click on the "click here" place and on the check box's place.
  void ClickHereClick();
  void CheckAreaClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<TGoToWeb> GoToWeb1;
  QImage picture_;
  QLabel* highlight_ = nullptr;
  QWidget* clickHere_ = nullptr;
  QWidget* checkArea_ = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QTimer* Timer1 = nullptr;
};

}  // namespace kiv
