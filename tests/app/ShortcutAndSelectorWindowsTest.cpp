// The shortcut window and the message selector on their own, offscreen: the shortcut pages as the
// user reads them and the page chosen by state; the selector's size for few and many lines, its
// caption, and the ways of choosing a line or asking for something to be done with one.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "app/TAKSForm.h"
#include "app/TNoteMessage.h"

namespace kiv {
namespace {

// A page's title and lines as "key=function" pairs, checking on the way that keys are bold navy,
// functions plain, and that no text is cut. Keys at one height are on one line.
std::string PageText(QTabWidget* pages, int index) {
  const QList<QLabel*> labels = pages->widget(index)->findChildren<QLabel*>();
  std::string text = pages->tabText(index).toStdString() + ":\n";
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

TEST(TAKSFormTest, PagesListTheirShortcutsTheStateChoosesOneF11AsksForHelp) {
  TAKSForm form;
  QSignalSpy help(&form, &TAKSForm::HelpRequested);
  form.show();
  EXPECT_EQ(form.windowTitle().toStdString(), "Available Keyboard Shortcuts");
  EXPECT_EQ(form.size(), QSize(511, 269));
  const std::string etp = "Ctr+[Alt]+Left Arrow=ETP REWIND|Ctr+[Alt]+Right Arrow=ETP FORWARD\n";
  const std::string common =
      "Up Arrow=INCREASE VOLUME|Down Arrow=DECREASE VOLUME\nEsc=OFF|Alt+X=EXIT PROGRAM\n"
      "F1=HELP|Alt+H=HELP\nF11=HELP|F12=THIS WINDOW\n";
  const std::string pages[] = {
      "Stop Mode:\nEnter=PLAY|Insert=RECORD\nAlt+M=MESSAGES|Alt+S=SETTINGS\n"
      "Page Up=NEXT MESSAGE|Page Down=PREVIOUS MESSAGE\nRight Arrow=FORWARD|Left Arrow=REWIND\n" +
          etp + "Del=DELETE MESSAGE|Alt+V=VOLUME CONTROLS (PLAYBACK)\n" + common,
      "Playing Mode:\nEnter=PLAY/PAUSE|Backspace=STOP\nRight Arrow=FORWARD|Left Arrow=REWIND\n"
      "Page Up=FAST PLAY|Page Down=SLOW PLAY\n" +
          etp + "Alt+E=SHOW ETP|Alt+V=VOLUME CONTROLS (PLAYBACK)\n" + common,
      "Recording Mode:\nInsert=RECORD/PAUSE|Backspace=STOP\nAlt+V=VOLUME CONTROLS (RECORDING)\n" +
          common};
  for (int i : {2, 0, 1}) {
    form.SelectPage(static_cast<ShortcutPage>(i));
    EXPECT_EQ(form.PageControl1->currentIndex(), i);
    EXPECT_EQ(PageText(form.PageControl1, i), pages[i]);
  }
  QTest::keyClick(form.Button1, Qt::Key_F11);
  EXPECT_EQ(help.count(), 1);
  QTest::keyClick(form.PageControl1, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  form.show();
  EXPECT_EQ(form.Button1->text().toStdString(), "Close");
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
}

QStringList Lines(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) lines << QStringLiteral("%1) 05.12.2026 14:03:59 Meeting (00:12)").arg(i);
  return lines;
}

void Click(TNoteMessage& selector, Qt::MouseButton button, int row) {
  QListWidget* list = selector.MessagesBox;
  QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(list->item(row)).center());
}

TEST(TNoteMessageTest, FitsFewLinesScrollsManyAndWidensForItsCaption) {
  TNoteMessage selector;
  QListWidget* list = selector.MessagesBox;
  selector.SetLines(Lines(3));
  selector.show();
  const int spare = list->viewport()->height() - list->visualItemRect(list->item(2)).bottom() - 1;
  EXPECT_TRUE(spare >= 0 && spare < list->visualItemRect(list->item(0)).height()) << spare;
  const int fittedRoom = list->viewport()->width();
  selector.SetLines(Lines(40));
  QCoreApplication::processEvents();
  EXPECT_EQ(selector.height(), 500);
  EXPECT_TRUE(list->verticalScrollBar()->isVisible());
  EXPECT_GE(list->viewport()->width(), fittedRoom) << "the scroll bar takes no room from the lines";
  selector.SetLines({QStringLiteral("1) 05.12.2026 14:03:59 (00:01)")});
  const int fitted = selector.width();
  selector.SetCaptionHint(QStringLiteral("07':45\" left for recording"));
  EXPECT_EQ(selector.windowTitle().toStdString(), "Messages (07':45\" left for recording)");
  EXPECT_GT(selector.width(), list->fontMetrics().horizontalAdvance(selector.windowTitle()) + 30);
  selector.SetCaptionHint(QStringLiteral(""));
  EXPECT_EQ(selector.windowTitle().toStdString(), "Messages");
  EXPECT_EQ(selector.width(), fitted);
}

TEST(TNoteMessageTest, AClickEnterOrGoToChooseTheMenuAsksForADeleteOrRenameEscapeChoosesNothing) {
  TNoteMessage selector;
  QListWidget* list = selector.MessagesBox;
  QStringList asked;
  QObject::connect(&selector, &TNoteMessage::DeleteRequested, [&](int i) { asked << QStringLiteral("delete %1").arg(i); });
  QObject::connect(&selector, &TNoteMessage::EditNameRequested, [&](int i) { asked << QStringLiteral("edit %1").arg(i); });
  QObject::connect(&selector, &TNoteMessage::HelpRequested, [&] { asked << QStringLiteral("help"); });
  selector.SetLines(Lines(5));
  selector.show();
  Click(selector, Qt::RightButton, 3);
  EXPECT_TRUE(selector.PopupMenu1->isVisible());
  selector.Delete3->trigger();
  Click(selector, Qt::RightButton, 1);
  selector.Edit3->trigger();
  QTest::keyClick(list, Qt::Key_F11);
  EXPECT_EQ(asked.join(u','), QStringLiteral("delete 3,edit 1,help"));
  EXPECT_TRUE(selector.isVisible()) << "neither the menu nor F11 chooses";
  Click(selector, Qt::LeftButton, 2);
  EXPECT_EQ(selector.SelectorResult(), 2);
  EXPECT_FALSE(selector.isVisible());
  selector.show();
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(selector.SelectorResult(), 3);
  selector.show();
  selector.SelectLine(4);
  selector.gotomessage->trigger();
  EXPECT_EQ(selector.SelectorResult(), 4);
  selector.show();
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_FALSE(selector.isVisible());
  EXPECT_EQ(selector.SelectorResult(), -1) << "Escape, and a new showing, choose nothing";
}

}  // namespace
}  // namespace kiv
