#include "SkinPreview.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QMap>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "panel/SkinPictures.h"

namespace skingen {
namespace {

// ---- Reading the key file back, the way the recorder does -------------------------------------

// Items are separated by commas or unquoted blanks; an item opening with a double quote runs to
// the closing one (a doubled quote stands for one); two commas in a row give an empty item.
QStringList SplitCommaText(const QString& text) {
  QStringList items;
  int i = 0;
  const int n = static_cast<int>(text.size());
  auto isBlank = [](QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; };
  while (i < n && isBlank(text[i])) ++i;
  while (i < n) {
    QString item;
    if (text[i] == QLatin1Char('"')) {
      ++i;
      while (i < n) {
        if (text[i] == QLatin1Char('"')) {
          if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
            item += QLatin1Char('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      while (i < n && text[i] != QLatin1Char(',') && !isBlank(text[i])) item += text[i++];
    }
    items << item;
    while (i < n && isBlank(text[i])) ++i;
    if (i < n && text[i] == QLatin1Char(',')) {
      ++i;
      while (i < n && isBlank(text[i])) ++i;
      if (i == n) items << QString();
    }
  }
  return items;
}

class KeyFile {
 public:
  bool load(const QString& path, const QString& section) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QString wanted = section.toLower();
    bool inSection = false;
    const QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
      line = line.trimmed();
      if (line.startsWith(QLatin1Char('['))) {
        inSection = line.mid(1, line.indexOf(QLatin1Char(']')) - 1).trimmed().toLower() == wanted;
        continue;
      }
      const qsizetype eq = line.indexOf(QLatin1Char('='));
      if (!inSection || line.startsWith(QLatin1Char(';')) || eq <= 0) continue;
      values_.insert(line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed());
    }
    return true;
  }
  QStringList items(const QString& key) const {
    return SplitCommaText(values_.value(key.toLower(), QStringLiteral("0")));
  }

 private:
  QMap<QString, QString> values_;
};

int Number(const QStringList& items, int index, bool* ok) {
  if (index >= items.size()) {
    *ok = false;
    return 0;
  }
  bool converted = false;
  const int value = items[index].toInt(&converted, 0);
  if (!converted) *ok = false;
  return value;
}

QColor ColourItem(const QStringList& items) {
  const QString digits = items.value(0);
  const QString swapped = digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
  const unsigned value = swapped.toUInt(nullptr, 16);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QColor SystemColourItem(const QStringList& items) {
  const unsigned value = items.value(0).toUInt(nullptr, 16);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QFont FontItem(const QStringList& items) {
  QFont font(items.value(0));
  font.setPointSize(items.value(1).toInt());
  font.setBold(items.value(2) == QStringLiteral("Bold"));
  return font;
}

// ---- Composing ---------------------------------------------------------------------------------

struct Look {
  bool pressed = false;  // every key's pressed bitmap, second wheel frame
  bool large = false;    // the L boxes
  bool recording = false;
  kiv::PictureState volume = kiv::PictureState::Rest;  // the volume key's picture
};

class Composer {
 public:
  Composer(const QString& root, const QString& name) : name_(name) {
    folder_ = QDir(QDir(root).filePath(name));
    // The recorder matches bitmap names without regard to case.
    const QStringList files = folder_.entryList(QDir::Files);
    for (const QString& f : files) byLowerName_.insert(f.toLower(), f);
    keysOk_ = keys_.load(QDir(root).filePath(name + QStringLiteral(".set")), name);
  }

  QImage compose(const Look& look, QString* error) {
    error_.clear();
    if (!keysOk_) {
      *error = QStringLiteral("cannot read the key file of %1").arg(name_);
      return QImage();
    }
    const QImage panel =
        bitmap(QString::fromLatin1(kiv::SkinPictureName(kiv::SkinControl::ZvSkin1)));
    if (panel.isNull()) {
      *error = error_;
      return QImage();
    }
    QImage window = panel.convertToFormat(QImage::Format_ARGB32);
    {
      QPainter p(&window);
      using C = kiv::SkinControl;
      // The control's pressed picture (a wheel's second frame) in the pressed look, if it has one.
      const auto pick = [&](C control) {
        const char* pressed = kiv::SkinPictureName(
            control, control == C::WheelL || control == C::WheelD ? kiv::PictureState::Turned
                                                                  : kiv::PictureState::Pressed);
        return QString::fromLatin1(look.pressed && pressed != nullptr
                                       ? pressed
                                       : kiv::SkinPictureName(control));
      };
      const auto row = [](C control) { return QString::fromLatin1(kiv::PicturesOf(control)->row); };
      placeSwitched(p, row(C::volButton),
                    QString::fromLatin1(kiv::SkinPictureName(C::volButton, look.volume)));
      gauge(p);
      place(p, row(C::PauseButton), pick(C::PauseButton));
      place(p, row(C::playButton), pick(C::playButton));
      place(p, row(C::recButton), pick(C::recButton));
      place(p, row(C::stopButton), pick(C::stopButton));
      place(p, row(C::delButton), pick(C::delButton));
      place(p, row(C::moreButton), pick(C::moreButton));
      place(p, row(C::rewSButton), pick(C::rewSButton));
      place(p, row(C::rewButton), pick(C::rewButton));
      place(p, row(C::forwButton), pick(C::forwButton));
      place(p, row(C::forwEButton), pick(C::forwEButton));
      place(p, row(C::exitButton), pick(C::exitButton));
      const QString variant = look.large ? QStringLiteral("L") : QStringLiteral("S");
      ticker(p, QStringLiteral("TickerTape") + variant);
      label(p, QStringLiteral("MessageLabel"), variant, QStringLiteral("2/5"));
      label(p, QStringLiteral("CountLabel"), variant,
            look.recording ? QStringLiteral("00:07 / 00:07") : QStringLiteral("00:12 / 01:30"));
      placeSwitched(p, row(C::WheelL), pick(C::WheelL));
      placeSwitched(p, row(C::WheelD), pick(C::WheelD));
      logo(p);
      analyser(p, QStringLiteral("GraphicAnalyser") + variant, look.recording);
      analyserLine(p, QStringLiteral("GraphicAnalyserLine") + variant);
      placeSwitched(p, row(C::VolPlusButton), pick(C::VolPlusButton));
      placeSwitched(p, row(C::VolMinusButton), pick(C::VolMinusButton));
    }
    if (!error_.isEmpty()) {
      *error = error_;
      return QImage();
    }
    // The window: every pixel unlike the bottom-left one, never the last column.
    const QRgb clear = panel.pixel(0, panel.height() - 1) | 0xFF000000u;
    for (int y = 0; y < window.height(); ++y) {
      for (int x = 0; x < window.width(); ++x) {
        const bool outside = (panel.pixel(x, y) | 0xFF000000u) == clear || x == panel.width() - 1;
        if (outside) window.setPixel(x, y, qRgba(0, 0, 0, 0));
      }
    }
    return window;
  }

  // Where the control placed by `key` has its middle: a box's middle, or a point plus half the
  // control's picture. False when the skin does not show it.
  bool middle(const QString& key, kiv::SkinControl control, bool isBox, QPoint* at) {
    const QStringList items = keys_.items(key);
    bool ok = true;
    const QPoint topLeft(Number(items, 0, &ok), Number(items, 1, &ok));
    if (!ok) return false;
    if (isBox) {
      *at = topLeft + QPoint(Number(items, 3, &ok) / 2, Number(items, 2, &ok) / 2);
      return ok;
    }
    const QImage picture = bitmap(QString::fromLatin1(kiv::SkinPictureName(control)));
    *at = topLeft + QPoint(picture.width() / 2, picture.height() / 2);
    return !picture.isNull();
  }

 private:
  QImage bitmap(const QString& name) {
    const QString actual = byLowerName_.value(name.toLower());
    QImage image;
    if (actual.isEmpty() || !image.load(folder_.filePath(actual), "BMP")) {
      if (error_.isEmpty()) error_ = QStringLiteral("%1: cannot load %2").arg(name_, name);
    }
    return image;
  }

  QRect box(const QString& key, bool withSwitch, bool* shown) {
    const QStringList items = keys_.items(key);
    *shown = !withSwitch || items.value(4) == QStringLiteral("on");
    bool ok = true;
    const QRect r(Number(items, 0, &ok), Number(items, 1, &ok), Number(items, 3, &ok),
                  Number(items, 2, &ok));
    if (!ok && *shown && error_.isEmpty())
      error_ = QStringLiteral("%1: bad value of %2").arg(name_, key);
    return r;
  }

  void place(QPainter& p, const QString& key, const QString& file) {
    const QStringList items = keys_.items(key);
    bool ok = true;
    const QPoint at(Number(items, 0, &ok), Number(items, 1, &ok));
    if (!ok) {
      if (error_.isEmpty()) error_ = QStringLiteral("%1: bad value of %2").arg(name_, key);
      return;
    }
    p.drawImage(at, bitmap(file));
  }

  void placeSwitched(QPainter& p, const QString& key, const QString& file) {
    const QStringList items = keys_.items(key);
    if (items.value(2) != QStringLiteral("on")) return;
    place(p, key, file);
  }

  void gauge(QPainter& p) {
    bool shown = true;
    const QRect r = box(QStringLiteral("VolumeIndicatorPos"), false, &shown);
    p.fillRect(r, ColourItem(keys_.items(QStringLiteral("VolumeIndicatorBGColor"))));
    p.fillRect(QRect(r.left(), r.top(), r.width() * 3 / 5, r.height()),
               ColourItem(keys_.items(QStringLiteral("VolumeIndicatorFGColor"))));
  }

  void ticker(QPainter& p, const QString& key) {
    bool shown = true;
    const QRect r = box(key, false, &shown);
    p.fillRect(r, ColourItem(keys_.items(QStringLiteral("TickerTapeColor"))));
    p.save();
    p.setClipRect(r);
    p.setFont(FontItem(keys_.items(QStringLiteral("TickerTapeFont"))));
    const QFontMetrics metrics(p.font());
    int x = r.left() + 4;
    const QString words[] = {QStringLiteral("Meeting notes"), QStringLiteral("Call Anna"),
                             QStringLiteral("Shopping list"), QStringLiteral("Ideas")};
    for (int i = 0; i < 4; ++i) {
      p.setPen(SystemColourItem(keys_.items(QStringLiteral("TickerTapeTextColor%1").arg(i + 1))));
      p.drawText(x, r.top() + metrics.ascent(), words[i]);
      x += metrics.horizontalAdvance(words[i]) + 5;
    }
    p.restore();
  }

  void label(QPainter& p, const QString& key, const QString& variant, const QString& text) {
    bool shown = true;
    const QRect r = box(key + variant, false, &shown);
    p.save();
    p.setClipRect(r);
    p.setFont(FontItem(keys_.items(key + QStringLiteral("Font"))));
    p.setPen(ColourItem(keys_.items(key + QStringLiteral("Color"))));
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop, text);
    p.restore();
  }

  void logo(QPainter& p) {
    bool shown = true;
    const QRect r = box(QString::fromLatin1(kiv::PicturesOf(kiv::SkinControl::UserBMP)->row), false,
                        &shown);
    p.drawImage(r, bitmap(QString::fromLatin1(kiv::SkinPictureName(kiv::SkinControl::UserBMP))));
  }

  // A made-up burst of speech, drawn the way the recorder draws its traces.
  void analyser(QPainter& p, const QString& key, bool recording) {
    bool shown = true;
    const QRect r = box(key, true, &shown);
    if (!shown) return;
    const QColor back = ColourItem(keys_.items(QStringLiteral("GraphicAnalyserBGColor")));
    const QColor ink =
        ColourItem(keys_.items(recording ? QStringLiteral("GraphicAnalyserRecFGColor")
                                         : QStringLiteral("GraphicAnalyserPlFGColor")));
    p.fillRect(r, back);
    std::vector<int> bytes(recording ? 1024 : 551);
    for (size_t i = 0; i < bytes.size(); ++i) {
      const double t = static_cast<double>(i) / static_cast<double>(bytes.size());
      const double envelope = std::sin(t * std::numbers::pi) * 0.9;
      const double wave = std::sin(t * 61.0) * 0.7 + std::sin(t * 143.0) * 0.3;
      bytes[i] = static_cast<int>(std::lround(128 + 127 * envelope * wave));
    }
    const int w = r.width();
    const int h = r.height();
    const int n = static_cast<int>(bytes.size());
    const float step = static_cast<float>(n / w);
    float f = 0;
    p.save();
    p.translate(r.topLeft());
    p.setClipRect(QRect(0, 0, w, h));
    p.setPen(ink);
    QPoint last(0, (bytes[0] * h - (recording ? 0 : 1)) / 255);
    for (int x = 0; x < w; ++x) {
      const QPoint next(x, (bytes[static_cast<size_t>(f)] * h - (recording ? 0 : 1)) / 255);
      p.drawLine(last, next);
      last = next;
      f += step;
    }
    p.restore();
  }

  void analyserLine(QPainter& p, const QString& key) {
    bool shown = true;
    const QRect r = box(key, true, &shown);
    if (!shown) return;
    p.fillRect(r, ColourItem(keys_.items(QStringLiteral("GraphicAnalyserPlFGColor"))));
  }

  QString name_;
  QDir folder_;
  QMap<QString, QString> byLowerName_;
  KeyFile keys_;
  bool keysOk_ = false;
  QString error_;
};

void Checkerboard(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool dark = ((x / 8) + (y / 8)) % 2 == 1;
      image.setPixel(x, y, dark ? qRgb(150, 150, 150) : qRgb(205, 205, 205));
    }
  }
}

}  // namespace

QImage PreviewSkin(const QString& skinRoot, const QString& skinName, QString* error) {
  Composer composer(skinRoot, skinName);
  Look rest;
  Look pressed;
  pressed.pressed = true;
  pressed.volume = kiv::PictureState::TurningUp;
  Look large;
  large.large = true;
  large.recording = true;
  large.volume = kiv::PictureState::TurningDown;
  std::vector<QImage> panels;
  for (const Look& look : {rest, pressed, large}) {
    QImage panel = composer.compose(look, error);
    if (panel.isNull()) return QImage();
    panels.push_back(panel);
  }
  const int gap = 16;
  const int w = panels[0].width();
  const int h = panels[0].height();
  QImage sheet(3 * w + 4 * gap, h + 2 * gap, QImage::Format_RGB32);
  Checkerboard(sheet);
  QPainter p(&sheet);
  for (int i = 0; i < 3; ++i) p.drawImage(gap + i * (w + gap), gap, panels[static_cast<size_t>(i)]);
  return sheet;
}

QImage LabelledPanel(const QString& skinRoot, const QString& skinName, QString* error) {
  using C = kiv::SkinControl;
  struct Callout {
    const char* key;
    C control;
    bool isBox;
    const char* text;
  };
  static const Callout kCallouts[] = {
      {"Off", C::exitButton, false, "OFF: to the tray"},
      {"UserBMP", C::UserBMP, true, "Logo: home page"},
      {"TickerTapeS", C::UserBMP, true, "Ticker: message name"},
      {"MessageLabelS", C::UserBMP, true, "Message number"},
      {"CountLabelS", C::UserBMP, true, "Counter: length / position"},
      {"GraphicAnalyserS", C::UserBMP, true, "Analyser"},
      {"LeftWheel", C::WheelL, false, "Tape wheels"},
      {"FastRewind", C::rewSButton, false, "Previous message"},
      {"Rewind", C::rewButton, false, "Rewind"},
      {"Forward", C::forwButton, false, "Forward"},
      {"FastForward", C::forwEButton, false, "Next message"},
      {"Record", C::recButton, false, "Record"},
      {"Play", C::playButton, false, "Play"},
      {"Pause", C::PauseButton, false, "Pause"},
      {"Stop", C::stopButton, false, "Stop"},
      {"Del", C::delButton, false, "Delete message"},
      {"VolMinusButton", C::VolMinusButton, false, "Volume down"},
      {"VolumeButton", C::volButton, false, "Volume"},
      {"VolPlusButton", C::VolPlusButton, false, "Volume up"},
      {"Settings", C::moreButton, false, "Settings menu"},
  };
  Composer composer(skinRoot, skinName);
  const QImage panel = composer.compose(Look{}, error);
  if (panel.isNull()) return QImage();
  constexpr int kMargin = 190;
  constexpr int kLine = 20;
  const int height = std::max(panel.height() + 40, 20 * kLine);
  QImage sheet(panel.width() + 2 * kMargin, height, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  p.setRenderHint(QPainter::Antialiasing);
  const QPoint origin(kMargin, (height - panel.height()) / 2);
  p.drawImage(origin, panel);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  p.setFont(font);
  // Left and right columns, each label as near to its control's height as the ones above allow.
  int nextY[2] = {kLine, kLine};
  std::vector<std::pair<QPoint, const Callout*>> sorted;
  for (const Callout& c : kCallouts) {
    QPoint at;
    if (!composer.middle(QString::fromLatin1(c.key), c.control, c.isBox, &at)) continue;
    sorted.emplace_back(origin + at, &c);
  }
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first.y() < b.first.y(); });
  for (const auto& [at, c] : sorted) {
    const int side = at.x() < origin.x() + panel.width() / 2 ? 0 : 1;
    const int y = std::max(nextY[side], at.y());
    nextY[side] = y + kLine;
    const QString text = QString::fromLatin1(c->text);
    const int textWidth = p.fontMetrics().horizontalAdvance(text);
    const QPoint end(side == 0 ? kMargin - 14 : kMargin + panel.width() + 14, y);
    p.setPen(QPen(QColor(200, 40, 30), 1.5));
    p.drawLine(at, end);
    p.setBrush(QColor(200, 40, 30));
    p.drawEllipse(at, 3, 3);
    p.setPen(Qt::black);
    p.drawText(QRect(side == 0 ? end.x() - 6 - textWidth : end.x() + 6, y - kLine / 2, textWidth + 2, kLine),
               Qt::AlignVCenter, text);
  }
  return sheet;
}

}  // namespace skingen
