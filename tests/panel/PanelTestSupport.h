// Helpers for the panel's tests: a skin target that records what a load did to it, and a
// throw-away program folder with skins written from key/value rows and tiny bitmaps.
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include "panel/SkinTarget.h"

// Readable failure messages; every panel test includes this file, so all of them print alike.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QColor& color, std::ostream* os) { *os << color.name().toStdString(); }
inline void PrintTo(const QPoint& point, std::ostream* os) {
  *os << '(' << point.x() << ", " << point.y() << ')';
}
inline void PrintTo(const QSize& size, std::ostream* os) {
  *os << size.width() << 'x' << size.height();
}
inline void PrintTo(const QRect& rect, std::ostream* os) {
  *os << rect.width() << 'x' << rect.height() << " at (" << rect.x() << ", " << rect.y() << ')';
}

namespace kiv::test {

// The state a SkinTarget would have after the calls it received, and the calls in order.
class RecordingSkinTarget : public SkinTarget {
 public:
  struct Control {
    std::optional<bool> visible;
    std::optional<QPoint> topLeft;
    std::optional<QSize> pictureSize;
    std::optional<QRect> box;
    std::optional<SkinFont> font;
    std::optional<QColor> labelColor;
  };

  void SetControlVisible(SkinControl control, bool visible) override {
    controls[control].visible = visible;
    Log(control, visible ? "shown" : "hidden");
  }
  void PlaceControl(SkinControl control, QPoint topLeft) override {
    controls[control].topLeft = topLeft;
    Log(control, "placed");
  }
  void SetControlPicture(SkinControl control, const QImage& picture) override {
    controls[control].pictureSize = picture.size();
    Log(control, "picture");
  }
  void SetControlBox(SkinControl control, QRect box) override {
    controls[control].box = box;
    Log(control, "box");
  }
  void SetControlFont(SkinControl control, const SkinFont& font) override {
    controls[control].font = font;
    Log(control, "font");
  }
  void SetLabelColor(SkinControl label, QColor color) override {
    controls[label].labelColor = color;
    Log(label, "colour");
  }
  void SetSkinColor(SkinColor role, QColor color) override {
    colors[role] = color;
    calls.append(QStringLiteral("colour %1").arg(static_cast<int>(role)));
  }
  void SetTickerColorTag(int number, const QString& tag) override {
    tags[number] = tag;
    calls.append(QStringLiteral("tag %1").arg(number));
  }
  void TickerFontApplied() override {
    ++tickerRestarts;
    calls.append(QStringLiteral("ticker restarted"));
  }
  void SetLogo(const QImage& picture, const QString& link, const QString& hint) override {
    logoSize = picture.size();
    logoLink = link;
    logoHint = hint;
    calls.append(QStringLiteral("logo"));
  }
  void SetPanelPicture(const QImage& picture) override {
    panelSize = picture.size();
    calls.append(QStringLiteral("panel"));
  }

  Control& operator[](SkinControl control) { return controls[control]; }
  bool Touched(SkinControl control) const { return controls.count(control) != 0; }

  std::map<SkinControl, Control> controls;
  std::map<SkinColor, QColor> colors;
  std::map<int, QString> tags;
  int tickerRestarts = 0;
  std::optional<QSize> logoSize;
  QString logoLink;
  QString logoHint;
  std::optional<QSize> panelSize;
  QStringList calls;

 private:
  void Log(SkinControl control, const char* what) {
    calls.append(QLatin1String(SkinControlName(control)) + u' ' + QLatin1String(what));
  }
};

using KeyRows = std::vector<std::pair<QString, QString>>;

// A skin every row of which loads, with a distinct size for each picture so a test can tell
// which picture went where.
inline KeyRows CompleteSkinRows() {
  return {
      {QStringLiteral("VolumeButton"), QStringLiteral("10,8,on")},
      {QStringLiteral("VolumeIndicatorPos"), QStringLiteral("99,78,5,40")},
      {QStringLiteral("VolumeIndicatorBGColor"), QStringLiteral("000000")},
      {QStringLiteral("VolumeIndicatorFGColor"), QStringLiteral("1E90FF")},
      {QStringLiteral("Pause"), QStringLiteral("20,30")},
      {QStringLiteral("Play"), QStringLiteral("40,30")},
      {QStringLiteral("Record"), QStringLiteral("60,30")},
      {QStringLiteral("Stop"), QStringLiteral("80,30")},
      {QStringLiteral("Del"), QStringLiteral("100,30")},
      {QStringLiteral("Settings"), QStringLiteral("120,30")},
      {QStringLiteral("FastRewind"), QStringLiteral("20,50")},
      {QStringLiteral("Rewind"), QStringLiteral("40,50")},
      {QStringLiteral("Forward"), QStringLiteral("60,50")},
      {QStringLiteral("FastForward"), QStringLiteral("80,50")},
      {QStringLiteral("Off"), QStringLiteral("100,50")},
      {QStringLiteral("TickerTapeS"), QStringLiteral("10,100,14,120")},
      {QStringLiteral("TickerTapeL"), QStringLiteral("12,120,18,150")},
      {QStringLiteral("TickerTapeColor"), QStringLiteral("202020")},
      {QStringLiteral("TickerTapeTextColor1"), QStringLiteral("FF00")},
      {QStringLiteral("TickerTapeTextColor2"), QStringLiteral("FFFF")},
      {QStringLiteral("TickerTapeTextColor3"), QStringLiteral("FF")},
      {QStringLiteral("TickerTapeTextColor4"), QStringLiteral("FFFFFF")},
      {QStringLiteral("TickerTapeFont"), QStringLiteral("\"Courier New\",8,Bold,off")},
      {QStringLiteral("MessageLabelS"), QStringLiteral("10,120,12,40")},
      {QStringLiteral("MessageLabelL"), QStringLiteral("10,140,15,50")},
      {QStringLiteral("MessageLabelColor"), QStringLiteral("00FF00")},
      {QStringLiteral("MessageLabelFont"), QStringLiteral("Arial,7,Regular,off")},
      {QStringLiteral("CountLabelS"), QStringLiteral("60,120,12,60")},
      {QStringLiteral("CountLabelL"), QStringLiteral("70,140,15,70")},
      {QStringLiteral("CountLabelColor"), QStringLiteral("FFFF00")},
      {QStringLiteral("CountLabelFont"), QStringLiteral("Arial,9,Bold,off")},
      {QStringLiteral("LeftWheel"), QStringLiteral("30,70,on")},
      {QStringLiteral("RightWheel"), QStringLiteral("70,70,on")},
      {QStringLiteral("UserBMP"), QStringLiteral("5,5,20,60")},
      {QStringLiteral("GraphicAnalyserS"), QStringLiteral("130,100,20,50,on")},
      {QStringLiteral("GraphicAnalyserL"), QStringLiteral("140,120,25,60,on")},
      {QStringLiteral("GraphicAnalyserPlFGColor"), QStringLiteral("00FF00")},
      {QStringLiteral("GraphicAnalyserRecFGColor"), QStringLiteral("FF0000")},
      {QStringLiteral("GraphicAnalyserBGColor"), QStringLiteral("000000")},
      {QStringLiteral("GraphicAnalyserLineS"), QStringLiteral("130,121,1,50,on")},
      {QStringLiteral("GraphicAnalyserLineL"), QStringLiteral("140,146,2,60,on")},
      {QStringLiteral("VolPlusButton"), QStringLiteral("150,8,on")},
      {QStringLiteral("VolMinusButton"), QStringLiteral("150,20,on")},
  };
}

// The skin's pictures; the width tells them apart (the height is 7 for all).
inline std::vector<std::pair<QString, int>> CompleteSkinPictures() {
  return {
      {QStringLiteral("VolPMM.bmp"), 11},       {QStringLiteral("PauseM.bmp"), 12},
      {QStringLiteral("PlayM.bmp"), 13},        {QStringLiteral("RecM.bmp"), 14},
      {QStringLiteral("StopM.bmp"), 15},        {QStringLiteral("DelM.bmp"), 16},
      {QStringLiteral("MoreM.bmp"), 17},        {QStringLiteral("FastBackwardM.bmp"), 18},
      {QStringLiteral("BackwardM.bmp"), 19},    {QStringLiteral("ForwardM.bmp"), 20},
      {QStringLiteral("FastForwardM.bmp"), 21}, {QStringLiteral("OffM.bmp"), 22},
      {QStringLiteral("WheelLA.bmp"), 23},      {QStringLiteral("WheelDA.bmp"), 24},
      {QStringLiteral("Logo.bmp"), 25},         {QStringLiteral("VolPlusM.bmp"), 26},
      {QStringLiteral("VolMinusM.bmp"), 27},    {QStringLiteral("DictaphoneA.BMP"), 160},
  };
}

inline void SetRow(KeyRows& rows, const QString& key, const QString& value) {
  for (auto& row : rows) {
    if (row.first == key) {
      row.second = value;
      return;
    }
  }
  rows.emplace_back(key, value);
}

inline void RemoveRow(KeyRows& rows, const QString& key) {
  std::erase_if(rows, [&key](const auto& row) { return row.first == key; });
}

// A program folder in a temporary directory, removed with the object.
class ProgramFolder {
 public:
  ProgramFolder() { QDir(dir_.path()).mkpath(QStringLiteral("Skin")); }

  QString Path() const { return dir_.path() + u'/'; }
  QString SkinDir() const { return dir_.path() + QStringLiteral("/Skin/"); }

  // Skin/<fileName> holding [section] and the rows, one "key=value" a line.
  void WriteKeyFile(const QString& fileName, const QString& section, const KeyRows& rows) const {
    QByteArray text = "; written by a test\r\n[" + section.toLatin1() + "]\r\n";
    for (const auto& [key, value] : rows) text += key.toLatin1() + '=' + value.toLatin1() + "\r\n";
    WriteFile(SkinDir() + fileName, text);
  }

  // Skin/<folder>/<name>, a BMP of the given size filled with `fill`.
  void WritePicture(const QString& folder, const QString& name, QSize size,
                    QColor fill = QColor(90, 90, 90)) const {
    QDir(SkinDir()).mkpath(folder);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(fill);
    picture.save(SkinDir() + folder + u'/' + name, "BMP");
  }

  // The key file and every picture of a complete skin named `name`.
  void WriteSkin(const QString& name, const KeyRows& rows = CompleteSkinRows()) const {
    WriteKeyFile(name + QStringLiteral(".set"), name, rows);
    for (const auto& [picture, width] : CompleteSkinPictures()) {
      WritePicture(name, picture, QSize(width, 7));
    }
  }

  static void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
  }

 private:
  QTemporaryDir dir_;
};

}  // namespace kiv::test
