// The ticker and the tray icon of the real panel: the custom text, the speed and direction menus,
// the Custom Text dialog, the ticker's menu; the icon by state and background, the OFF key with
// and without a tray, clicks on the icon.
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

#include "AppTestSupport.h"
#include "app/TMessageNameForm.h"

namespace kiv::test {
namespace {

TEST_F(PanelTest, TheTickerShowsTheCustomTextItemsInTheirColours) {
  TKivRecForm& form = Build();
  auto* ticker = Find<TMarquee>("mname");
  EXPECT_EQ(ticker->Text(), form.TickerColorTag(1) + QStringLiteral("  ") + KivRecSettings::DefaultCustomText());
  settings_.Write(settings::CustomText, QStringLiteral("Call Anna|back"));
  form.ShowCustomText();
  ASSERT_EQ(ticker->Items().size(), 2);
  EXPECT_EQ(ticker->Items()[1].text, QStringLiteral("back"));
  EXPECT_EQ(ticker->Items()[1].color, QColor(0, 255, 0));
}

TEST_F(PanelTest, SpeedAndDirectionItemsSetTheTickerAndWriteTheSettings) {
  TKivRecForm& form = Build();
  auto* ticker = Find<TMarquee>("mname");
  form.Menus().Item(MenuItem::Medium1)->trigger();
  EXPECT_EQ(settings_.Stored(settings::TickerSpeed), QStringLiteral("Medium"));
  EXPECT_EQ(ticker->StepTimer().interval(), 60);
  form.Menus().Item(MenuItem::Right1)->trigger();
  EXPECT_EQ(ticker->Direction(), TDirection::tdRight);
  EXPECT_EQ(settings_.Stored(settings::TickerDirection), QStringLiteral("Right"));
  EXPECT_FALSE(form.Menus().Item(MenuItem::Left1)->isChecked());
}

TEST_F(PanelTest, CustomTextIsEditedInTheNameDialogAndKeptOnCancel) {
  TKivRecForm& form = Build();
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& nameForm = static_cast<TMessageNameForm&>(dialog);
    EXPECT_EQ(nameForm.windowTitle(), QStringLiteral("Custom Text"));
    EXPECT_EQ(nameForm.Prompt(), QStringLiteral("Enter custom text"));
    nameForm.msgN->setText(QStringLiteral("Dentist at 4"));
    QTest::keyClick(nameForm.msgN, Qt::Key_Return);
    return dialog.result();
  };
  form.Menus().Item(MenuItem::Customtext1)->trigger();
  EXPECT_EQ(settings_.Stored(settings::CustomText), QStringLiteral("Dentist at 4"));
  EXPECT_EQ(Find<TMarquee>("mname")->Text(), form.TickerColorTag(1) + QStringLiteral("Dentist at 4"));

  dialogs_.onModal = [](QDialog& dialog) {
    auto& nameForm = static_cast<TMessageNameForm&>(dialog);
    nameForm.msgN->setText(QStringLiteral("typed, then cancelled"));
    nameForm.Button2->click();
    return dialog.result();
  };
  form.Menus().Item(MenuItem::Customtext1)->trigger();
  EXPECT_EQ(settings_.Stored(settings::CustomText), QStringLiteral("Dentist at 4"));
}

TEST_F(PanelTest, ARightPressOnTheTickerOpensItsMenuAndItsClosingSavesTheSettings) {
  Build(true);
  auto* ticker = Find<TMarquee>("mname");
  QTest::mousePress(ticker, Qt::RightButton, Qt::NoModifier, ticker->rect().center());
  EXPECT_TRUE(form_->Menus().PopupMenu3->isVisible());
  form_->Menus().PopupMenu3->hide();
  EXPECT_EQ(settings_.Stored(settings::PanelLeft), QString::number(form_->x()));
  QTest::mouseRelease(ticker, Qt::RightButton, Qt::NoModifier, ticker->rect().center());
}

// The OFF key sends the panel to the tray when there is one, and minimises it when not.
TEST_F(PanelTest, TheOffKeySendsThePanelToTheTrayAndAClickOnTheIconBringsItBack) {
  auto clickOff = [this] {
    auto* off = form_->Control(SkinControl::exitButton);
    QTest::mouseClick(off, Qt::LeftButton, Qt::NoModifier, off->rect().center());
  };
  auto clickIcon = [this] {
    form_->TrayIcon().HandleIconMessage(TZvTrayIcon::IconMessage::LeftButtonDown);
    form_->TrayIcon().HandleIconMessage(TZvTrayIcon::IconMessage::LeftButtonUp);
  };
  Build(true);
  clickOff();
  EXPECT_TRUE(form_->isMinimized());
  form_.reset();

  trayAvailable_ = true;
  TKivRecForm& form = Build(true);
  EXPECT_EQ(form.TrayIcon().Hint(), QStringLiteral("Kiv Sound Recorder"));
  EXPECT_EQ(form.TrayIcon().PopupMenu(), form.Menus().PopupMenu1);
  clickOff();
  EXPECT_TRUE(form.isHidden());
  clickIcon();
  EXPECT_TRUE(form.isVisible());
  clickIcon();
  EXPECT_TRUE(form.isHidden());
  form.Menus().Item(MenuItem::ShowDictaphen1)->trigger();
  EXPECT_TRUE(form.isVisible());
  // A double click toggles and then shows, so the shown panel stays shown.
  form.TrayIcon().HandleActivation(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(form.isVisible());

  // Behind other windows the icon turns to its dimmed twin; a hidden panel is never behind.
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle4.ico"));
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
  form.HideToTray();
  Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_EQ(TrayIconName(), QStringLiteral("idle1.ico"));
}

}  // namespace
}  // namespace kiv::test
