// The command-line companion as a script uses it: the real kivrec-cli binary, run on cassettes
// written byte by byte, with its own environment pointing into the test's folder.
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cmath>
#include <cstdlib>

#include "CassetteTestSupport.h"

namespace kiv::test {
namespace {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// A note with a Latin-1 letter, a quote and a tab: bytes that JSON must convert or escape.
const std::string kNoted = kClockName + "|255%Caf\xE9\t\"plan\"";

class KivrecCliTest : public CassetteTest {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "runs kivrec-cli through a POSIX shell with env and single quotes";
#endif
    CassetteTest::SetUp();
  }

  // Runs kivrec-cli in the test's folder (so that even a relative path the program wrongly used
  // stays there) with `args` and the "NAME=value" settings of `env`.
  CliResult Run(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    auto quoted = [](const std::string& text) { return "'" + text + "'"; };
    std::string command = "cd " + quoted(root_) + " && env XDG_DATA_HOME=" + quoted(root_ + "xdg") +
                          " XDG_CONFIG_HOME=" + quoted(root_ + "config") + " TMPDIR=" + quoted(TempFolder());
    for (const std::string& entry : env) command += " " + quoted(entry);
    command += " " + quoted(std::string(KIVREC_BIN_DIR) + "/kivrec-cli");
    for (const std::string& arg : args) command += " " + quoted(arg);
    const int status = std::system((command + " >cli.out 2>cli.err").c_str());
    const Bytes out = ReadFile(root_ + "cli.out"), err = ReadFile(root_ + "cli.err");
#ifdef _WIN32
    const int code = status;
#else
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return {code, std::string(out.begin(), out.end()),
            std::string(err.begin(), err.end())};
  }

  std::string DefaultCassette() const { return root_ + "xdg/Zorvikware/Kiv Sound Recorder/kivrec.cst"; }

  // Two live messages of 2 and 3 seconds with a deleted one of 1 second between them.
  std::string WriteSampleCassette() {
    const std::string path = PathIn("tape.cst");
    WriteFile(path, MakeCassette({{1, 22050, 0x80}, {65535, 11025, 0x10}, {2, 33075, 0x90, kNoted}}));
    return path;
  }

  static void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFile(path, Bytes(text.begin(), text.end()));
  }
};

TEST_F(KivrecCliTest, ListAndInfoShowTheMessagesAsTextAndJsonAndDeleteRenumbersAndPacks) {
  const std::string path = WriteSampleCassette();
  CliResult text = Run({"list", "--cassette", path});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out, "1) 05.12.2026 14:03:59 (00:02)\n2) 05.12.2026 14:03:59 Caf\xE9\t\"plan\" (00:03)\n");
  const std::string name = "\"name\":\"255%05.12.2026|65280%14:03:59\"";
  const std::string noted = "\"name\":\"255%05.12.2026|65280%14:03:59|255%Caf\xC3\xA9\\t\\\"plan\\\"\"";
  EXPECT_EQ(Run({"list", "--json", "--cassette", path}).out,
            "[{\"number\":1,\"start\":0,\"end\":22050,\"seconds\":2," + name +
                ",\"display\":\"05.12.2026 14:03:59\",\"note\":\"\"},{\"number\":2,\"start\":33075,\"end\":66150,"
                "\"seconds\":3," + noted + ",\"display\":\"05.12.2026 14:03:59 Caf\xC3\xA9\\t\\\"plan\\\"\","
                "\"note\":\"Caf\xC3\xA9\\t\\\"plan\\\"\"}]\n");
  const std::string info = Run({"info", "--json", "--cassette", path}).out;
  EXPECT_NE(info.find("\"length\":66578,\"table_pos\":66150,\"message_count\":2,\"entries\":[{\"number\":1,"),
            std::string::npos) << info;
  EXPECT_NE(info.find("{\"number\":65535,\"start\":22050,\"end\":33075,"), std::string::npos) << info;
  // Delete renumbers and packs away the sound of every deleted message.
  CliResult run = Run({"delete", "1", "--cassette", path});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(SameBytes(ReadFile(path), MakeCassette({{1, 33075, 0x90, kNoted}})));
  EXPECT_EQ(FilesIn(CassettesFolder()), std::vector<std::string>{"tape.cst"});
}

TEST_F(KivrecCliTest, RenameTagsTheNoteWithTheColourOfTheRecordersSkin) {
  const std::string path = WriteSampleCassette();
  const size_t field = 66150 + 8 + 12;
  auto renamed = [&](const std::string& note) {
    CliResult run = Run({"rename", "1", "Budget|Q3 100%", "--cassette", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Slice(ReadFile(path), field, 128), NameField(kClockName + "|" + note)) << note;
  };
  renamed("255%Budget Q3 100 ");  // no settings: the recorder's built-in colour
  // The settings name the program folder; the recorder lays out its "Default" skin, else the one
  // it fell back to. Colours in key files are BBGGRR hex; tags are their decimal value.
  const std::string program = root_ + "program folder/";
  WriteText(root_ + "config/Zorvikware/Kiv Sound Recorder.conf",
            "[General]\nKSRPath=/nowhere/\n\n[3.4]\nDDX=10\nKSRPath=" + program + "\nCurrentSkin=Graphite\n");
  // Written on Windows: CR LF line ends.
  WriteText(program + "Skin/graphite.SET", "; made by hand\r\n[Graphite]\r\nTickerTapeTextColor1=38B2FF\r\n");
  renamed("3715839%Budget Q3 100 ");
  WriteText(program + "Skin/DEFAULT.set", "[Other]\nTickerTapeTextColor1=FF\n[default]\n tickertapetextcolor1 = 8AFF9C\n");
  renamed("9109404%Budget Q3 100 ");
  EXPECT_EQ(Run({"list", "--cassette", path}).out.substr(0, 41), "1) 05.12.2026 14:03:59 Budget Q3 100  (00");
}

TEST_F(KivrecCliTest, ProblemsOfAFileGoToStderrWithStatus2AndNothingChanges) {
  const std::string path = WriteSampleCassette();
  CliResult clean = Run({"check", "--cassette", path});
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_NE(clean.out.find("Deleted: table entry 2"), std::string::npos) << clean.out;
  const Bytes good = MakeCassette({{1, 1000, 0x80}, {2, 500, 0x81}});
  const size_t entry2 = 1500 + 8 + 140;
  // Each damage, and whether a table the recorder can use remains (info then still succeeds).
  const std::vector<std::pair<Bytes, bool>> damaged{
      {CassetteBuilder().Raw(Slice(good, 0, entry2 + 8)).U32(9999).Raw(Slice(good, entry2 + 12, 128)).bytes(), true},
      {CassetteBuilder().Raw(good).Entry(100000, 0, 0).bytes(), true},
      {Slice(good, 0, good.size() - 20), true},
      {Flipped(good, 1500 + 4, 0x01), false},
      {Bytes(3000, 0x80), false}};
  for (const auto& [bytes, usable] : damaged) {
    WriteFile(path, bytes);
    for (const std::string command : {"check", "info"}) {
      CliResult run = Run({command, "--cassette", path});
      EXPECT_EQ(run.status, command == "info" && usable ? 0 : 2) << command << bytes.size();
      EXPECT_NE(run.err.find("Problem: "), std::string::npos) << command << "\n" << run.err;
      EXPECT_EQ(run.out.find("Problem"), std::string::npos) << command << "\n" << run.out;
    }
    EXPECT_TRUE(SameBytes(ReadFile(path), bytes));
  }
  EXPECT_EQ(FilesIn(CassettesFolder()), std::vector<std::string>{"tape.cst"});
}

TEST_F(KivrecCliTest, WritingCommandsRefuseAFileWithoutATableAndMistakesGetTheUsage) {
  const std::string path = PathIn("junk.cst");
  const Bytes junk(5000, 0x42);
  WriteFile(path, junk);
  // Exit status 2 for a file the command cannot use, 1 for a command line it cannot read.
  for (const auto& [status, command] : std::vector<std::pair<int, std::vector<std::string>>>{
           {2, {"rename", "1", "x"}}, {2, {"delete", "1"}}, {2, {"delete-all"}}, {2, {"pack"}}, {2, {"create"}},
           {2, {"recover"}}, {2, {"import", "in.wav"}}, {2, {"export", "1", "o.wav"}}, {1, {}},
           {1, {"rename", "1"}}, {1, {"delete", "0"}}, {1, {"pack", "--json"}}, {1, {"import", "a.ogg"}},
           {1, {"export", "1", "o.mp3"}}, {1, {"list", "--mp3"}}, {1, {"export", "1", "o.mp3", "--mp3", "--bitrate", "999"}}}) {
    std::vector<std::string> args{"--cassette", path};
    args.insert(args.end(), command.begin(), command.end());
    CliResult run = Run(args);
    EXPECT_EQ(run.status, status) << args.size();
    EXPECT_EQ(run.err.find("Usage: kivrec-cli") != std::string::npos, status == 1) << run.err;
  }
  EXPECT_TRUE(SameBytes(ReadFile(path), junk));
  EXPECT_FALSE(std::filesystem::exists(DefaultCassette()));
  EXPECT_EQ(Run({"info", "--cassette", PathIn("absent.cst")}).status, 2);
}

TEST_F(KivrecCliTest, RecoverMergesAnInterruptedRecordingOnceAndOtherWritersWaitForIt) {
  // Message 2 was being recorded when the program died, either while its sound ran over the old
  // table or after the old table had been written back behind it.
  const std::string path = PathIn("tape.cst"), sidecar = PathIn("tape.zf");
  const Bytes sound = CassetteBuilder().Sound(1000, 0x80).Sound(3000, 0x81).bytes();
  const Bytes oldTable = CassetteBuilder().Table().Entry(1, 0, 1000).bytes();
  for (const Bytes& interrupted : {sound, CassetteBuilder().Raw(sound).Raw(oldTable).bytes()}) {
    WriteFile(path, interrupted);
    WriteFile(sidecar, CassetteBuilder().Raw(oldTable).Entry(2, 1000, 0xFDFDFDFD).bytes());
    EXPECT_NE(Run({"check", "--cassette", path}).err.find("recover"), std::string::npos);
    CliResult rename = Run({"rename", "1", "x", "--cassette", path});
    EXPECT_EQ(rename.status, 2);
    EXPECT_NE(rename.err.find("recover"), std::string::npos) << rename.err;
    EXPECT_TRUE(SameBytes(ReadFile(path), interrupted));

    CliResult run = Run({"recover", "--cassette", path});
    ASSERT_EQ(run.status, 0) << run.err;
    const Bytes after = ReadFile(path);
    // The recovery entry is named with the time of the recovery.
    EXPECT_TRUE(SameBytes(Slice(after, 0, 4428 - 128), CassetteBuilder().Raw(sound).Raw(oldTable).Entry(2, 1000, 4000)
                                                           .U32(kRecoveryNumber).U32(0).U32(0).bytes()));
    EXPECT_FALSE(std::filesystem::exists(sidecar));
    CliResult again = Run({"recover", "--cassette", path});
    EXPECT_NE(again.out.find("Nothing to recover"), std::string::npos) << again.out;
    EXPECT_TRUE(SameBytes(ReadFile(path), after));
  }
}

TEST_F(KivrecCliTest, CreateMakesABlankDefaultCassetteAndEmptiesOneOnlyWhenForced) {
  ASSERT_EQ(Run({"create"}).status, 0);
  EXPECT_EQ(ReadFile(DefaultCassette()), kBlank);
  // A relative XDG_DATA_HOME is not a base folder; the one under HOME is used instead.
  ASSERT_EQ(Run({"create"}, {"XDG_DATA_HOME=relative/share", "HOME=" + root_ + "home"}).status, 0);
  EXPECT_EQ(ReadFile(root_ + "home/.local/share/Zorvikware/Kiv Sound Recorder/kivrec.cst"), kBlank);
  EXPECT_FALSE(std::filesystem::exists(root_ + "relative"));

  const std::string tape = WriteSampleCassette();
  const Bytes recorded = ReadFile(tape);
  EXPECT_EQ(Run({"create", "--cassette", tape}).status, 2);
  EXPECT_TRUE(SameBytes(ReadFile(tape), recorded));
  EXPECT_EQ(Run({"create", "--force", "--cassette", tape}).status, 0);
  EXPECT_EQ(ReadFile(tape), kBlank);
}

TEST_F(KivrecCliTest, ImportAppendsASoundFileThatExportGivesBackByteForByte) {
#if !KIVREC_HAS_CONVERTER
  GTEST_SKIP() << "this kivrec-cli is built without the codec libraries, so it has no converter";
#endif
  const std::string path = WriteSampleCassette();
  const Bytes before = ReadFile(path);
  Bytes sound(22050);
  for (size_t i = 0; i < sound.size(); ++i) sound[i] = uint8_t(128 + 60 * std::sin(double(i) / 4));
  CassetteBuilder wav;  // RIFF, 8-bit mono PCM at 11025 Hz
  wav.Raw({'R', 'I', 'F', 'F'}).U32(36 + 22050).Raw({'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}).U32(16);
  wav.U32(0x10001).U32(11025).U32(11025).U32(0x80001).Raw({'d', 'a', 't', 'a'}).U32(22050).Raw(sound);
  WriteFile(PathIn("in.wav"), wav.bytes());
  WriteFile(PathIn("cut.wav"), Slice(wav.bytes(), 0, 40));
  CliResult bad = Run({"import", PathIn("cut.wav"), "--cassette", path});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err.find("kivrec-cli: File Format not Supported!"), 0u) << bad.err;
  EXPECT_TRUE(SameBytes(ReadFile(path), before));

  CliResult in = Run({"import", PathIn("in.wav"), "--json", "--cassette", path});
  EXPECT_EQ(in.status, 0) << in.err;
  EXPECT_EQ(in.err, "");  // no progress bar when stderr is no terminal
  EXPECT_NE(in.out.find("\"message\":3,"), std::string::npos) << in.out;
  EXPECT_NE(in.out.find(" Imported (00:02)\""), std::string::npos) << in.out;
  EXPECT_EQ(Run({"export", "3", PathIn("out.wav"), "--cassette", path}).status, 0);
  EXPECT_TRUE(SameBytes(ReadFile(PathIn("out.wav")), wav.bytes()));
  EXPECT_EQ(Run({"export", "3", PathIn("out.mp3"), "--mp3", "--cassette", path}).status, 0);
  const Bytes mp3 = ReadFile(PathIn("out.mp3"));
  EXPECT_EQ(Slice(mp3, mp3.size() - 128, 3), (Bytes{'T', 'A', 'G'}));
}

}  // namespace
}  // namespace kiv::test
