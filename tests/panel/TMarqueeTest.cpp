// The ticker: its text items and colours, the step timer and its speeds, the built-in menu, and
// where each step puts the items on the control's face.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>

#include "PanelTestSupport.h"
#include "panel/TMarquee.h"

namespace kiv {

void PrintTo(const TMarquee::Item& item, std::ostream* os) {
  *os << '{';
  PrintTo(item.text, os);
  *os << ", " << item.color.name().toStdString() << '}';
}

namespace {

using Item = TMarquee::Item;

const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBack(0, 0, 64);

QList<Item> ItemsOf(const QString& text, bool* ok = nullptr) {
  TMarquee marquee;
  const bool parsed = marquee.SetText(text);
  if (ok != nullptr) *ok = parsed;
  return marquee.Items();
}

// --- Text ----------------------------------------------------------------------------------------

TEST(TMarqueeText, ColourTagsColourTheirItems) {
  EXPECT_EQ(ItemsOf(QStringLiteral("255%hello")), QList<Item>({{QStringLiteral("hello"), kRed}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("65280%05.12.2026|16711680%14:03")),
            QList<Item>({{QStringLiteral("05.12.2026"), kLime}, {QStringLiteral("14:03"), kBlue}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("1%a|2%b|3%c")),
            QList<Item>({{QStringLiteral("a"), kLime},
                         {QStringLiteral("b"), QColor(255, 255, 0)},
                         {QStringLiteral("c"), kRed}}));
  // Without a tag in front, "50%off" is a colour number and a text.
  EXPECT_EQ(ItemsOf(QStringLiteral("50%off")),
            QList<Item>({{QStringLiteral("off"), QColor(50, 0, 0)}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("1%text")), QList<Item>({{QStringLiteral("text"), kLime}}));
}

TEST(TMarqueeText, ItemsWithoutExactlyTwoTokensAreDrawnWholeInLime) {
  // The tag in front of "50%off" makes three tokens.
  EXPECT_EQ(ItemsOf(QStringLiteral("255%50%off")),
            QList<Item>({{QStringLiteral("255%50%off"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("a%b%c")), QList<Item>({{QStringLiteral("a%b%c"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("plain")), QList<Item>({{QStringLiteral("plain"), kLime}}));
  // A final "%" starts no token, which leaves these with one.
  EXPECT_EQ(ItemsOf(QStringLiteral("word%")), QList<Item>({{QStringLiteral("word%"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("1%")), QList<Item>({{QStringLiteral("1%"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("%")), QList<Item>({{QStringLiteral("%"), kLime}}));
  // ... and these with two: still a coloured item.
  EXPECT_EQ(ItemsOf(QStringLiteral("255%word%")), QList<Item>({{QStringLiteral("word"), kRed}}));
  // Two words joined by "|": the second has no tag.
  EXPECT_EQ(ItemsOf(QStringLiteral("65280%first|second")),
            QList<Item>({{QStringLiteral("first"), kLime}, {QStringLiteral("second"), kLime}}));
}

TEST(TMarqueeText, SplittingStopsAtTheFirstEmptyPiece) {
  EXPECT_EQ(ItemsOf(QStringLiteral("word|word")),
            QList<Item>({{QStringLiteral("word"), kLime}, {QStringLiteral("word"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("a||b")), QList<Item>({{QStringLiteral("a"), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("a|b|")),
            QList<Item>({{QStringLiteral("a"), kLime}, {QStringLiteral("b"), kLime}}));
  EXPECT_TRUE(ItemsOf(QStringLiteral("|a")).isEmpty());
  EXPECT_TRUE(ItemsOf(QStringLiteral("|")).isEmpty());
  // Without any bar the text is one item, even when empty.
  EXPECT_EQ(ItemsOf(QString()), QList<Item>({{QString(), kLime}}));
  EXPECT_EQ(ItemsOf(QStringLiteral("no bar at all")),
            QList<Item>({{QStringLiteral("no bar at all"), kLime}}));
}

TEST(TMarqueeText, ColourThatIsNotANumberStopsTheParseKeepingEarlierItems) {
  bool ok = true;
  EXPECT_EQ(ItemsOf(QStringLiteral("1%a|x%b|c"), &ok), QList<Item>({{QStringLiteral("a"), kLime}}));
  EXPECT_FALSE(ok);
  EXPECT_EQ(ItemsOf(QStringLiteral("a|%x|b"), &ok), QList<Item>({{QStringLiteral("a"), kLime}}));
  EXPECT_FALSE(ok);
  EXPECT_TRUE(ItemsOf(QStringLiteral("%x"), &ok).isEmpty());
  EXPECT_FALSE(ok);
  EXPECT_TRUE(ItemsOf(QStringLiteral("%%"), &ok).isEmpty());
  EXPECT_FALSE(ok);
  ItemsOf(QStringLiteral("1%a|b"), &ok);
  EXPECT_TRUE(ok);

  TMarquee marquee;
  EXPECT_FALSE(marquee.SetText(QStringLiteral("255%ab|x%y")));
  EXPECT_EQ(marquee.Text(), QStringLiteral("255%ab|x%y"));
  EXPECT_EQ(marquee.PlainText(), QStringLiteral("ab "));
}

TEST(TMarqueeText, PlainTextHasOneBlankPerItem) {
  TMarquee marquee;
  marquee.SetText(QStringLiteral("255%ab|cd"));
  EXPECT_EQ(marquee.Text(), QStringLiteral("255%ab|cd"));
  EXPECT_EQ(marquee.PlainText(), QStringLiteral("ab cd "));
  marquee.SetText(QStringLiteral("x"));
  EXPECT_EQ(marquee.PlainText(), QStringLiteral("x "));
  marquee.SetText(QStringLiteral("|x"));
  EXPECT_EQ(marquee.PlainText(), QString());
}

TEST(TMarqueeColours, NumbersOneToThreeAreNamedColours) {
  EXPECT_EQ(TMarquee::GetColor(1), kLime);
  EXPECT_EQ(TMarquee::GetColor(2), QColor(255, 255, 0));
  EXPECT_EQ(TMarquee::GetColor(3), kRed);
  EXPECT_EQ(TMarquee::GetColor(0), QColor(0, 0, 0));
  EXPECT_EQ(TMarquee::GetColor(0x804020), QColor(0x20, 0x40, 0x80));
}

TEST(TMarqueeColours, KeepsTheSkinsTags) {
  TMarquee marquee;
  marquee.SetColorTag(1, QStringLiteral("65280%"));
  marquee.SetColorTag(4, QStringLiteral("255%"));
  marquee.SetColorTag(5, QStringLiteral("1%"));
  EXPECT_EQ(marquee.ColorTag(1), QStringLiteral("65280%"));
  EXPECT_EQ(marquee.ColorTag(2), QString());
  EXPECT_EQ(marquee.ColorTag(4), QStringLiteral("255%"));
  EXPECT_EQ(marquee.ColorTag(5), QString());
}

// --- Timer ---------------------------------------------------------------------------------------

TEST(TMarqueeTimer, AFreshTickerStandsSlowlyToTheLeft) {
  TMarquee marquee;
  EXPECT_FALSE(marquee.Active());
  EXPECT_FALSE(marquee.StepTimer().isActive());
  EXPECT_EQ(marquee.StepTimer().interval(), 250);
  EXPECT_EQ(marquee.Speed(), TSpeed::tsSlow);
  EXPECT_EQ(marquee.Direction(), TDirection::tdLeft);
  EXPECT_EQ(marquee.StillItemsNumber(), 2);
  EXPECT_EQ(marquee.StillItemsOrder(), TOrder::toDescend);
  EXPECT_EQ(marquee.Text(), QString());
  EXPECT_TRUE(marquee.Items().isEmpty());
  EXPECT_EQ(marquee.ScrollOffset(), 0);
}

TEST(TMarqueeTimer, ActiveRunsTheStepTimerAtTheChosenSpeed) {
  TMarquee marquee;
  marquee.SetActive(true);
  EXPECT_TRUE(marquee.Active());
  EXPECT_TRUE(marquee.StepTimer().isActive());

  marquee.SetSpeed(TSpeed::tsMedium);
  EXPECT_EQ(marquee.Speed(), TSpeed::tsMedium);
  EXPECT_EQ(marquee.StepTimer().interval(), 60);
  EXPECT_TRUE(marquee.StepTimer().isActive());
  marquee.SetSpeed(TSpeed::tsFast);
  EXPECT_EQ(marquee.StepTimer().interval(), 30);
  marquee.SetSpeed(TSpeed::tsSlow);
  EXPECT_EQ(marquee.StepTimer().interval(), 250);

  marquee.SetActive(false);
  EXPECT_FALSE(marquee.StepTimer().isActive());
  // A stopped ticker stays stopped through a change of speed or text.
  marquee.SetSpeed(TSpeed::tsFast);
  EXPECT_FALSE(marquee.StepTimer().isActive());
  EXPECT_EQ(marquee.StepTimer().interval(), 30);
  EXPECT_TRUE(marquee.SetText(QStringLiteral("a")));
  EXPECT_FALSE(marquee.StepTimer().isActive());
}

TEST(TMarqueeTimer, TextThatFailsToParseLeavesTheTimerStopped) {
  TMarquee marquee;
  marquee.SetActive(true);
  EXPECT_TRUE(marquee.SetText(QStringLiteral("1%a|b")));
  EXPECT_TRUE(marquee.StepTimer().isActive());

  EXPECT_FALSE(marquee.SetText(QStringLiteral("1%a|x%b")));
  EXPECT_FALSE(marquee.StepTimer().isActive());
  EXPECT_TRUE(marquee.Active());
  // Still Active, so asking for Active again changes nothing ...
  marquee.SetActive(true);
  EXPECT_FALSE(marquee.StepTimer().isActive());
  // ... but a text that parses, or a speed change, runs the timer again.
  EXPECT_TRUE(marquee.SetText(QStringLiteral("fine")));
  EXPECT_TRUE(marquee.StepTimer().isActive());
  EXPECT_FALSE(marquee.SetText(QStringLiteral("%x")));
  marquee.SetSpeed(TSpeed::tsMedium);
  EXPECT_TRUE(marquee.StepTimer().isActive());
}

// --- Built-in menu -------------------------------------------------------------------------------

// The menu on one line: submenus in brackets, ticked items starred, separators as "-".
QString Outline(const QMenu* menu) {
  QStringList items;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      items.append(QStringLiteral("-"));
    } else if (action->menu() != nullptr) {
      items.append(action->text() + u'[' + Outline(action->menu()) + u']');
    } else {
      items.append(action->text() + (action->isChecked() ? QStringLiteral("*") : QString()));
    }
  }
  return items.join(u' ');
}

// The item at "Menu/Item" or "Item"; fails the test when it is missing.
QAction* ItemOf(const QMenu* menu, const QString& path) {
  const QMenu* current = menu;
  QAction* found = nullptr;
  for (const QString& caption : path.split(u'/')) {
    found = nullptr;
    for (QAction* action : current != nullptr ? current->actions() : QList<QAction*>()) {
      if (action->text() == caption) found = action;
    }
    if (found == nullptr) break;
    current = found->menu();
  }
  EXPECT_NE(found, nullptr) << path.toStdString();
  return found;
}

TEST(TMarqueeMenu, SpeedAndDirectionItemsChangeTheTickerAndTickThemselves) {
  TMarquee marquee;
  const QMenu* menu = marquee.BuiltInMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Outline(menu),
            QStringLiteral("S&peed[&Slow* &Medium &Fast] &Direction[&Left &Right] - E&xit"));

  ItemOf(menu, QStringLiteral("S&peed/&Medium"))->trigger();
  EXPECT_EQ(marquee.Speed(), TSpeed::tsMedium);
  EXPECT_EQ(marquee.StepTimer().interval(), 60);
  ItemOf(menu, QStringLiteral("&Direction/&Right"))->trigger();
  EXPECT_EQ(marquee.Direction(), TDirection::tdRight);
  EXPECT_EQ(Outline(menu),
            QStringLiteral("S&peed[&Slow &Medium* &Fast] &Direction[&Left &Right*] - E&xit"));
  ItemOf(menu, QStringLiteral("&Direction/&Left"))->trigger();
  EXPECT_EQ(marquee.Direction(), TDirection::tdLeft);

  // A speed set from outside ticks its item too.
  marquee.SetSpeed(TSpeed::tsFast);
  EXPECT_EQ(Outline(menu),
            QStringLiteral("S&peed[&Slow &Medium &Fast*] &Direction[&Left* &Right] - E&xit"));
  ItemOf(menu, QStringLiteral("S&peed/&Slow"))->trigger();
  EXPECT_EQ(marquee.StepTimer().interval(), 250);
}

TEST(TMarqueeMenu, ExitAsksTheOwnerToExit) {
  TMarquee marquee;
  QSignalSpy exits(&marquee, &TMarquee::ExitRequest);
  ItemOf(marquee.BuiltInMenu(), QStringLiteral("S&peed/&Fast"))->trigger();
  EXPECT_EQ(exits.count(), 0);
  ItemOf(marquee.BuiltInMenu(), QStringLiteral("E&xit"))->trigger();
  EXPECT_EQ(exits.count(), 1);
}

TEST(TMarqueeMenu, IsTheControlsOwnContextMenuUnlessTheContainerPreventsIt) {
  TMarquee marquee;
  marquee.resize(100, 20);
  marquee.show();
  const QPoint at(10, 10);
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, marquee.mapToGlobal(at));
  QApplication::sendEvent(&marquee, &click);
  EXPECT_TRUE(marquee.BuiltInMenu()->isVisible());
  marquee.BuiltInMenu()->hide();

  marquee.setContextMenuPolicy(Qt::PreventContextMenu);
  QApplication::sendEvent(&marquee, &click);
  EXPECT_FALSE(marquee.BuiltInMenu()->isVisible());
}

// --- Drawing -------------------------------------------------------------------------------------

// Columns of the face holding `color`: the first and last, or -1 when there is none.
int FirstColumnOf(const QImage& image, QColor color) {
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixelColor(x, y) == color) return x;
    }
  }
  return -1;
}

int LastColumnOf(const QImage& image, QColor color) {
  for (int x = image.width() - 1; x >= 0; --x) {
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixelColor(x, y) == color) return x;
    }
  }
  return -1;
}

int CountOf(const QImage& image, QColor color, QRect area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += image.pixelColor(x, y) == color;
  }
  return count;
}

// A shown ticker with a font whose text pixels are all exactly the text colour. Shown, because
// a hidden widget gets its resize event only when it is first rendered.
class TMarqueeDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    marquee.resize(200, 24);
    marquee.SetColor(kBack);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(18);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    marquee.setFont(font);
    marquee.show();
  }

  QImage Face() { return marquee.grab().toImage(); }
  int Advance(const QString& text) const { return marquee.fontMetrics().horizontalAdvance(text); }

  // How far right of its cell's left edge the ink of `text` begins, drawn on its own.
  int InkStart(const QString& text) const {
    QImage image(Advance(text) + 20, marquee.height(), QImage::Format_RGB32);
    image.fill(kBack);
    QPainter painter(&image);
    painter.setFont(marquee.font());
    painter.setPen(kRed);
    painter.drawText(0, marquee.fontMetrics().ascent(), text);
    painter.end();
    return FirstColumnOf(image, kRed);
  }

  void Steps(int count) {
    for (int i = 0; i < count; ++i) marquee.TimerFired();
  }

  TMarquee marquee;
};

TEST_F(TMarqueeDrawing, TheFontDrawsOnlyTheTextColour) {
  // The position checks below rely on this: a glyph's first column starts within a few pixels.
  const int start = InkStart(QStringLiteral("RED"));
  EXPECT_GE(start, 0);
  EXPECT_LE(start, 3);
  marquee.SetDirection(TDirection::tdNone);
  marquee.SetText(QStringLiteral("255%RED"));
  marquee.TimerFired();
  const QImage face = Face();
  EXPECT_EQ(CountOf(face, kRed, face.rect()) + CountOf(face, kBack, face.rect()),
            face.width() * face.height());
  EXPECT_GT(CountOf(face, kRed, face.rect()), 20);
}

TEST_F(TMarqueeDrawing, LeftStepsBringTheTextInFromTheRightEdge) {
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN"));
  const int redStart = InkStart(QStringLiteral("RED"));
  const int greenStart = InkStart(QStringLiteral("GREEN"));

  // The first step draws just past the right edge.
  Steps(1);
  EXPECT_EQ(marquee.ScrollOffset(), 5);
  EXPECT_EQ(FirstColumnOf(Face(), kRed), -1);

  // Each step draws at the offset the step before left, then moves on by 5.
  Steps(10);
  EXPECT_EQ(marquee.ScrollOffset(), 55);
  int x = 200 - 50;
  EXPECT_EQ(FirstColumnOf(Face(), kRed), x + redStart);
  const int greenInk = x + Advance(QStringLiteral("RED")) + 5 + greenStart;
  EXPECT_EQ(FirstColumnOf(Face(), kLime), greenInk < 200 ? greenInk : -1);

  Steps(20);
  EXPECT_EQ(marquee.ScrollOffset(), 155);
  x = 200 - 150;
  QImage face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), x + redStart);
  EXPECT_EQ(FirstColumnOf(face, kLime), x + Advance(QStringLiteral("RED")) + 5 + greenStart);
  EXPECT_LT(LastColumnOf(face, kRed), FirstColumnOf(face, kLime));
  // Around the text the strip shows the background colour.
  EXPECT_EQ(face.pixelColor(0, 0), kBack);
  EXPECT_EQ(face.pixelColor(199, 23), kBack);
}

TEST_F(TMarqueeDrawing, LeftOffsetWrapsOnceTextAndControlHavePassed) {
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN"));
  const int distance = Advance(marquee.PlainText()) + marquee.width();
  const int steps = (distance + 4) / 5;
  for (int i = 1; i < steps; ++i) {
    marquee.TimerFired();
    ASSERT_EQ(marquee.ScrollOffset(), 5 * i) << "step " << i;
  }
  // The step that wraps draws the text wholly left of the control.
  marquee.TimerFired();
  EXPECT_EQ(marquee.ScrollOffset(), 0);
  const QImage face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), -1);
  EXPECT_EQ(FirstColumnOf(face, kLime), -1);
  // The text enters again from the right edge.
  Steps(11);
  EXPECT_EQ(FirstColumnOf(Face(), kRed), 150 + InkStart(QStringLiteral("RED")));
}

TEST_F(TMarqueeDrawing, RightStepsStartThreePixelsInFromTheLeft) {
  marquee.SetDirection(TDirection::tdRight);
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN"));
  const int redStart = InkStart(QStringLiteral("RED"));

  Steps(1);
  EXPECT_EQ(marquee.ScrollOffset(), 5);
  QImage face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), 3 + redStart);
  EXPECT_EQ(FirstColumnOf(face, kLime),
            3 + Advance(QStringLiteral("RED")) + 5 + InkStart(QStringLiteral("GREEN")));

  Steps(4);
  EXPECT_EQ(marquee.ScrollOffset(), 25);
  EXPECT_EQ(FirstColumnOf(Face(), kRed), 20 + 3 + redStart);
}

TEST_F(TMarqueeDrawing, RightOffsetWrapsAtTheInnerRectanglesEdge) {
  marquee.SetBevelOuter(TBevelCut::bvRaised);
  marquee.SetBorderWidth(2);
  marquee.SetDirection(TDirection::tdRight);
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN"));
  // Inset 2 + 1 + 4 on each side: the inner rectangle ends before column 193.
  ASSERT_EQ(marquee.ClearRect(false), QRect(7, 7, 186, 10));

  Steps(38);
  EXPECT_EQ(marquee.ScrollOffset(), 190);
  marquee.TimerFired();
  const int plainWidth = Advance(marquee.PlainText());
  EXPECT_EQ(marquee.ScrollOffset(), 7 - plainWidth);
  // The text enters again from the left: once the offset is back near the inner rectangle the
  // first item is whole again, drawn three pixels right of the offset as before.
  int steps = 0;
  while (marquee.ScrollOffset() + 3 < 0) {
    marquee.TimerFired();
    ++steps;
  }
  ASSERT_GT(steps, 10);
  const int x = marquee.ScrollOffset() + 3;
  marquee.TimerFired();
  EXPECT_EQ(FirstColumnOf(Face(), kRed), x + InkStart(QStringLiteral("RED")));
}

TEST_F(TMarqueeDrawing, StillShowsTheSecondThenTheFirstOfThreeItems) {
  marquee.SetDirection(TDirection::tdNone);
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN|16711680%BLUE"));
  Steps(3);
  EXPECT_EQ(marquee.ScrollOffset(), 0);
  const QImage face = Face();
  EXPECT_EQ(FirstColumnOf(face, kLime), InkStart(QStringLiteral("GREEN")));
  EXPECT_EQ(FirstColumnOf(face, kRed),
            Advance(QStringLiteral("GREEN ")) + InkStart(QStringLiteral("RED")));
  EXPECT_EQ(FirstColumnOf(face, kBlue), -1);
}

TEST_F(TMarqueeDrawing, StillItemsInAscendingOrderAndAsManyAsAsked) {
  marquee.resize(300, 24);
  marquee.SetDirection(TDirection::tdNone);
  marquee.SetStillItemsOrder(TOrder::toAscend);
  marquee.SetText(QStringLiteral("255%RED|65280%GREEN|16711680%BLUE"));
  marquee.TimerFired();
  QImage face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), InkStart(QStringLiteral("RED")));
  EXPECT_EQ(FirstColumnOf(face, kLime),
            Advance(QStringLiteral("RED ")) + InkStart(QStringLiteral("GREEN")));
  EXPECT_EQ(FirstColumnOf(face, kBlue), -1);

  marquee.SetStillItemsNumber(5);
  marquee.TimerFired();
  face = Face();
  EXPECT_EQ(FirstColumnOf(face, kBlue),
            Advance(QStringLiteral("RED GREEN ")) + InkStart(QStringLiteral("BLUE")));

  // Fewer items stand over the old ones: their cells take the background, whatever was there.
  marquee.SetStillItemsNumber(2);
  marquee.SetStillItemsOrder(TOrder::toDescend);
  marquee.TimerFired();
  ASSERT_EQ(FirstColumnOf(Face(), kLime), InkStart(QStringLiteral("GREEN")));
  marquee.SetStillItemsNumber(1);
  marquee.TimerFired();
  face = Face();
  EXPECT_EQ(FirstColumnOf(face, kRed), InkStart(QStringLiteral("RED")));
  EXPECT_EQ(CountOf(face, kLime, QRect(0, 0, Advance(QStringLiteral("RED ")), face.height())), 0);
}

TEST_F(TMarqueeDrawing, SetTextClearsTheInnerRectangle) {
  marquee.SetDirection(TDirection::tdNone);
  marquee.SetText(QStringLiteral("255%RED RED RED"));
  marquee.TimerFired();
  const QRect inner = marquee.ClearRect(false);
  EXPECT_EQ(inner, QRect(4, 4, 192, 16));
  ASSERT_GT(CountOf(Face(), kRed, inner), 0);

  marquee.SetText(QStringLiteral("65280%GREEN"));
  const QImage face = Face();
  EXPECT_EQ(CountOf(face, kRed, inner), 0);
  EXPECT_EQ(CountOf(face, kLime, face.rect()), 0);
  EXPECT_EQ(CountOf(face, kBack, inner), inner.width() * inner.height());
}

TEST_F(TMarqueeDrawing, ClearRectShrinksByBorderBevelsAndAMargin) {
  EXPECT_EQ(marquee.ClearRect(false), QRect(4, 4, 192, 16));
  marquee.SetBevelInner(TBevelCut::bvLowered);
  EXPECT_EQ(marquee.ClearRect(false), QRect(5, 5, 190, 14));
  marquee.SetBevelOuter(TBevelCut::bvSpace);
  marquee.SetBevelWidth(2);
  marquee.SetBorderWidth(1);
  EXPECT_EQ(marquee.ClearRect(false), QRect(9, 9, 182, 6));

  // Without fill the face stays as it is.
  marquee.SetDirection(TDirection::tdNone);
  marquee.SetText(QStringLiteral("255%RED"));
  marquee.TimerFired();
  const QImage before = Face();
  marquee.ClearRect(false);
  EXPECT_TRUE(Face() == before);
  marquee.ClearRect(true);
  EXPECT_EQ(CountOf(Face(), kRed, QRect(9, 9, 182, 6)), 0);
}

TEST_F(TMarqueeDrawing, BevelsFrameTheBarePanel) {
  const QColor light = QColor(marquee.palette().color(QPalette::Light).rgb());
  const QColor dark = QColor(marquee.palette().color(QPalette::Dark).rgb());
  ASSERT_NE(light, dark);
  QImage face = Face();
  EXPECT_EQ(face.pixelColor(0, 0), kBack);

  marquee.SetBevelOuter(TBevelCut::bvRaised);
  face = Face();
  EXPECT_EQ(face.pixelColor(0, 0), light);
  EXPECT_EQ(face.pixelColor(199, 23), dark);
  EXPECT_EQ(face.pixelColor(1, 1), kBack);

  marquee.SetBevelOuter(TBevelCut::bvLowered);
  marquee.SetBevelInner(TBevelCut::bvRaised);
  marquee.SetBorderWidth(1);
  face = Face();
  EXPECT_EQ(face.pixelColor(0, 0), dark);
  EXPECT_EQ(face.pixelColor(199, 23), light);
  EXPECT_EQ(face.pixelColor(1, 1), kBack);
  EXPECT_EQ(face.pixelColor(2, 2), light);
  EXPECT_EQ(face.pixelColor(197, 21), dark);
  EXPECT_EQ(face.pixelColor(3, 3), kBack);
}

TEST_F(TMarqueeDrawing, ResizeRestartsTheScrollOnTheBarePanel) {
  marquee.SetText(QStringLiteral("255%RED"));
  Steps(12);
  ASSERT_EQ(marquee.ScrollOffset(), 60);
  ASSERT_NE(FirstColumnOf(Face(), kRed), -1);

  marquee.resize(260, 30);
  EXPECT_EQ(marquee.ScrollOffset(), 0);
  const QImage face = Face();
  EXPECT_EQ(face.size(), QSize(260, 30));
  EXPECT_EQ(CountOf(face, kBack, face.rect()), 260 * 30);

  Steps(3);
  EXPECT_EQ(FirstColumnOf(Face(), kRed), 260 - 10 + InkStart(QStringLiteral("RED")));

  // A new background colour wipes the face as well.
  marquee.SetColor(kBlue);
  EXPECT_EQ(CountOf(Face(), kBlue, face.rect()), 260 * 30);
}

TEST_F(TMarqueeDrawing, AStepWithoutItemsKeepsTheFace) {
  // Low enough that the text reaches below the inner rectangle.
  marquee.resize(200, 16);
  marquee.SetText(QStringLiteral("255%RED"));
  Steps(20);
  ASSERT_NE(FirstColumnOf(Face(), kRed), -1);
  // A text that begins with "|" has no items: the inner rectangle is cleared, and no step draws
  // anything over what is left outside it.
  marquee.SetText(QStringLiteral("|RED"));
  const QImage cleared = Face();
  EXPECT_EQ(CountOf(cleared, kRed, marquee.ClearRect(false)), 0);
  EXPECT_GT(CountOf(cleared, kRed, cleared.rect()), 0);
  Steps(5);
  EXPECT_TRUE(Face() == cleared);
  EXPECT_EQ(marquee.ScrollOffset(), 125);
}

}  // namespace
}  // namespace kiv
