// The search for a loadable skin after the default one failed.
#include <gtest/gtest.h>

#include <QDir>

#include "PanelTestSupport.h"
#include "panel/SkinFallback.h"
#include "panel/SkinLoader.h"

namespace kiv {
namespace {

using test::ProgramFolder;

TEST(SkinFallback, NamesLoseTheirLastFourCharactersAndNeedThePanelPictureInAnyCase) {
  ProgramFolder folder;
  // ".set" in the middle: the name still loses its last four characters, here ".SET".
  ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("Retro.set.SET"), "[Retro.set]\n");
  folder.WritePicture(QStringLiteral("Retro.set"), QStringLiteral("dictaphonea.bmp"), QSize(4, 4));
  ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("Plain.SET"), "[Plain]\n");
  ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("notes.txt"), "x");
  const SkinFallback fallback(folder.Path());
  QStringList names = fallback.SearchNames();
  names.sort();
  // Folders match the pattern as well: the bitmap folder "Retro.set" is searched as "Retro".
  EXPECT_EQ(names, QStringList({QStringLiteral("Plain.SET"), QStringLiteral("Retro"),
                                QStringLiteral("Retro.set")}));
  EXPECT_FALSE(fallback.IsUsable(QStringLiteral("Retro")));
  EXPECT_EQ(fallback.Run([](const QString&) { return true; }), QStringLiteral("Retro.set"));
}

TEST(SkinFallback, TriesUsableSkinsInDirectoryOrderUntilOneLoads) {
  ProgramFolder folder;
  for (const char* name : {"Alpha", "Beta", "Gamma", "Broken"})
    folder.WriteSkin(QLatin1String(name));
  QFile::remove(folder.PicturePath(QStringLiteral("Broken"), SkinControl::ZvSkin1));
  // The file system's own order, not a sorted one.
  QStringList listed =
      QDir(folder.SkinDir()).entryList({QStringLiteral("*.set")}, QDir::Files, QDir::Unsorted);
  for (QString& name : listed) name.chop(4);
  listed.removeAll(QStringLiteral("Broken"));
  QStringList tried;
  const SkinFallback fallback(folder.Path());
  EXPECT_EQ(fallback.Run([&](const QString& name) {
    tried.append(name);
    return tried.size() == 2;
  }),
            listed[1]);
  EXPECT_EQ(tried, listed.mid(0, 2));
  EXPECT_TRUE(fallback.Run([](const QString&) { return false; }).isEmpty());
}

TEST(SkinFallback, LoadsTheFallbackSkinOverAHalfLoadedDefault) {
  ProgramFolder folder;
  test::KeyRows broken = test::CompleteSkinRows();
  test::SetRow(broken, QStringLiteral("Record"), QStringLiteral("61,31"));
  test::SetRow(broken, QStringLiteral("UserBMP"));
  folder.WriteSkin(QStringLiteral("Default"), broken);
  // Without its panel picture the search passes over it.
  QFile::remove(folder.PicturePath(QStringLiteral("Default"), SkinControl::ZvSkin1));
  folder.WriteSkin(QStringLiteral("Spare"));
  test::RecordingSkinTarget target;
  SkinLoader loader(target, folder.Path(), 96);
  ASSERT_FALSE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_EQ(target[SkinControl::recButton].topLeft, QPoint(61, 31));
  const QString loaded = SkinFallback(folder.Path()).Run([&](const QString& name) {
    loader.SetSkinName(name);
    return loader.LoadSkin(SkinLoader::LoadingCaption());
  });
  EXPECT_EQ(loaded, QStringLiteral("Spare"));
  EXPECT_EQ(target[SkinControl::recButton].topLeft, QPoint(60, 30));
  EXPECT_EQ(target.panelSize, QSize(160, 7));
  EXPECT_EQ(SkinFallback::CurrentSkinFailedText(),
            QStringLiteral("Error loading current skin. Loading first available skin now..."));
  EXPECT_EQ(SkinFallback::NoSkinText(), QStringLiteral("Skin files demaged!"));
}

}  // namespace
}  // namespace kiv
