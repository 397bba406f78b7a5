#include "panel/FindFileNoCase.h"

#include <QDir>
#include <QFileInfo>

namespace kiv {

QString FindFileNoCase(const QString& folder, const QString& name) {
  if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') ||
      name == QStringLiteral(".") || name == QStringLiteral("..")) {
    return {};
  }
  const QDir dir(folder);
  if (QFileInfo::exists(dir.filePath(name))) return dir.filePath(name);
  const QStringList entries = dir.entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  }
  return {};
}

}  // namespace kiv
