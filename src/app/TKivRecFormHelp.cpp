// The panel's ways out of itself: the help pages, the home page behind the logo, the About box,
// the start-up panel and the mail that recommends the recorder to a friend.
#include <QAction>

#include "app/TAboutForm.h"
#include "app/TImageControl.h"
#include "app/TInfoForm.h"
#include "app/TKivRecForm.h"
#include "mailweb/TEmail.h"
#include "mailweb/TGoToWeb.h"
#include "mailweb/WebAddresses.h"
#include "panel/TZvTrayIcon.h"
#include "platform/DesktopLauncher.h"
#include "platform/Dialogs.h"
#include "platform/SettingNames.h"
#include "platform/SettingsStore.h"

namespace kiv {
namespace {

QString TellAFriendBody() {
  return QStringLiteral("Hi!\r\n\r\n") +
         QStringLiteral("Just found this cool free software Kiv Sound Recorder by Zorvikware.\r\n") +
         QStringLiteral("Might be interesting for you, too. Here is the link:\r\n") + HomePage() +
         QStringLiteral("\r\n\r\n");
}

// The mail text is cut to 255 characters; the home page must still arrive whole.
static_assert(7 + 70 + 54 + sizeof(kHomePage) - 1 + 4 <= 255);

}  // namespace

void TKivRecForm::WireHelp() {
  GoToWeb1 = std::make_unique<TGoToWeb>(*services_.launcher, TBrowserState::gwNormal);
  if (services_.mail != nullptr) Email1 = std::make_unique<TEmail>(*services_.mail);
  for (MenuItem help : {MenuItem::Help1, MenuItem::Help2})
    connect(menus_->Item(help), &QAction::triggered, this, [this] { OpenHelp(); });
  for (MenuItem tell : {MenuItem::TellAFriend1, MenuItem::TellAFriend2})
    connect(menus_->Item(tell), &QAction::triggered, this, [this] { TellAFriend1Click(); });
  for (MenuItem about : {MenuItem::About1, MenuItem::About2})
    connect(menus_->Item(about), &QAction::triggered, this, [this] { About1Click(); });
  for (MenuItem info : {MenuItem::ShowInfo1, MenuItem::ShowInfo2})
    connect(menus_->Item(info), &QAction::triggered, this, [this] { ShowInfo1Click(); });
  connect(static_cast<TImageControl*>(controls_.at(SkinControl::UserBMP)), &TImageControl::Clicked,
          this, [this] { UserBMPClick(); });
}

void TKivRecForm::OpenHelp() {
  GoToWeb1->Url = QStringLiteral("file://") + programFolder_ + QStringLiteral("Help/index.html");
  GoToWeb1->Execute();
}

void TKivRecForm::UserBMPClick() {
  if (ConversionBusy()) return;
  GoToWeb1->Url = logoLink_;
  GoToWeb1->Execute();
}

void TKivRecForm::About1Click() {
  TAboutForm about(programFolder_ + QStringLiteral("About.bmp"), this);
  connect(&about, &TAboutForm::HelpRequested, this, [this] { OpenHelp(); });
  connect(&about, &TAboutForm::HomePageRequested, this, [this] {
    GoToWeb1->Url = HomePage();
    GoToWeb1->Execute();
  });
  connect(&about, &TAboutForm::MailRequested, this,
          [this](const QString& mailto) { services_.launcher->OpenAddress(mailto); });
  services_.dialogs->ExecModal(about);
}

bool TKivRecForm::ShowInfoAtStart() const {
  return services_.settings->Read(settings::ShowStartupDialog) != QStringLiteral("OFF");
}

void TKivRecForm::ShowInfo1Click() {
  TInfoForm info(*services_.launcher, programFolder_, this);
  info.SetDontShowAgain(services_.settings->Read(settings::ShowStartupDialog) == QStringLiteral("OFF"));
  auto allowOpening = [this](bool enabled) {
    SysTrayIcon->SetEnabled(enabled);
    menus_->Item(MenuItem::ShowInfo1)->setEnabled(enabled);
    menus_->Item(MenuItem::ShowInfo2)->setEnabled(enabled);
  };
  allowOpening(false);
  services_.dialogs->ExecModal(info);
  allowOpening(true);
  services_.settings->Write(settings::ShowStartupDialog,
                            info.DontShowAgain() ? QStringLiteral("OFF") : QStringLiteral("ON"));
}

void TKivRecForm::TellAFriend1Click() {
  const QString unavailable = QString::fromLatin1(EMapiUnavailable().what());
  if (!Email1) {
    services_.dialogs->MessageBox(unavailable, ApplicationTitle(), MB_OK | MB_ICONHAND);
    return;
  }
  try {
    Email1->Clear();
    if (Email1->Logon() != SUCCESS_SUCCESS) {
      services_.dialogs->MessageBox(QStringLiteral("Unable to logon to default mail client."),
                                    ApplicationTitle(), MB_OK | MB_ICONHAND);
      return;
    }
    Email1->Subject = QStringLiteral("Kiv Sound Recorder");
    Email1->Text = TellAFriendBody().left(255);
    // A cancelled or failed hand-off is the mail program's business: nothing is shown.
    Email1->SendMail();
    Email1->Clear();
  } catch (const EMapiUnavailable&) {
    services_.dialogs->MessageBox(unavailable, ApplicationTitle(), MB_OK | MB_ICONHAND);
  }
}

}  // namespace kiv
