// Comma-text splitting and the item forms of skin values.
#include <gtest/gtest.h>

#include <tuple>

#include "PanelTestSupport.h"
#include "panel/CommaText.h"
#include "panel/SkinItems.h"

namespace kiv {
namespace {

// One item form read from `text`: the value and whether the read went well.
template <typename Form>
auto ReadAs(const char* text, Form form) {
  SkinItems items(QString::fromLatin1(text));
  auto value = form(items);
  return std::pair{value, items.Ok()};
}

TEST(CommaText, CommasBlanksAndQuotesSeparateItems) {
  // Items are joined with "|" here to keep the table short.
  const std::pair<const char*, const char*> cases[] = {
      {"10,8,on", "10|8|on"}, {"  10 ,  8\t, on  ", "10|8|on"},
      {"a\x01" "b\x1f" "c\nd", "a|b|c|d"},  // 1 to 32 are all blanks
      {"\"Courier New\",8", "Courier New|8"}, {"\"a,b\" c", "a,b|c"},
      {"\"say \"\"hi\"\"\"", "say \"hi\""}, {"\"open end", "open end"},
      {"a,,b", "a||b"}, {"a, ,b", "a||b"}, {",a", "|a"},
      {"a,", "a"},  // a comma at the end starts no item
  };
  for (const auto& [text, items] : cases)
    EXPECT_EQ(SplitCommaText(QString::fromLatin1(text)).join(u'|'), QLatin1String(items)) << text;
  EXPECT_TRUE(SplitCommaText(QStringLiteral("   ")).isEmpty());
  EXPECT_EQ(SplitCommaText(QStringLiteral("a,b") + QChar(u'\0') + QStringLiteral(",c")),
            QStringList({QStringLiteral("a"), QStringLiteral("b")}));
}

TEST(ConvertNumber, DecimalAndHexadecimalThirtyTwoBitNumbersOnly) {
  const std::pair<const char*, int> good[] = {
      {"12", 12},     {"-5", -5},    {"+7", 7},      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1}, {"0x1F", 31}, {"0X1f", 31}, {"$FF", 255},
      {"-0x10", -16}, {"0xFFFFFFFF", -1}};
  for (const auto& [text, number] : good)
    EXPECT_EQ(ConvertNumber(QString::fromLatin1(text)), number) << text;
  for (const char* text : {"", "-", "0x", "$", "1x", "12 ", "1.5", "ten", "--1", "0x-1",
                           "2147483648", "0x100000000"}) {
    EXPECT_FALSE(ConvertNumber(QString::fromLatin1(text))) << text;
  }
}

TEST(SkinItems, PointsBoxesAndSwitchesFailForGoodOnAMissingOrBadItem) {
  EXPECT_EQ(ReadAs("20,30", [](SkinItems& i) { return i.Point(); }),
            std::pair(QPoint(20, 30), true));
  // Height comes before width.
  EXPECT_EQ(ReadAs("99,78,5,40", [](SkinItems& i) { return i.Box(); }),
            std::pair(QRect(99, 78, 40, 5), true));
  EXPECT_FALSE(ReadAs("0", [](SkinItems& i) { return i.Point(); }).second);
  EXPECT_FALSE(ReadAs("1,2,3", [](SkinItems& i) { return i.Box(); }).second);
  EXPECT_FALSE(ReadAs("1,x", [](SkinItems& i) {
                 i.Point();
                 return i.Item(0);  // a later good read does not make it good again
               }).second);
  EXPECT_EQ(ReadAs("10,8,on", [](SkinItems& i) { return i.Switch(2); }), std::pair(true, true));
  EXPECT_EQ(ReadAs("10,8,ON", [](SkinItems& i) { return i.Switch(2); }), std::pair(false, true));
  EXPECT_EQ(ReadAs("10,8", [](SkinItems& i) { return i.Switch(2); }), std::pair(false, false));
}

TEST(SkinItems, ColoursAreRedFirstAndTickerColoursTheSystemValueInDecimal) {
  const auto colour = [](SkinItems& i) { return i.Colour(); };
  EXPECT_EQ(ReadAs("1E90FF", colour), std::pair(QColor(0x1E, 0x90, 0xFF), true));
  // Short text yields fewer pairs: "FF" is the lowest pair, red; "FFFF" adds green.
  EXPECT_EQ(ReadAs("FF", colour), std::pair(QColor(255, 0, 0), true));
  EXPECT_EQ(ReadAs("FFFF", colour), std::pair(QColor(255, 255, 0), true));
  EXPECT_EQ(ReadAs("00FF00,junk", colour), std::pair(QColor(0, 255, 0), true));
  for (const char* text : {"GG0000", "-1", "", "\"\""})
    EXPECT_FALSE(ReadAs(text, colour).second) << text;
  const auto ticker = [](SkinItems& i) { return i.TickerColour(); };
  EXPECT_EQ(ReadAs("FF0000", ticker), std::pair(QStringLiteral("16711680%"), true));
  EXPECT_FALSE(ReadAs("lime", ticker).second);
  EXPECT_EQ(SystemColor(static_cast<int>(0x80FF0000u)), QColor(0, 0, 255));
}

TEST(SkinItems, FontsNeedFourItemsAndANumericSizeAndOnlyBoldIsBold) {
  const auto font = [](SkinItems& i) { return i.Font(); };
  // Face, size, bold, font file, and whether the read went well.
  const auto read = [&font](const char* text) {
    const auto [f, ok] = ReadAs(text, font);
    return std::tuple(f.face, f.pointSize, f.bold, f.fontFile, ok);
  };
  EXPECT_EQ(read("\"Courier New\",8,Bold,off"),
            std::tuple(QStringLiteral("Courier New"), 8, true, QStringLiteral("off"), true));
  EXPECT_EQ(read("Arial,8,bold,Face.ttf"),
            std::tuple(QStringLiteral("Arial"), 8, false, QStringLiteral("Face.ttf"), true));
  EXPECT_FALSE(ReadAs("Arial,8,Bold", font).second);
  EXPECT_FALSE(ReadAs("Arial,big,Bold,off", font).second);
}

}  // namespace
}  // namespace kiv
