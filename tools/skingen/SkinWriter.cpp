#include "SkinWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <map>
#include <utility>
#include <vector>

#include "PanelArt.h"
#include "panel/SkinPictures.h"

namespace skingen {
namespace {

QString Picture(kiv::SkinControl control, kiv::PictureState state = kiv::PictureState::Rest) {
  return QLatin1String(kiv::SkinPictureName(control, state));
}

QString Row(kiv::SkinControl control) { return QLatin1String(kiv::PicturesOf(control)->row); }

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

// The recorder's control for each key of the design; its file names and key-file row come from
// the recorder's picture table.
struct KeyControl {
  KeyId id;
  kiv::SkinControl control;
};

const KeyControl kKeyControls[] = {
    {KeyId::Pause, kiv::SkinControl::PauseButton},
    {KeyId::Play, kiv::SkinControl::playButton},
    {KeyId::Record, kiv::SkinControl::recButton},
    {KeyId::Stop, kiv::SkinControl::stopButton},
    {KeyId::Del, kiv::SkinControl::delButton},
    {KeyId::Settings, kiv::SkinControl::moreButton},
    {KeyId::Off, kiv::SkinControl::exitButton},
    {KeyId::FastRewind, kiv::SkinControl::rewSButton},
    {KeyId::Rewind, kiv::SkinControl::rewButton},
    {KeyId::Forward, kiv::SkinControl::forwButton},
    {KeyId::FastForward, kiv::SkinControl::forwEButton},
    {KeyId::VolPlus, kiv::SkinControl::VolPlusButton},
    {KeyId::VolMinus, kiv::SkinControl::VolMinusButton},
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
  for (const KeyControl& k : kKeyControls) {
    bitmaps.emplace_back(Picture(k.control), d.key(k.id).box);
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
      {Row(kiv::SkinControl::volButton), PointOn(d.knob.topLeft())},
      {QStringLiteral("VolumeIndicatorPos"), Box(d.gauge)},
      {QStringLiteral("VolumeIndicatorBGColor"), Colour(c.gaugeBack)},
      {QStringLiteral("VolumeIndicatorFGColor"), Colour(c.gaugeBar)},
      {Row(kiv::SkinControl::PauseButton), Point(d.key(KeyId::Pause).box.topLeft())},
      {Row(kiv::SkinControl::playButton), Point(d.key(KeyId::Play).box.topLeft())},
      {Row(kiv::SkinControl::recButton), Point(d.key(KeyId::Record).box.topLeft())},
      {Row(kiv::SkinControl::stopButton), Point(d.key(KeyId::Stop).box.topLeft())},
      {Row(kiv::SkinControl::delButton), Point(d.key(KeyId::Del).box.topLeft())},
      {Row(kiv::SkinControl::moreButton), Point(d.key(KeyId::Settings).box.topLeft())},
      {Row(kiv::SkinControl::rewSButton), Point(d.key(KeyId::FastRewind).box.topLeft())},
      {Row(kiv::SkinControl::rewButton), Point(d.key(KeyId::Rewind).box.topLeft())},
      {Row(kiv::SkinControl::forwButton), Point(d.key(KeyId::Forward).box.topLeft())},
      {Row(kiv::SkinControl::forwEButton), Point(d.key(KeyId::FastForward).box.topLeft())},
      {Row(kiv::SkinControl::exitButton), Point(d.key(KeyId::Off).box.topLeft())},
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
      {Row(kiv::SkinControl::WheelL), PointOn(d.leftWheel.topLeft())},
      {Row(kiv::SkinControl::WheelD), PointOn(d.rightWheel.topLeft())},
      {Row(kiv::SkinControl::UserBMP), Box(d.logo)},
      {QStringLiteral("GraphicAnalyserL"), BoxOn(d.large.analyser)},
      {QStringLiteral("GraphicAnalyserS"), BoxOn(d.small.analyser)},
      {QStringLiteral("GraphicAnalyserPlFGColor"), Colour(c.analyserPlay)},
      {QStringLiteral("GraphicAnalyserRecFGColor"), Colour(c.analyserRecord)},
      {QStringLiteral("GraphicAnalyserBGColor"), Colour(c.analyserBack)},
      {QStringLiteral("GraphicAnalyserLineL"), BoxOn(d.large.analyserLine)},
      {QStringLiteral("GraphicAnalyserLineS"), BoxOn(d.small.analyserLine)},
      {Row(kiv::SkinControl::VolPlusButton), PointOn(d.key(KeyId::VolPlus).box.topLeft())},
      {Row(kiv::SkinControl::VolMinusButton), PointOn(d.key(KeyId::VolMinus).box.topLeft())},
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

  using kiv::PictureState;
  using kiv::SkinControl;
  std::map<QString, QImage> files;
  files[Picture(SkinControl::ZvSkin1)] = rest;
  files[Picture(SkinControl::UserBMP)] = rest.copy(d.logo);
  files[Picture(SkinControl::volButton)] = rest.copy(d.knob);
  files[Picture(SkinControl::volButton, PictureState::TurningUp)] =
      PaintPanel(d, PanelState{{}, 0, KnobTurn::Up}).copy(d.knob);
  files[Picture(SkinControl::volButton, PictureState::TurningDown)] =
      PaintPanel(d, PanelState{{}, 0, KnobTurn::Down}).copy(d.knob);
  const QImage turned = PaintPanel(d, PanelState{{}, 1, KnobTurn::Rest});
  for (const auto& [wheel, box] : {std::pair{SkinControl::WheelL, d.leftWheel},
                                   std::pair{SkinControl::WheelD, d.rightWheel}}) {
    files[Picture(wheel)] = rest.copy(box);
    files[Picture(wheel, PictureState::Turned)] = turned.copy(box);
  }
  for (const KeyControl& k : kKeyControls) {
    const QRect box = d.key(k.id).box;
    files[Picture(k.control)] = rest.copy(box);
    if (kiv::SkinPictureName(k.control, PictureState::Pressed) != nullptr) {
      files[Picture(k.control, PictureState::Pressed)] =
          PaintPanel(d, PanelState{k.id, 0, KnobTurn::Rest}).copy(box);
    }
  }
  // The recorder must find every picture its table names.
  QString missing;
  kiv::ForEachSkinPicture([&](SkinControl, const char* name) {
    if (files.count(QLatin1String(name)) == 0) missing = QLatin1String(name);
  });
  if (!missing.isEmpty()) return QStringLiteral("%1: no art for %2").arg(d.name, missing);

  for (const auto& [name, image] : files) {
    if (name != Picture(SkinControl::ZvSkin1) && HoldsTransparentKey(image)) {
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
