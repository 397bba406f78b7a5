// kivrec-icongen: draws the recorder's tray icons.
//
//   kivrec-icongen <program folder>
//       writes the eight tray icon files and the pictures of the About box and the start-up
//       panel (About.bmp, Info.bmp, InfoHot.bmp) into <program folder> (the build uses <build>/bin)
//   kivrec-icongen --hicolor <theme folder>
//       writes the recorder's desktop icon at every hicolor size into
//       <theme folder>/<N>x<N>/apps/KivRec.png
//   kivrec-icongen --preview <program folder> <picture.png> [--zoom N]
//       reads the written icons back and lays them out at 16 and 32 pixels on a light and on a
//       dark tray, for a look
//
// Runs without a display (on the offscreen platform unless QT_QPA_PLATFORM says otherwise); only
// QtGui is used.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>
#include <utility>

#include "DesktopIcon.h"
#include "IcoFile.h"
#include "TrayArt.h"
#include "WindowArt.h"

namespace {

int Usage() {
  std::fputs(
      "usage: kivrec-icongen <program folder>\n"
      "       kivrec-icongen --hicolor <theme folder>\n"
      "       kivrec-icongen --preview <program folder> <picture.png> [--zoom N]\n",
      stderr);
  return 2;
}

int Fail(const QString& message) {
  std::fprintf(stderr, "kivrec-icongen: %s\n", qPrintable(message));
  return 1;
}

// Every picture of an icon file as Qt's own reader sees it, in file order.
QList<QImage> ReadBack(const QString& path) {
  QImageReader reader(path);
  QList<QImage> pictures;
  QImage image;
  while (reader.read(&image)) {
    pictures.append(image);
    if (!reader.jumpToNextImage()) break;
  }
  return pictures;
}

// The recorder loads the icons through Qt's image readers; a file they read differently from
// what was drawn would show a different icon, so that fails the build here.
QString CheckReadBack(const QString& path, const QList<QImage>& drawn) {
  const QList<QImage> read = ReadBack(path);
  if (read.size() != drawn.size()) {
    return QStringLiteral("%1: Qt reads %2 pictures, %3 were written")
        .arg(path)
        .arg(read.size())
        .arg(drawn.size());
  }
  for (qsizetype i = 0; i < drawn.size(); ++i) {
    // Qt hands 32-bit icon pictures out premultiplied, which is also how they are painted; a
    // faint edge pixel may then differ in its last colour bit from the drawing, and does not
    // matter, so both sides are compared premultiplied.
    const QImage want = drawn[i].convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage got = read[i].convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (got.size() != want.size()) {
      return QStringLiteral("%1: picture %2 reads back at another size").arg(path).arg(i);
    }
    for (int y = 0; y < want.height(); ++y) {
      for (int x = 0; x < want.width(); ++x) {
        if (want.pixel(x, y) != got.pixel(x, y)) {
          return QStringLiteral("%1: picture %2 reads back differently at (%3, %4)")
              .arg(path)
              .arg(i)
              .arg(x)
              .arg(y);
        }
      }
    }
  }
  return {};
}

QString WriteIcons(const QString& folder) {
  if (!QDir().mkpath(folder)) return QStringLiteral("cannot make %1").arg(folder);
  for (const icongen::TrayIconFile& icon : icongen::TrayIconFiles()) {
    QList<QImage> pictures;
    for (int side : icongen::TrayIconSizes()) {
      pictures.append(icongen::DrawTrayIcon(icon.state, icon.background, side));
    }
    const QString path = QDir(folder).filePath(QLatin1String(icon.fileName));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("cannot write %1").arg(path);
    file.write(icongen::IcoFileBytes(pictures));
    if (!file.commit()) return QStringLiteral("cannot write %1").arg(path);
    const QString problem = CheckReadBack(path, pictures);
    if (!problem.isEmpty()) return problem;
  }
  const std::pair<const char*, QImage> windows[] = {{"About.bmp", icongen::DrawAboutLogo()},
                                                    {"Info.bmp", icongen::DrawStartupPanel()},
                                                    {"InfoHot.bmp", icongen::DrawStartupHighlight()}};
  for (const auto& [name, picture] : windows) {
    const QString path = QDir(folder).filePath(QLatin1String(name));
    if (!picture.save(path, "BMP")) return QStringLiteral("cannot write %1").arg(path);
  }
  return {};
}

// One row per size and tray colour, the eight icons in file order with a gap between the two
// families.
QImage Preview(const QString& folder, QString* problem) {
  const QList<icongen::TrayIconFile> icons = icongen::TrayIconFiles();
  const QList<int> sides = {16, 32};
  const QList<QColor> trays = {QColor(232, 232, 232), QColor(40, 42, 46)};
  constexpr int kCell = 40;
  constexpr int kFamilyGap = 16;
  QImage sheet(kCell * int(icons.size()) + kFamilyGap, kCell * int(sides.size() * trays.size()),
               QImage::Format_ARGB32);
  QPainter painter(&sheet);
  int row = 0;
  for (const QColor& tray : trays) {
    for (int side : sides) {
      painter.fillRect(0, row * kCell, sheet.width(), kCell, tray);
      for (qsizetype i = 0; i < icons.size(); ++i) {
        const QString path = QDir(folder).filePath(QLatin1String(icons[i].fileName));
        QImage found;
        for (const QImage& picture : ReadBack(path)) {
          if (picture.width() == side) found = picture;
        }
        if (found.isNull()) {
          *problem = QStringLiteral("%1 has no %2-pixel picture").arg(path).arg(side);
          return {};
        }
        const int x =
            int(i) * kCell + (i >= icons.size() / 2 ? kFamilyGap : 0) + (kCell - side) / 2;
        painter.drawImage(x, row * kCell + (kCell - side) / 2, found);
      }
      ++row;
    }
  }
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  // Pictures only: never ask for a display, whatever the environment says by default.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = QGuiApplication::arguments();
  args.removeFirst();

  if (args.size() == 1 && !args[0].startsWith(QLatin1Char('-'))) {
    const QString problem = WriteIcons(args[0]);
    return problem.isEmpty() ? 0 : Fail(problem);
  }

  if (args.size() == 2 && args[0] == QStringLiteral("--hicolor")) {
    const QString problem = icongen::WriteDesktopIcons(args[1], QStringLiteral("KivRec"));
    return problem.isEmpty() ? 0 : Fail(problem);
  }

  if ((args.size() == 3 || args.size() == 5) && args[0] == QStringLiteral("--preview")) {
    int zoom = 4;
    if (args.size() == 5) {
      if (args[3] != QStringLiteral("--zoom")) return Usage();
      zoom = args[4].toInt();
      if (zoom < 1 || zoom > 8) return Usage();
    }
    QString problem;
    QImage sheet = Preview(args[1], &problem);
    if (sheet.isNull()) return Fail(problem);
    sheet = sheet.scaled(sheet.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!sheet.save(args[2], "PNG")) return Fail(QStringLiteral("cannot write %1").arg(args[2]));
    return 0;
  }
  return Usage();
}
