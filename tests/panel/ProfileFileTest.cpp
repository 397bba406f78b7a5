// Reading skin key files with the system profile reader's rules. Files on disk, and a missing
// one, are read through the skin loader's tests.
#include <gtest/gtest.h>

#include "PanelTestSupport.h"
#include "panel/ProfileFile.h"

namespace kiv {
namespace {

QString Read(const QByteArray& file, const char* section, const char* key) {
  return ProfileFile::FromBytes(file).ReadString(QLatin1String(section), QLatin1String(key),
                                                 QStringLiteral("0"));
}

TEST(ProfileFile, ReadsLikeTheSystemProfileReader) {
  const QByteArray file =
      "A=before any section\r\n"
      "  [Default]  \r\n"
      "VolumeButton=10,8,on\r\n"
      "Bare\nEmpty=\n"
      "   Key \t=   a b  \t\r"
      ";Comment=no\n  ; Key2=no\n"
      "Face=\"Courier New\"\nSingle='x'\nFont=\"Courier New\",8,Bold,off\nLone=\"\n"
      "Dup=1\nDup=2\nLatin=Caf\xe9\n"
      "[Other]\nB=3\n[default]\nDup=4\nC=5";
  const std::pair<const char*, const char*> cases[] = {
      {"volumebutton", "10,8,on"},  // names ignore case
      // Missing and "=" less keys read the default; present but empty is not missing.
      {"Absent", "0"}, {"Bare", "0"}, {"Empty", ""},
      {"Key", "a b"}, {";Comment", "0"},  // blanks around names and values go; any line end works
      {"Face", "Courier New"}, {"Single", "x"},  // one pair of enclosing quotes goes
      // A value that only starts with a quote keeps it: the comma-text split needs it.
      {"Font", "\"Courier New\",8,Bold,off"}, {"Lone", "\""},
      {"Dup", "1"}, {"C", "0"}, {"A", "0"},  // the first key of a name and the first section win
  };
  for (const auto& [key, value] : cases)
    EXPECT_EQ(Read(file, "DEFAULT", key), QLatin1String(value)) << key;
  EXPECT_EQ(Read(file, "Other", "B"), QStringLiteral("3"));
  EXPECT_EQ(Read(file, "Default", "Latin"), QString::fromUtf8("Caf\xc3\xa9")) << "single-byte text";
}

TEST(ProfileFile, ValueIsCutAt2047Characters) {
  const QByteArray longValue(3000, 'x');
  const QByteArray file = "[S]\nLong=" + longValue + "\nQuoted=\"" + longValue + "\"\n";
  EXPECT_EQ(Read(file, "S", "Long"), QString(2047, u'x'));
  EXPECT_EQ(Read(file, "S", "Quoted"), QString(2047, u'x'));
}

}  // namespace
}  // namespace kiv
