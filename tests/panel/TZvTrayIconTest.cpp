// The tray icon: its tool tip, the order of its mouse events, its menu, the main form it hides
// and shows, its pictures, and the icon files the build draws for it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QImageReader>
#include <QMenu>
#include <QTemporaryDir>

#include "PanelTestSupport.h"
#include "panel/TZvTrayIcon.h"

namespace kiv {
namespace {

using Message = TZvTrayIcon::IconMessage;

QString ShippedIcon(const char* name) {
  return QStringLiteral(KIVREC_BIN_DIR "/") + QLatin1String(name);
}

// A main form and its tray icon with a menu like the recorder's; every event the icon raises is
// written to `log` in order.
class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    QObject::connect(&tray, &TZvTrayIcon::Click, [this] { log += QStringLiteral("click "); });
    QObject::connect(&tray, &TZvTrayIcon::DblClick, [this] { log += QStringLiteral("dbl "); });
    QObject::connect(&tray, &TZvTrayIcon::MouseDown, [this](auto b) { Note("down ", b); });
    QObject::connect(&tray, &TZvTrayIcon::MouseUp, [this](auto b) { Note("up ", b); });
    QObject::connect(&tray, &TZvTrayIcon::MouseMove, [this](auto, QPoint p) { lastPos = p; });
    showItem = menu->addAction(QStringLiteral("Show Kiv Sound Recorder"));
    QObject::connect(showItem, &QAction::triggered, [this] { ++shown; });
    tray.SetPopupMenu(menu);
  }
  void Note(const char* what, Qt::MouseButton button) {
    log += QLatin1String(what);
    log += QLatin1String(button == Qt::LeftButton ? "left " : "other ");
  }

  QWidget form;
  TZvTrayIcon tray{&form};
  QMenu* menu = new QMenu(&form);
  QAction* showItem = nullptr;
  int shown = 0;
  QString log;
  QPoint lastPos;
};

TEST_F(TrayIconTest, TipIsTheHintCutToWholeCharactersWithinSixtyThree) {
  tray.SetHint(QString(70, u'x'));
  EXPECT_EQ(tray.TipText(), QString(63, u'x'));
  tray.SetHint(QString(62, u'a') + QString::fromUtf8("\xF0\x9F\x8E\x99") + u'b');
  EXPECT_EQ(tray.TipText(), QString(62, u'a'));
  tray.SetShowHint(false);
  EXPECT_TRUE(tray.TipText().isEmpty());
  tray.SetShowHint(true);
  EXPECT_EQ(tray.TipText(), QString(62, u'a'));
}

TEST_F(TrayIconTest, MouseEventsComeInTheOrderOfTheMessagesWithThePointer) {
  tray.HandleIconMessage(Message::LeftButtonDown);
  tray.HandleIconMessage(Message::LeftButtonUp);
  tray.HandleIconMessage(Message::LeftButtonUp);  // a release without a press is no click
  // As a tray host reports a double click: the first press as a trigger, then the double click.
  tray.HandleActivation(QSystemTrayIcon::Trigger);
  tray.HandleActivation(QSystemTrayIcon::DoubleClick);
  tray.HandleActivation(QSystemTrayIcon::MiddleClick);
  EXPECT_EQ(log, QStringLiteral("down left click up left up left down left click up left dbl up "
                                "left down other up other "));
  QCursor::setPos(QPoint(37, 41));
  tray.HandleIconMessage(Message::MouseMove);
  EXPECT_EQ(lastPos, QPoint(37, 41));
}

TEST_F(TrayIconTest, RightButtonOpensTheMenuAndDoubleClickChoosesItsDefaultItem) {
  tray.HandleIconMessage(Message::LeftButtonDblClk);
  EXPECT_EQ(shown, 0) << "no default item yet";
  menu->setDefaultAction(showItem);
  tray.HandleIconMessage(Message::LeftButtonDblClk);
  EXPECT_EQ(shown, 1);
  tray.HandleIconMessage(Message::LeftButtonDown);
  EXPECT_FALSE(menu->isVisible());
  tray.HandleActivation(QSystemTrayIcon::Context);
  EXPECT_TRUE(menu->isVisible());
  delete menu;
  EXPECT_EQ(tray.PopupMenu(), nullptr) << "a destroyed menu is forgotten";
  tray.HandleIconMessage(Message::RightButtonDown);
}

TEST_F(TrayIconTest, MinimisingSendsTheFormToTheTrayOnlyWhenMinimizeToTrayIsOn) {
  form.show();
  form.showMinimized();
  QApplication::processEvents();
  EXPECT_TRUE(form.isVisible());
  tray.SetMinimizeToTray(true);
  tray.SetIconVisible(false);
  form.showNormal();
  form.showMinimized();
  QApplication::processEvents();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(tray.IconVisible());
  tray.ShowMainForm();
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.isMinimized());
}

TEST_F(TrayIconTest, IconFileGivesEverySizeAndABadFileLeavesThePreviousIcon) {
  ASSERT_TRUE(tray.LoadIconFromFile(ShippedIcon("record.ico")));
  EXPECT_EQ(tray.Icon().availableSizes(),
            QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
  const qint64 key = tray.Icon().cacheKey();
  QTemporaryDir dir;
  const QString junk = dir.filePath(QStringLiteral("play.ico"));
  test::ProgramFolder::WriteFile(junk, "this is no icon");
  EXPECT_FALSE(tray.LoadIconFromFile(junk));
  EXPECT_EQ(tray.Icon().cacheKey(), key) << "a bad file leaves the previous icon";
}

// Every file holds pictures of 16, 32 and 48 pixels with a transparent outside; no two states
// look alike in the tray, and playing is green where recording is red.
TEST(TrayIconFiles, HoldThreeSizesWithATransparentOutsideAndDifferFromEachOther) {
  QList<QImage> smallest;
  for (const char* name : {"idle1.ico", "play.ico", "pause.ico", "record.ico", "idle4.ico",
                           "idle5.ico", "idle7.ico", "idle8.ico"}) {
    QImageReader reader(ShippedIcon(name));
    for (int side : {16, 32, 48}) {
      QImage picture;
      ASSERT_TRUE(reader.read(&picture)) << name;
      reader.jumpToNextImage();
      ASSERT_EQ(picture.size(), QSize(side, side)) << name;
      EXPECT_EQ(qAlpha(picture.pixel(0, side - 1)), 0) << name;
      EXPECT_GT(qAlpha(picture.pixel(side / 2, side / 2)), 128) << name;
      if (side == 16) smallest.append(picture);
    }
  }
  for (qsizetype a = 0; a < smallest.size(); ++a) {
    for (qsizetype b = a + 1; b < smallest.size(); ++b)
      EXPECT_NE(smallest[a], smallest[b]) << a << ", " << b;
  }
  const auto greenOverRed = [](const QImage& icon) {
    int balance = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) balance += qGreen(icon.pixel(x, y)) - qRed(icon.pixel(x, y));
    }
    return balance;
  };
  EXPECT_GT(greenOverRed(smallest[1]), 0) << "play.ico";
  EXPECT_LT(greenOverRed(smallest[3]), 0) << "record.ico";
}

}  // namespace
}  // namespace kiv
