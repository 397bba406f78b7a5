// Loading skins into a recording target: the rows in order, the guarded steps, the variants for
// large fonts, the "Loading..." window and the pictures found in any case.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QPointer>
#include <QProgressBar>

#include "PanelTestSupport.h"
#include "panel/SkinLoader.h"
#include "panel/TChangeClothes.h"

namespace kiv {
namespace {

using test::CompleteSkinRows;
using test::KeyRows;
using test::RecordingSkinTarget;

constexpr int kNormalDpi = 96;

class SkinLoaderTest : public ::testing::Test {
 protected:
  bool Load(const KeyRows& rows, int dpi = kNormalDpi) {
    folder.WriteSkin(QStringLiteral("Default"), rows);
    SkinLoader loader(target, folder.Path(), dpi);
    return loader.LoadSkin(SkinLoader::LoadingCaption());
  }

  test::ProgramFolder folder;
  RecordingSkinTarget target;
};

TEST_F(SkinLoaderTest, CompleteSkinPlacesEveryControl) {
  ASSERT_TRUE(Load(CompleteSkinRows()));

  EXPECT_EQ(target[SkinControl::volButton].visible, true);
  EXPECT_EQ(target[SkinControl::volButton].topLeft, QPoint(10, 8));
  EXPECT_EQ(target[SkinControl::volButton].pictureSize, QSize(11, 7));
  EXPECT_EQ(target[SkinControl::PauseButton].topLeft, QPoint(20, 30));
  EXPECT_EQ(target[SkinControl::PauseButton].pictureSize, QSize(12, 7));
  EXPECT_EQ(target[SkinControl::forwEButton].pictureSize, QSize(21, 7));
  EXPECT_EQ(target[SkinControl::exitButton].topLeft, QPoint(100, 50));
  EXPECT_EQ(target[SkinControl::WheelL].pictureSize, QSize(23, 7));
  EXPECT_EQ(target[SkinControl::WheelD].topLeft, QPoint(70, 70));
  EXPECT_EQ(target[SkinControl::VolMinusButton].pictureSize, QSize(27, 7));
  // Keys without a switch leave visibility alone.
  EXPECT_FALSE(target[SkinControl::playButton].visible.has_value());

  EXPECT_EQ(target[SkinControl::mname].box, QRect(10, 100, 120, 14));
  EXPECT_EQ(target[SkinControl::message].box, QRect(10, 120, 40, 12));
  EXPECT_EQ(target[SkinControl::Count].box, QRect(60, 120, 60, 12));
  EXPECT_EQ(target[SkinControl::PaintBox1].box, QRect(130, 100, 50, 20));
  EXPECT_EQ(target[SkinControl::PaintBox1].visible, true);
  EXPECT_EQ(target[SkinControl::Shape2].box, QRect(130, 121, 50, 1));
  EXPECT_EQ(target[SkinControl::UserBMP].box, QRect(5, 5, 60, 20));

  EXPECT_EQ(target.colors[SkinColor::GaugeBack], QColor(0, 0, 0));
  EXPECT_EQ(target.colors[SkinColor::GaugeBar], QColor(0x1E, 0x90, 0xFF));
  EXPECT_EQ(target.colors[SkinColor::TickerBack], QColor(0x20, 0x20, 0x20));
  EXPECT_EQ(target.colors[SkinColor::AnalyserPlay], QColor(0, 255, 0));
  EXPECT_EQ(target.colors[SkinColor::AnalyserRecord], QColor(255, 0, 0));
  EXPECT_EQ(target.colors[SkinColor::AnalyserBack], QColor(0, 0, 0));
  EXPECT_EQ(target.colors[SkinColor::LineFill], QColor(0, 255, 0));
  EXPECT_EQ(target[SkinControl::message].labelColor, QColor(0, 255, 0));
  EXPECT_EQ(target[SkinControl::Count].labelColor, QColor(255, 255, 0));

  EXPECT_EQ(target.tags[1], QStringLiteral("65280%"));
  EXPECT_EQ(target.tags[2], QStringLiteral("65535%"));
  EXPECT_EQ(target.tags[3], QStringLiteral("255%"));
  EXPECT_EQ(target.tags[4], QStringLiteral("16777215%"));

  ASSERT_TRUE(target[SkinControl::mname].font.has_value());
  EXPECT_EQ(target[SkinControl::mname].font->face, QStringLiteral("Courier New"));
  EXPECT_EQ(target[SkinControl::mname].font->pointSize, 8);
  EXPECT_TRUE(target[SkinControl::mname].font->bold);
  EXPECT_FALSE(target[SkinControl::message].font->bold);
  EXPECT_TRUE(target[SkinControl::Count].font->bold);
  EXPECT_EQ(target.tickerRestarts, 1);

  EXPECT_EQ(target.logoSize, QSize(25, 7));
  EXPECT_EQ(target.logoLink, SkinLoader::LogoLink());
  EXPECT_FALSE(target.logoHint.isEmpty());
  EXPECT_EQ(target.panelSize, QSize(160, 7));
}

TEST_F(SkinLoaderTest, RowsApplyInKeyFileOrderWithThePanelLast) {
  ASSERT_TRUE(Load(CompleteSkinRows()));
  const QStringList expectedStart = {
      QStringLiteral("volButton shown"),    QStringLiteral("volButton placed"),
      QStringLiteral("volButton picture"),  QStringLiteral("CGauge1 box"),
      QStringLiteral("colour 0"),           QStringLiteral("colour 1"),
      QStringLiteral("PauseButton placed"), QStringLiteral("PauseButton picture")};
  EXPECT_EQ(target.calls.mid(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(target.calls.last(), QStringLiteral("panel"));
  // The ticker restarts right after its font, before the message label is touched.
  const qsizetype font = target.calls.indexOf(QStringLiteral("mname font"));
  ASSERT_GE(font, 0);
  EXPECT_EQ(target.calls[font + 1], QStringLiteral("ticker restarted"));
  EXPECT_EQ(target.calls[font + 2], QStringLiteral("message box"));
  // The tags follow the ticker background in number order.
  const qsizetype back = target.calls.indexOf(QStringLiteral("colour 2"));
  EXPECT_EQ(target.calls.mid(back + 1, 4),
            QStringList({QStringLiteral("tag 1"), QStringLiteral("tag 2"), QStringLiteral("tag 3"),
                         QStringLiteral("tag 4")}));
}

TEST_F(SkinLoaderTest, MissingTickerColoursReadAsBlack) {
  KeyRows rows = CompleteSkinRows();
  test::RemoveRow(rows, QStringLiteral("TickerTapeColor"));
  test::RemoveRow(rows, QStringLiteral("TickerTapeTextColor1"));
  ASSERT_TRUE(Load(rows));
  EXPECT_EQ(target.colors[SkinColor::TickerBack], QColor(0, 0, 0));
  EXPECT_EQ(target.tags[1], QStringLiteral("0%"));
  EXPECT_EQ(target.tags[2], QStringLiteral("65535%"));
}

TEST_F(SkinLoaderTest, UpperCaseOnHidesTheVolumeButton) {
  KeyRows rows = CompleteSkinRows();
  test::SetRow(rows, QStringLiteral("VolumeButton"), QStringLiteral("10,8,ON"));
  ASSERT_TRUE(Load(rows));
  EXPECT_EQ(target[SkinControl::volButton].visible, false);
  EXPECT_FALSE(target[SkinControl::volButton].topLeft.has_value());
  EXPECT_FALSE(target[SkinControl::volButton].pictureSize.has_value());
}

TEST_F(SkinLoaderTest, HiddenControlsAreNotReadFurther) {
  KeyRows rows = CompleteSkinRows();
  test::SetRow(rows, QStringLiteral("LeftWheel"), QStringLiteral("left,top,off"));
  test::SetRow(rows, QStringLiteral("GraphicAnalyserS"), QStringLiteral("a,b,c,d,no"));
  folder.WriteSkin(QStringLiteral("Default"), rows);
  // Not even the picture of a hidden wheel is needed.
  QFile::remove(folder.SkinDir() + QStringLiteral("Default/WheelLA.bmp"));
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  ASSERT_TRUE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_EQ(target[SkinControl::WheelL].visible, false);
  EXPECT_FALSE(target[SkinControl::WheelL].topLeft.has_value());
  EXPECT_EQ(target[SkinControl::PaintBox1].visible, false);
  EXPECT_FALSE(target[SkinControl::PaintBox1].box.has_value());
}

TEST_F(SkinLoaderTest, VolumeButtonWithoutSwitchFailsTheWholeSkin) {
  KeyRows rows = CompleteSkinRows();
  test::SetRow(rows, QStringLiteral("VolumeButton"), QStringLiteral("10,8"));
  EXPECT_FALSE(Load(rows));
  EXPECT_FALSE(target.Touched(SkinControl::volButton));
  EXPECT_FALSE(target.Touched(SkinControl::CGauge1));
  EXPECT_FALSE(target.panelSize.has_value());
  EXPECT_TRUE(target.calls.isEmpty());
}

TEST_F(SkinLoaderTest, VolumeIndicatorTakesHeightBeforeWidth) {
  ASSERT_TRUE(Load(CompleteSkinRows()));
  const QRect gauge = *target[SkinControl::CGauge1].box;
  EXPECT_EQ(gauge.topLeft(), QPoint(99, 78));
  EXPECT_EQ(gauge.width(), 40);
  EXPECT_EQ(gauge.height(), 5);
}

TEST_F(SkinLoaderTest, LowerCaseBoldLeavesTheFontNotBold) {
  KeyRows rows = CompleteSkinRows();
  test::SetRow(rows, QStringLiteral("TickerTapeFont"),
               QStringLiteral("\"Courier New\",8,bold,off"));
  ASSERT_TRUE(Load(rows));
  EXPECT_FALSE(target[SkinControl::mname].font->bold);
}

TEST_F(SkinLoaderTest, LargeFontsScreenReadsTheLargeVariants) {
  ASSERT_TRUE(Load(CompleteSkinRows(), SkinLoader::kLargeFontsDpi));
  EXPECT_EQ(target[SkinControl::mname].box, QRect(12, 120, 150, 18));
  EXPECT_EQ(target[SkinControl::message].box, QRect(10, 140, 50, 15));
  EXPECT_EQ(target[SkinControl::Count].box, QRect(70, 140, 70, 15));
  EXPECT_EQ(target[SkinControl::PaintBox1].box, QRect(140, 120, 60, 25));
  EXPECT_EQ(target[SkinControl::Shape2].box, QRect(140, 146, 60, 2));
}

TEST_F(SkinLoaderTest, OnlySmallTickerFailsOnALargeFontsScreenAndLoadsOnANormalOne) {
  KeyRows rows = CompleteSkinRows();
  test::RemoveRow(rows, QStringLiteral("TickerTapeL"));
  EXPECT_FALSE(Load(rows, SkinLoader::kLargeFontsDpi));
  EXPECT_FALSE(target[SkinControl::mname].box.has_value());

  RecordingSkinTarget normal;
  SkinLoader loader(normal, folder.Path(), kNormalDpi);
  EXPECT_TRUE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_EQ(normal[SkinControl::mname].box, QRect(10, 100, 120, 14));
  // Anything but exactly 120 reads the small variants.
  RecordingSkinTarget high;
  SkinLoader highLoader(high, folder.Path(), 144);
  EXPECT_TRUE(highLoader.LoadSkin(SkinLoader::LoadingCaption()));
}

TEST_F(SkinLoaderTest, FailedRowKeepsEarlierRowsAndStopsTheRest) {
  KeyRows rows = CompleteSkinRows();
  test::SetRow(rows, QStringLiteral("Forward"), QStringLiteral("60,x"));
  EXPECT_FALSE(Load(rows));
  EXPECT_EQ(target[SkinControl::rewButton].topLeft, QPoint(40, 50));
  EXPECT_FALSE(target.Touched(SkinControl::forwButton));
  EXPECT_FALSE(target.Touched(SkinControl::forwEButton));
  EXPECT_FALSE(target.Touched(SkinControl::mname));
  EXPECT_FALSE(target.panelSize.has_value());
}

TEST_F(SkinLoaderTest, MissingOrUnreadablePictureFailsTheLoad) {
  folder.WriteSkin(QStringLiteral("Default"));
  QFile::remove(folder.SkinDir() + QStringLiteral("Default/DelM.bmp"));
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  EXPECT_FALSE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  // The key was applied before its picture was found missing.
  EXPECT_EQ(target[SkinControl::delButton].topLeft, QPoint(100, 30));
  EXPECT_FALSE(target[SkinControl::delButton].pictureSize.has_value());
  EXPECT_FALSE(target.Touched(SkinControl::moreButton));

  test::ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("Default/DelM.bmp"),
                                 "not a bitmap");
  RecordingSkinTarget second;
  SkinLoader again(second, folder.Path(), kNormalDpi);
  EXPECT_FALSE(again.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_FALSE(second.Touched(SkinControl::moreButton));
}

TEST_F(SkinLoaderTest, MissingPanelPictureFailsAfterEveryRow) {
  folder.WriteSkin(QStringLiteral("Default"));
  QFile::remove(folder.SkinDir() + QStringLiteral("Default/DictaphoneA.BMP"));
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  EXPECT_FALSE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_TRUE(target.Touched(SkinControl::VolMinusButton));
  EXPECT_FALSE(target.panelSize.has_value());
}

TEST_F(SkinLoaderTest, MissingKeyFileFailsAtTheFirstRow) {
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  EXPECT_FALSE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_TRUE(target.calls.isEmpty());
}

TEST_F(SkinLoaderTest, NamesMatchWithoutRegardToCase) {
  // Key file, section, keys, skin folder and pictures all in another case than asked for.
  KeyRows rows;
  for (const auto& [key, value] : CompleteSkinRows()) rows.emplace_back(key.toLower(), value);
  folder.WriteKeyFile(QStringLiteral("DEFAULT.SET"), QStringLiteral("default"), rows);
  for (const auto& [picture, width] : test::CompleteSkinPictures()) {
    folder.WritePicture(QStringLiteral("default"), picture.toLower(), QSize(width, 7));
  }
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  ASSERT_TRUE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_EQ(target.panelSize, QSize(160, 7));
  EXPECT_EQ(target[SkinControl::stopButton].pictureSize, QSize(15, 7));
  EXPECT_EQ(loader.LoadPicture(QStringLiteral("PLAYM.BMP")).size(), QSize(13, 7));
  EXPECT_TRUE(loader.LoadPicture(QStringLiteral("PlayA.bmp")).isNull());
}

TEST_F(SkinLoaderTest, HalfLoadedSkinKeepsItsRowsUntilTheNextSkinLoadsOverThem) {
  KeyRows broken = CompleteSkinRows();
  test::SetRow(broken, QStringLiteral("Play"), QStringLiteral("41,31"));
  test::RemoveRow(broken, QStringLiteral("CountLabelFont"));
  folder.WriteSkin(QStringLiteral("Default"), broken);
  KeyRows other = CompleteSkinRows();
  test::SetRow(other, QStringLiteral("Pause"), QStringLiteral("2,3"));
  test::SetRow(other, QStringLiteral("Play"), QStringLiteral("4,5"));
  folder.WriteSkin(QStringLiteral("Other"), other);

  SkinLoader loader(target, folder.Path(), kNormalDpi);
  EXPECT_FALSE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_EQ(target[SkinControl::playButton].topLeft, QPoint(41, 31));
  EXPECT_EQ(target[SkinControl::Count].labelColor, QColor(255, 255, 0));
  EXPECT_FALSE(target[SkinControl::Count].font.has_value());
  EXPECT_FALSE(target.Touched(SkinControl::WheelL));

  loader.SetSkinName(QStringLiteral("Other"));
  EXPECT_EQ(loader.SkinSetFile(), QStringLiteral("Other.set"));
  ASSERT_TRUE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_EQ(target[SkinControl::playButton].topLeft, QPoint(4, 5));
  EXPECT_EQ(target[SkinControl::PauseButton].topLeft, QPoint(2, 3));
  EXPECT_TRUE(target[SkinControl::Count].font.has_value());
  EXPECT_EQ(target.panelSize, QSize(160, 7));
}

TEST_F(SkinLoaderTest, ProgressWindowCountsRowsAndIsGoneAfterwards) {
  folder.WriteSkin(QStringLiteral("Default"));
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  QList<int> steps;
  QPointer<TChangeClothes> window;
  loader.SetStepObserver([&](int rowsDone) {
    steps.append(rowsDone);
    window = loader.ProgressWindow();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Caption under test"));
    EXPECT_EQ(window->Gauge()->maximum(), SkinLoader::kRowCount);
    EXPECT_EQ(window->Gauge()->value(), rowsDone);
  });
  ASSERT_TRUE(loader.LoadSkin(QStringLiteral("Caption under test")));
  ASSERT_EQ(steps.size(), SkinLoader::kRowCount);
  EXPECT_EQ(steps.first(), 1);
  EXPECT_EQ(steps.last(), SkinLoader::kRowCount);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(loader.ProgressWindow(), nullptr);
}

TEST_F(SkinLoaderTest, ProgressWindowIsGoneAfterAFailureToo) {
  KeyRows rows = CompleteSkinRows();
  test::RemoveRow(rows, QStringLiteral("Stop"));
  folder.WriteSkin(QStringLiteral("Default"), rows);
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  QList<int> steps;
  QPointer<TChangeClothes> window;
  loader.SetStepObserver([&](int rowsDone) {
    steps.append(rowsDone);
    window = loader.ProgressWindow();
  });
  EXPECT_FALSE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  // Rows 1 to 7 advanced the gauge; "Stop" is row 8.
  EXPECT_EQ(steps.size(), 7);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(loader.ProgressWindow(), nullptr);
}

QString SomeFontFile() {
  QDirIterator it(QStringLiteral("/usr/share/fonts"), {QStringLiteral("*.ttf")}, QDir::Files,
                  QDirIterator::Subdirectories);
  return it.hasNext() ? it.next() : QString();
}

TEST_F(SkinLoaderTest, FontFilesAreTakenFromTheSkinFolderOnly) {
  const QString fontFile = SomeFontFile();
  if (fontFile.isEmpty()) GTEST_SKIP() << "no TrueType font on this system";
  KeyRows rows = CompleteSkinRows();
  test::SetRow(rows, QStringLiteral("TickerTapeFont"),
               QStringLiteral("Skinface,8,Bold,skinface.ttf"));
  test::SetRow(rows, QStringLiteral("MessageLabelFont"), QStringLiteral("Gone,7,Bold,gone.ttf"));
  folder.WriteSkin(QStringLiteral("Default"), rows);
  ASSERT_TRUE(QFile::copy(fontFile, folder.SkinDir() + QStringLiteral("Default/SkinFace.TTF")));

  SkinLoader loader(target, folder.Path(), kNormalDpi);
  ASSERT_TRUE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  // A missing font file is skipped and its face applied all the same.
  EXPECT_EQ(target[SkinControl::message].font->face, QStringLiteral("Gone"));
  EXPECT_TRUE(loader.InstallSkinFont(QStringLiteral("Skinface"), QStringLiteral("skinface.ttf")));
  EXPECT_FALSE(loader.InstallSkinFont(QStringLiteral("Gone"), QStringLiteral("gone.ttf")));
  EXPECT_FALSE(loader.InstallSkinFont(QStringLiteral("Up"), QStringLiteral("../Default.set")));

  test::ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("Default/Broken.ttf"),
                                 "not a font");
  EXPECT_FALSE(loader.InstallSkinFont(QStringLiteral("Broken"), QStringLiteral("Broken.ttf")));
}

TEST(SkinLoaderFolders, ProgramFolderGetsItsSeparatorAndSkinNameItsKeyFile) {
  RecordingSkinTarget target;
  SkinLoader loader(target, QStringLiteral("/opt/kivrec"), kNormalDpi);
  EXPECT_EQ(loader.ProgramFolder(), QStringLiteral("/opt/kivrec/"));
  EXPECT_EQ(loader.SkinName(), QStringLiteral("Default"));
  EXPECT_EQ(loader.SkinSetFile(), QStringLiteral("Default.set"));
  EXPECT_EQ(loader.SkinFolder(), QStringLiteral("/opt/kivrec/Skin/Default/"));
}

}  // namespace
}  // namespace kiv
