// The tray icon: its tool tip, the order of its mouse events, its menu, the main form it hides
// and shows, its pictures, and the icon files the build draws for it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QImageReader>
#include <QMenu>
#include <QPixmap>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "PanelTestSupport.h"
#include "panel/TZvTrayIcon.h"

namespace kiv {
namespace {

using Message = TZvTrayIcon::IconMessage;

QString ButtonName(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return QStringLiteral("left");
    case Qt::RightButton:
      return QStringLiteral("right");
    case Qt::MiddleButton:
      return QStringLiteral("middle");
    default:
      return QStringLiteral("other");
  }
}

QIcon SolidIcon(QColor colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(colour);
  return QIcon(pixmap);
}

QColor CentreOf(const QIcon& icon) { return icon.pixmap(16, 16).toImage().pixelColor(8, 8); }

QString ShippedIcon(const char* name) {
  return QStringLiteral(KIVREC_BIN_DIR "/") + QLatin1String(name);
}

// A main form and its tray icon, with every event the icon raises written to `log` in order.
class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    QObject::connect(&tray, &TZvTrayIcon::Click, [this] { log.append(QStringLiteral("click")); });
    QObject::connect(&tray, &TZvTrayIcon::DblClick,
                     [this] { log.append(QStringLiteral("dblclick")); });
    QObject::connect(&tray, &TZvTrayIcon::MouseDown,
                     [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
                       log.append(QStringLiteral("down ") + ButtonName(button));
                       lastPos = pos;
                     });
    QObject::connect(&tray, &TZvTrayIcon::MouseUp,
                     [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
                       log.append(QStringLiteral("up ") + ButtonName(button));
                       lastPos = pos;
                     });
    QObject::connect(&tray, &TZvTrayIcon::MouseMove, [this](Qt::KeyboardModifiers, QPoint pos) {
      log.append(QStringLiteral("move"));
      lastPos = pos;
    });
  }

  ~TrayIconTest() override {
    if (menu != nullptr) menu->hide();
  }

  // A tray menu like the recorder's, owned by the form.
  QMenu* MakeMenu() {
    menu = new QMenu(&form);
    showItem = menu->addAction(QStringLiteral("Show Kiv Sound Recorder"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Exit"));
    tray.SetPopupMenu(menu);
    return menu;
  }

  QWidget form;
  TZvTrayIcon tray{&form};
  QMenu* menu = nullptr;
  QAction* showItem = nullptr;
  QStringList log;
  QPoint lastPos;
};

// --- Tool tip --------------------------------------------------------------------------------

TEST_F(TrayIconTest, LongHintIsCutToItsFirst63Characters) {
  const QString hint = QStringLiteral(
      "Kiv Sound Recorder - a message about the weekly meeting, "
      "recorded on Tuesday morning");
  ASSERT_GT(hint.size(), 63);
  tray.SetHint(hint);
  EXPECT_EQ(tray.TipText(), hint.left(63));
  EXPECT_EQ(tray.Hint(), hint);

  const QString exact(63, u'x');
  tray.SetHint(exact);
  EXPECT_EQ(tray.TipText(), exact);
  tray.SetHint(QStringLiteral("Recording"));
  EXPECT_EQ(tray.TipText(), QStringLiteral("Recording"));
}

TEST_F(TrayIconTest, TipIsEmptyWhileShowHintIsOffAndComesBackWithIt) {
  tray.SetHint(QStringLiteral("Kiv Sound Recorder"));
  tray.SetShowHint(false);
  EXPECT_TRUE(tray.TipText().isEmpty());
  tray.SetShowHint(true);
  EXPECT_EQ(tray.TipText(), QStringLiteral("Kiv Sound Recorder"));
  tray.SetHint(QString());
  EXPECT_TRUE(tray.TipText().isEmpty());
}

TEST_F(TrayIconTest, CutThroughASurrogatePairDropsTheWholeCharacter) {
  const QString hint = QString(62, u'a') + QString::fromUtf8("\xF0\x9F\x8E\x99") + u'b';
  tray.SetHint(hint);
  EXPECT_EQ(tray.TipText(), QString(62, u'a'));
}

// --- Mouse events ----------------------------------------------------------------------------

TEST_F(TrayIconTest, LeftPressAndReleaseMakeAClickBetweenDownAndUp) {
  tray.HandleIconMessage(Message::LeftButtonDown);
  tray.HandleIconMessage(Message::LeftButtonUp);
  EXPECT_EQ(log, QStringList({QStringLiteral("down left"), QStringLiteral("click"),
                              QStringLiteral("up left")}));

  log.clear();
  tray.HandleIconMessage(Message::LeftButtonUp);
  EXPECT_EQ(log, QStringList({QStringLiteral("up left")})) << "a release without a press";
}

TEST_F(TrayIconTest, DoubleClickRaisesClickFirstThenDblClick) {
  // As a tray host reports it: the first press as a trigger, the second as a double click.
  tray.HandleActivation(QSystemTrayIcon::Trigger);
  tray.HandleActivation(QSystemTrayIcon::DoubleClick);
  EXPECT_EQ(log, QStringList({QStringLiteral("down left"), QStringLiteral("click"),
                              QStringLiteral("up left"), QStringLiteral("dblclick"),
                              QStringLiteral("up left")}));
}

TEST_F(TrayIconTest, RightAndMiddleButtonsRaiseDownAndUpButNoClick) {
  tray.HandleActivation(QSystemTrayIcon::Context);
  tray.HandleActivation(QSystemTrayIcon::MiddleClick);
  tray.HandleIconMessage(Message::RightButtonDblClk);
  tray.HandleActivation(QSystemTrayIcon::Unknown);
  EXPECT_EQ(log, QStringList({QStringLiteral("down right"), QStringLiteral("up right"),
                              QStringLiteral("down middle"), QStringLiteral("up middle")}));
}

TEST_F(TrayIconTest, EventsCarryThePointerPosition) {
  QCursor::setPos(QPoint(37, 41));
  tray.HandleIconMessage(Message::MouseMove);
  EXPECT_EQ(log, QStringList({QStringLiteral("move")}));
  EXPECT_EQ(lastPos, QPoint(37, 41));
  QCursor::setPos(QPoint(90, 12));
  tray.HandleIconMessage(Message::MiddleButtonDown);
  EXPECT_EQ(lastPos, QPoint(90, 12));
}

TEST_F(TrayIconTest, DisabledIconIgnoresEveryMessageAndTheMenu) {
  MakeMenu();
  menu->setDefaultAction(showItem);
  int shown = 0;
  QObject::connect(showItem, &QAction::triggered, [&shown] { ++shown; });
  tray.SetEnabled(false);

  for (Message message :
       {Message::MouseMove, Message::LeftButtonDown, Message::LeftButtonUp,
        Message::LeftButtonDblClk, Message::RightButtonDown, Message::RightButtonUp,
        Message::RightButtonDblClk, Message::MiddleButtonDown, Message::MiddleButtonUp}) {
    tray.HandleIconMessage(message);
  }
  for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                      QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick}) {
    tray.HandleActivation(reason);
  }
  EXPECT_TRUE(log.isEmpty()) << log.join(QStringLiteral(", ")).toStdString();
  EXPECT_FALSE(menu->isVisible());
  EXPECT_EQ(shown, 0);

  // A press while disabled must not turn a later release into a click.
  tray.SetEnabled(true);
  tray.HandleIconMessage(Message::LeftButtonUp);
  EXPECT_EQ(log, QStringList({QStringLiteral("up left")}));
}

// --- Menu ------------------------------------------------------------------------------------

TEST_F(TrayIconTest, MenuOpensOnTheRightButtonOnly) {
  MakeMenu();
  tray.HandleIconMessage(Message::LeftButtonDown);
  tray.HandleIconMessage(Message::LeftButtonUp);
  EXPECT_FALSE(menu->isVisible());

  tray.HandleActivation(QSystemTrayIcon::Context);
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(log.mid(3), QStringList({QStringLiteral("down right"), QStringLiteral("up right")}));
}

TEST_F(TrayIconTest, WithLeftPopupTheLeftButtonOpensTheMenuAsWell) {
  MakeMenu();
  tray.SetLeftPopup(true);
  tray.HandleIconMessage(Message::LeftButtonDown);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
  tray.HandleIconMessage(Message::RightButtonDown);
  EXPECT_TRUE(menu->isVisible());
}

TEST_F(TrayIconTest, DoubleClickChoosesTheMenusDefaultItemUnlessLeftPopup) {
  MakeMenu();
  int shown = 0;
  QObject::connect(showItem, &QAction::triggered, [&shown] { ++shown; });

  tray.HandleIconMessage(Message::LeftButtonDblClk);
  EXPECT_EQ(shown, 0) << "no default item yet";

  menu->setDefaultAction(showItem);
  tray.HandleIconMessage(Message::LeftButtonDblClk);
  EXPECT_EQ(shown, 1);

  tray.SetLeftPopup(true);
  tray.HandleIconMessage(Message::LeftButtonDblClk);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(log.count(QStringLiteral("dblclick")), 3);
}

TEST_F(TrayIconTest, DestroyedMenuIsForgotten) {
  MakeMenu();
  delete menu;
  menu = nullptr;
  EXPECT_EQ(tray.PopupMenu(), nullptr);
  tray.HandleIconMessage(Message::RightButtonDown);
  EXPECT_EQ(log, QStringList({QStringLiteral("down right")}));
}

// --- Main form -------------------------------------------------------------------------------

TEST_F(TrayIconTest, MinimisingTheFormSendsItToTheTrayWhenMinimizeToTrayIsOn) {
  tray.SetMinimizeToTray(true);
  tray.SetIconVisible(false);
  form.show();
  form.showMinimized();
  QApplication::processEvents();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(tray.IconVisible());

  tray.ShowMainForm();
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.isMinimized());
}

TEST_F(TrayIconTest, MinimisingLeavesTheFormAloneWhenMinimizeToTrayIsOff) {
  form.show();
  form.showMinimized();
  QApplication::processEvents();
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.isMinimized());
}

TEST_F(TrayIconTest, FormRestoredBeforeTheEventLoopCameRoundStaysShown) {
  tray.SetMinimizeToTray(true);
  form.show();
  form.showMinimized();
  form.showNormal();
  QApplication::processEvents();
  EXPECT_TRUE(form.isVisible());
}

TEST_F(TrayIconTest, HideAndShowMainForm) {
  form.show();
  tray.HideMainForm();
  EXPECT_FALSE(form.isVisible());
  tray.ShowMainForm();
  EXPECT_TRUE(form.isVisible());
}

TEST_F(TrayIconTest, LoadedKeepsTheFormHiddenWhenStartMinimized) {
  form.show();
  tray.SetStartMinimized(true);
  tray.SetIconVisible(false);
  tray.Loaded();
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(tray.IconVisible());

  tray.SetStartMinimized(false);
  tray.SetIconVisible(true);
  form.show();
  tray.Loaded();
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(tray.IconVisible());
}

// --- Picture ---------------------------------------------------------------------------------

TEST_F(TrayIconTest, StartsWithTheBuiltInSixteenPixelIcon) {
  EXPECT_FALSE(tray.Icon().isNull());
  EXPECT_EQ(tray.Icon().availableSizes(), QList<QSize>({QSize(16, 16)}));
  EXPECT_TRUE(tray.IconFile().isEmpty());
}

TEST_F(TrayIconTest, MissingOrUnreadableIconFileLeavesThePreviousIcon) {
  const QString idle = ShippedIcon("idle1.ico");
  ASSERT_TRUE(tray.LoadIconFromFile(idle));
  const qint64 key = tray.Icon().cacheKey();

  EXPECT_FALSE(tray.LoadIconFromFile(ShippedIcon("no-such-icon.ico")));
  QTemporaryDir dir;
  const QString junk = dir.filePath(QStringLiteral("play.ico"));
  test::ProgramFolder::WriteFile(junk, "this is no icon");
  EXPECT_FALSE(tray.LoadIconFromFile(junk));

  EXPECT_EQ(tray.Icon().cacheKey(), key);
  EXPECT_EQ(tray.IconFile(), idle);
}

TEST_F(TrayIconTest, IconFromAFileHasEverySizeOfTheFile) {
  ASSERT_TRUE(tray.LoadIconFromFile(ShippedIcon("record.ico")));
  EXPECT_EQ(tray.Icon().availableSizes(),
            QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
  tray.SetIcon(SolidIcon(Qt::blue));
  EXPECT_TRUE(tray.IconFile().isEmpty());
  EXPECT_EQ(CentreOf(tray.Icon()), QColor(Qt::blue));
}

// --- Cycling ---------------------------------------------------------------------------------

TEST_F(TrayIconTest, CyclingShowsTheListInTurnAndStartsOverAfterTheLast) {
  QList<int> announced;
  QList<QColor> shownWhenAnnounced;
  QObject::connect(&tray, &TZvTrayIcon::Cycle, [&](int index) {
    announced.append(index);
    shownWhenAnnounced.append(CentreOf(tray.Icon()));
  });
  const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue};
  tray.SetIconList({SolidIcon(colours[0]), SolidIcon(colours[1]), SolidIcon(colours[2])});
  tray.SetCycleInterval(250);
  tray.SetCycleIcons(true);
  EXPECT_TRUE(tray.CycleTimer().isActive());
  EXPECT_EQ(tray.CycleTimer().interval(), 250);

  for (int step = 0; step < 4; ++step) tray.TimerCycle();
  EXPECT_EQ(announced, QList<int>({0, 1, 2, 0}));
  EXPECT_EQ(shownWhenAnnounced, QList<QColor>({colours[0], colours[1], colours[2], colours[0]}));

  // Switched off and on again, the cycle starts at the first icon.
  tray.TimerCycle();
  tray.SetCycleIcons(false);
  EXPECT_FALSE(tray.CycleTimer().isActive());
  tray.SetCycleIcons(true);
  tray.TimerCycle();
  EXPECT_EQ(announced.last(), 0);
}

TEST_F(TrayIconTest, CyclingStandsStillWithoutIntervalOrIcons) {
  tray.SetCycleIcons(true);
  EXPECT_FALSE(tray.CycleTimer().isActive()) << "interval 0";
  tray.SetCycleInterval(100);
  EXPECT_TRUE(tray.CycleTimer().isActive());
  tray.SetCycleInterval(0);
  EXPECT_FALSE(tray.CycleTimer().isActive());

  int cycles = 0;
  QObject::connect(&tray, &TZvTrayIcon::Cycle, [&cycles] { ++cycles; });
  const qint64 key = tray.Icon().cacheKey();
  tray.TimerCycle();
  EXPECT_EQ(cycles, 0);
  EXPECT_EQ(tray.Icon().cacheKey(), key);
}

TEST_F(TrayIconTest, ShorterListReplacingTheOldOneCyclesFromItsStart) {
  tray.SetIconList({SolidIcon(Qt::red), SolidIcon(Qt::green), SolidIcon(Qt::blue)});
  tray.TimerCycle();
  tray.TimerCycle();
  tray.SetIconList({SolidIcon(Qt::yellow)});
  tray.TimerCycle();
  EXPECT_EQ(CentreOf(tray.Icon()), QColor(Qt::yellow));
}

// --- The icon files beside the program ------------------------------------------------------

constexpr const char* kIconFiles[] = {"idle1.ico", "play.ico",  "pause.ico", "record.ico",
                                      "idle4.ico", "idle5.ico", "idle7.ico", "idle8.ico"};

quint32 Little(const QByteArray& bytes, qsizetype at, int size) {
  quint32 value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | quint8(bytes.at(at + i));
  return value;
}

QList<QImage> Pictures(const QString& path) {
  QImageReader reader(path);
  QList<QImage> pictures;
  QImage image;
  while (reader.read(&image)) {
    pictures.append(image.convertToFormat(QImage::Format_ARGB32));
    if (!reader.jumpToNextImage()) break;
  }
  return pictures;
}

// How many opaque pixels of `picture` have nearly the given hue and are vividly coloured.
int VividPixels(const QImage& picture, int hue) {
  int count = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c.alpha() < 200 || c.hsvSaturation() < 170 || c.value() < 150) continue;
      const int distance = std::abs(c.hsvHue() - hue);
      if (std::min(distance, 360 - distance) <= 20) ++count;
    }
  }
  return count;
}

int MostSaturated(const QImage& picture) {
  int most = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c.alpha() > 0) most = std::max(most, c.hsvSaturation());
    }
  }
  return most;
}

int OpacitySum(const QImage& picture) {
  int sum = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) sum += qAlpha(picture.pixel(x, y));
  }
  return sum;
}

TEST(TrayIconFiles, EachHoldsSixteenThirtyTwoAndFortyEightPixelPictures) {
  for (const char* name : kIconFiles) {
    SCOPED_TRACE(name);
    const QList<QImage> pictures = Pictures(ShippedIcon(name));
    ASSERT_EQ(pictures.size(), 3);
    EXPECT_EQ(pictures[0].size(), QSize(16, 16));
    EXPECT_EQ(pictures[1].size(), QSize(32, 32));
    EXPECT_EQ(pictures[2].size(), QSize(48, 48));
    for (const QImage& picture : pictures) {
      EXPECT_EQ(qAlpha(picture.pixel(0, picture.height() - 1)), 0) << "transparent corner";
      EXPECT_GT(qAlpha(picture.pixel(picture.width() / 2, picture.height() / 2)), 128);
    }
  }
}

// Readers that ignore the alpha channel go by the AND mask, so both must give one outline.
TEST(TrayIconFiles, AreThirtyTwoBitBitmapsWhoseMaskMatchesTheirAlpha) {
  for (const char* name : kIconFiles) {
    SCOPED_TRACE(name);
    QFile file(ShippedIcon(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 6 + 3 * 16);
    EXPECT_EQ(Little(bytes, 0, 2), 0u);
    EXPECT_EQ(Little(bytes, 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(Little(bytes, 4, 2), 3u);

    const QList<QImage> pictures = Pictures(ShippedIcon(name));
    ASSERT_EQ(pictures.size(), 3);
    qsizetype expectedOffset = 6 + 3 * 16;
    for (int i = 0; i < 3; ++i) {
      const qsizetype entry = 6 + i * 16;
      const int side = int(quint8(bytes.at(entry)));
      EXPECT_EQ(int(quint8(bytes.at(entry + 1))), side);
      EXPECT_EQ(Little(bytes, entry + 4, 2), 1u) << "planes";
      EXPECT_EQ(Little(bytes, entry + 6, 2), 32u) << "bits per pixel";
      const int maskStride = (side + 31) / 32 * 4;
      const quint32 size = Little(bytes, entry + 8, 4);
      const quint32 offset = Little(bytes, entry + 12, 4);
      EXPECT_EQ(size, quint32(40 + side * side * 4 + maskStride * side));
      EXPECT_EQ(offset, quint32(expectedOffset));
      ASSERT_LE(qsizetype(offset + size), bytes.size());
      expectedOffset += size;

      EXPECT_EQ(Little(bytes, offset, 4), 40u);
      EXPECT_EQ(Little(bytes, offset + 4, 4), quint32(side));
      EXPECT_EQ(Little(bytes, offset + 8, 4), quint32(2 * side)) << "colour and mask rows";
      EXPECT_EQ(Little(bytes, offset + 14, 2), 32u);

      const QImage& picture = pictures[i];
      ASSERT_EQ(picture.width(), side);
      const qsizetype mask = offset + 40 + qsizetype(side) * side * 4;
      int mismatches = 0;
      for (int row = 0; row < side; ++row) {
        const int y = side - 1 - row;  // bottom row first
        for (int x = 0; x < side; ++x) {
          const bool maskSet =
              quint8(bytes.at(mask + row * maskStride + x / 8)) & (0x80 >> (x % 8));
          if (maskSet != (qAlpha(picture.pixel(x, y)) == 0)) ++mismatches;
        }
      }
      EXPECT_EQ(mismatches, 0) << side << " pixels";
    }
    EXPECT_EQ(expectedOffset, bytes.size()) << "nothing after the last picture";
  }
}

struct StateSign {
  const char* foreground;
  const char* background;
  int hue;  // the colour of the state's sign; -1: idle, no sign
};

constexpr StateSign kStates[] = {
    {"idle1.ico", "idle4.ico", -1},
    {"play.ico", "idle5.ico", 120},
    {"pause.ico", "idle7.ico", 40},
    {"record.ico", "idle8.ico", 0},
};

TEST(TrayIconFiles, EachStateShowsItsColourAtBothTraySizes) {
  for (const StateSign& state : kStates) {
    SCOPED_TRACE(state.foreground);
    const QList<QImage> pictures = Pictures(ShippedIcon(state.foreground));
    ASSERT_EQ(pictures.size(), 3);
    for (const QImage& picture : pictures.mid(0, 2)) {
      SCOPED_TRACE(picture.width());
      for (const StateSign& other : kStates) {
        if (other.hue < 0) continue;
        const int vivid = VividPixels(picture, other.hue);
        if (other.hue == state.hue) {
          // A sign of a few pixels' size at 16 pixels, a few dozen at 32.
          EXPECT_GE(vivid, picture.width() * picture.width() / 40) << "its own sign colour";
        } else {
          EXPECT_EQ(vivid, 0) << "the sign colour of " << other.foreground;
        }
      }
    }
  }
}

TEST(TrayIconFiles, BackgroundFamilyIsAFadedCopyOfTheForeground) {
  for (const StateSign& state : kStates) {
    SCOPED_TRACE(state.background);
    const QList<QImage> front = Pictures(ShippedIcon(state.foreground));
    const QList<QImage> back = Pictures(ShippedIcon(state.background));
    ASSERT_EQ(front.size(), 3);
    ASSERT_EQ(back.size(), 3);
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(front[i].width());
      for (int hue : {0, 40, 120}) EXPECT_EQ(VividPixels(back[i], hue), 0);
      EXPECT_LT(MostSaturated(back[i]), MostSaturated(front[i]) / 2 + 1);
      EXPECT_LT(OpacitySum(back[i]), OpacitySum(front[i]));
      // The same outline: faded, not redrawn.
      for (int y = 0; y < front[i].height(); ++y) {
        for (int x = 0; x < front[i].width(); ++x) {
          ASSERT_EQ(qAlpha(front[i].pixel(x, y)) == 0, qAlpha(back[i].pixel(x, y)) == 0)
              << x << ", " << y;
        }
      }
    }
  }
}

TEST(TrayIconFiles, NoTwoStatesLookAlikeAtSixteenPixels) {
  QList<QImage> smallest;
  for (const char* name : kIconFiles) {
    const QList<QImage> pictures = Pictures(ShippedIcon(name));
    ASSERT_FALSE(pictures.isEmpty()) << name;
    smallest.append(pictures[0]);
  }
  for (qsizetype a = 0; a < smallest.size(); ++a) {
    for (qsizetype b = a + 1; b < smallest.size(); ++b) {
      EXPECT_NE(smallest[a], smallest[b]) << kIconFiles[a] << " and " << kIconFiles[b];
    }
  }
}

}  // namespace
}  // namespace kiv
