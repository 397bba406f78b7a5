// The search for another skin when the default one does not load: every key file in the skin
// folder, in the order the file system lists them, whose bitmap folder holds the panel picture,
// is tried until one loads.
//
// The search only finds and orders the candidates; trying one (making it the current skin,
// remembering it as "CurrentSkin", loading it) is the caller's, through the callback. The
// messages around the search are the caller's to show; their texts are here.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

namespace kiv {

class SkinFallback {
 public:
  static QString CurrentSkinFailedText() {
    return QStringLiteral("Error loading current skin. Loading first available skin now...");
  }
  static QString NoSkinText() { return QStringLiteral("Skin files demaged!"); }

  // `programFolder` is the folder of the executable; a missing trailing separator is added.
  explicit SkinFallback(const QString& programFolder);

  // The skin name of every entry matching "*.set" in Skin/, in directory order. A name that
  // holds ".set" anywhere loses its last four characters; one that does not (".SET") keeps them.
  QStringList SearchNames() const;
  // True when the skin folder Skin/<name>/ holds the panel picture, in any case.
  bool IsUsable(const QString& name) const;
  // Calls `tryLoad` for each usable name in search order until it returns true; that name is
  // returned. Empty when none loaded.
  QString Run(const std::function<bool(const QString& name)>& tryLoad) const;

 private:
  QString skinFolder_;
};

}  // namespace kiv
