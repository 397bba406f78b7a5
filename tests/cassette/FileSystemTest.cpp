// The platform's file system on its own: the folder of a path, names beyond ASCII, a second
// writer refused without harm to the file, moves that never overwrite, and the volumes' names
// and free space that the disk-space texts show.
#include <gtest/gtest.h>

#include "CassetteTestSupport.h"
#include "cassette/DiskSpace.h"

namespace kiv {
namespace {

TEST(FolderOf, KeepsTheSeparatorAndKnowsThePlatformsOwn) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a/b/c.cst", "a/b/"}, {"c.cst", ""}, {"/c.cst", "/"},
#ifdef _WIN32
      {"C:\\x\\c.cst", "C:\\x\\"}, {"C:\\x/y\\c.cst", "C:\\x/y\\"}, {"C:c.cst", "C:"},
#endif
  };
  for (const auto& [path, folder] : cases) EXPECT_EQ(FolderOf(path), folder) << path;
}

class FileSystemTest : public test::CassetteTest {};

TEST_F(FileSystemTest, UnicodeNamesOneWriterAtATimeAndMovesThatNeverOverwrite) {
  FileSystem& files = FileSystem::Default();
  const std::string name = PathIn("Caf\xC3\xA9 \xD0\x96.cst");
  std::unique_ptr<File> writer, second, reader;
  ASSERT_TRUE(files.Open(name, File::Mode::CreateReadWrite, &writer).ok());
  ASSERT_TRUE(writer->WriteAt(0, "abc", 3) && writer->Sync());
  const std::u8string utf8(name.begin(), name.end());
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(utf8)));  // the name, not mojibake
  for (File::Mode mode : {File::Mode::ReadWrite, File::Mode::CreateReadWrite}) {
    Status refused = files.Open(name, mode, &second);
    EXPECT_EQ(refused.code(), StatusCode::Unavailable) << refused.message();
  }
  ASSERT_TRUE(files.Open(name, File::Mode::ReadOnly, &reader).ok());
  char back[3] = {};
  EXPECT_TRUE(reader->ReadAt(0, back, 3) && std::string(back, 3) == "abc" && files.Size(name) == 3);
  EXPECT_FALSE(reader->ReadAt(1, back, 3));  // short
  writer.reset();
  reader.reset();

  const std::string taken = PathIn("taken.cst"), free = PathIn("free.cst");
  test::WriteFile(taken, {'x'});
  EXPECT_EQ(files.MoveNoReplace(name, taken), MoveResult::TargetTaken);
  EXPECT_EQ(test::ReadFile(taken), test::Bytes{'x'});
  EXPECT_EQ(files.MoveNoReplace(name, free), MoveResult::Moved);
  EXPECT_FALSE(files.Exists(name));
  EXPECT_TRUE(files.Replace(free, taken));
  EXPECT_EQ(test::ReadFile(taken), (test::Bytes{'a', 'b', 'c'}));
  EXPECT_TRUE(files.Remove(free) && files.Remove(taken) && !files.Exists(taken));
  EXPECT_EQ(files.Open(taken, File::Mode::ReadOnly, &reader).code(), StatusCode::NotFound);
}

TEST(VolumeNameOfRoot, DriveLettersAreUpperCaseWithAColonOthersLoseTheirLastSeparator) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"c:\\", "C:"}, {"D:/", "D:"}, {"e:", "E:"}, {"\\\\server\\share\\", "\\\\server\\share"},
      {"/", "/"}, {"/media/tape/", "/media/tape"}, {"", ""}};
  for (const auto& [root, name] : cases) EXPECT_EQ(VolumeNameOfRoot(root), name) << root;
}

TEST_F(FileSystemTest, AFileNotMadeYetIsMeasuredOnTheVolumeItWillLandOn) {
  const std::string folder = PathIn(""), later = PathIn("not yet/deeper/tape.cst");
  const double free = FreeMiBOn(folder);
  EXPECT_GT(free, 0.0);
  EXPECT_NEAR(FreeMiBOn(later), free, 64.0);  // other programs may write meanwhile
  const std::string volume = VolumeNameOf(folder);
  EXPECT_EQ(VolumeNameOf(later), volume);
#ifdef _WIN32
  // The drive's letter as the texts show it, whichever way the path spells it.
  ASSERT_TRUE(folder.size() > 2 && folder[1] == ':') << folder;
  EXPECT_EQ(volume, std::string(1, char(std::toupper(folder[0]))) + ":");
  EXPECT_EQ(VolumeNameOf("c:/nowhere/tape.cst"), "C:");
  EXPECT_GT(FreeMiBOn("c:\\nowhere\\tape.cst"), 0.0);
#else
  // The mount point holding the folder: a leading part of its real path, and the innermost one.
  const std::string real = std::filesystem::canonical(folder).string();
  EXPECT_TRUE(volume == "/" || real.compare(0, volume.size() + 1, volume + "/") == 0) << volume << " " << real;
  EXPECT_EQ(VolumeNameOf("/proc/self/status"), "/proc");
  EXPECT_EQ(VolumeNameOf("/"), "/");
#endif
}

}  // namespace
}  // namespace kiv
