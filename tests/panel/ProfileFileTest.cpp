// Reading skin key files with the system profile reader's rules.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "PanelTestSupport.h"
#include "panel/ProfileFile.h"

namespace kiv {
namespace {

QString Read(const QByteArray& file, const char* section, const char* key) {
  return ProfileFile::FromBytes(file).ReadString(QLatin1String(section), QLatin1String(key),
                                                 QStringLiteral("0"));
}

TEST(ProfileFile, SectionAndKeyNamesIgnoreCase) {
  const QByteArray file = "[Default]\nVolumeButton=10,8,on\n";
  EXPECT_EQ(Read(file, "default", "volumebutton"), QStringLiteral("10,8,on"));
  EXPECT_EQ(Read(file, "DEFAULT", "VOLUMEBUTTON"), QStringLiteral("10,8,on"));
  EXPECT_EQ(Read(file, "Other", "VolumeButton"), QStringLiteral("0"));
}

TEST(ProfileFile, MissingKeyOrKeyWithoutEqualsReadsTheDefault) {
  const QByteArray file = "[S]\nBare\nEmpty=\n";
  EXPECT_EQ(Read(file, "S", "Absent"), QStringLiteral("0"));
  EXPECT_EQ(Read(file, "S", "Bare"), QStringLiteral("0"));
  // Present but empty is not missing.
  EXPECT_EQ(Read(file, "S", "Empty"), QString());
}

TEST(ProfileFile, BlanksAroundNamesAndValuesAreDropped) {
  const QByteArray file = "  [S]  \n   Key \t=   a b  \t\n";
  EXPECT_EQ(Read(file, "S", "Key"), QStringLiteral("a b"));
}

TEST(ProfileFile, OnePairOfEnclosingQuotesIsRemoved) {
  const QByteArray file =
      "[S]\nFace=\"Courier New\"\nSingle='x'\nFont=\"Courier New\",8,Bold,off\nLone=\"\n";
  EXPECT_EQ(Read(file, "S", "Face"), QStringLiteral("Courier New"));
  EXPECT_EQ(Read(file, "S", "Single"), QStringLiteral("x"));
  // A value that only starts with a quote keeps it: the comma-text split needs it.
  EXPECT_EQ(Read(file, "S", "Font"), QStringLiteral("\"Courier New\",8,Bold,off"));
  EXPECT_EQ(Read(file, "S", "Lone"), QStringLiteral("\""));
}

TEST(ProfileFile, CommentLinesAreNotKeys) {
  const QByteArray file = "[S]\n;Key=commented\n  ; Key=also\nKey=real\n";
  EXPECT_EQ(Read(file, "S", "Key"), QStringLiteral("real"));
  EXPECT_EQ(Read(file, "S", ";Key"), QStringLiteral("0"));
}

TEST(ProfileFile, FirstSectionAndFirstKeyOfANameWin) {
  const QByteArray file = "[S]\nA=1\nA=2\n[Other]\nB=3\n[s]\nA=4\nC=5\n";
  EXPECT_EQ(Read(file, "S", "A"), QStringLiteral("1"));
  // Only the first [S] is searched.
  EXPECT_EQ(Read(file, "S", "C"), QStringLiteral("0"));
  EXPECT_EQ(Read(file, "Other", "B"), QStringLiteral("3"));
}

TEST(ProfileFile, KeysBeforeAnySectionBelongToNoNamedSection) {
  const QByteArray file = "A=1\n[S]\nB=2\n";
  EXPECT_EQ(Read(file, "S", "A"), QStringLiteral("0"));
  EXPECT_EQ(Read(file, "S", "B"), QStringLiteral("2"));
}

TEST(ProfileFile, AnyLineEndWorks) {
  const QByteArray file = "[S]\r\nA=1\r\nB=2\rC=3";
  EXPECT_EQ(Read(file, "S", "A"), QStringLiteral("1"));
  EXPECT_EQ(Read(file, "S", "B"), QStringLiteral("2"));
  EXPECT_EQ(Read(file, "S", "C"), QStringLiteral("3"));
}

TEST(ProfileFile, ValueIsCutAt2047Characters) {
  const QByteArray longValue(3000, 'x');
  const QByteArray file = "[S]\nLong=" + longValue + "\nQuoted=\"" + longValue + "\"\n";
  EXPECT_EQ(Read(file, "S", "Long"), QString(2047, u'x'));
  EXPECT_EQ(Read(file, "S", "Quoted"), QString(2047, u'x'));
  const QByteArray exact = "[S]\nV=" + QByteArray(2047, 'y') + "\n";
  EXPECT_EQ(Read(exact, "S", "V").size(), 2047);
}

TEST(ProfileFile, TextIsSingleByte) {
  const QByteArray file = "[S]\nFace=Caf\xe9\n";
  EXPECT_EQ(Read(file, "S", "Face"), QString::fromUtf8("Caf\xc3\xa9"));
}

TEST(ProfileFile, MissingFileReadsEveryKeyAsTheDefault) {
  QTemporaryDir dir;
  const ProfileFile profile(dir.filePath(QStringLiteral("Nothing.set")));
  EXPECT_EQ(
      profile.ReadString(QStringLiteral("Default"), QStringLiteral("Play"), QStringLiteral("0")),
      QStringLiteral("0"));
  EXPECT_EQ(profile.ReadString(QStringLiteral("Default"), QStringLiteral("Play"),
                               QStringLiteral("fallback")),
            QStringLiteral("fallback"));
}

TEST(ProfileFile, ReadsAFileFromDisk) {
  test::ProgramFolder folder;
  folder.WriteKeyFile(QStringLiteral("Default.set"), QStringLiteral("Default"),
                      {{QStringLiteral("Play"), QStringLiteral("40,30")}});
  const ProfileFile profile(folder.SkinDir() + QStringLiteral("Default.set"));
  EXPECT_EQ(
      profile.ReadString(QStringLiteral("Default"), QStringLiteral("Play"), QStringLiteral("0")),
      QStringLiteral("40,30"));
}

}  // namespace
}  // namespace kiv
