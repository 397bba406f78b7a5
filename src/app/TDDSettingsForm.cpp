#include "app/TDDSettingsForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace kiv {
namespace {

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
  auto* button = Named(new QPushButton(caption, parent), name);
  // The dialog's own key-up handler serves Alt+O, Alt+S and Alt+H; the mnemonics would answer
  // the key-down as well and do it twice.
  button->setShortcut(QKeySequence());
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TDDSettingsForm::TDDSettingsForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("DDSettingsForm"));
  setWindowTitle(QStringLiteral("Options"));

  MicVolSlider = Named(new QSlider(Qt::Horizontal, this), "MicVolSlider");
  MicVolSlider->setRange(0, 65535);
  MicVolSlider->setTickPosition(QSlider::NoTicks);
  MicVolSlider->setCursor(Qt::PointingHandCursor);
  MuteMicrophoneCB = Named(new QCheckBox(QStringLiteral("Mute"), this), "MuteMicrophoneCB");
  MuteMicrophoneCB->setEnabled(false);
  MuteMicrophoneCB->hide();
  Button1 = Button(QStringLiteral("&Ok"), "Button1", this);
  Button1->setDefault(true);
  Button3 = Button(QStringLiteral("Program's Home"), "Button3", this);
  Button6 = Button(QStringLiteral("&Help"), "Button6", this);
  OpenDDForm = Named(new QCheckBox(QStringLiteral("Show front panel on program start"), this), "OpenDDForm");
  AutoRunCB = Named(new QCheckBox(QStringLiteral("Launch on StartUp"), this), "AutoRunCB");
  AutoRewindCB = Named(new QCheckBox(QStringLiteral("On stop rewind to message start"), this), "AutoRewindCB");
  auto* volumeBox = new QGroupBox(QStringLiteral("Volume Settings"), this);
  MasterVolumeRB = Named(new QRadioButton(QStringLiteral("Master"), volumeBox), "MasterVolumeRB");
  WaveVolumeRB = Named(new QRadioButton(QStringLiteral("Wave Out"), volumeBox), "WaveVolumeRB");
  WaveVolumeRB->setChecked(true);

  auto* radios = new QVBoxLayout(volumeBox);
  radios->addWidget(MasterVolumeRB);
  radios->addWidget(WaveVolumeRB);
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Recording Volume"), this), 0, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("min"), this), 1, 0);
  grid->addWidget(MicVolSlider, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("max"), this), 1, 2);
  grid->addWidget(MuteMicrophoneCB, 2, 0, 1, 3);
  grid->addWidget(OpenDDForm, 3, 0, 1, 3);
  grid->addWidget(AutoRunCB, 4, 0, 1, 3);
  grid->addWidget(AutoRewindCB, 5, 0, 1, 3);
  grid->addWidget(volumeBox, 6, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {Button1, Button3, Button6}) buttons->addWidget(button);
  grid->addLayout(buttons, 7, 0, 1, 3);

  connect(MicVolSlider, &QSlider::valueChanged, this, &TDDSettingsForm::MicVolSliderChange);
  for (QRadioButton* radio : {MasterVolumeRB, WaveVolumeRB}) {
    connect(radio, &QRadioButton::clicked, this, &TDDSettingsForm::MasterVolumeRBClick);
  }
  connect(AutoRunCB, &QCheckBox::clicked, this, &TDDSettingsForm::AutoRunCBClick);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button3, &QPushButton::clicked, this, &TDDSettingsForm::HomeRequested);
  connect(Button6, &QPushButton::clicked, this, &TDDSettingsForm::HelpRequested);
}

void TDDSettingsForm::FormShow(int micVolume, bool useMasterVolume, bool autoRun, bool showPanel,
                               bool autoRewind) {
  optionsAccepted_ = false;
  SetMicVolume(micVolume);
  MasterVolumeRB->setChecked(useMasterVolume);
  WaveVolumeRB->setChecked(!useMasterVolume);
  AutoRunCB->setChecked(autoRun);
  OpenDDForm->setChecked(showPanel);
  AutoRewindCB->setChecked(autoRewind);
}

void TDDSettingsForm::SetMicVolume(int volume) {
  if (volume == -1) return;
  const QSignalBlocker quiet(MicVolSlider);
  MicVolSlider->setValue(volume);
}

void TDDSettingsForm::setVisible(bool visible) {
  if (visible && !isVisible()) {
    adjustSize();
    if (QScreen* shownOn = screen()) {
      QRect inside(QPoint(), size());
      inside.moveCenter(shownOn->geometry().center());
      move(inside.topLeft());
    }
  }
  QDialog::setVisible(visible);
}

void TDDSettingsForm::Button1Click() {
  optionsAccepted_ = true;
  accept();
}

void TDDSettingsForm::keyReleaseEvent(QKeyEvent* event) {
  const bool alt = event->modifiers().testFlag(Qt::AltModifier);
  if (alt && event->key() == Qt::Key_O) {
    Button1Click();
  } else if (alt && event->key() == Qt::Key_S) {
    Q_EMIT HomeRequested();
  } else if (event->key() == Qt::Key_F11 || (alt && event->key() == Qt::Key_H)) {
    Q_EMIT HelpRequested();
  } else {
    QDialog::keyReleaseEvent(event);
  }
}

}  // namespace kiv
