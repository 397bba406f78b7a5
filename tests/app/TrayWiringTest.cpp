// The panel and its tray icon: the icon by state and background, the OFF key with and without a
// tray, clicks on the icon, and the tray menu's "Show Kiv Sound Recorder".
#include <QAction>
#include <QGuiApplication>

#include "AppTestSupport.h"

namespace kiv::test {
namespace {

class TrayPanelTest : public PanelTest {
 protected:
  void ClickOff() {
    auto* off = form_->Control(SkinControl::exitButton);
    QTest::mouseClick(off, Qt::LeftButton, Qt::NoModifier, off->rect().center());
  }
  void ClickIcon() {
    form_->TrayIcon().HandleIconMessage(TZvTrayIcon::IconMessage::LeftButtonDown);
    form_->TrayIcon().HandleIconMessage(TZvTrayIcon::IconMessage::LeftButtonUp);
  }
};

TEST_F(TrayPanelTest, TheOffKeySendsThePanelToTheTrayAndAClickBringsItBack) {
  trayAvailable_ = true;
  TKivRecForm& form = Build();
  form.show();
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  EXPECT_EQ(form.TrayIcon().Hint(), QStringLiteral("Kiv Sound Recorder"));
  EXPECT_EQ(form.TrayIcon().PopupMenu(), form.Menus().PopupMenu1);
  ClickOff();
  EXPECT_TRUE(form.isHidden());
  EXPECT_TRUE(form.PanelHidden());
  ClickIcon();
  EXPECT_TRUE(form.isVisible());
  ClickIcon();
  EXPECT_TRUE(form.isHidden());
  form.Menus().Item(MenuItem::ShowDictaphen1)->trigger();
  EXPECT_TRUE(form.isVisible());
  // A double click toggles and then shows, so the shown panel stays shown.
  form.TrayIcon().HandleActivation(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(form.isVisible());
}

TEST_F(TrayPanelTest, WithoutATrayTheOffKeyMinimisesInsteadOfHiding) {
  Build().show();
  ClickOff();
  EXPECT_TRUE(form_->isMinimized());
  EXPECT_TRUE(form_->isVisible());
}

TEST_F(TrayPanelTest, BehindOtherWindowsTheIconTurnsToItsDimmedTwinWhenItHasOne) {
  trayAvailable_ = true;
  TKivRecForm& form = Build();
  form.show();
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle4.ico"));
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  // A hidden panel is never "in the background".
  form.HideToTray();
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_FALSE(form.PanelInBackground());
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  form_.reset();

  ASSERT_TRUE(QFile::remove(program_ + QStringLiteral("idle4.ico")));
  Build().show();
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  EXPECT_FALSE(form_->TrayIcon().Icon().isNull());
}

}  // namespace
}  // namespace kiv::test
