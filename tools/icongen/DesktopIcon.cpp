#include "DesktopIcon.h"

#include <QDir>
#include <QPainter>

#include "TrayArt.h"

namespace icongen {

QList<int> DesktopIconSizes() { return {16, 22, 24, 32, 48, 64, 128, 256}; }

QImage DrawDesktopIcon(int side) {
  // 22 and 24 are toolbar sizes with a margin by custom: the 16-pixel drawing, which sits on
  // whole pixels, centred, stays sharper than any drawing stretched to 22.
  if (side == 22 || side == 24) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int margin = (side - 16) / 2;
    painter.drawImage(margin, margin, DrawTrayIcon(TrayState::Recording, false, 16));
    return image;
  }
  return DrawTrayIcon(TrayState::Recording, false, side);
}

QString WriteDesktopIcons(const QString& themeFolder, const QString& name) {
  for (int side : DesktopIconSizes()) {
    const QString folder = QDir(themeFolder).filePath(QStringLiteral("%1x%1/apps").arg(side));
    if (!QDir().mkpath(folder)) return QStringLiteral("cannot make %1").arg(folder);
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!DrawDesktopIcon(side).save(path, "PNG")) return QStringLiteral("cannot write %1").arg(path);
  }
  return {};
}

}  // namespace icongen
