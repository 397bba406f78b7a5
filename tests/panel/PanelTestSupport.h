// Helpers for the panel's tests: a skin target that records what a load did to it, and a
// throw-away program folder with skins written from key/value rows and tiny bitmaps.
#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "panel/SkinPictures.h"
#include "panel/SkinTarget.h"

// Readable failure messages; every panel test includes this file, so all of them print alike.
inline void PrintTo(const QString& t, std::ostream* os) { *os << '"' << t.toStdString() << '"'; }
inline void PrintTo(const QColor& color, std::ostream* os) { *os << color.name().toStdString(); }
inline void PrintTo(const QPoint& p, std::ostream* os) { *os << p.x() << ',' << p.y(); }
inline void PrintTo(const QSize& s, std::ostream* os) { *os << s.width() << 'x' << s.height(); }
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.width() << 'x' << r.height() << " at " << r.x() << ',' << r.y();
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

  void SetControlVisible(SkinControl c, bool visible) override {
    Log(c, visible ? "shown" : "hidden").visible = visible;
  }
  void PlaceControl(SkinControl c, QPoint topLeft) override { Log(c, "placed").topLeft = topLeft; }
  void SetControlPicture(SkinControl c, const QImage& picture) override {
    Log(c, "picture").pictureSize = picture.size();
  }
  void SetControlBox(SkinControl c, QRect box) override { Log(c, "box").box = box; }
  void SetControlFont(SkinControl c, const SkinFont& font) override { Log(c, "font").font = font; }
  void SetLabelColor(SkinControl c, QColor color) override { Log(c, "colour").labelColor = color; }
  void SetSkinColor(SkinColor role, QColor color) override {
    colors[role] = color;
    calls.append(QStringLiteral("colour %1").arg(static_cast<int>(role)));
  }
  void SetTickerColorTag(int number, const QString& tag) override {
    tags[number] = tag;
    calls.append(QStringLiteral("tag %1").arg(number));
  }
  void TickerFontApplied() override { calls.append(QStringLiteral("ticker restarted")); }
  void SetLogo(const QImage& picture, const QString& link, const QString&) override {
    logoSize = picture.size();
    logoLink = link;
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
  std::optional<QSize> logoSize;
  QString logoLink;
  std::optional<QSize> panelSize;
  QStringList calls;

 private:
  Control& Log(SkinControl control, const char* what) {
    calls.append(QLatin1String(SkinControlName(control)) + u' ' + QLatin1String(what));
    return controls[control];
  }
};

using KeyRows = std::vector<std::pair<QString, QString>>;

// A skin every row of which loads: key=value rows split by "|".
inline KeyRows CompleteSkinRows() {
  static const char kRows[] =
      "VolumeButton=10,8,on|VolumeIndicatorPos=99,78,5,40|VolumeIndicatorBGColor=000000|"
      "VolumeIndicatorFGColor=1E90FF|Pause=20,30|Play=40,30|Record=60,30|Stop=80,30|Del=100,30|"
      "Settings=120,30|FastRewind=20,50|Rewind=40,50|Forward=60,50|FastForward=80,50|Off=100,50|"
      "TickerTapeS=10,100,14,120|TickerTapeL=12,120,18,150|TickerTapeColor=202020|"
      "TickerTapeTextColor1=FF00|TickerTapeTextColor2=FFFF|TickerTapeTextColor3=FF|"
      "TickerTapeTextColor4=FFFFFF|TickerTapeFont=\"Courier New\",8,Bold,off|"
      "MessageLabelS=10,120,12,40|MessageLabelL=10,140,15,50|MessageLabelColor=00FF00|"
      "MessageLabelFont=Arial,7,Regular,off|CountLabelS=60,120,12,60|CountLabelL=70,140,15,70|"
      "CountLabelColor=FFFF00|CountLabelFont=Arial,9,Bold,off|LeftWheel=30,70,on|"
      "RightWheel=70,70,on|UserBMP=5,5,20,60|GraphicAnalyserS=130,100,20,50,on|"
      "GraphicAnalyserL=140,120,25,60,on|GraphicAnalyserPlFGColor=00FF00|"
      "GraphicAnalyserRecFGColor=FF0000|GraphicAnalyserBGColor=000000|"
      "GraphicAnalyserLineS=130,121,1,50,on|GraphicAnalyserLineL=140,146,2,60,on|"
      "VolPlusButton=150,8,on|VolMinusButton=150,20,on";
  KeyRows rows;
  for (const QString& row : QString::fromLatin1(kRows).split(u'|')) {
    const qsizetype equals = row.indexOf(u'=');
    rows.emplace_back(row.left(equals), row.mid(equals + 1));
  }
  return rows;
}

// Every resting picture is 7 pixels high; its width tells the controls apart.
inline int RestWidth(SkinControl c) {
  return c == SkinControl::ZvSkin1 ? 160 : 10 + int(PicturesOf(c) - kControlPictures.data());
}

// Sets `key` to `value`; a null `value` removes the row. The loader looks rows up by key, so
// where the row lands does not matter.
inline void SetRow(KeyRows& rows, const QString& key, const QString& value = {}) {
  std::erase_if(rows, [&key](const auto& row) { return row.first == key; });
  if (!value.isNull()) rows.emplace_back(key, value);
}

// A program folder in a temporary directory, removed with the object.
class ProgramFolder {
 public:
  ProgramFolder() { QDir(dir_.path()).mkpath(QStringLiteral("Skin")); }

  QString Path() const { return dir_.path() + u'/'; }
  QString SkinDir() const { return dir_.path() + QStringLiteral("/Skin/"); }
  QString PicturePath(const QString& skin, SkinControl control) const {
    return SkinDir() + skin + u'/' + QLatin1String(SkinPictureName(control));
  }

  // Skin/<fileName> holding [section] and the rows, one "key=value" a line.
  void WriteKeyFile(const QString& fileName, const QString& section, const KeyRows& rows) const {
    QByteArray text = "; written by a test\r\n[" + section.toLatin1() + "]\r\n";
    for (const auto& [key, value] : rows) text += key.toLatin1() + '=' + value.toLatin1() + "\r\n";
    WriteFile(SkinDir() + fileName, text);
  }

  // Skin/<folder>/<name>, a grey BMP of the given size.
  void WritePicture(const QString& folder, const QString& name, QSize size) const {
    QDir(SkinDir()).mkpath(folder);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(90, 90, 90));
    picture.save(SkinDir() + folder + u'/' + name, "BMP");
  }

  // The key file and every resting picture of a complete skin named `name`.
  void WriteSkin(const QString& name, const KeyRows& rows = CompleteSkinRows()) const {
    WriteKeyFile(name + QStringLiteral(".set"), name, rows);
    for (const ControlPictures& entry : kControlPictures) {
      WritePicture(name, QLatin1String(entry.rest), QSize(RestWidth(entry.control), 7));
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
