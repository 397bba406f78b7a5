#include "SkinWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <map>
#include <utility>
#include <vector>

#include "PanelArt.h"

namespace skingen {
namespace {

QString Point(QPoint p) { return QStringLiteral("%1,%2").arg(p.x()).arg(p.y()); }

QString PointOn(QPoint p) { return Point(p) + QStringLiteral(",on"); }

// Box values give the height before the width.
QString Box(QRect r) {
  return QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.height()).arg(r.width());
}

QString BoxOn(QRect r) { return Box(r) + QStringLiteral(",on"); }

QString Hex2(int v) { return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper(); }

// Colour keys: red, green, blue.
QString Colour(QColor c) { return Hex2(c.red()) + Hex2(c.green()) + Hex2(c.blue()); }

// Ticker colours are the system colour value itself: blue, green, red.
QString SystemColour(QColor c) { return Hex2(c.blue()) + Hex2(c.green()) + Hex2(c.red()); }

QString Font(const QString& face, int size) {
  return QStringLiteral("\"%1\",%2,Bold,off").arg(face).arg(size);
}

struct KeyFiles {
  KeyId id;
  const char* at_rest;
  const char* pressed;  // nullptr: the key has one bitmap only
};

// Bitmap names as the recorder spells them.
const KeyFiles kKeyFiles[] = {
    {KeyId::Pause, "PauseM.bmp", "PauseA.BMP"},
    {KeyId::Play, "PlayM.bmp", "PlayA.BMP"},
    {KeyId::Record, "RecM.bmp", "RecA.BMP"},
    {KeyId::Stop, "StopM.bmp", "StopA.BMP"},
    {KeyId::Del, "DelM.bmp", nullptr},
    {KeyId::Settings, "MoreM.bmp", nullptr},
    {KeyId::Off, "OffM.bmp", nullptr},
    {KeyId::FastRewind, "FastBackwardM.bmp", "FastBackwardA.bmp"},
    {KeyId::Rewind, "BackwardM.bmp", "BackwardA.bmp"},
    {KeyId::Forward, "ForwardM.bmp", "ForwardA.bmp"},
    {KeyId::FastForward, "FastForwardM.bmp", "FastForwardA.bmp"},
    {KeyId::VolPlus, "VolPlusM.bmp", "VolPlusA.bmp"},
    {KeyId::VolMinus, "VolMinusM.bmp", "VolMinusA.bmp"},
};

bool HoldsTransparentKey(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == kTransparentKey) return true;
    }
  }
  return false;
}

// The controls the recorder lays over the panel must not cover one another, and what it draws in
// the display must stay on the glass.
QString CheckLayout(const Design& d) {
  std::vector<std::pair<QString, QRect>> bitmaps = {
      {QStringLiteral("volume knob"), d.knob},
      {QStringLiteral("left wheel"), d.leftWheel},
      {QStringLiteral("right wheel"), d.rightWheel},
      {QStringLiteral("logo"), d.logo},
  };
  for (const KeyFiles& k : kKeyFiles) {
    bitmaps.emplace_back(QString::fromLatin1(k.at_rest), d.key(k.id).box);
  }
  for (const DisplayBoxes* boxes : {&d.small, &d.large}) {
    for (const QRect& r : {boxes->ticker, boxes->message, boxes->count, boxes->analyser,
                           boxes->analyserLine, d.gauge}) {
      if (!d.glass.contains(r))
        return QStringLiteral("%1: a display box is off the glass").arg(d.name);
    }
    if (boxes->message.intersects(boxes->count) || boxes->ticker.intersects(boxes->message) ||
        boxes->ticker.intersects(boxes->count) || boxes->analyser.intersects(boxes->analyserLine) ||
        d.gauge.intersects(boxes->analyser) || d.gauge.intersects(boxes->message)) {
      return QStringLiteral("%1: display boxes overlap").arg(d.name);
    }
  }
  bitmaps.emplace_back(QStringLiteral("display"), d.bezel);
  bitmaps.emplace_back(QStringLiteral("cassette window"), d.cassetteWindow);
  for (size_t i = 0; i < bitmaps.size(); ++i) {
    if (!QRect(QPoint(0, 0), d.canvas).contains(bitmaps[i].second)) {
      return QStringLiteral("%1: %2 is off the panel").arg(d.name, bitmaps[i].first);
    }
    for (size_t j = i + 1; j < bitmaps.size(); ++j) {
      const bool wheelInWindow =
          bitmaps[j].first == QStringLiteral("cassette window") && (i == 1 || i == 2);
      if (!wheelInWindow && bitmaps[i].second.intersects(bitmaps[j].second)) {
        return QStringLiteral("%1: %2 and %3 overlap")
            .arg(d.name, bitmaps[i].first, bitmaps[j].first);
      }
    }
  }
  return QString();
}

}  // namespace

QString KeyFileText(const Design& d) {
  const Palette& c = d.colours;
  std::vector<std::pair<QString, QString>> keys = {
      {QStringLiteral("VolumeButton"), PointOn(d.knob.topLeft())},
      {QStringLiteral("VolumeIndicatorPos"), Box(d.gauge)},
      {QStringLiteral("VolumeIndicatorBGColor"), Colour(c.gaugeBack)},
      {QStringLiteral("VolumeIndicatorFGColor"), Colour(c.gaugeBar)},
      {QStringLiteral("Pause"), Point(d.key(KeyId::Pause).box.topLeft())},
      {QStringLiteral("Play"), Point(d.key(KeyId::Play).box.topLeft())},
      {QStringLiteral("Record"), Point(d.key(KeyId::Record).box.topLeft())},
      {QStringLiteral("Stop"), Point(d.key(KeyId::Stop).box.topLeft())},
      {QStringLiteral("Del"), Point(d.key(KeyId::Del).box.topLeft())},
      {QStringLiteral("Settings"), Point(d.key(KeyId::Settings).box.topLeft())},
      {QStringLiteral("FastRewind"), Point(d.key(KeyId::FastRewind).box.topLeft())},
      {QStringLiteral("Rewind"), Point(d.key(KeyId::Rewind).box.topLeft())},
      {QStringLiteral("Forward"), Point(d.key(KeyId::Forward).box.topLeft())},
      {QStringLiteral("FastForward"), Point(d.key(KeyId::FastForward).box.topLeft())},
      {QStringLiteral("Off"), Point(d.key(KeyId::Off).box.topLeft())},
      {QStringLiteral("TickerTapeL"), Box(d.large.ticker)},
      {QStringLiteral("TickerTapeS"), Box(d.small.ticker)},
      {QStringLiteral("TickerTapeColor"), Colour(c.lcdBack)},
      {QStringLiteral("TickerTapeTextColor1"), SystemColour(c.ticker[0])},
      {QStringLiteral("TickerTapeTextColor2"), SystemColour(c.ticker[1])},
      {QStringLiteral("TickerTapeTextColor3"), SystemColour(c.ticker[2])},
      {QStringLiteral("TickerTapeTextColor4"), SystemColour(c.ticker[3])},
      {QStringLiteral("TickerTapeFont"), Font(d.tickerFont, d.tickerFontSize)},
      {QStringLiteral("MessageLabelL"), Box(d.large.message)},
      {QStringLiteral("MessageLabelS"), Box(d.small.message)},
      {QStringLiteral("MessageLabelColor"), Colour(c.lcdText)},
      {QStringLiteral("MessageLabelFont"), Font(d.labelFont, d.labelFontSize)},
      {QStringLiteral("CountLabelL"), Box(d.large.count)},
      {QStringLiteral("CountLabelS"), Box(d.small.count)},
      {QStringLiteral("CountLabelColor"), Colour(c.lcdText)},
      {QStringLiteral("CountLabelFont"), Font(d.counterFont, d.counterFontSize)},
      {QStringLiteral("LeftWheel"), PointOn(d.leftWheel.topLeft())},
      {QStringLiteral("RightWheel"), PointOn(d.rightWheel.topLeft())},
      {QStringLiteral("UserBMP"), Box(d.logo)},
      {QStringLiteral("GraphicAnalyserL"), BoxOn(d.large.analyser)},
      {QStringLiteral("GraphicAnalyserS"), BoxOn(d.small.analyser)},
      {QStringLiteral("GraphicAnalyserPlFGColor"), Colour(c.analyserPlay)},
      {QStringLiteral("GraphicAnalyserRecFGColor"), Colour(c.analyserRecord)},
      {QStringLiteral("GraphicAnalyserBGColor"), Colour(c.analyserBack)},
      {QStringLiteral("GraphicAnalyserLineL"), BoxOn(d.large.analyserLine)},
      {QStringLiteral("GraphicAnalyserLineS"), BoxOn(d.small.analyserLine)},
      {QStringLiteral("VolPlusButton"), PointOn(d.key(KeyId::VolPlus).box.topLeft())},
      {QStringLiteral("VolMinusButton"), PointOn(d.key(KeyId::VolMinus).box.topLeft())},
  };
  QString text;
  text += QStringLiteral(
              "; Kiv Sound Recorder skin \"%1\", made by kivrec-skingen from "
              "tools/skingen; change the generator, not this file.\n")
              .arg(d.name);
  text += QStringLiteral(
      "; Points are left,top; boxes left,top,height,width; colours RRGGBB; "
      "ticker colours BBGGRR.\n");
  text += QStringLiteral("[%1]\n").arg(d.name);
  for (const auto& [key, value] : keys) text += key + QLatin1Char('=') + value + QLatin1Char('\n');
  return text;
}

QString WriteSkin(const Design& d, const QString& skinRoot) {
  const QString layoutProblem = CheckLayout(d);
  if (!layoutProblem.isEmpty()) return layoutProblem;
  const QDir root(skinRoot);
  if (!root.mkpath(d.name)) return QStringLiteral("cannot create %1").arg(root.filePath(d.name));
  const QDir folder(root.filePath(d.name));

  // Every picture the bitmaps are cut from, by state.
  const QImage rest = PaintPanel(d, PanelState{});
  const QPoint bottomLeft(0, rest.height() - 1);
  if (rest.pixel(bottomLeft) != kTransparentKey) {
    return QStringLiteral("%1: the panel's bottom-left pixel is not magenta").arg(d.name);
  }

  std::map<QString, QImage> files;
  files[QStringLiteral("DictaphoneA.BMP")] = rest;
  files[QStringLiteral("Logo.bmp")] = rest.copy(d.logo);
  files[QStringLiteral("VolPMM.bmp")] = rest.copy(d.knob);
  files[QStringLiteral("VolPA.bmp")] = PaintPanel(d, PanelState{{}, 0, KnobTurn::Up}).copy(d.knob);
  files[QStringLiteral("VolMA.bmp")] =
      PaintPanel(d, PanelState{{}, 0, KnobTurn::Down}).copy(d.knob);
  const QImage turned = PaintPanel(d, PanelState{{}, 1, KnobTurn::Rest});
  files[QStringLiteral("WheelLA.bmp")] = rest.copy(d.leftWheel);
  files[QStringLiteral("WheelLB.bmp")] = turned.copy(d.leftWheel);
  files[QStringLiteral("WheelDA.bmp")] = rest.copy(d.rightWheel);
  files[QStringLiteral("WheelDB.bmp")] = turned.copy(d.rightWheel);
  for (const KeyFiles& k : kKeyFiles) {
    const QRect box = d.key(k.id).box;
    files[QString::fromLatin1(k.at_rest)] = rest.copy(box);
    if (k.pressed != nullptr) {
      files[QString::fromLatin1(k.pressed)] =
          PaintPanel(d, PanelState{k.id, 0, KnobTurn::Rest}).copy(box);
    }
  }

  for (const auto& [name, image] : files) {
    if (name != QStringLiteral("DictaphoneA.BMP") && HoldsTransparentKey(image)) {
      return QStringLiteral("%1: %2 lies partly outside the body").arg(d.name, name);
    }
    // Through a temporary file, so that an interrupted build never leaves half a bitmap.
    QSaveFile out(folder.filePath(name));
    if (!out.open(QIODevice::WriteOnly) ||
        !image.convertToFormat(QImage::Format_RGB888).save(&out, "BMP") || !out.commit()) {
      return QStringLiteral("cannot write %1").arg(folder.filePath(name));
    }
  }

  QSaveFile keyFile(root.filePath(d.name + QStringLiteral(".set")));
  if (!keyFile.open(QIODevice::WriteOnly) || keyFile.write(KeyFileText(d).toLatin1()) < 0 ||
      !keyFile.commit()) {
    return QStringLiteral("cannot write %1").arg(keyFile.fileName());
  }
  return QString();
}

}  // namespace skingen
