// The ticker on the real panel: the custom text, the speed and direction menus writing the
// settings, the Custom Text dialog, and the right press that opens its menu.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "AppTestSupport.h"
#include "app/TMessageNameForm.h"
#include "panel/TMarquee.h"

namespace kiv::test {
namespace {

TEST_F(PanelTest, TheTickerShowsTheCustomTextItemsInTheirColours) {
  TKivRecForm& form = Build();
  auto* ticker = Find<TMarquee>("mname");
  EXPECT_EQ(ticker->Text(), form.TickerColorTag(1) + QStringLiteral("  ") + KivRecSettings::DefaultCustomText());
  EXPECT_TRUE(ticker->Active());
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
  EXPECT_FALSE(form.Menus().Item(MenuItem::Slow1)->isChecked());
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
  Build().show();
  auto* ticker = Find<TMarquee>("mname");
  QTest::mousePress(ticker, Qt::RightButton, Qt::NoModifier, ticker->rect().center());
  EXPECT_TRUE(form_->Menus().PopupMenu3->isVisible());
  form_->Menus().PopupMenu3->hide();
  EXPECT_EQ(settings_.Stored(settings::PanelLeft), QString::number(form_->x()));
  QTest::mouseRelease(ticker, Qt::RightButton, Qt::NoModifier, ticker->rect().center());
}

}  // namespace
}  // namespace kiv::test
