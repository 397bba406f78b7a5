#include "panel/SkinFallback.h"

#include <QDir>

#include "panel/FindFileNoCase.h"
#include "panel/SkinPictures.h"

namespace kiv {

SkinFallback::SkinFallback(const QString& programFolder) {
  skinFolder_ = programFolder;
  if (!skinFolder_.endsWith(u'/')) skinFolder_.append(u'/');
  skinFolder_ += QStringLiteral("Skin");
}

QStringList SkinFallback::SearchNames() const {
  // Any entry counts, hidden ones and folders included, and the pattern ignores case as the
  // skins' home system does; the order is the file system's own.
  const QStringList entries =
      QDir(skinFolder_)
          .entryList({QStringLiteral("*.set")},
                     QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                     QDir::Unsorted);
  QStringList names;
  for (QString name : entries) {
    if (name.contains(QStringLiteral(".set"))) name.chop(4);
    names.append(name);
  }
  return names;
}

bool SkinFallback::IsUsable(const QString& name) const {
  const QString folder = FindFileNoCase(skinFolder_, name);
  const QLatin1String panel(SkinPictureName(SkinControl::ZvSkin1));
  return !folder.isEmpty() && !FindFileNoCase(folder, panel).isEmpty();
}

QString SkinFallback::Run(const std::function<bool(const QString& name)>& tryLoad) const {
  for (const QString& name : SearchNames()) {
    if (IsUsable(name) && tryLoad(name)) return name;
  }
  return {};
}

}  // namespace kiv
