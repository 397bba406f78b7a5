// The Options dialog: the recording volume, master or wave-out volume for the panel's volume
// keys, and the start-up and stop switches. The panel owns the one instance for the program's
// whole life (the mixer moves its slider even while it is closed), fills it before each showing
// and reads the switches back when it closes with Ok. The recording volume, the volume type and
// "Launch on StartUp" take effect at once, through the signals; the other switches wait for Ok.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kiv {

class TDDSettingsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TDDSettingsForm(QWidget* parent = nullptr);

  // Before each showing: clears OptionsAccepted; `micVolume` -1 leaves the slider where it is.
  void FormShow(int micVolume, bool useMasterVolume, bool autoRun, bool showPanel,
                bool autoRewind);
  // The slider follows a change made elsewhere without writing it back to the mixer.
  void SetMicVolume(int volume);
  bool OptionsAccepted() const { return optionsAccepted_; }

  QSlider* MicVolSlider;
  QCheckBox* MuteMicrophoneCB;
  QPushButton* Button1;  // "&Ok"
  QPushButton* Button3;  // "Program's Home"
  QPushButton* Button6;  // "&Help"
  QCheckBox* OpenDDForm;
  QCheckBox* AutoRunCB;
  QCheckBox* AutoRewindCB;
  QRadioButton* MasterVolumeRB;
  QRadioButton* WaveVolumeRB;

  void setVisible(bool visible) override;

 Q_SIGNALS:
  void MicVolSliderChange(int position);
  void MasterVolumeRBClick();
  void AutoRunCBClick(bool checked);
  void HomeRequested();
  void HelpRequested();

 protected:
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void Button1Click();

  bool optionsAccepted_ = false;
};

}  // namespace kiv
