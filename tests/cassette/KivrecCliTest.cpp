// The command-line companion as a script uses it: the real kivrec-cli binary, run on cassettes
// written byte by byte, with its own environment pointing into the test's folder.
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <stdexcept>
#include <string_view>

#include "CassetteTestSupport.h"

extern char** environ;

namespace kiv::test {
namespace {

// Just enough JSON to read the companion's documents back; anything malformed throws.
struct Json {
  bool boolean = false;
  uint64_t number = 0;
  std::string text;
  std::vector<Json> items;
  std::map<std::string, Json> fields;
  const Json& operator[](const std::string& key) const { return fields.at(key); }
  const Json& operator[](size_t i) const { return items.at(i); }
};

class JsonReader {
 public:
  static Json Parse(std::string_view text) {
    JsonReader reader(text);
    Json value = reader.Value();
    reader.Space();
    if (reader.i_ != text.size()) throw std::runtime_error("text after the document");
    return value;
  }

 private:
  explicit JsonReader(std::string_view text) : s_(text) {}
  void Space() {
    while (i_ < s_.size() && std::string_view(" \t\r\n").find(s_[i_]) != s_.npos) ++i_;
  }
  char Next() {
    if (i_ >= s_.size()) throw std::runtime_error("unexpected end");
    return s_[i_++];
  }
  void Expect(std::string_view word) {
    if (s_.substr(i_, word.size()) != word) throw std::runtime_error("bad literal");
    i_ += word.size();
  }
  std::string String() {
    if (Next() != '"') throw std::runtime_error("string expected");
    std::string out;
    for (char c; (c = Next()) != '"';) {
      if (static_cast<unsigned char>(c) < 0x20) throw std::runtime_error("raw control character");
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      const char e = Next();
      if (e == 'u') {
        const unsigned long cp = std::stoul(std::string(s_.substr(i_, 4)), nullptr, 16);
        if (cp >= 0x80) throw std::runtime_error("only ASCII is expected escaped");
        out.push_back(char(cp));
        i_ += 4;
      } else if (size_t k = std::string_view("\"\\/bfnrt").find(e); k != std::string_view::npos) {
        out.push_back("\"\\/\b\f\n\r\t"[k]);
      } else {
        throw std::runtime_error("bad escape");
      }
    }
    return out;
  }
  Json Value() {
    Space();
    Json v;
    char c = i_ < s_.size() ? s_[i_] : '\0';
    if (c == '{' || c == '[') {
      ++i_;
      Space();
      if (i_ < s_.size() && s_[i_] == (c == '{' ? '}' : ']')) {
        ++i_;
        return v;
      }
      for (char sep = ','; sep == ','; Space(), sep = Next()) {
        Space();
        if (c == '[') {
          v.items.push_back(Value());
          continue;
        }
        std::string key = String();
        Space();
        if (Next() != ':') throw std::runtime_error("colon expected");
        v.fields[key] = Value();
      }
      if (s_[i_ - 1] != (c == '{' ? '}' : ']')) throw std::runtime_error("unclosed bracket");
    } else if (c == '"') {
      v.text = String();
    } else if (c >= '0' && c <= '9') {
      while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9')
        v.number = v.number * 10 + uint64_t(s_[i_++] - '0');
    } else if (c == 't' || c == 'f') {
      v.boolean = c == 't';
      Expect(c == 't' ? "true" : "false");
    } else {
      Expect("null");
    }
    return v;
  }

  std::string_view s_;
  size_t i_ = 0;
};

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// A note with a Latin-1 letter, a quote and a tab: bytes that JSON must convert or escape.
const std::string kNoted = kClockName + "|255%Caf\xE9\t\"plan\"";

class KivrecCliTest : public CassetteTest {
 protected:
  // Runs kivrec-cli with `args`; `env` entries "NAME=value" replace the variable, "NAME" drops it.
  CliResult Run(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e != nullptr; ++e) {
      std::string entry = *e;
      vars[entry.substr(0, entry.find('='))] = entry;
    }
    vars["XDG_DATA_HOME"] = "XDG_DATA_HOME=" + XdgData();
    vars["TMPDIR"] = "TMPDIR=" + TempFolder();
    for (const std::string& entry : env) {
      if (entry.find('=') == std::string::npos)
        vars.erase(entry);
      else
        vars[entry.substr(0, entry.find('='))] = entry;
    }
    std::vector<std::string> argv{std::string(KIVREC_BIN_DIR) + "/kivrec-cli"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp, envp;
    for (std::string& a : argv) argp.push_back(a.data());
    for (auto& item : vars) envp.push_back(item.second.data());
    argp.push_back(nullptr);
    envp.push_back(nullptr);

    const std::string outPath = root_ + "cli.out", errPath = root_ + "cli.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Inside the test's folder, so that even a relative path the program wrongly used stays there.
    posix_spawn_file_actions_addchdir_np(&actions, root_.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    CliResult result;
    int spawned = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
      ADD_FAILURE() << "cannot start " << argp[0];
      return result;
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    const Bytes out = ReadFile(outPath), err = ReadFile(errPath);
    result.out.assign(out.begin(), out.end());
    result.err.assign(err.begin(), err.end());
    return result;
  }

  std::string XdgData() const { return root_ + "xdg"; }
  std::string DefaultCassette() const {
    return XdgData() + "/Zorvikware/Kiv Sound Recorder/kivrec.cst";
  }

  // Two live messages of 2 and 3 seconds with a deleted one of 1 second between them.
  std::string WriteSampleCassette() {
    const std::string path = PathIn("tape.cst");
    WriteFile(path,
              MakeCassette({{1, 22050, 0x80}, {65535, 11025, 0x10}, {2, 33075, 0x90, kNoted}}));
    return path;
  }
};

TEST_F(KivrecCliTest, ListShowsLiveMessagesAsSelectorLinesAndAsJson) {
  const std::string path = WriteSampleCassette();
  CliResult text = Run({"list", "--cassette", path});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out,
            "1) 05.12.2026 14:03:59 (00:02)\n2) 05.12.2026 14:03:59 Caf\xE9\t\"plan\" (00:03)\n");

  CliResult json = Run({"list", "--json", "--cassette", path});
  ASSERT_EQ(json.status, 0) << json.err;
  Json list = JsonReader::Parse(json.out);
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list[0]["number"].number, 1u);
  EXPECT_EQ(list[0]["end"].number, 22050u);
  EXPECT_EQ(list[0]["seconds"].number, 2u);
  EXPECT_EQ(list[0]["name"].text, kClockName);
  EXPECT_EQ(list[0]["note"].text, "");
  EXPECT_EQ(list[1]["number"].number, 2u);
  EXPECT_EQ(list[1]["start"].number, 33075u);
  EXPECT_EQ(list[1]["seconds"].number, 3u);
  EXPECT_EQ(list[1]["name"].text, "255%05.12.2026|65280%14:03:59|255%Caf\xC3\xA9\t\"plan\"");
  EXPECT_EQ(list[1]["display"].text, "05.12.2026 14:03:59 Caf\xC3\xA9\t\"plan\"");  // UTF-8
  EXPECT_EQ(list[1]["note"].text, "Caf\xC3\xA9\t\"plan\"");
}

TEST_F(KivrecCliTest, InfoJsonDescribesTheWholeTableDeletedEntriesIncluded) {
  const std::string path = WriteSampleCassette();
  CliResult run = Run({"info", "--json", "--cassette", path});
  ASSERT_EQ(run.status, 0) << run.err;
  Json info = JsonReader::Parse(run.out);
  EXPECT_EQ(info["path"].text, path);
  EXPECT_EQ(info["base_rate"].number, 11025u);
  EXPECT_EQ(info["length"].number, FileSize(path));
  EXPECT_EQ(info["table_pos"].number, 66150u);
  EXPECT_EQ(info["message_count"].number, 2u);
  ASSERT_EQ(info["entries"].items.size(), 3u);
  EXPECT_EQ(info["entries"][1]["number"].number, 65535u);
  EXPECT_EQ(info["entries"][1]["start"].number, 22050u);
  EXPECT_EQ(info["entries"][2]["name"].text,
            "255%05.12.2026|65280%14:03:59|255%Caf\xC3\xA9\t\"plan\"");
  EXPECT_FALSE(info["inconsistent"].boolean);
  EXPECT_FALSE(info["sidecar"].boolean);
  EXPECT_EQ(info["remaining"].text, "09':55\" left for recording");  // 5 of 600 seconds used
}

TEST_F(KivrecCliTest, RenameRewritesOnlyTheNameFieldAndListShowsTheNote) {
  const std::string path = WriteSampleCassette();
  Bytes expected = ReadFile(path);
  const Bytes field = NameField(kClockName + "|255%Budget Q3 100 ");
  std::copy(field.begin(), field.end(), expected.begin() + 66150 + 8 + 12);

  CliResult run = Run({"rename", "1", "Budget|Q3 100%", "--cassette", path});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(SameBytes(ReadFile(path), expected));
  Json list = JsonReader::Parse(Run({"list", "--json", "--cassette", path}).out);
  EXPECT_EQ(list[0]["note"].text, "Budget Q3 100 ");
}

TEST_F(KivrecCliTest, DeleteRenumbersAndPacksAwayTheSoundOfDeletedMessages) {
  const std::string path = WriteSampleCassette();
  CliResult run = Run({"delete", "1", "--cassette", path});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(SameBytes(ReadFile(path), MakeCassette({{1, 33075, 0x90, kNoted}})));
  EXPECT_EQ(FilesIn(CassettesFolder()), std::vector<std::string>{"tape.cst"});
}

TEST_F(KivrecCliTest, CheckReportsDamageWithStatus2AndChangesNothing) {
  const std::string path = WriteSampleCassette();
  CliResult clean = Run({"check", "--cassette", path});
  EXPECT_EQ(clean.status, 0) << clean.out;
  EXPECT_NE(clean.out.find("Deleted: table entry 2"), std::string::npos) << clean.out;

  const Bytes good = MakeCassette({{1, 1000, 0x80}, {2, 500, 0x81}});
  const size_t entry2 = 1500 + 8 + 140;
  const std::map<std::string, Bytes> damaged{
      {"end beyond the table", CassetteBuilder()
                                   .Raw(Slice(good, 0, entry2 + 8))
                                   .U32(9999)
                                   .Raw(Slice(good, entry2 + 12, 128))
                                   .bytes()},
      {"start after end", CassetteBuilder()
                              .Raw(Slice(good, 0, entry2 + 4))
                              .U32(1600)
                              .Raw(Slice(good, entry2 + 8, 132))
                              .bytes()},
      {"recovery entry", CassetteBuilder().Raw(good).Entry(100000, 0, 0).bytes()},
      {"partial entry", Truncated(good, good.size() - 20)},
      {"bad rate word", Flipped(good, 1500 + 4, 0x01)},
      {"no table", Bytes(3000, 0x80)}};
  for (const auto& [what, bytes] : damaged) {
    WriteFile(path, bytes);
    CliResult run = Run({"check", "--cassette", path});
    EXPECT_EQ(run.status, 2) << what << "\n" << run.out;
    EXPECT_NE(run.err.find("Problem: "), std::string::npos) << what << "\n" << run.err;
    EXPECT_EQ(run.out.find("Problem: "), std::string::npos) << what;
    EXPECT_TRUE(SameBytes(ReadFile(path), bytes)) << what;
    EXPECT_EQ(FilesIn(CassettesFolder()), std::vector<std::string>{"tape.cst"}) << what;
  }
}

TEST_F(KivrecCliTest, WritingCommandsRefuseAFileWithoutATableAndLeaveItAlone) {
  const std::string path = PathIn("junk.cst");
  const Bytes junk(5000, 0x42);
  WriteFile(path, junk);
  for (std::vector<std::string> args : {std::vector<std::string>{"rename", "1", "x"},
                                        {"delete", "1"},
                                        {"delete-all"},
                                        {"pack"},
                                        {"create"},
                                        {"recover"}}) {
    args.insert(args.end(), {"--cassette", path});
    CliResult run = Run(args);
    EXPECT_EQ(run.status, 2) << args[0];
    EXPECT_FALSE(run.err.empty()) << args[0];
    EXPECT_TRUE(SameBytes(ReadFile(path), junk)) << args[0];
  }
  EXPECT_EQ(FilesIn(CassettesFolder()), std::vector<std::string>{"junk.cst"});
  EXPECT_FALSE(std::filesystem::exists(DefaultCassette()));
  EXPECT_EQ(Run({"info", "--cassette", PathIn("absent.cst")}).status, 2);
}

TEST_F(KivrecCliTest, RecoverMergesAnInterruptedRecordingOnceAndOtherWritersWaitForIt) {
  // Message 1 was on the tape; message 2 was being recorded when the program died, either while
  // its sound ran over the old table or after the old table had been written back behind it.
  const std::string path = PathIn("tape.cst"), sidecar = PathIn("tape.zf");
  const Bytes sound = CassetteBuilder().Sound(1000, 0x80).Sound(3000, 0x81).bytes();
  const Bytes oldTable = CassetteBuilder().Table().Entry(1, 0, 1000).bytes();
  for (const Bytes& interrupted : {sound, CassetteBuilder().Raw(sound).Raw(oldTable).bytes()}) {
    WriteFile(path, interrupted);
    WriteFile(sidecar, CassetteBuilder().Raw(oldTable).Entry(2, 1000, 0xFDFDFDFD).bytes());

    CliResult check = Run({"check", "--cassette", path});
    EXPECT_EQ(check.status, 2);
    EXPECT_NE(check.out.find("recover"), std::string::npos) << check.out;
    CliResult rename = Run({"rename", "1", "x", "--cassette", path});
    EXPECT_EQ(rename.status, 2);
    EXPECT_NE(rename.err.find("recover"), std::string::npos) << rename.err;
    EXPECT_TRUE(SameBytes(ReadFile(path), interrupted));
    EXPECT_TRUE(
        JsonReader::Parse(Run({"info", "--json", "--cassette", path}).out)["sidecar"].boolean);

    CliResult run = Run({"recover", "--cassette", path});
    ASSERT_EQ(run.status, 0) << run.err;
    const Bytes after = ReadFile(path);
    ASSERT_EQ(after.size(), 4000u + 8 + 3 * 140);
    EXPECT_TRUE(SameBytes(Slice(after, 0, 4000 + 8 + 140 + 8),
                          CassetteBuilder().Raw(sound).Raw(oldTable).U32(2).U32(1000).bytes()));
    EXPECT_EQ(U32At(after, 4000 + 8 + 140 + 8), 4000u);  // it ends where its sound stopped
    EXPECT_EQ(U32At(after, 4000 + 8 + 2 * 140), kRecoveryNumber);
    EXPECT_FALSE(std::filesystem::exists(sidecar));
    EXPECT_TRUE(
        JsonReader::Parse(Run({"info", "--json", "--cassette", path}).out)["inconsistent"].boolean);

    CliResult again = Run({"recover", "--cassette", path});
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.out.find("Nothing to recover"), std::string::npos) << again.out;
    EXPECT_TRUE(SameBytes(ReadFile(path), after));
  }
}

TEST_F(KivrecCliTest, CreateMakesABlankCassetteButEmptiesOneOnlyWhenForced) {
  const std::string path = PathIn("new.cst");
  const Bytes blank{0xFE, 0xFE, 0xFE, 0xFE, 0x11, 0x2B, 0x00, 0x00};
  ASSERT_EQ(Run({"create", "--cassette", path}).status, 0);
  EXPECT_TRUE(SameBytes(ReadFile(path), blank));

  const std::string tape = WriteSampleCassette();
  const Bytes recorded = ReadFile(tape);
  EXPECT_EQ(Run({"create", "--cassette", tape}).status, 2);
  EXPECT_TRUE(SameBytes(ReadFile(tape), recorded));
  EXPECT_EQ(Run({"create", "--force", "--cassette", tape}).status, 0);
  EXPECT_TRUE(SameBytes(ReadFile(tape), blank));
}

TEST_F(KivrecCliTest, DefaultCassetteLivesInTheDataFolderOfXdgDataHomeOrHome) {
  ASSERT_EQ(Run({"create"}).status, 0);
  EXPECT_EQ(FileSize(DefaultCassette()), 8u);
  EXPECT_EQ(JsonReader::Parse(Run({"info", "--json"}).out)["path"].text, DefaultCassette());

  // A relative XDG_DATA_HOME is not a base folder; the one under HOME is used instead.
  const std::vector<std::string> env{"XDG_DATA_HOME=relative/share", "HOME=" + root_ + "home"};
  ASSERT_EQ(Run({"create"}, env).status, 0);
  EXPECT_EQ(FileSize(root_ + "home/.local/share/Zorvikware/Kiv Sound Recorder/kivrec.cst"), 8u);
  EXPECT_FALSE(std::filesystem::exists(root_ + "relative"));
  EXPECT_EQ(Run({"list"}, {"XDG_DATA_HOME", "HOME=" + root_ + "home"}).status, 0);
}

TEST_F(KivrecCliTest, CommandLineMistakesExitWith1AndUsage) {
  const std::string path = WriteSampleCassette();
  const Bytes before = ReadFile(path);
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"rename", "1"},
                                             {"rename", "1", ""},
                                             {"delete", "x"},
                                             {"delete", "0"},
                                             {"pack", "--json"},
                                             {"list", "--force"},
                                             {"info", "--cassette"},
                                             {"check", "--verbose"}}) {
    std::vector<std::string> withPath = args;
    if (args.empty() || args.back() != "--cassette")
      withPath.insert(withPath.end(), {"--cassette", path});
    CliResult run = Run(withPath);
    EXPECT_EQ(run.status, 1) << (args.empty() ? "(none)" : args[0]);
    EXPECT_NE(run.err.find("Usage: kivrec-cli"), std::string::npos);
  }
  EXPECT_TRUE(SameBytes(ReadFile(path), before));
  CliResult help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Exit status"), std::string::npos);
}

TEST_F(KivrecCliTest, AWriterIsRefusedWhileAnotherProgramHoldsTheCassette) {
  const std::string path = WriteSampleCassette();
  const Bytes before = ReadFile(path);
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  CliResult rename = Run({"rename", "1", "x", "--cassette", path});
  CliResult info = Run({"info", "--cassette", path});
  ::close(fd);
  EXPECT_EQ(rename.status, 2);
  EXPECT_NE(rename.err.find("not available"), std::string::npos) << rename.err;
  EXPECT_TRUE(SameBytes(ReadFile(path), before));
  EXPECT_EQ(info.status, 0) << "reading needs no lock";
}

}  // namespace
}  // namespace kiv::test
