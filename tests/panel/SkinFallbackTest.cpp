// The search for a loadable skin after the default one failed.
#include <gtest/gtest.h>

#include <QDir>

#include "PanelTestSupport.h"
#include "panel/SkinFallback.h"
#include "panel/SkinLoader.h"

namespace kiv {
namespace {

using test::ProgramFolder;

TEST(SkinFallback, SkipsASkinWhoseFolderLacksThePanelPicture) {
  ProgramFolder folder;
  folder.WriteSkin(QStringLiteral("Broken"));
  QFile::remove(folder.SkinDir() + QStringLiteral("Broken/DictaphoneA.BMP"));
  folder.WriteSkin(QStringLiteral("Good"));

  const SkinFallback fallback(folder.Path());
  EXPECT_FALSE(fallback.IsUsable(QStringLiteral("Broken")));
  EXPECT_TRUE(fallback.IsUsable(QStringLiteral("Good")));
  QStringList tried;
  const QString loaded = fallback.Run([&](const QString& name) {
    tried.append(name);
    return true;
  });
  EXPECT_EQ(loaded, QStringLiteral("Good"));
  EXPECT_EQ(tried, QStringList{QStringLiteral("Good")});
}

TEST(SkinFallback, NamesLoseTheirLastFourCharactersWhenTheyHoldDotSet) {
  ProgramFolder folder;
  // ".set" in the middle: the name still loses its last four characters, here ".SET".
  ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("Retro.set.SET"), "[Retro.set]\n");
  folder.WritePicture(QStringLiteral("Retro.set"), QStringLiteral("DictaphoneA.bmp"), QSize(4, 4));
  // Without a lower-case ".set" anywhere the name stays whole.
  ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("Plain.SET"), "[Plain]\n");
  // Not a key file at all.
  ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("notes.txt"), "x");

  const SkinFallback fallback(folder.Path());
  QStringList names = fallback.SearchNames();
  names.sort();
  // Folders match the pattern as well: the bitmap folder "Retro.set" is searched as "Retro".
  EXPECT_EQ(names, QStringList({QStringLiteral("Plain.SET"), QStringLiteral("Retro"),
                                QStringLiteral("Retro.set")}));
  EXPECT_TRUE(fallback.IsUsable(QStringLiteral("Retro.set")));
  EXPECT_FALSE(fallback.IsUsable(QStringLiteral("Retro")));
  EXPECT_FALSE(fallback.IsUsable(QStringLiteral("Plain.SET")));
  EXPECT_EQ(fallback.Run([](const QString&) { return true; }), QStringLiteral("Retro.set"));
}

TEST(SkinFallback, TriesUsableSkinsInDirectoryOrderUntilOneLoads) {
  ProgramFolder folder;
  for (const char* name : {"Alpha", "Beta", "Gamma"}) folder.WriteSkin(QLatin1String(name));
  const SkinFallback fallback(folder.Path());

  // The file system's own order, not a sorted one.
  QStringList listed =
      QDir(folder.SkinDir()).entryList({QStringLiteral("*.set")}, QDir::Files, QDir::Unsorted);
  for (QString& name : listed) name.chop(4);
  EXPECT_EQ(fallback.SearchNames(), listed);

  QStringList tried;
  const QString loaded = fallback.Run([&](const QString& name) {
    tried.append(name);
    return tried.size() == 2;
  });
  EXPECT_EQ(tried, listed.mid(0, 2));
  EXPECT_EQ(loaded, listed[1]);
}

TEST(SkinFallback, NothingLoadableGivesAnEmptyName) {
  ProgramFolder folder;
  folder.WriteSkin(QStringLiteral("Only"));
  const SkinFallback fallback(folder.Path());
  int tries = 0;
  EXPECT_TRUE(fallback
                  .Run([&](const QString&) {
                    ++tries;
                    return false;
                  })
                  .isEmpty());
  EXPECT_EQ(tries, 1);

  ProgramFolder empty;
  QDir(empty.SkinDir()).removeRecursively();
  EXPECT_TRUE(SkinFallback(empty.Path()).SearchNames().isEmpty());
}

TEST(SkinFallback, LoadsTheFallbackSkinOverAHalfLoadedDefault) {
  ProgramFolder folder;
  test::KeyRows broken = test::CompleteSkinRows();
  test::SetRow(broken, QStringLiteral("Record"), QStringLiteral("61,31"));
  test::RemoveRow(broken, QStringLiteral("UserBMP"));
  folder.WriteSkin(QStringLiteral("Default"), broken);
  // The default's folder lacks the panel picture too, so the search passes over it.
  QFile::remove(folder.SkinDir() + QStringLiteral("Default/DictaphoneA.BMP"));
  folder.WriteSkin(QStringLiteral("Spare"));

  test::RecordingSkinTarget target;
  SkinLoader loader(target, folder.Path(), 96);
  ASSERT_FALSE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_EQ(target[SkinControl::recButton].topLeft, QPoint(61, 31));
  EXPECT_TRUE(target[SkinControl::WheelD].pictureSize.has_value());
  EXPECT_FALSE(target.logoSize.has_value());

  QStringList currentSkin;
  const QString loaded = SkinFallback(folder.Path()).Run([&](const QString& name) {
    loader.SetSkinName(name);
    currentSkin.append(name);
    return loader.LoadSkin(SkinLoader::LoadingCaption());
  });
  EXPECT_EQ(loaded, QStringLiteral("Spare"));
  EXPECT_EQ(currentSkin, QStringList{QStringLiteral("Spare")});
  EXPECT_EQ(target[SkinControl::recButton].topLeft, QPoint(60, 30));
  EXPECT_TRUE(target.logoSize.has_value());
  EXPECT_EQ(target.panelSize, QSize(160, 7));
}

TEST(SkinFallback, MessagesAreTheFixedTexts) {
  EXPECT_EQ(SkinFallback::CurrentSkinFailedText(),
            QStringLiteral("Error loading current skin. Loading first available skin now..."));
  EXPECT_EQ(SkinFallback::NoSkinText(), QStringLiteral("Skin files demaged!"));
}

}  // namespace
}  // namespace kiv
