// Comma-text splitting and the item forms of skin values.
#include <gtest/gtest.h>

#include "PanelTestSupport.h"
#include "panel/CommaText.h"
#include "panel/SkinItems.h"

namespace kiv {
namespace {

QStringList Split(const char* text) { return SplitCommaText(QString::fromLatin1(text)); }

QStringList List(std::initializer_list<const char*> items) {
  QStringList list;
  for (const char* item : items) list.append(QString::fromLatin1(item));
  return list;
}

TEST(CommaText, CommasAndBlanksSeparateItems) {
  EXPECT_EQ(Split("10,8,on"), List({"10", "8", "on"}));
  EXPECT_EQ(Split("10 8  on"), List({"10", "8", "on"}));
  EXPECT_EQ(Split("  10 ,  8\t, on  "), List({"10", "8", "on"}));
  // Every character from 1 to 32 is a blank.
  EXPECT_EQ(Split("a\x01"
                  "b\x1f"
                  "c\nd"),
            List({"a", "b", "c", "d"}));
}

TEST(CommaText, QuotedItemsKeepBlanksAndCommas) {
  EXPECT_EQ(Split("\"Courier New\",8,Bold,off"), List({"Courier New", "8", "Bold", "off"}));
  EXPECT_EQ(Split("\"a,b\" c"), List({"a,b", "c"}));
  EXPECT_EQ(Split("\"say \"\"hi\"\"\""), List({"say \"hi\""}));
  EXPECT_EQ(Split("\"\",x"), List({"", "x"}));
  // A quote that is never closed runs to the end.
  EXPECT_EQ(Split("\"open end"), List({"open end"}));
}

TEST(CommaText, TwoCommasInARowGiveAnEmptyItem) {
  EXPECT_EQ(Split("a,,b"), List({"a", "", "b"}));
  EXPECT_EQ(Split("a, ,b"), List({"a", "", "b"}));
  EXPECT_EQ(Split(",a"), List({"", "a"}));
  // A comma at the end closes the last item and starts none.
  EXPECT_EQ(Split("a,"), List({"a"}));
  EXPECT_EQ(Split(""), QStringList());
  EXPECT_EQ(Split("   "), QStringList());
}

TEST(CommaText, NulEndsTheText) {
  EXPECT_EQ(SplitCommaText(QStringLiteral("a,b") + QChar(u'\0') + QStringLiteral(",c")),
            List({"a", "b"}));
}

TEST(ConvertNumber, DecimalWithSign) {
  EXPECT_EQ(ConvertNumber(QStringLiteral("12")), 12);
  EXPECT_EQ(ConvertNumber(QStringLiteral("-5")), -5);
  EXPECT_EQ(ConvertNumber(QStringLiteral("+7")), 7);
  EXPECT_EQ(ConvertNumber(QStringLiteral("2147483647")), 2147483647);
  EXPECT_EQ(ConvertNumber(QStringLiteral("-2147483648")), -2147483647 - 1);
  EXPECT_FALSE(ConvertNumber(QStringLiteral("2147483648")));
}

TEST(ConvertNumber, HexadecimalForms) {
  EXPECT_EQ(ConvertNumber(QStringLiteral("0x1F")), 31);
  EXPECT_EQ(ConvertNumber(QStringLiteral("0X1f")), 31);
  EXPECT_EQ(ConvertNumber(QStringLiteral("$FF")), 255);
  EXPECT_EQ(ConvertNumber(QStringLiteral("-0x10")), -16);
  EXPECT_EQ(ConvertNumber(QStringLiteral("0xFFFFFFFF")), -1);
  EXPECT_FALSE(ConvertNumber(QStringLiteral("0x100000000")));
}

TEST(ConvertNumber, AnythingElseFails) {
  for (const char* text : {"", "-", "0x", "$", "1x", "12 ", "1.5", "ten", "0xG", "--1", "0x-1"}) {
    EXPECT_FALSE(ConvertNumber(QString::fromLatin1(text))) << text;
  }
}

TEST(SkinItems, PointAndBoxTakeHeightBeforeWidth) {
  SkinItems point(QStringLiteral("20,30"));
  EXPECT_EQ(point.Point(), QPoint(20, 30));
  EXPECT_TRUE(point.Ok());

  SkinItems box(QStringLiteral("99,78,5,40"));
  const QRect rect = box.Box();
  EXPECT_TRUE(box.Ok());
  EXPECT_EQ(rect.topLeft(), QPoint(99, 78));
  EXPECT_EQ(rect.width(), 40);
  EXPECT_EQ(rect.height(), 5);
}

TEST(SkinItems, MissingItemsAndBadNumbersFailForGood) {
  SkinItems shortPoint(QStringLiteral("0"));
  shortPoint.Point();
  EXPECT_FALSE(shortPoint.Ok());

  SkinItems shortBox(QStringLiteral("1,2,3"));
  shortBox.Box();
  EXPECT_FALSE(shortBox.Ok());

  SkinItems badNumber(QStringLiteral("1,x"));
  badNumber.Point();
  EXPECT_FALSE(badNumber.Ok());
  // Once failed, a later good read does not make it good again.
  EXPECT_EQ(badNumber.Item(0), QStringLiteral("1"));
  EXPECT_FALSE(badNumber.Ok());
}

TEST(SkinItems, SwitchIsOnlyLowerCaseOn) {
  SkinItems on(QStringLiteral("10,8,on"));
  EXPECT_TRUE(on.Switch(2));
  SkinItems upper(QStringLiteral("10,8,ON"));
  EXPECT_FALSE(upper.Switch(2));
  SkinItems mixed(QStringLiteral("10,8,On"));
  EXPECT_FALSE(mixed.Switch(2));
  EXPECT_TRUE(on.Ok() && upper.Ok() && mixed.Ok());
  SkinItems missing(QStringLiteral("10,8"));
  EXPECT_FALSE(missing.Switch(2));
  EXPECT_FALSE(missing.Ok());
}

TEST(SkinItems, ColourDigitsAreRedFirst) {
  SkinItems dodger(QStringLiteral("1E90FF"));
  EXPECT_EQ(dodger.Colour(), QColor(0x1E, 0x90, 0xFF));
  SkinItems zero(QStringLiteral("0"));
  EXPECT_EQ(zero.Colour(), QColor(0, 0, 0));
  // Short text yields fewer pairs: "FF" is the lowest pair, red; "FFFF" adds green.
  SkinItems red(QStringLiteral("FF"));
  EXPECT_EQ(red.Colour(), QColor(255, 0, 0));
  SkinItems yellow(QStringLiteral("FFFF"));
  EXPECT_EQ(yellow.Colour(), QColor(255, 255, 0));
  // Only the first item is read.
  SkinItems more(QStringLiteral("00FF00,junk"));
  EXPECT_EQ(more.Colour(), QColor(0, 255, 0));
  EXPECT_TRUE(dodger.Ok() && zero.Ok() && red.Ok() && yellow.Ok() && more.Ok());
}

TEST(SkinItems, ColourThatIsNotHexFails) {
  for (const char* text : {"GG0000", "-1", "", "\"\""}) {
    SkinItems items(QString::fromLatin1(text));
    items.Colour();
    EXPECT_FALSE(items.Ok()) << text;
  }
}

TEST(SkinItems, TickerColourIsTheSystemValueInDecimal) {
  SkinItems ff(QStringLiteral("FF"));
  EXPECT_EQ(ff.TickerColour(), QStringLiteral("255%"));
  // No reordering: these digits are blue in the system value.
  SkinItems blue(QStringLiteral("FF0000"));
  EXPECT_EQ(blue.TickerColour(), QStringLiteral("16711680%"));
  SkinItems zero(QStringLiteral("0"));
  EXPECT_EQ(zero.TickerColour(), QStringLiteral("0%"));
  EXPECT_TRUE(ff.Ok() && blue.Ok() && zero.Ok());
  SkinItems bad(QStringLiteral("lime"));
  bad.TickerColour();
  EXPECT_FALSE(bad.Ok());
}

TEST(SkinItems, FontBoldIsCaseSensitive) {
  SkinItems bold(QStringLiteral("\"Courier New\",8,Bold,off"));
  const SkinFont font = bold.Font();
  EXPECT_TRUE(bold.Ok());
  EXPECT_EQ(font.face, QStringLiteral("Courier New"));
  EXPECT_EQ(font.pointSize, 8);
  EXPECT_TRUE(font.bold);
  EXPECT_EQ(font.fontFile, QStringLiteral("off"));

  SkinItems lower(QStringLiteral("Arial,8,bold,Face.ttf"));
  const SkinFont notBold = lower.Font();
  EXPECT_TRUE(lower.Ok());
  EXPECT_FALSE(notBold.bold);
  EXPECT_EQ(notBold.fontFile, QStringLiteral("Face.ttf"));
}

TEST(SkinItems, FontNeedsFourItemsAndANumericSize) {
  SkinItems three(QStringLiteral("Arial,8,Bold"));
  three.Font();
  EXPECT_FALSE(three.Ok());
  SkinItems badSize(QStringLiteral("Arial,big,Bold,off"));
  badSize.Font();
  EXPECT_FALSE(badSize.Ok());
}

TEST(SystemColor, RedIsTheLowByte) {
  EXPECT_EQ(SystemColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(SystemColor(0x00FF00), QColor(0, 255, 0));
  EXPECT_EQ(SystemColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(SystemColor(static_cast<int>(0x80FF0000u)), QColor(0, 0, 255));
}

}  // namespace
}  // namespace kiv
