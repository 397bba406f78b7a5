// The shortcut window offscreen: the texts of its pages as the user reads them, line by line,
// the page chosen by state, and its keys.
#include <gtest/gtest.h>

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "app/TAKSForm.h"

namespace kiv {
namespace {

// A page's lines, "key=function" pairs joined by "  ", lines by "\n"; checks on the way that
// keys are bold navy, functions plain, and that no text is cut.
std::string PageText(QWidget* page) {
  auto* grid = static_cast<QGridLayout*>(page->layout());
  QString text;
  for (int row = 0; row < grid->rowCount(); ++row) {
    QStringList pairs;
    for (int half : {0, 1}) {
      QLayoutItem* cell = grid->itemAtPosition(row, half);
      if (cell == nullptr || cell->layout() == nullptr) continue;
      auto* key = qobject_cast<QLabel*>(cell->layout()->itemAt(0)->widget());
      auto* function = qobject_cast<QLabel*>(cell->layout()->itemAt(1)->widget());
      for (QLabel* label : {key, function}) {
        const bool isKey = label == key;
        EXPECT_EQ(label->font().bold(), isKey) << label->text().toStdString();
        EXPECT_EQ(label->palette().color(QPalette::WindowText) == QColor(0, 0, 128), isKey);
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        EXPECT_LE(label->geometry().bottom(), page->height()) << label->text().toStdString();
      }
      pairs.append(key->text() + u'=' + function->text());
    }
    if (!pairs.isEmpty()) text += pairs.join(QStringLiteral("  ")) + u'\n';
  }
  return text.toStdString();
}

TEST(TAKSFormTest, EachPageListsItsShortcutsAndTheStateChoosesThePage) {
  TAKSForm form;
  form.show();
  EXPECT_EQ(form.windowTitle().toStdString(), "Available Keyboard Shortcuts");
  EXPECT_EQ(form.size(), QSize(511, 269));
  EXPECT_EQ(form.Button1->text().toStdString(), "Close");
  ASSERT_EQ(form.PageControl1->count(), 3);
  const char* titles[] = {"Stop Mode", "Playing Mode", "Recording Mode"};
  const char* common =
      "Up Arrow=INCREASE VOLUME  Down Arrow=DECREASE VOLUME\nEsc=OFF  Alt+X=EXIT PROGRAM\n"
      "F1=HELP  Alt+H=HELP\nF11=HELP  F12=THIS WINDOW\n";
  const std::string etp = "Ctr+[Alt]+Left Arrow=ETP REWIND  Ctr+[Alt]+Right Arrow=ETP FORWARD\n";
  const std::string pages[] = {
      "Enter=PLAY  Insert=RECORD\nAlt+M=MESSAGES  Alt+S=SETTINGS\n"
      "Page Up=NEXT MESSAGE  Page Down=PREVIOUS MESSAGE\nRight Arrow=FORWARD  Left Arrow=REWIND\n" +
          etp + "Del=DELETE MESSAGE  Alt+V=VOLUME CONTROLS (PLAYBACK)\n" + common,
      "Enter=PLAY/PAUSE  Backspace=STOP\nRight Arrow=FORWARD  Left Arrow=REWIND\n"
      "Page Up=FAST PLAY  Page Down=SLOW PLAY\n" +
          etp + "Alt+E=SHOW ETP  Alt+V=VOLUME CONTROLS (PLAYBACK)\n" + common,
      "Insert=RECORD/PAUSE  Backspace=STOP\nAlt+V=VOLUME CONTROLS (RECORDING)\n" + std::string(common)};
  for (int i = 0; i < 3; ++i) {
    form.SelectPage(static_cast<ShortcutPage>(i));
    ASSERT_EQ(form.PageControl1->currentIndex(), i);
    EXPECT_EQ(form.PageControl1->tabText(i).toStdString(), titles[i]);
    EXPECT_EQ(PageText(form.PageControl1->widget(i)), pages[i]) << titles[i];
  }
}

TEST(TAKSFormTest, F11AsksForHelpAndEscapeOrCloseCloseIt) {
  TAKSForm form;
  QSignalSpy help(&form, &TAKSForm::HelpRequested);
  form.show();
  QTest::keyClick(form.Button1, Qt::Key_F11);
  EXPECT_EQ(help.count(), 1);
  EXPECT_TRUE(form.isVisible());
  QTest::keyClick(form.Button1, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  form.show();
  QTest::keyClick(form.Button1, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible()) << "Close is the default button";
  form.show();
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(help.count(), 1);
}

}  // namespace
}  // namespace kiv
