// Construction, lifetime and the panel's own commands. What the skin loader applies is in
// TKivRecFormSkin.cpp.
#include "app/TKivRecForm.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QWindow>

#include "app/KeySwallowingDialogs.h"
#include "app/TCGauge.h"
#include "app/TDDSettingsForm.h"
#include "app/TImageControl.h"
#include "convert/ConversionJob.h"
#include "mailweb/TEmail.h"
#include "mailweb/TGoToWeb.h"
#include "mixer/TAudioMixer.h"
#include "audio/CaptureEngine.h"
#include "audio/GraphicAnalyser.h"
#include "audio/PlaybackEngine.h"
#include "panel/SkinFallback.h"
#include "panel/SkinLoader.h"
#include "panel/TBMShapedForm.h"
#include "panel/ConversionProgress.h"
#include "panel/TMarquee.h"
#include "panel/TZvTrayIcon.h"
#include "platform/ConversionDoneChannel.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "platform/SettingsStore.h"
#include "platform/Topmost.h"

namespace kiv {
namespace {

QString Text(const std::string& bytes) { return QString::fromLatin1(bytes); }

}  // namespace

TKivRecForm::TKivRecForm(const KivRecServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(services) {
  setObjectName(QStringLiteral("KivRecForm"));
  setWindowTitle(ApplicationTitle());
  swallowingDialogs_ = std::make_unique<KeySwallowingDialogs>(*services.dialogs, swallowNextKey_);
  services_.dialogs = swallowingDialogs_.get();
  SettingsStore& store = *services_.settings;

  // Steps 1-5: the folders and the (empty) cassette with the start-up rate.
  programFolder_ = services_.folders->ProgramFolder();
  dataFolder_ = services_.folders->DataFolder();
  tempFolder_ = services_.folders->TempFolder();
  cassette_ = std::make_unique<Cassette>(
      CassetteEnvironment{LocalPath(dataFolder_), services_.clock});
  settings_.dataFolder = dataFolder_;

  services_.dialogs->SetPanel(this);
  CreateControls();
  menus_ = std::make_unique<KivRecMenus>(this);
  CreateTimers();
  CreateEngines();
  WireControls();
  WireTransport();

  // Step 6: other programs find the panel by its handle.
  if (services_.doneChannel) {
    services_.doneChannel->onDone = [this](qint32 wPar, qint32 lPar) { ConversionDoneMessage(wPar, lPar); };
  }
  PublishHandle();
  store.Write(settings::Version, QLatin1String(kSettingsVersion));

  // Step 7: the remaining settings.
  LoadSettings();

  // Step 11: the tray icon.
  CreateTrayIcon();

  // Step 12: the mixer lines, the volumes and the gauge.
  FindMixerLines();

  // Steps 13-16: the skin, out of the topmost band while its messages may appear.
  const bool onTop = OnTopSetting();
  if (onTop) kiv::ApplyTopmost(this, false);
  skinLoaded_ = LayOutSkin();
  if (onTop) kiv::ApplyTopmost(this, true);
  if (!skinLoaded_) {
    services_.dialogs->ShowMessage(SkinFallback::NoSkinText());
    return;
  }

  // Steps 17-21.
  PlacePanel();
  availability_ = ControlAvailability::For(TransportSituation::NothingLoaded, 0, 0);
  OpenDefaultCassette();
  ApplyTopmost();
  cassette_->CloseStream();
  analyser_->DrawIdleLine();
  SysTrayIcon->Loaded();
}

TKivRecForm::~TKivRecForm() { ReleaseCassette(); }

std::string TKivRecForm::LocalPath(const QString& path) const {
  return QFile::encodeName(path).toStdString();
}

QString TKivRecForm::CassettePathText() const {
  return QFile::decodeName(QByteArray::fromStdString(cassette_->CassettePath()));
}

void TKivRecForm::PublishHandle() {
  // Other programs reach the panel through "DDHandle". The external converter reports the end of
  // its job to the panel's done channel, so that is what the value names; without a channel it
  // names the native window, which is made anew whenever the topmost state changes.
  const QString channel = services_.doneChannel ? services_.doneChannel->Listen() : QString();
  if (!channel.isEmpty()) {
    services_.settings->Write(settings::WindowHandle, channel);
    return;
  }
  winId();
  services_.settings->Write(settings::WindowHandle,
                                   QString::number(quintptr(windowHandle()->winId())));
}

bool TKivRecForm::OnTopSetting() const {
  return services_.settings->Read(settings::OnTop) == QStringLiteral("ON");
}

bool TKivRecForm::ShowAtStart() const {
  // A hidden panel comes back only through the tray icon: without one it is shown regardless.
  return settings_.showPanelAtStart || !TrayIconUp();
}

QWidget* TKivRecForm::Control(SkinControl control) const {
  auto it = controls_.find(control);
  return it == controls_.end() ? nullptr : it->second;
}

void TKivRecForm::CreateControls() {
  // The panel picture first, so every other control lies on top of it.
  ZvSkin1 = new TBMShapedForm(this);
  ZvSkin1->setObjectName(QStringLiteral("ZvSkin1"));
  controls_[SkinControl::ZvSkin1] = ZvSkin1;

  for (SkinControl key :
       {SkinControl::volButton, SkinControl::PauseButton, SkinControl::playButton,
        SkinControl::recButton, SkinControl::stopButton, SkinControl::delButton,
        SkinControl::moreButton, SkinControl::rewSButton, SkinControl::rewButton,
        SkinControl::forwButton, SkinControl::forwEButton, SkinControl::exitButton,
        SkinControl::WheelL, SkinControl::WheelD, SkinControl::UserBMP,
        SkinControl::VolPlusButton, SkinControl::VolMinusButton}) {
    auto* control = new TImageControl(this);
    control->setObjectName(QString::fromLatin1(SkinControlName(key)));
    controls_[key] = control;
  }
  static_cast<TImageControl*>(controls_[SkinControl::UserBMP])->SetStretch(true);

  CGauge1 = new TCGauge(this);
  CGauge1->setObjectName(QStringLiteral("CGauge1"));
  CGauge1->SetRange(0, 65535);
  controls_[SkinControl::CGauge1] = CGauge1;

  mname = new TMarquee(this);
  mname->setObjectName(QStringLiteral("mname"));
  controls_[SkinControl::mname] = mname;

  message = new QLabel(QStringLiteral("0 / 0"), this);
  message->setObjectName(QStringLiteral("message"));
  message->setAlignment(Qt::AlignCenter);
  controls_[SkinControl::message] = message;

  Count = new QLabel(QStringLiteral("00:00 / 00:00"), this);
  Count->setObjectName(QStringLiteral("Count"));
  Count->setAlignment(Qt::AlignCenter);
  Count->setToolTip(QStringLiteral("Exact Time Positioner"));
  controls_[SkinControl::Count] = Count;

  PaintBox1 = new QWidget(this);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->setAutoFillBackground(true);
  controls_[SkinControl::PaintBox1] = PaintBox1;

  Shape2 = new QWidget(this);
  Shape2->setObjectName(QStringLiteral("Shape2"));
  Shape2->setAutoFillBackground(true);
  controls_[SkinControl::Shape2] = Shape2;

  // The door of the cassette compartment: a place on the panel, without a picture of its own.
  CassetteDoor = new QWidget(this);
  CassetteDoor->setObjectName(QStringLiteral("CassetteDoor"));
  CassetteDoor->hide();
}

void TKivRecForm::CreateTimers() {
  struct TimerSpec {
    QTimer* timer;
    const char* name;
    int interval;
    bool oneShot;
  };
  for (const TimerSpec& spec : {TimerSpec{&Timer1, "Timer1", 55, false},
                                TimerSpec{&Timer3, "Timer3", 1000, true},
                                TimerSpec{&Timer4, "Timer4", 1000, true},
                                TimerSpec{&Timer5, "Timer5", 200, false},
                                TimerSpec{&Timer7, "Timer7", 150, true},
                                TimerSpec{&MoveableTimer, "MoveableTimer", 100, true}}) {
    spec.timer->setParent(this);
    spec.timer->setObjectName(QString::fromLatin1(spec.name));
    spec.timer->setInterval(spec.interval);
    spec.timer->setSingleShot(spec.oneShot);
  }
}

void TKivRecForm::WireControls() {
  connect(ZvSkin1, &TBMShapedForm::MouseReleased, this, [this] { ZvSkin1MouseUp(); });
  connect(ZvSkin1, &TBMShapedForm::Clicked, this, [this] { ZvSkin1Click(); });
  connect(ZvSkin1, &TBMShapedForm::MouseMoved, this, [this] { ZvSkin1MouseMove(); });
  connect(ZvSkin1, &TBMShapedForm::DoubleClicked, this, [this] { ZvSkin1DblClick(); });
  WireTicker();
  WireMessageEditing();
  WireKeyboard();
  WireExport();
  WireVolume();
  connect(&MoveableTimer, &QTimer::timeout, this, [this] { MoveableTimerTimer(); });

  connect(static_cast<TImageControl*>(controls_[SkinControl::exitButton]), &TImageControl::Clicked,
          this, [this] { exitButtonClick(); });
  connect(menus_->Item(MenuItem::ShowDictaphen1), &QAction::triggered, this,
          [this] { ShowDictaphen1Click(); });
  auto* more = static_cast<TImageControl*>(controls_[SkinControl::moreButton]);
  connect(more, &TImageControl::MousePressed, this, [this] { moreButtonMouseDown(); });
  connect(more, &TImageControl::MouseEntered, this, [this] { moreButtonHovered_ = true; });
  connect(more, &TImageControl::MouseLeft, this, [this] { moreButtonHovered_ = false; });

  connect(menus_->Item(MenuItem::AlwaysonTop1), &QAction::triggered, this,
          [this] { AlwaysonTop1Click(); });
  connect(menus_->Item(MenuItem::AlwaysonTop2), &QAction::triggered, this,
          [this] { AlwaysonTop1Click(); });
  connect(menus_->Item(MenuItem::Exit1), &QAction::triggered, this, [this] { Exit1Click(); });
  // The settings key shows its resting picture again whenever its menu opens.
  connect(menus_->PopupMenu2, &QMenu::aboutToShow, this, [this] {
    if (skinLoader_) SetControlPicture(SkinControl::moreButton, skinLoader_->LoadPicture(QLatin1String(SkinPictureName(SkinControl::moreButton))));
  });
}

void TKivRecForm::LoadSettings() {
  settings_.Load(*services_.settings, cassette_->BaseRate());
  cassette_->SetRecordCapacity(settings_.recordCapacity);

  // The ticker's speed from the settings; its direction follows at ApplyTickerDirection.
  mname->SetSpeed(settings_.tickerSpeed);
  CheckTickerItems();
  ApplyTickerDirection();

  const QString volume = settings_.useMasterVolume ? QStringLiteral("Master") : QStringLiteral("WaveOut");
  controls_[SkinControl::VolPlusButton]->setToolTip(QStringLiteral("Increase ") + volume +
                                                    QStringLiteral(" Volume"));
  controls_[SkinControl::VolMinusButton]->setToolTip(QStringLiteral("Decrease ") + volume +
                                                     QStringLiteral(" Volume"));
  mname->setToolTip(QStringLiteral("Double Click to Select Message"));
}

bool TKivRecForm::LayOutSkin() {
  skinLoader_ = std::make_unique<SkinLoader>(*this, programFolder_, services_.logicalDpi);
  skinLoader_->SetSkinName(QStringLiteral("Default"));
  if (skinLoader_->LoadSkin(SkinLoader::LoadingCaption())) return true;

  services_.dialogs->ShowMessage(SkinFallback::CurrentSkinFailedText());
  const QString loaded = SkinFallback(programFolder_).Run([this](const QString& name) {
    skinLoader_->SetSkinName(name);
    services_.settings->Write(settings::CurrentSkin, name);
    return skinLoader_->LoadSkin(SkinLoader::LoadingCaption());
  });
  return !loaded.isEmpty();
}

void TKivRecForm::PlacePanel() {
  const QString x = services_.settings->Read(settings::PanelLeft);
  if (x.isEmpty()) {
    move(30, 30);
    return;
  }
  const QString y = services_.settings->Read(settings::PanelTop);
  // With only the left edge known the window stays where the system puts it.
  if (!y.isEmpty()) move(x.toInt(), y.toInt());
}

void TKivRecForm::OpenDefaultCassette() { OpenCassetteFile(dataFolder_ + QStringLiteral("kivrec.cst")); }

void TKivRecForm::OpenCassetteFile(const QString& path) {
  if (!QFile::exists(path)) {
    // A cassette that cannot be made leaves the panel empty; the sentence says why.
    if (Reported(cassette_->CreateBlankCassette(LocalPath(path)))) ShowCassetteState(false, true);
    return;
  }
  const OpenOutcome outcome = cassette_->OpenCassette(LocalPath(path), [this] {
    services_.dialogs->ShowMessage(
        QStringLiteral("Unfinished recording detected. Auto Recovery will be started."));
  });
  switch (outcome) {
    case OpenOutcome::MissingFile:
      services_.dialogs->MessageBox(QStringLiteral("Can't find specified file: ") + path,
                                    QStringLiteral("Kiv Sound Recorder - File doesn't exist"),
                                    MB_ICONEXCLAMATION);
      return;
    case OpenOutcome::CannotOpen:
      services_.dialogs->MessageBox(QStringLiteral("File is not available: ") + path,
                                    QStringLiteral("Kiv Sound Recorder - Error opening file"),
                                    MB_ICONHAND);
      return;
    case OpenOutcome::ReplacedByBlank:
      ShowBackupNotice();
      ShowCassetteState(false, true);
      return;
    case OpenOutcome::Opened:
    case OpenOutcome::Recovered:
      ShowCassetteState(cassette_->TableEntryCount() > 0, false);
      return;
  }
}

void TKivRecForm::ShowBackupNotice() {
  // The damaged file was kept; say where, so its sound can still be rescued.
  if (cassette_->LastBackupPath().empty()) return;
  services_.dialogs->ShowMessage(
      QStringLiteral("The cassette file was damaged and has been replaced by an empty "
                     "cassette. Its old contents were kept in:\r\n") +
      QFile::decodeName(QByteArray::fromStdString(cassette_->LastBackupPath())));
}

void TKivRecForm::SetMessageItemsEnabled(bool delMsg, bool exportMessage, bool deleteAll,
                                         bool selector, bool editName) {
  menus_->Item(MenuItem::delMsg)->setEnabled(delMsg);
  menus_->Item(MenuItem::ExportMessage1)->setEnabled(exportMessage);
  menus_->Item(MenuItem::DeleteCassette1)->setEnabled(deleteAll);
  menus_->Item(MenuItem::ListNotations1)->setEnabled(selector);
  menus_->Item(MenuItem::EnterNote1)->setEnabled(editName);
}

void TKivRecForm::ShowCassetteState(bool tableHasEntries, bool blankCreated) {
  const Cassette& tape = *cassette_;
  mname->setToolTip(QStringLiteral("Click to Edit Message Name"));
  controls_[SkinControl::playButton]->setToolTip(
      QStringLiteral("Play (Ctrl-Play to Direct Message Selector)"));
  controls_[SkinControl::rewSButton]->setToolTip(QStringLiteral("Previous Message"));
  controls_[SkinControl::forwEButton]->setToolTip(QStringLiteral("Next Message"));

  const bool hasMessages = tape.MessageCount() > 0;
  if (hasMessages) {
    SetMessageItemsEnabled(true, true, true, true, true);
  } else if (blankCreated) {
    SetMessageItemsEnabled(false, false, menus_->Item(MenuItem::DeleteCassette1)->isEnabled(),
                           false, false);
  } else {
    // Every message deleted: the list and Delete All still work on the old entries.
    SetMessageItemsEnabled(false, false, tableHasEntries, tableHasEntries, tableHasEntries);
  }
  availability_ = ControlAvailability::For(
      hasMessages ? TransportSituation::IdleWithMessages : TransportSituation::EmptyCassette,
      tape.MessageCount(), tape.CurrentMessage());

  ShowCustomText();
  ShowPositionCounter();
  message->setText(Text(tape.MessageLabelText()));
  message->setToolTip(Text(tape.RemainingTimeHint(false)));
}

void TKivRecForm::ApplyTopmost() {
  const bool on = OnTopSetting();
  menus_->Item(MenuItem::AlwaysonTop1)->setChecked(on);
  kiv::ApplyTopmost(this, on);
  PublishHandle();
  menus_->Item(MenuItem::AlwaysonTop2)->setChecked(on);
}

void TKivRecForm::AlwaysonTop1Click() {
  if (!TransportController::MayChangeSettings(Transport())) return;
  // The item toggled its own check mark already when it was triggered; the setting follows
  // the mark of the settings menu's item, whichever menu was used.
  const bool on = !OnTopSetting();
  menus_->Item(MenuItem::AlwaysonTop1)->setChecked(on);
  menus_->Item(MenuItem::AlwaysonTop2)->setChecked(on);
  services_.settings->Write(settings::OnTop,
                                   on ? QStringLiteral("ON") : QStringLiteral("OFF"));
  ApplyTopmost();
}

void TKivRecForm::ReleaseCassette() {
  if (!cassette_) return;
  // The recording ends as the Stop key ends it: the device closes and the message is saved.
  if (capture_ && capture_->Recording()) capture_->StopRecording();
  // Only a recording without its engine is left here, with the panel going away: a failed end
  // leaves the sidecar, and the next open recovers the message from it.
  if (cassette_->Recording()) (void)cassette_->EndRecording(settings_.autoRewindOnStop);
  cassette_->CloseStream();
}

void TKivRecForm::Exit1Click() {
  ReleaseCassette();
  SaveSettings();
  close();
}

void TKivRecForm::closeEvent(QCloseEvent* event) {
  ReleaseCassette();
  QWidget::closeEvent(event);
}

void TKivRecForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Changing the topmost state hides and shows the window; the panel itself stays shown.
  if (IsChangingTopmost(this)) return;
  panelHidden_ = false;
  mname->SetActive(true);
  ApplyTickerDirection();
  // The start-up panel comes with every showing unless the user turned it off; after the panel
  // itself is up.
  if (ShowInfoAtStart()) QTimer::singleShot(0, this, [this] { ShowInfo1Click(); });
}

void TKivRecForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (IsChangingTopmost(this)) return;
  panelHidden_ = true;
  mname->SetActive(false);
}

void TKivRecForm::moreButtonMouseDown() { OpenSettingsMenu(QCursor::pos()); }

void TKivRecForm::OpenSettingsMenu(QPoint at) {
  const TransportState state = Transport();
  if (state.conversionBusy) return;
  const bool settingsFree = TransportController::MayChangeSettings(state);
  for (MenuItem name : {MenuItem::Settings2, MenuItem::AlwaysonTop1, MenuItem::ImportWAVMP31}) {
    menus_->Item(name)->setEnabled(settingsFree);
  }
  RebuildVolumesMenu();
  menus_->PopupMenu2->popup(at);
}

void TKivRecForm::ZvSkin1MouseUp() {
  services_.settings->Write(settings::PanelLeft, QString::number(x()));
  services_.settings->Write(settings::PanelTop, QString::number(y()));
}

void TKivRecForm::ZvSkin1Click() {
  if (!moreButtonHovered_ || !skinLoader_) return;
  SetControlPicture(SkinControl::moreButton, skinLoader_->LoadPicture(QLatin1String(SkinPictureName(SkinControl::moreButton))));
  moreButtonHovered_ = false;
}

void TKivRecForm::MoveableTimerTimer() {
  MoveableTimer.stop();
  ZvSkin1->SetMoveable(true);
}

}  // namespace kiv
