// The panel's help, logo, About box, start-up panel and "Tell a friend", with the browser and
// the mail composer of a desktop written into the test's own folder.
#include <QCheckBox>
#include <QPushButton>

#include "AppTestSupport.h"
#include "app/TAboutForm.h"
#include "app/TInfoForm.h"
#include "mailweb/WebAddresses.h"

namespace kiv::test {
namespace {

class HelpAndMailTest : public PanelTest {
 protected:
  void Trigger(MenuItem item) { form_->Menus().Item(item)->trigger(); }
  QStringList LastStarted() const { return launcher_.StartedPrograms().value(launcher_.StartedPrograms().size() - 1); }
  void OfferMail() {
    xdg_->AddRecorder(QStringLiteral("xdg-email"));
    xdg_->AddApplication(QStringLiteral("mailer.desktop"), QStringLiteral("mailer %u"));
    xdg_->SetDefault(QStringLiteral("config/mimeapps.list"), QStringLiteral("x-scheme-handler/mailto"),
                     QStringLiteral("mailer.desktop"));
  }
};

TEST_F(HelpAndMailTest, TellAFriendOpensTheComposerFilledInAndKeepsItsLogon) {
  OfferMail();
  BuildWithMessages();
  const QStringList expected{
      QStringLiteral("--utf8"), QStringLiteral("--subject"), QStringLiteral("Kiv Sound Recorder"),
      QStringLiteral("--body"),
      QStringLiteral("Hi!\n\nJust found this cool free software Kiv Sound Recorder by Zorvikware.\n"
                     "Might be interesting for you, too. Here is the link:\n") + HomePage() + QStringLiteral("\n\n")};
  Trigger(MenuItem::TellAFriend1);
  EXPECT_EQ(xdg_->Arguments(QStringLiteral("xdg-email")), expected);
  // The mailto handler goes away: the logon made the first time still holds.
  QFile::remove(xdg_->Root() + QStringLiteral("/config/mimeapps.list"));
  Trigger(MenuItem::TellAFriend2);
  EXPECT_EQ(xdg_->Arguments(QStringLiteral("xdg-email")), expected);
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
}

TEST_F(HelpAndMailTest, WithoutAMailHandOffTheUserIsTold) {
  Build(true);
  Trigger(MenuItem::TellAFriend1);
  // Offered at start, but the handler is gone before the first logon.
  OfferMail();
  Build(true);
  QFile::remove(xdg_->Root() + QStringLiteral("/config/mimeapps.list"));
  Trigger(MenuItem::TellAFriend2);
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList({QStringLiteral("MAPI services are not available on this system"),
                                                  QStringLiteral("Unable to logon to default mail client.")}));
  for (const FakeDialogs::Call& call : dialogs_.Calls()) EXPECT_EQ(call.flags, MB_OK | MB_ICONHAND);
  EXPECT_TRUE(xdg_->Arguments(QStringLiteral("xdg-email"), 300).isEmpty());
}

TEST_F(HelpAndMailTest, HelpItemsAndTheLogoOpenTheirPagesInTheBrowser) {
  Build(true);
  Trigger(MenuItem::Help1);
  EXPECT_EQ(LastStarted(), QStringList({browser_, QStringLiteral("file://") + program_ + QStringLiteral("Help/index.html")}));
  form_->SetLogo(QImage(), QStringLiteral("https://logo.example/"), QString());
  form_->SetConversionBusy(true);
  Click("UserBMP");
  EXPECT_EQ(launcher_.StartedPrograms().size(), 1);
  form_->SetConversionBusy(false);
  Click("UserBMP");
  EXPECT_EQ(LastStarted(), QStringList({browser_, QStringLiteral("https://logo.example/")}));
}

TEST_F(HelpAndMailTest, AboutBoxOpensHelpMailAndHomePageAndEscapeClosesIt) {
  Build(true);
  bool checked = false;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& about = dynamic_cast<TAboutForm&>(dialog);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Kiv Sound Recorder"));
    EXPECT_EQ(about.size(), QSize(345, 338));
    about.show();
    QTest::keyRelease(&about, Qt::Key_F11);
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(LastStarted().value(1), QStringLiteral("file://") + program_ + QStringLiteral("Help/index.html"));
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("btnMail")), Qt::LeftButton);
    EXPECT_EQ(launcher_.OpenedAddresses(),
              QStringList(QStringLiteral("mailto:") + SupportAddress() +
                          QStringLiteral("?subject=Support request:  Kiv Sound Recorder  Version 3.4  (build: 34040715)")));
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("btnBrowser")), Qt::LeftButton);
    EXPECT_EQ(LastStarted(), QStringList({browser_, HomePage()}));
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    checked = true;
    return about.result();
  };
  Trigger(MenuItem::About2);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(form_->SwallowNextKey());
}

TEST_F(HelpAndMailTest, StartupPanelComesWithTheShowingClosesByItselfAndKeepsItsBox) {
  settings_.Write(settings::ShowStartupDialog, QStringLiteral("ON"));
  int shown = 0;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& info = dynamic_cast<TInfoForm&>(dialog);
    ++shown;
    EXPECT_EQ(info.size(), QSize(486, 256));
    EXPECT_FALSE(form_->TrayIcon().Enabled());
    EXPECT_FALSE(form_->Menus().Item(MenuItem::ShowInfo2)->isEnabled());
    info.show();
    auto* timer = info.findChild<QTimer*>(QStringLiteral("Timer1"));
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 30000);
    if (shown == 1) {
      info.Timer1Timer();  // the 30 seconds are up
      EXPECT_FALSE(info.isVisible());
    } else {
      QTest::mouseClick(info.findChild<QWidget*>(QStringLiteral("CheckArea")), Qt::LeftButton);
      QTest::mouseClick(info.findChild<QWidget*>(QStringLiteral("ClickHere")), Qt::LeftButton);
      EXPECT_FALSE(timer->isActive());
      EXPECT_TRUE(info.isVisible());
      EXPECT_TRUE(info.DontShowAgain());
      EXPECT_EQ(LastStarted(), QStringList({browser_, AdvertisedPage()}));
    }
    return 0;
  };
  Build(true);
  Settle();
  ASSERT_EQ(shown, 1);
  EXPECT_EQ(settings_.Read(settings::ShowStartupDialog), QStringLiteral("ON"));
  EXPECT_TRUE(form_->TrayIcon().Enabled());
  Trigger(MenuItem::ShowInfo1);
  ASSERT_EQ(shown, 2);
  EXPECT_EQ(settings_.Read(settings::ShowStartupDialog), QStringLiteral("OFF"));
  EXPECT_TRUE(form_->Menus().Item(MenuItem::ShowInfo1)->isEnabled());
}

}  // namespace
}  // namespace kiv::test
