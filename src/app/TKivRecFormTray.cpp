// The panel and its tray icon: the icon follows the tape's state, a click shows or hides the
// panel, and the OFF key sends it to the tray.
#include <QApplication>

#include "app/TKivRecForm.h"
#include "panel/TZvTrayIcon.h"
#include "platform/Dialogs.h"
#include "transport/TrayIconChoice.h"

namespace kiv {

void TKivRecForm::CreateTrayIcon() {
  SysTrayIcon = new TZvTrayIcon(this);
  SysTrayIcon->setObjectName(QStringLiteral("SysTrayIcon"));
  SysTrayIcon->SetCycleInterval(0);
  SysTrayIcon->SetHint(ApplicationTitle());
  SysTrayIcon->SetShowHint(true);
  SysTrayIcon->SetPopupMenu(menus_->PopupMenu1);
  // Minimising sends the panel to the tray only when there is a tray to bring it back from.
  SysTrayIcon->SetMinimizeToTray(services_.trayAvailable);
  SysTrayIcon->LoadIconFromFile(programFolder_ + QStringLiteral("idle1.ico"));
  connect(SysTrayIcon, &TZvTrayIcon::Click, this, [this] { SysTrayIconClick(); });
  connect(SysTrayIcon, &TZvTrayIcon::DblClick, this, [this] { SysTrayIconDblClick(); });
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) { ApplicationStateChanged(state); });
}

bool TKivRecForm::TrayIconUp() const {
  return SysTrayIcon != nullptr && SysTrayIcon->IconVisible() && services_.trayAvailable;
}

void TKivRecForm::ApplicationStateChanged(Qt::ApplicationState state) {
  // Only a shown panel can be behind other windows; a hidden one keeps the first family.
  if (!SysTrayIcon || panelHidden_) return;
  panelInBackground_ = state != Qt::ApplicationActive;
  UpdateTrayIcon();
}

void TKivRecForm::UpdateTrayIcon() {
  // The engines exist from the first steps of construction; the icon is loaded before them.
  const TapeState tape = playback_ ? TrayState() : TapeState{};
  SysTrayIcon->LoadIconFromFile(programFolder_ + QString::fromLatin1(TrayIconFile(tape, panelInBackground_)));
  SysTrayIcon->Refresh();
}

void TKivRecForm::exitButtonClick() { HideToTray(); }

void TKivRecForm::HideToTray() {
  // Without a tray icon a hidden panel could not be brought back: it goes to the task bar.
  if (!TrayIconUp()) {
    showMinimized();
    return;
  }
  SysTrayIcon->HideMainForm();
  panelInBackground_ = false;
  UpdateTrayIcon();
}

void TKivRecForm::SysTrayIconClick() {
  panelInBackground_ = false;
  if (isHidden()) {
    SysTrayIcon->ShowMainForm();
    UpdateTrayIcon();
    activateWindow();
  } else {
    SysTrayIcon->HideMainForm();
    UpdateTrayIcon();
  }
}

void TKivRecForm::SysTrayIconDblClick() {
  SysTrayIcon->ShowMainForm();
  activateWindow();
}

}  // namespace kiv
