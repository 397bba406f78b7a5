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
using C = SkinControl;

constexpr int kNormalDpi = 96;

class SkinLoaderTest : public ::testing::Test {
 protected:
  bool Load(const KeyRows& rows = CompleteSkinRows(), int dpi = kNormalDpi) {
    folder.WriteSkin(QStringLiteral("Default"), rows);
    return Reload(dpi);
  }
  bool Reload(int dpi = kNormalDpi) {
    target = {};
    SkinLoader loader(target, folder.Path(), dpi);
    return loader.LoadSkin(SkinLoader::LoadingCaption());
  }
  KeyRows With(const char* key, const char* value) {
    KeyRows rows = CompleteSkinRows();
    test::SetRow(rows, QLatin1String(key), QLatin1String(value));
    return rows;
  }
  QString Picture(C c) const { return folder.PicturePath(QStringLiteral("Default"), c); }
  static QSize Rest(C control) { return QSize(test::RestWidth(control), 7); }

  test::ProgramFolder folder;
  test::RecordingSkinTarget target;
};

TEST_F(SkinLoaderTest, CompleteSkinPlacesEveryControlInKeyFileOrderWithThePanelLast) {
  ASSERT_TRUE(Load());
  for (const ControlPictures& entry : kControlPictures) {
    if (entry.control != C::ZvSkin1 && entry.control != C::UserBMP) {
      EXPECT_EQ(target[entry.control].pictureSize, Rest(entry.control)) << entry.rest;
    }
  }
  EXPECT_EQ(target[C::volButton].visible, true);
  EXPECT_EQ(target[C::volButton].topLeft, QPoint(10, 8));
  EXPECT_EQ(target[C::rewButton].topLeft, QPoint(40, 50));
  EXPECT_FALSE(target[C::playButton].visible.has_value()) << "keys without a switch";
  EXPECT_EQ(target[C::CGauge1].box, QRect(99, 78, 40, 5));
  EXPECT_EQ(target[C::mname].box, QRect(10, 100, 120, 14));
  EXPECT_EQ(target.colors[SkinColor::GaugeBar], QColor(0x1E, 0x90, 0xFF));
  EXPECT_EQ(target.colors[SkinColor::LineFill], QColor(0, 255, 0)) << "the analyser's play colour";
  EXPECT_EQ(target[C::Count].labelColor, QColor(255, 255, 0));
  EXPECT_EQ(target.tags[1], QStringLiteral("65280%"));
  EXPECT_EQ(target[C::mname].font->face, QStringLiteral("Courier New"));
  EXPECT_EQ(target.logoSize, Rest(C::UserBMP));
  EXPECT_EQ(target.logoLink, SkinLoader::LogoLink());
  EXPECT_EQ(target.calls.mid(0, 7).join(u','),
            QStringLiteral("volButton shown,volButton placed,volButton picture,CGauge1 box,"
                           "colour 0,colour 1,PauseButton placed"));
  EXPECT_EQ(target.calls.last(), QStringLiteral("panel"));
  EXPECT_EQ(target.panelSize, Rest(C::ZvSkin1));
  // The ticker restarts right after its font; its tags follow its background in number order.
  const qsizetype font = target.calls.indexOf(QStringLiteral("mname font"));
  EXPECT_EQ(target.calls.mid(font + 1, 2).join(u','),
            QStringLiteral("ticker restarted,message box"));
  const qsizetype back = target.calls.indexOf(QStringLiteral("colour 2"));
  EXPECT_EQ(target.calls.mid(back + 1, 4).join(u','), QStringLiteral("tag 1,tag 2,tag 3,tag 4"));
}

TEST_F(SkinLoaderTest, SwitchedOffControlsAreHiddenAndNotReadFurther) {
  KeyRows rows = With("VolumeButton", "10,8,ON");  // only "on" exactly is on
  test::SetRow(rows, QStringLiteral("LeftWheel"), QStringLiteral("left,top,off"));
  test::SetRow(rows, QStringLiteral("GraphicAnalyserS"), QStringLiteral("a,b,c,d,no"));
  test::SetRow(rows, QStringLiteral("TickerTapeTextColor1"));  // missing colours read as black
  folder.WriteSkin(QStringLiteral("Default"), rows);
  QFile::remove(Picture(C::WheelL));
  ASSERT_TRUE(Reload());
  EXPECT_EQ(target[C::volButton].visible, false);
  EXPECT_FALSE(target[C::volButton].topLeft.has_value());
  EXPECT_EQ(target[C::WheelL].visible, false);
  EXPECT_EQ(target[C::PaintBox1].visible, false);
  EXPECT_FALSE(target[C::PaintBox1].box.has_value());
  EXPECT_EQ(target.tags[1], QStringLiteral("0%"));
}

TEST_F(SkinLoaderTest, LargeFontsScreenReadsTheLargeVariantsAndOnlyThere) {
  ASSERT_TRUE(Load(CompleteSkinRows(), SkinLoader::kLargeFontsDpi));
  EXPECT_EQ(target[C::mname].box, QRect(12, 120, 150, 18));
  EXPECT_EQ(target[C::PaintBox1].box, QRect(140, 120, 60, 25));
  KeyRows rows = CompleteSkinRows();
  test::SetRow(rows, QStringLiteral("TickerTapeL"));
  EXPECT_FALSE(Load(rows, SkinLoader::kLargeFontsDpi));
  EXPECT_TRUE(Reload(144)) << "anything but exactly 120 reads the small variants";
  EXPECT_EQ(target[C::mname].box, QRect(10, 100, 120, 14));
}

TEST_F(SkinLoaderTest, FirstFailingRowOrPictureStopsTheLoadAndKeepsTheRowsBefore) {
  EXPECT_FALSE(Load(With("VolumeButton", "10,8"))) << "a switch row without its switch";
  EXPECT_TRUE(target.calls.isEmpty());
  EXPECT_FALSE(Load(With("Forward", "60,x")));
  EXPECT_EQ(target[C::rewButton].topLeft, QPoint(40, 50));
  EXPECT_FALSE(target.Touched(C::forwButton));
  EXPECT_FALSE(target.panelSize.has_value());
  folder.WriteSkin(QStringLiteral("Default"));
  test::ProgramFolder::WriteFile(Picture(C::delButton), "not a bitmap");
  EXPECT_FALSE(Reload());
  EXPECT_EQ(target[C::delButton].topLeft, QPoint(100, 30)) << "placed before its picture failed";
  EXPECT_FALSE(target.Touched(C::moreButton));
  folder.WriteSkin(QStringLiteral("Default"));
  QFile::remove(Picture(C::ZvSkin1));
  EXPECT_FALSE(Reload());
  EXPECT_TRUE(target.Touched(C::VolMinusButton));
  EXPECT_FALSE(target.panelSize.has_value());
  QFile::remove(folder.SkinDir() + QStringLiteral("Default.set"));
  EXPECT_FALSE(Reload()) << "no key file";
  EXPECT_TRUE(target.calls.isEmpty());
}

TEST_F(SkinLoaderTest, NamesMatchWithoutRegardToCase) {
  KeyRows rows;
  for (const auto& [key, value] : CompleteSkinRows()) rows.emplace_back(key.toLower(), value);
  folder.WriteKeyFile(QStringLiteral("DEFAULT.SET"), QStringLiteral("default"), rows);
  for (const ControlPictures& entry : kControlPictures) {
    folder.WritePicture(QStringLiteral("default"), QString::fromLatin1(entry.rest).toUpper(),
                        Rest(entry.control));
  }
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  ASSERT_TRUE(loader.LoadSkin(SkinLoader::LoadingCaption()));
  EXPECT_EQ(target.panelSize, Rest(C::ZvSkin1));
  EXPECT_EQ(loader.LoadPicture(QStringLiteral("playm.bmp")).size(), Rest(C::playButton));
  EXPECT_TRUE(loader.LoadPicture(QStringLiteral("PlayA.bmp")).isNull());
}

TEST_F(SkinLoaderTest, ProgressWindowCountsRowsAndIsGoneAfterwardsEvenAfterAFailure) {
  for (bool complete : {true, false}) {
    KeyRows rows = CompleteSkinRows();
    if (!complete) test::SetRow(rows, QStringLiteral("Stop"));  // row 8
    folder.WriteSkin(QStringLiteral("Default"), rows);
    SkinLoader loader(target, folder.Path(), kNormalDpi);
    int steps = 0;
    QPointer<TChangeClothes> window;
    loader.SetStepObserver([&](int rowsDone) {
      window = loader.ProgressWindow();
      ASSERT_FALSE(window.isNull());
      EXPECT_TRUE(window->isVisible());
      EXPECT_EQ(window->windowTitle(), QStringLiteral("Caption under test"));
      EXPECT_EQ(window->Gauge()->maximum(), SkinLoader::kRowCount);
      EXPECT_EQ(window->Gauge()->value(), ++steps);
      EXPECT_EQ(rowsDone, steps);
    });
    EXPECT_EQ(loader.LoadSkin(QStringLiteral("Caption under test")), complete);
    EXPECT_EQ(steps, complete ? SkinLoader::kRowCount : 7);
    EXPECT_TRUE(window.isNull());
  }
}

TEST_F(SkinLoaderTest, FontFilesAreTakenFromTheSkinFolderOnly) {
  QDirIterator fonts(QStringLiteral("/usr/share/fonts"), {QStringLiteral("*.ttf")}, QDir::Files,
                     QDirIterator::Subdirectories);
  if (!fonts.hasNext()) GTEST_SKIP() << "no TrueType font on this system";
  ASSERT_TRUE(Load(With("MessageLabelFont", "Gone,7,Bold,gone.ttf")));
  EXPECT_EQ(target[C::message].font->face, QStringLiteral("Gone")) << "applied without its file";
  ASSERT_TRUE(QFile::copy(fonts.next(), folder.SkinDir() + QStringLiteral("Default/SkinFace.TTF")));
  test::ProgramFolder::WriteFile(folder.SkinDir() + QStringLiteral("Default/Broken.ttf"), "no");
  SkinLoader loader(target, folder.Path(), kNormalDpi);
  EXPECT_TRUE(loader.InstallSkinFont(QStringLiteral("Skinface"), QStringLiteral("skinface.ttf")));
  EXPECT_FALSE(loader.InstallSkinFont(QStringLiteral("Gone"), QStringLiteral("gone.ttf")));
  EXPECT_FALSE(loader.InstallSkinFont(QStringLiteral("Up"), QStringLiteral("../Default.set")));
  EXPECT_FALSE(loader.InstallSkinFont(QStringLiteral("Broken"), QStringLiteral("Broken.ttf")));
}

}  // namespace
}  // namespace kiv
