// The ticker on the real panel: the custom text, the speed and direction menus writing the
// settings, the Custom Text dialog, and the pointer starting and stopping it.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QMouseEvent>
#include <QTest>

#include "AppTestSupport.h"
#include "app/TMessageNameForm.h"
#include "panel/TBMShapedForm.h"
#include "panel/TMarquee.h"

namespace kiv::test {
namespace {

TEST_F(PanelTest, TheTickerShowsTheCustomTextInTheFirstColourAndTheAddressWithTwoBlanks) {
  TKivRecForm& form = Build();
  auto* ticker = Find<TMarquee>("mname");
  EXPECT_EQ(ticker->Text(),
            form.TickerColorTag(1) + QStringLiteral("  ") + KivRecSettings::DefaultCustomText());
  EXPECT_EQ(ticker->Direction(), TDirection::tdLeft);
  EXPECT_TRUE(ticker->Active());

  settings_.Write(settings::CustomText, QStringLiteral("Call Anna|back"));
  form.ShowCustomText();
  ASSERT_EQ(ticker->Items().size(), 2);
  EXPECT_EQ(ticker->Items()[0].text, QStringLiteral("Call Anna"));
  EXPECT_EQ(ticker->Items()[1].text, QStringLiteral("back"));
  EXPECT_EQ(ticker->Items()[1].color, QColor(0, 255, 0));
}

TEST_F(PanelTest, SpeedAndDirectionItemsSetTheTickerAndWriteTheSettings) {
  TKivRecForm& form = Build();
  auto* ticker = Find<TMarquee>("mname");
  QAction* medium = form.Menus().Item(MenuItem::Medium1);
  medium->trigger();
  EXPECT_EQ(settings_.Stored(settings::TickerSpeed), QStringLiteral("Medium"));
  EXPECT_EQ(ticker->StepTimer().interval(), 60);
  EXPECT_TRUE(medium->isChecked());
  EXPECT_FALSE(form.Menus().Item(MenuItem::Slow1)->isChecked());
  medium->trigger();
  EXPECT_TRUE(medium->isChecked());
  EXPECT_EQ(ticker->StepTimer().interval(), 60);

  form.Menus().Item(MenuItem::None1)->trigger();
  EXPECT_EQ(settings_.Stored(settings::TickerDirection), QStringLiteral("None"));
  EXPECT_EQ(ticker->Direction(), TDirection::tdNone);
  EXPECT_TRUE(form.Menus().Item(MenuItem::None1)->isChecked());
  EXPECT_FALSE(form.Menus().Item(MenuItem::Left1)->isChecked());
  form.Menus().Item(MenuItem::Right1)->trigger();
  EXPECT_EQ(ticker->Direction(), TDirection::tdRight);
  EXPECT_EQ(settings_.Stored(settings::TickerDirection), QStringLiteral("Right"));
}

TEST_F(PanelTest, CustomTextIsEditedInTheNameDialogAndKeptOnCancel) {
  TKivRecForm& form = Build();
  QString prompt;
  QString caption;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& nameForm = static_cast<TMessageNameForm&>(dialog);
    prompt = nameForm.Prompt();
    caption = nameForm.windowTitle();
    EXPECT_EQ(nameForm.Text(), KivRecSettings::DefaultCustomText());
    nameForm.msgN->setText(QStringLiteral("Dentist at 4"));
    QTest::keyClick(nameForm.msgN, Qt::Key_Return);
    return dialog.result();
  };
  form.Menus().Item(MenuItem::Customtext1)->trigger();
  EXPECT_EQ(caption, QStringLiteral("Custom Text"));
  EXPECT_EQ(prompt, QStringLiteral("Enter custom text"));
  EXPECT_EQ(settings_.Stored(settings::CustomText), QStringLiteral("Dentist at 4"));
  EXPECT_EQ(Find<TMarquee>("mname")->Text(), form.TickerColorTag(1) + QStringLiteral("Dentist at 4"));

  dialogs_.onModal = [](QDialog& dialog) {
    auto& nameForm = static_cast<TMessageNameForm&>(dialog);
    nameForm.msgN->setText(QStringLiteral("typed, then cancelled"));
    nameForm.Button2->click();
    EXPECT_TRUE(nameForm.Text().isEmpty());
    return dialog.result();
  };
  form.Menus().Item(MenuItem::Customtext1)->trigger();
  EXPECT_EQ(settings_.Stored(settings::CustomText), QStringLiteral("Dentist at 4"));
}

TEST_F(PanelTest, ARightPressOnTheTickerOpensItsMenuWithItemsByStateAndSavesOnClose) {
  WriteCassette(MakeCassette(100, {{1, 0, 100, "255%01.12.2026|65280%09:00:00"}}));
  TKivRecForm& form = Build();
  form.show();
  auto* ticker = Find<TMarquee>("mname");
  QTest::mousePress(ticker, Qt::RightButton, Qt::NoModifier, ticker->rect().center());
  EXPECT_TRUE(form.Menus().PopupMenu3->isVisible());
  EXPECT_TRUE(form.Menus().Item(MenuItem::EnterNote1)->isEnabled());
  EXPECT_FALSE(settings_.Contains(settings::PanelLeft));
  form.Menus().PopupMenu3->hide();
  EXPECT_EQ(settings_.Stored(settings::PanelLeft), QString::number(form.x()));
  QTest::mouseRelease(ticker, Qt::RightButton, Qt::NoModifier, ticker->rect().center());
}

}  // namespace
}  // namespace kiv::test
