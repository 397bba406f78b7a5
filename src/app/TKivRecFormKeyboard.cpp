// The keyboard on the panel, and what its keys open besides the tape: the shortcut window, the
// help page and the desktop's volume control. The panel takes every key itself (its controls
// take no focus), turns the toolkit's key into the virtual key the shortcut tables are written
// in, and does what the tables say. The toolkit's auto-repeat sends a release before every repeated press;
// those releases are dropped, so a held key presses again and again and lets go once, as the
// tape keys expect.
#include <QAction>
#include <QKeyEvent>

#include "app/TAKSForm.h"
#include "app/TKivRecForm.h"
#include "platform/DesktopLauncher.h"
#include "platform/Dialogs.h"
#include "transport/KeyboardShortcuts.h"

namespace kiv {
namespace {

VirtualKey VirtualKeyOf(int key) {
  switch (key) {
    case Qt::Key_Backspace: return VirtualKey::Back;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VirtualKey::Return;
    case Qt::Key_Escape: return VirtualKey::Escape;
    case Qt::Key_PageUp: return VirtualKey::Prior;
    case Qt::Key_PageDown: return VirtualKey::Next;
    case Qt::Key_Left: return VirtualKey::Left;
    case Qt::Key_Up: return VirtualKey::Up;
    case Qt::Key_Right: return VirtualKey::Right;
    case Qt::Key_Down: return VirtualKey::Down;
    case Qt::Key_Insert: return VirtualKey::Insert;
    case Qt::Key_Delete: return VirtualKey::Delete;
    case Qt::Key_E: return VirtualKey::E;
    case Qt::Key_H: return VirtualKey::H;
    case Qt::Key_M: return VirtualKey::M;
    case Qt::Key_P: return VirtualKey::P;
    case Qt::Key_S: return VirtualKey::S;
    case Qt::Key_V: return VirtualKey::V;
    case Qt::Key_X: return VirtualKey::X;
    case Qt::Key_F1: return VirtualKey::F1;
    case Qt::Key_F11: return VirtualKey::F11;
    case Qt::Key_F12: return VirtualKey::F12;
    default: return VirtualKey::None;
  }
}

KeyModifiers ModifiersOf(Qt::KeyboardModifiers modifiers) {
  return KeyModifiers{modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::AltModifier),
                      modifiers.testFlag(Qt::ShiftModifier)};
}

}  // namespace

void TKivRecForm::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (!event->isAutoRepeat()) keysDown_[event->key()] = event->modifiers();
  FormKeyDown(event->key(), event->modifiers());
}

void TKivRecForm::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  if (event->isAutoRepeat()) return;
  // A release whose press went to a dialog belongs to that dialog. The swallowed key alone does
  // not cover it: with X11 the dialog takes the keyboard a moment after it appears, so a
  // modifier let go in that moment would use up the swallow meant for the closing key.
  const auto pressed = keysDown_.find(event->key());
  const bool pressedHere = pressed != keysDown_.end();
  // A chord counts with the modifiers held when its key went down: Alt+M is still Alt+M when
  // Alt comes up a moment before M, and a winding key let go after Ctrl was added still stops.
  const Qt::KeyboardModifiers modifiers = pressedHere ? pressed->second : event->modifiers();
  if (pressedHere) keysDown_.erase(pressed);
  if (SwallowedKey() || !pressedHere) return;
  RunKeyActions(KeyUpActions(VirtualKeyOf(event->key()), ModifiersOf(modifiers), KeyboardContext()));
}

bool TKivRecForm::SwallowedKey() {
  const bool swallow = swallowNextKey_;
  swallowNextKey_ = false;
  return swallow;
}

KeyContext TKivRecForm::KeyboardContext() const {
  auto shown = [this](SkinControl control) { return !controls_.at(control)->isHidden(); };
  return KeyContext{Transport(), shown(SkinControl::volButton),
                    shown(SkinControl::VolPlusButton), shown(SkinControl::VolMinusButton)};
}

void TKivRecForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (SwallowedKey()) return;
  RunKeyActions(KeyDownActions(VirtualKeyOf(key), ModifiersOf(modifiers), KeyboardContext()));
}

void TKivRecForm::FormKeyUp(int key, Qt::KeyboardModifiers modifiers) {
  if (SwallowedKey()) return;
  RunKeyActions(KeyUpActions(VirtualKeyOf(key), ModifiersOf(modifiers), KeyboardContext()));
}

void TKivRecForm::RunKeyActions(const std::vector<KeyAction>& actions) {
  for (KeyAction action : actions) RunKeyAction(action);
}

void TKivRecForm::VolumeKeyHeld(SkinControl key, PictureState picture, bool& held, bool down) {
  if (down && conversionBusy_) return;  // the volume keys rest while an export or import runs
  ShowKeyPicture(key, picture);
  held = down;
  if (down) {
    Timer1.start();
  } else {
    Timer1.stop();
  }
}

void TKivRecForm::RunKeyAction(KeyAction action) {
  using A = KeyAction;
  using C = SkinControl;
  switch (action) {
    case A::RewindPress: rewButtonMouseDown(); break;
    case A::ForwardPress: forwButtonMouseDown(); break;
    case A::PreviousPress: rewSButtonMouseDown(); break;
    case A::NextPress: forwEButtonMouseDown(); break;
    case A::RewindRelease: rewButtonMouseUp(); break;
    case A::ForwardRelease: forwButtonMouseUp(); break;
    case A::PreviousRelease: rewSButtonMouseUp(); break;
    case A::NextRelease: forwEButtonMouseUp(); break;
    case A::VolumeUpPress: VolumeKeyHeld(C::volButton, PictureState::TurningUp, volumeUpHeld_, true); break;
    case A::VolumeDownPress: VolumeKeyHeld(C::volButton, PictureState::TurningDown, volumeDownHeld_, true); break;
    case A::VolumePlusPress: VolumeKeyHeld(C::VolPlusButton, PictureState::Pressed, volumeUpHeld_, true); break;
    case A::VolumeMinusPress: VolumeKeyHeld(C::VolMinusButton, PictureState::Pressed, volumeDownHeld_, true); break;
    case A::VolumeUpRelease: VolumeKeyHeld(C::volButton, PictureState::Rest, volumeUpHeld_, false); break;
    case A::VolumeDownRelease: VolumeKeyHeld(C::volButton, PictureState::Rest, volumeDownHeld_, false); break;
    case A::VolumePlusRelease: VolumeKeyHeld(C::VolPlusButton, PictureState::Rest, volumeUpHeld_, false); break;
    case A::VolumeMinusRelease: VolumeKeyHeld(C::VolMinusButton, PictureState::Rest, volumeDownHeld_, false); break;
    case A::OpenPositioner: CountClick(); break;
    case A::Help: OpenHelp(); break;
    case A::Play: playButtonClick(); break;
    case A::Record: recButtonClick(); break;
    case A::Stop: stopButtonClick(); break;
    case A::Pause: pauseButtonClick(); break;
    case A::HideToTray: exitButtonClick(); break;
    case A::MessageSelector: ListNotations1Click(); break;
    case A::VolumeControl: StartVolumeControl(); break;
    case A::ShortcutWindow: Shortcuts1Click(); break;
    case A::Exit: Exit1Click(); break;
    case A::DeleteMessage:
      if (menus_->Item(MenuItem::delMsg)->isEnabled()) {
        delMsgClick();
      } else {
        DeleteCassette1Click();
      }
      break;
    case A::SettingsMenu: {
      const QWidget* settingsKey = controls_.at(SkinControl::moreButton);
      OpenSettingsMenu(mapToGlobal(settingsKey->pos()));
      break;
    }
  }
}

void TKivRecForm::WireKeyboard() {
  connect(menus_->Item(MenuItem::Shortcuts1), &QAction::triggered, this, [this] { Shortcuts1Click(); });
  WireHelp();
}

void TKivRecForm::Shortcuts1Click() {
  const TransportState tape = Transport();
  TAKSForm shortcuts(this);
  shortcuts.SelectPage(tape.Playing()     ? ShortcutPage::Playing
                       : tape.Recording() ? ShortcutPage::Recording
                                          : ShortcutPage::Stop);
  connect(&shortcuts, &TAKSForm::HelpRequested, this, [this] { OpenHelp(); });
  services_.dialogs->ExecModal(shortcuts);
}

void TKivRecForm::StartVolumeControl() {
  // Without a volume control on the desktop the key simply does nothing.
  services_.launcher->StartVolumeControl(Transport().Recording()
                                             ? DesktopLauncher::VolumeView::Recording
                                             : DesktopLauncher::VolumeView::Playback);
}

}  // namespace kiv
