// Finding a file or folder by name without regard to case, as the skins' home system does.
//
// Skins name their bitmaps as their authors typed them ("DictaphoneA.BMP" next to
// "PauseM.bmp") and were made on a file system where case does not matter; on others the loader
// asks here for the real name.
#pragma once

#include <QString>

namespace kiv {

// The path of the entry of `folder` named `name` in any case, or an empty text when there is
// none. An entry whose name matches exactly is preferred; among others the first one listed wins.
// Names with a separator, "." and ".." are never found: a skin cannot reach outside its folder.
QString FindFileNoCase(const QString& folder, const QString& name);

}  // namespace kiv
