// The panel and its tray icon: the icon by state and background, the OFF key, clicks on the
// icon, and the tray menu's "Show Kiv Sound Recorder".
#include <QAction>
#include <QGuiApplication>
#include <QTest>

#include "AppTestSupport.h"
#include "panel/TZvTrayIcon.h"

namespace kiv::test {
namespace {

class TrayPanelTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    trayAvailable_ = true;
  }
  QString IconName() { return QFileInfo(form_->TrayIcon().IconFile()).fileName(); }
};

TEST_F(TrayPanelTest, TheIconStartsIdleWithTheProgramsNameAndTheTrayMenu) {
  TKivRecForm& form = Build();
  EXPECT_EQ(IconName(), QStringLiteral("idle1.ico"));
  EXPECT_EQ(form.TrayIcon().Hint(), QStringLiteral("Kiv Sound Recorder"));
  EXPECT_EQ(form.TrayIcon().PopupMenu(), form.Menus().PopupMenu1);
  EXPECT_TRUE(form.TrayIcon().MinimizeToTray());
  EXPECT_TRUE(form.TrayIconUp());
}

TEST_F(TrayPanelTest, TheOffKeySendsThePanelToTheTrayAndAClickBringsItBack) {
  TKivRecForm& form = Build();
  form.show();
  auto* off = form.Control(SkinControl::exitButton);
  QTest::mouseClick(off, Qt::LeftButton, Qt::NoModifier, off->rect().center());
  EXPECT_TRUE(form.isHidden());
  EXPECT_TRUE(form.PanelHidden());
  EXPECT_FALSE(form.PanelInBackground());

  form.TrayIcon().HandleIconMessage(TZvTrayIcon::IconMessage::LeftButtonDown);
  form.TrayIcon().HandleIconMessage(TZvTrayIcon::IconMessage::LeftButtonUp);
  EXPECT_TRUE(form.isVisible());
  form.TrayIcon().HandleIconMessage(TZvTrayIcon::IconMessage::LeftButtonDown);
  form.TrayIcon().HandleIconMessage(TZvTrayIcon::IconMessage::LeftButtonUp);
  EXPECT_TRUE(form.isHidden());

  form.Menus().Item(MenuItem::ShowDictaphen1)->trigger();
  EXPECT_TRUE(form.isVisible());
}

TEST_F(TrayPanelTest, ADoubleClickTogglesThenShowsSoTheShownPanelStaysShown) {
  TKivRecForm& form = Build();
  form.show();
  form.TrayIcon().HandleActivation(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(form.isVisible());
  form.hide();
  form.TrayIcon().HandleActivation(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(form.isVisible());
}

TEST_F(TrayPanelTest, BehindOtherWindowsTheIconTurnsToItsDimmedTwin) {
  TKivRecForm& form = Build();
  form.show();
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_TRUE(form.PanelInBackground());
  EXPECT_EQ(IconName(), QStringLiteral("idle4.ico"));
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
  EXPECT_EQ(IconName(), QStringLiteral("idle1.ico"));

  // A hidden panel is never "in the background".
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  form.HideToTray();
  EXPECT_EQ(IconName(), QStringLiteral("idle1.ico"));
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_FALSE(form.PanelInBackground());
}

TEST_F(TrayPanelTest, AMissingIconFileLeavesThePreviousIcon) {
  ASSERT_TRUE(QFile::remove(program_ + QStringLiteral("idle4.ico")));
  TKivRecForm& form = Build();
  form.show();
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_EQ(IconName(), QStringLiteral("idle1.ico"));
  EXPECT_FALSE(form.TrayIcon().Icon().isNull());
}

}  // namespace
}  // namespace kiv::test
