// The shortcut window offscreen: its pages as the user reads them, the page chosen by state, and
// its keys.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "app/TAKSForm.h"

namespace kiv {
namespace {

// A page's lines as "key=function" pairs, checking on the way that keys are bold navy, functions
// plain, and that no text is cut. Keys at one height are on one line.
std::string PageText(QWidget* page) {
  const QList<QLabel*> labels = page->findChildren<QLabel*>();
  std::string text;
  for (int i = 0; i < labels.size(); ++i) {
    const bool navy = labels[i]->palette().color(QPalette::WindowText) == QColor(0, 0, 128);
    const bool key = i % 2 == 0;
    EXPECT_TRUE(labels[i]->font().bold() == key && navy == key) << labels[i]->text().toStdString();
    EXPECT_GE(labels[i]->width(), labels[i]->sizeHint().width()) << labels[i]->text().toStdString();
    const bool lineEnds =
        !key && (i + 1 == labels.size() || labels[i + 1]->y() != labels[i - 1]->y());
    text += labels[i]->text().toStdString() + (key ? "=" : lineEnds ? "\n" : "|");
  }
  return text;
}

TEST(TAKSFormTest, PagesListTheirShortcutsTheStateChoosesOneAndItsKeysWork) {
  TAKSForm form;
  QSignalSpy help(&form, &TAKSForm::HelpRequested);
  form.show();
  EXPECT_EQ(form.windowTitle().toStdString(), "Available Keyboard Shortcuts");
  EXPECT_EQ(form.size(), QSize(511, 269));
  EXPECT_EQ(form.Button1->text().toStdString(), "Close");
  const std::string etp = "Ctr+[Alt]+Left Arrow=ETP REWIND|Ctr+[Alt]+Right Arrow=ETP FORWARD\n";
  const std::string common =
      "Up Arrow=INCREASE VOLUME|Down Arrow=DECREASE VOLUME\nEsc=OFF|Alt+X=EXIT PROGRAM\n"
      "F1=HELP|Alt+H=HELP\nF11=HELP|F12=THIS WINDOW\n";
  const std::string pages[] = {
      "Enter=PLAY|Insert=RECORD\nAlt+M=MESSAGES|Alt+S=SETTINGS\n"
      "Page Up=NEXT MESSAGE|Page Down=PREVIOUS MESSAGE\nRight Arrow=FORWARD|Left Arrow=REWIND\n" +
          etp + "Del=DELETE MESSAGE|Alt+V=VOLUME CONTROLS (PLAYBACK)\n" + common,
      "Enter=PLAY/PAUSE|Backspace=STOP\nRight Arrow=FORWARD|Left Arrow=REWIND\n"
      "Page Up=FAST PLAY|Page Down=SLOW PLAY\n" +
          etp + "Alt+E=SHOW ETP|Alt+V=VOLUME CONTROLS (PLAYBACK)\n" + common,
      "Insert=RECORD/PAUSE|Backspace=STOP\nAlt+V=VOLUME CONTROLS (RECORDING)\n" + common};
  const char* titles[] = {"Stop Mode", "Playing Mode", "Recording Mode"};
  ASSERT_EQ(form.PageControl1->count(), 3);
  for (int i : {2, 0, 1}) {
    form.SelectPage(static_cast<ShortcutPage>(i));
    EXPECT_EQ(form.PageControl1->currentIndex(), i);
    EXPECT_EQ(form.PageControl1->tabText(i).toStdString(), titles[i]);
    EXPECT_EQ(PageText(form.PageControl1->widget(i)), pages[i]) << titles[i];
  }
  QTest::keyClick(form.Button1, Qt::Key_F11);
  EXPECT_EQ(help.count(), 1);
  QTest::keyClick(form.Button1, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  form.show();
  form.PageControl1->setFocus();
  QTest::keyClick(form.PageControl1, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible()) << "Close is the default button";
}

}  // namespace
}  // namespace kiv
