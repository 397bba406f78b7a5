// The message selector on its own, offscreen: its size for few and many lines, its caption, and
// the ways of choosing a line or asking for something to be done with one.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "app/TNoteMessage.h"

namespace kiv {
namespace {

QStringList Lines(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) {
    lines.append(QStringLiteral("%1) 05.12.2026 14:03:59 Meeting (00:12)").arg(i));
  }
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
  QSignalSpy deletes(&selector, &TNoteMessage::DeleteRequested);
  QSignalSpy renames(&selector, &TNoteMessage::EditNameRequested);
  QSignalSpy help(&selector, &TNoteMessage::HelpRequested);
  selector.SetLines(Lines(5));
  selector.show();
  Click(selector, Qt::RightButton, 3);
  EXPECT_TRUE(selector.PopupMenu1->isVisible());
  selector.Delete3->trigger();
  Click(selector, Qt::RightButton, 1);
  selector.Edit3->trigger();
  EXPECT_EQ(deletes.value(0), QVariantList{3});
  EXPECT_EQ(renames.value(0), QVariantList{1});
  QTest::keyClick(list, Qt::Key_F11);
  EXPECT_EQ(help.count(), 1);
  EXPECT_TRUE(selector.isVisible()) << "neither the menu nor F11 chooses";
  Click(selector, Qt::LeftButton, 2);
  EXPECT_EQ(selector.SelectorResult(), 2);
  EXPECT_FALSE(selector.isVisible());
  selector.show();
  EXPECT_EQ(selector.SelectorResult(), -1) << "a new showing starts without a choice";
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
  EXPECT_EQ(selector.SelectorResult(), -1);
}

}  // namespace
}  // namespace kiv
