// Puts a skin on the front panel: reads the skin's key file row by row, places, sizes, shows or
// hides the panel's controls through a SkinTarget, loads their resting pictures, and last of all
// the panel picture that gives the window its outline.
//
// A skin "X" is the key file <program folder>Skin/X.set, section [X], beside the folder
// <program folder>Skin/X/ with the bitmaps and any font files. File names inside Skin/ are
// matched without regard to case.
//
// Each row is one guarded step: the first row that fails (an item missing, a number that does not
// convert, a picture that cannot be read) ends the load with false, and the rows before it stay
// applied. Keys with a large and a small variant are chosen by the screen's logical resolution,
// which the caller passes in so that tests can pick it.
//
// The loader keeps the current skin's name for the other parts of the panel that load state
// pictures from the same folder. It does not own the target; the target must outlive it. The
// "Loading..." window exists only while LoadSkin runs.
#pragma once

#include <functional>
#include <optional>

#include <QImage>
#include <QSet>
#include <QString>

#include "panel/ProfileFile.h"
#include "panel/SkinItems.h"
#include "panel/SkinPictures.h"
#include "panel/SkinTarget.h"

namespace kiv {

class TChangeClothes;

class SkinLoader {
 public:
  // The resolution, in logical pixels per inch, at which the large variants of keys are read.
  static constexpr int kLargeFontsDpi = 120;
  // Rows of the key file; the "Loading..." gauge counts them.
  static constexpr int kRowCount = 33;

  static QString LoadingCaption() { return QStringLiteral("Loading..."); }
  // Where a click on the logo leads, and the logo's tool tip.
  static QString LogoLink() { return QStringLiteral("https://kivrec.example.org/"); }
  static QString LogoHint() {
    return QStringLiteral("Visit the Kiv Sound Recorder home page for news and more skins");
  }

  // `programFolder` is the folder of the executable; a missing trailing separator is added.
  SkinLoader(SkinTarget& target, const QString& programFolder, int logicalDpi);
  ~SkinLoader();
  SkinLoader(const SkinLoader&) = delete;
  SkinLoader& operator=(const SkinLoader&) = delete;

  // The logical resolution of the primary screen, rounded, for the constructor.
  static int ScreenLogicalDpi();

  // `SkinName`, the folder under Skin/ and the section of the key file. "Default" at first.
  void SetSkinName(const QString& name);
  QString SkinName() const { return skinName_; }
  QString SkinSetFile() const { return skinSetFile_; }
  QString ProgramFolder() const { return programFolder_; }
  // <program folder>Skin/<SkinName>/, in the case the folder really has when it exists.
  QString SkinFolder() const;

  // A picture of the current skin by its file name in any case; a null image when the file is
  // missing or is not a readable Windows bitmap.
  QImage LoadPicture(const QString& fileName) const;

  // Loads the current skin; `caption` titles the progress window. True when every row and the
  // panel picture were applied.
  bool LoadSkin(const QString& caption);

  // Makes a font file of the current skin available to the program before its face is used. A
  // file that is not in the skin folder is skipped silently. True when the font was added.
  bool InstallSkinFont(const QString& face, const QString& fontFile);

  // Called after each row's gauge step with the number of rows done, while the progress window
  // still exists.
  void SetStepObserver(std::function<void(int rowsDone)> observer) {
    stepObserver_ = std::move(observer);
  }
  // The progress window of the load that is running, or nullptr.
  TChangeClothes* ProgressWindow() const { return progress_; }

 private:
  SkinItems Read(QStringView key) const;
  // The key with "L" or "S" appended, by the screen resolution.
  QString ScreenVariant(QStringView key) const;
  std::optional<QImage> Picture(const QString& fileName) const;

  // Rows that place a control with a picture; the row's key and the picture come from the
  // control's entry in the picture table.
  bool PointRow(SkinControl control);
  bool PointWithSwitchRow(SkinControl control);
  bool BoxRow(QStringView key, SkinControl control);
  bool BoxWithSwitchRow(QStringView key, SkinControl control);
  bool ApplyPoint(SkinItems& items, SkinControl control);
  bool ApplyBox(SkinItems& items, SkinControl control);
  bool ColourRow(QStringView key, SkinColor role);
  bool LabelColourRow(QStringView key, SkinControl label);
  bool FontRow(QStringView key, SkinControl control);
  bool TickerColoursRow();
  bool TickerFontRow();
  bool LogoRow();
  bool AnalyserColoursRow();
  bool PanelPicture();

  SkinTarget& target_;
  QString programFolder_;
  int logicalDpi_;
  QString skinName_;
  QString skinSetFile_;
  std::optional<ProfileFile> profile_;  // the key file, while a load runs
  TChangeClothes* progress_ = nullptr;
  std::function<void(int)> stepObserver_;
  QSet<QString> installedFonts_;  // paths already added to the application's fonts
};

}  // namespace kiv
