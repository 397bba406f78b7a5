// The front panel: the recorder's one window. It owns every control of the panel, the open
// cassette, the menus and the timers, builds itself in a fixed order (settings, skin, place,
// default cassette, topmost state) and wires the parts together. It computes and decides nothing
// itself: the cassette store and its play head, the skin loader, the transport controller and
// the transport tables decide; the panel passes events in and shows what they report.
//
// Operating-system services come in through KivRecServices, so tests build the real panel
// offscreen with fakes.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "app/KivRecMenus.h"
#include "app/KivRecSettings.h"
#include "audio/CaptureView.h"
#include "audio/PlaybackView.h"
#include "cassette/Cassette.h"
#include "panel/SkinPictures.h"
#include "panel/SkinTarget.h"
#include "transport/ControlAvailability.h"
#include "transport/KeyboardShortcuts.h"
#include "transport/TransportController.h"

class QLabel;

namespace kiv {

class AudioInput;
class AudioOutput;
class ConversionDoneChannel;
class ConversionJob;
class ConversionProgress;
class DesktopLauncher;
class KeySwallowingDialogs;
class CaptureEngine;
class Dialogs;
class FreeSpace;
class Folders;
class GraphicAnalyser;
class PlaybackEngine;
class SettingsStore;
class SkinLoader;
class TBMShapedForm;
class TCGauge;
class TImageControl;
class TMarquee;
class SoundPlayer;
struct TapeState;
class TZvTrayIcon;
class SimpleMapi;
class TEmail;
class TGoToWeb;
class TAudioMixer;
class TDDSettingsForm;

struct KivRecServices {
  SettingsStore* settings = nullptr;
  Dialogs* dialogs = nullptr;
  FreeSpace* freeSpace = nullptr;
  Folders* folders = nullptr;
  AudioOutput* audioOutput = nullptr;
  AudioInput* audioInput = nullptr;
  SoundPlayer* soundPlayer = nullptr;  // plays "limit.wav" without waiting
  DesktopLauncher* launcher = nullptr;  // opens the help page, starts programs
  SimpleMapi* mail = nullptr;           // hands "Tell a friend" to the mail program; null: none
  TAudioMixer* mixer = nullptr;         // the system's mixer; null: a system without one
  // A converter job for one export or import; null (with the reason) when there is no converter.
  std::function<std::unique_ptr<ConversionJob>(QString* why)> newConversionJob;
  // Where the external converter reports that its job is over.
  ConversionDoneChannel* doneChannel = nullptr;
  Clock clock = SystemLocalTime;
  int logicalDpi = 96;        // picks the large or small variants of the skin's keys
  QString programPath;        // what the start-with-system entry starts
  bool trayAvailable = false; // the desktop has a system tray to hold the icon
};

class TKivRecForm : public QWidget,
                    public SkinTarget,
                    private PlaybackView,
                    private CaptureView {
  Q_OBJECT

 public:
  explicit TKivRecForm(const KivRecServices& services, QWidget* parent = nullptr);
  ~TKivRecForm() override;

  // False when no skin could be laid out; the program then ends.
  bool SkinLoaded() const { return skinLoaded_; }
  // Whether the panel should appear at start: the "OpenDDForm" setting, unless the user would
  // otherwise be left without any visible trace of the program (no tray icon to bring it back).
  bool ShowAtStart() const;

  Cassette& cassette() { return *cassette_; }
  const KivRecSettings& Settings() const { return settings_; }
  KivRecMenus& Menus() { return *menus_; }
  QWidget* Control(SkinControl control) const;
  const ControlAvailability& Availability() const { return availability_; }
  bool PanelHidden() const { return panelHidden_; }
  bool CassetteLoaded() const { return cassette_->CassetteLoaded(); }
  const QString& ProgramFolder() const { return programFolder_; }
  const QString& DataFolder() const { return dataFolder_; }
  QString TickerColorTag(int number) const { return tickerColorTags_.at(size_t(number - 1)); }
  QColor AnalyserColor(SkinColor role) const;

  void AlwaysonTop1Click();
  void Exit1Click();
  void ApplyTopmost();
  void moreButtonMouseDown();
  // The OFF key: the panel goes to the tray (HideToTray).
  void exitButtonClick();
  void HideToTray();
  // The tray icon for the tape's state and PanelInBackground.
  void UpdateTrayIcon();
  void SysTrayIconClick();
  void SysTrayIconDblClick();
  void ShowDictaphen1Click() { SysTrayIconDblClick(); }
  TZvTrayIcon& TrayIcon() { return *SysTrayIcon; }
  bool PanelInBackground() const { return panelInBackground_; }
  // Without a tray to live in, the panel is never hidden away.
  bool TrayIconUp() const;
  // The custom text in the ticker, in the skin's first ticker colour.
  void ShowCustomText() override;
  // The user's scroll direction ("MDirection") onto the ticker and its menu.
  void ApplyTickerDirection();
  void Slow1Click(QAction* item);
  void Left1Click(QAction* item);
  void Customtext1Click();
  void mnameMouseDown(Qt::MouseButton button);
  void mnameMouseMove();
  void ZvSkin1MouseMove();
  void ZvSkin1DblClick();
  void Timer3Timer();

  // ---- Editing the messages (TKivRecFormMessages.cpp) --------------------------------------
  void delButtonClick();
  void delMsgClick();
  void DeleteCassette1Click();
  void EnterNote1Click();
  // A click on the ticker names the current message, as the menu item does.
  void mnameClick();
  // The Direct Message Selector: pick, delete or rename a message from a list of all of them.
  void ListNotations1Click();
  // A press on the message number opens the selector without starting to drag the panel.
  void messageMouseDown();
  int SelectorResult() const { return selectorResult_; }

  // ---- Export and import (TKivRecFormExport.cpp) -------------------------------------------
  void ToWAV1Click();
  void ImportWAVMP31Click();
  // The converter's events, and the completion that ends every job, from whichever converter.
  // `color` is a Windows colour value, 0x00BBGGRR, as the converter gives it.
  void ZCAConv1ConversionBegin(int64_t min, int64_t max, const QString& title, uint32_t color);
  void ZCAConv1ConversionProgress(int64_t position);
  void ZCAConv1ConversionEnd();
  void ZCAConv1Exception(const QString& text);
  void ConversionDoneMessage(int32_t wPar, int32_t lPar);
  const QString& PendingConversion() const { return pendingConversion_; }

  // ---- The keyboard and the windows outside the panel (TKivRecFormKeyboard.cpp) ------------
  // A key pressed or released while the panel has the keyboard, in the toolkit's key codes.
  void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  void FormKeyUp(int key, Qt::KeyboardModifiers modifiers);
  bool SwallowNextKey() const { return swallowNextKey_; }
  bool VolumeUpHeld() const { return volumeUpHeld_; }
  bool VolumeDownHeld() const { return volumeDownHeld_; }
  // The shortcut window, on the page for what the tape is doing.
  void Shortcuts1Click();
  // The desktop's volume control: its recording view while a recording runs.
  void StartVolumeControl();
  // The settings menu at `at` (screen coordinates), with the items the tape's state allows.
  void OpenSettingsMenu(QPoint at);

  // ---- The tape keys (TKivRecFormTransport.cpp) -------------------------------------------
  PlaybackEngine& Playback() { return *playback_; }
  CaptureEngine& Capture() { return *capture_; }
  GraphicAnalyser& Analyser() { return *analyser_; }
  // An export or import runs: every tape key is ignored until it ends.
  bool ConversionBusy() const { return conversionBusy_; }
  void SetConversionBusy(bool busy) { conversionBusy_ = busy; }
  // What the tape is doing now, from the engines' own flags, for the controller's decisions.
  TransportState Transport() const;

  void playButtonMouseDown(Qt::KeyboardModifiers modifiers);
  void playButtonClick();
  void pauseButtonClick();
  void stopButtonClick();
  void recButtonClick();
  void Record1Click();
  void Play1Click();
  void PopupMenu1Popup();
  void Timer4Timer();
  void Timer5Timer();
  void Timer7Timer();
  int DeferredAction() const { return deferredAction_; }
  bool WheelFramesLoaded() const { return !wheelFrames_[0].isNull(); }

  // ---- Winding and message stepping (TKivRecFormCueing.cpp) --------------------------------
  void forwButtonMouseDown();
  void forwButtonMouseUp();
  void rewButtonMouseDown();
  void rewButtonMouseUp();
  void forwEButtonMouseDown();
  void forwEButtonMouseUp();
  void rewSButtonMouseDown();
  void rewSButtonMouseUp();
  void Timer1Timer();
  void NextMessage();
  void PreviousMessage();
  // A turn of the mouse wheel over the panel: `delta` > 0 away from the user.
  void MouseWheelSeek(int delta, Qt::KeyboardModifiers modifiers);
  bool ForwardHeld() const { return forwardHeld_; }
  bool RewindHeld() const { return rewindHeld_; }
  bool PreviousHeld() const { return previousHeld_; }
  bool NextHeld() const { return nextHeld_; }

  // ---- Counter, time positioner and recording guards (TKivRecFormCounter.cpp) -------------
  void ShowCounter(uint32_t lengthSeconds, uint32_t positionSeconds) override;
  void CountClick();
  // Every move in the time positioner: the play head to `progress` bytes into the message.
  void ApplyEtpPosition(uint32_t progress);
  void RefreshRemainingTime();
  bool CheckRecordStart();
  void ShowLimitWindow();

  // ---- Help, web pages, mail, the About box and the start-up panel (TKivRecFormHelp.cpp) --
  // The help's index page in the browser.
  void OpenHelp();
  // The logo's page, unless an export or import runs.
  void UserBMPClick();
  void About1Click();
  // The start-up panel; whether it comes up at start is the "Info" setting.
  void ShowInfo1Click();
  bool ShowInfoAtStart() const;
  // A mail recommending the recorder, in the mail program's compose window.
  void TellAFriend1Click();

  // SkinTarget
  void SetControlVisible(SkinControl control, bool visible) override;
  void PlaceControl(SkinControl control, QPoint topLeft) override;
  void SetControlPicture(SkinControl control, const QImage& picture) override;
  void SetControlBox(SkinControl control, QRect box) override;
  void SetControlFont(SkinControl control, const SkinFont& font) override;
  void SetLabelColor(SkinControl label, QColor color) override;
  void SetSkinColor(SkinColor role, QColor color) override;
  void SetTickerColorTag(int number, const QString& tag) override;
  void TickerFontApplied() override;
  void SetLogo(const QImage& picture, const QString& link, const QString& hint) override;
  void SetPanelPicture(const QImage& picture) override;

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void CreateTimers();
  void WireControls();
  void LoadSettings();
  bool LayOutSkin();
  void PlacePanel();
  void OpenDefaultCassette();
  // Opens `path` as the cassette with its recovery and fallbacks, and shows what it holds.
  void OpenCassetteFile(const QString& path);
  void ShowCassetteState(bool tableHasEntries, bool blankCreated);
  void SetMessageItemsEnabled(bool delMsg, bool exportMessage, bool deleteAll, bool selector,
                              bool editName);
  void WireTicker();
  void WireMessageEditing();
  void WireKeyboard();
  void WireHelp();  // TKivRecFormHelp.cpp
  void WireExport();
  // One of the job's named values, to the external converter's settings or to the job.
  void HandOver(const Setting& value, const QString& text);
  // A job of the built-in converter with the panel's events; true at once for the external one.
  bool PrepareConverter();
  // The export or import dialog; the chosen path ("" when cancelled) and its folder remembered.
  QString ChooseConversionFile(bool save, const QString& filter);
  // Busy from here to the completion; runs the job, or starts the external converter with
  // `externalArgument`.
  void BeginConversion(const QString& pending, const char* externalArgument);
  // Messages are edited only while nothing plays, records or converts.
  bool MayEditMessages() const;
  // Asks, deletes the current message with the pack's progress shown, and shows the result.
  void DeleteCurrentMessage();
  // Asks for a new name for message `number`, starting from `note`, and stores it.
  void RenameFromDialog(uint32_t number, const QString& note);
  void CheckTickerItems();
  // The selector's lines, from the cassette's table; empty when it holds no message.
  QStringList SelectorLines();
  // True (and clears the mark) when a dialog just closed and this key belongs to it.
  bool SwallowedKey();
  KeyContext KeyboardContext() const;
  void RunKeyActions(const std::vector<KeyAction>& actions);
  void RunKeyAction(KeyAction action);
  void VolumeKeyHeld(SkinControl key, PictureState picture, bool& held, bool down);
  void SaveSettings();
  void ZvSkin1MouseUp();
  void ZvSkin1Click();
  void MoveableTimerTimer();
  // Stops a running recording so its message is kept, and lets go of the cassette file.
  void ReleaseCassette();
  bool OnTopSetting() const;
  void CreateTrayIcon();
  void ApplicationStateChanged(Qt::ApplicationState state);
  void PublishHandle();
  std::string LocalPath(const QString& path) const;
  QString CassettePathText() const;

  // The tape keys' wiring and the faces they show (TKivRecFormTransport.cpp).
  void CreateEngines();
  void WireTransport();
  // A key's picture from the skin; a picture the skin lacks leaves the old one in place.
  void ShowKeyPicture(SkinControl key, PictureState state);
  void StartWheels() override;
  void StartWheelAnimation();
  TapeState TrayState() const;
  // The transport's Stop: a playback ends when its buffer is back, a recording at once.
  void StopTape();
  bool Playing() const;
  // Rewind and Forward: start and end winding.
  void WindKeyDown(SkinControl key, PictureState pressedPicture, bool& held, PanelControl control);
  void WindKeyUp(SkinControl key, PictureState restingPicture, bool& held, PanelControl control);
  void MessageKeyDown(SkinControl key, PictureState pressedPicture, bool& held,
                      PanelControl control, bool faster);
  // The ticker, counter, label and message keys after a message was selected, or the reason
  // it could not be.
  void ShowSelectedMessage(const Status& selected);
  // The counter from the play head's seconds.
  void ShowPositionCounter();
  // A damaged cassette was replaced by a blank one: where its old bytes were kept.
  void ShowBackupNotice();
  // A Status the user must hear about: its sentence in a message box. False when not ok.
  bool Reported(const Status& status);

  // PlaybackView
  void DrawPlaybackTrace(const QByteArray& bytes) override;
  void DrawIdleLine() override;
  void ShowPlayingFace() override;
  void ShowPausedFace() override;
  void ShowIdleFace() override;
  void ApplyAvailability(const ControlAvailability& availability) override;
  void SetAvailability(PanelControl control, kiv::Availability availability) override;
  void EnableMessageMenuItems(bool enabled) override;
  void PauseWheels() override;
  void ResumeWheels() override;
  void StopWheels() override;
  bool AutoRewindOnStop() const override;
  // CaptureView
  void ShowRecordKeyAtRest() override;
  void SetTrayHint(const QString& hint) override;
  void SetMessageLabel(const QString& text) override;
  void SetRemainingTimeHint(const QString& hint) override;
  void SetCounterText(const QString& text) override;
  void DrawRecordingTrace(const QByteArray& buffer) override;
  void SetMenuItemEnabled(MenuItem item, bool enabled) override;
  void ShowRecordingState() override;
  void ShowIdleState(bool previousMessageAvailable, bool nextMessageAvailable) override;
  void CassetteReplaced() override;
  void RunningCheckRefused(RunningCheck why) override;

  KivRecServices services_;
  // The browser for the help, the logo and the About box, and the mail to a friend
  // (TKivRecFormHelp.cpp).
  std::unique_ptr<TGoToWeb> GoToWeb1;
  std::unique_ptr<TEmail> Email1;
  // Stands in for the given dialogs service: every box the panel shows swallows the next key.
  std::unique_ptr<KeySwallowingDialogs> swallowingDialogs_;
  bool swallowNextKey_ = false;
  // Keys pressed while the panel had the keyboard and not yet released, with the modifiers
  // held as they went down.
  std::map<int, Qt::KeyboardModifiers> keysDown_;
  bool volumeUpHeld_ = false;
  bool volumeDownHeld_ = false;
  int selectorResult_ = -1;
  std::unique_ptr<ConversionJob> conversionJob_;
  std::unique_ptr<ConversionProgress> conversionProgress_;
  QString pendingConversion_;
  int externalJob_ = 0;  // counts the external converter's jobs, so a late end is told apart
  QString programFolder_;
  QString dataFolder_;
  QString tempFolder_;
  KivRecSettings settings_;
  std::unique_ptr<Cassette> cassette_;
  std::unique_ptr<KivRecMenus> menus_;
  std::unique_ptr<SkinLoader> skinLoader_;
  ControlAvailability availability_;
  bool skinLoaded_ = false;
  bool panelHidden_ = true;
  bool panelInBackground_ = false;
  bool moreButtonHovered_ = false;
  std::array<QString, 4> tickerColorTags_;
  std::map<SkinColor, QColor> skinColors_;
  QString logoLink_;

  std::unique_ptr<PlaybackEngine> playback_;
  std::unique_ptr<CaptureEngine> capture_;
  std::unique_ptr<TransportController> transport_;
  GraphicAnalyser* analyser_ = nullptr;
  bool conversionBusy_ = false;
  bool directSelectRequested_ = false;
  int deferredAction_ = 0;  // Timer4's tag: 1 Record, 2 Play
  int wheelTag_ = 0;        // Timer5's tag: which pair of frames comes next
  std::array<QImage, 4> wheelFrames_;  // LA, LB, DA, DB
  bool forwardHeld_ = false;
  bool rewindHeld_ = false;
  bool previousHeld_ = false;
  bool nextHeld_ = false;

  TBMShapedForm* ZvSkin1 = nullptr;
  std::map<SkinControl, QWidget*> controls_;
  TMarquee* mname = nullptr;
  QLabel* message = nullptr;
  QLabel* Count = nullptr;
  TCGauge* CGauge1 = nullptr;
  QWidget* PaintBox1 = nullptr;
  QWidget* Shape2 = nullptr;
  QWidget* CassetteDoor = nullptr;
  TZvTrayIcon* SysTrayIcon = nullptr;

  QTimer Timer1;
  QTimer Timer3;
  QTimer Timer4;
  QTimer Timer5;
  QTimer Timer7;
  QTimer MoveableTimer;

  // ---- The volume keys and gauge, outside changes, Options (TKivRecFormVolume.cpp) --------
 public:
  // `x` is where on the combined key the mouse is: from 27 on it raises, left of it it lowers.
  void volButtonMouseDown(int x);
  void volButtonMouseUp(int x);
  void volButtonMouseMove(int x);
  void VolPlusButtonMouseDown();
  void VolPlusButtonMouseUp();
  void VolMinusButtonMouseDown();
  void VolMinusButtonMouseUp();
  // A volume changed anywhere in the system: the gauge and the Options slider follow.
  void MixerControlChange();
  // The Options dialog; nothing happens while the tape plays or records.
  void Settings1Click();
  void Settings2Click();
  TAudioMixer& Mixer() { return *Mixer_; }
  TDDSettingsForm& DDSettingsForm() { return *DDSettingsForm_; }
  int PlaybackVolume() const { return playbackVolume_; }
  int MicVolume() const { return micVolume_; }
  int WaveLine() const { return WaveLine_; }
  int MicLine() const { return MicLine_; }

 private:
  void WireVolume();
  // Construction step 12: the wave and microphone lines, the volumes, the gauge and the hints.
  void FindMixerLines();
  void ShowVolumeHints();
  // One step of a held volume key, from Timer1.
  void VolumeRampTick();
  void RebuildVolumesMenu();
  void VolumeKeyDown(SkinControl key, PictureState picture, bool& held);
  void VolumeKeyUp(SkinControl key, bool& held);
  // The connection the volume keys turn on destination 0: the destination itself for master.
  int PlaybackLine() const { return settings_.useMasterVolume ? MasterLine_ : WaveLine_; }
  // The line's left volume; false (and `left` untouched) when it cannot be read.
  bool ReadLeft(int destination, int connection, int& left);
  void MicVolSliderChange(int position);
  void MasterVolumeRBClick();

  std::unique_ptr<TAudioMixer> ownMixer_;  // stands in when the services bring no mixer
  TAudioMixer* Mixer_ = nullptr;
  std::unique_ptr<TDDSettingsForm> DDSettingsForm_;
  std::unique_ptr<QObject> volButtonWatcher_;
  int MasterLine_ = -1;
  int WaveLine_ = -1;
  int MicLine_ = -1;
  int playbackVolume_ = -1;
  int micVolume_ = -1;
};

}  // namespace kiv
