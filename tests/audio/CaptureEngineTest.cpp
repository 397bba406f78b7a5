// Recording through the capture engine with a fake sound card onto real cassette files: which
// rates the card is asked for, the bytes that reach the cassette at every rate conversion, pause,
// the running guards, the table written back at stop, and every way a start can fail without
// leaving a device open or a cassette changed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>
#include <memory>
#include <new>

#include "../cassette/CassetteTestSupport.h"
#include "AudioTestSupport.h"
#include "audio/CaptureEngine.h"
#include "cassette/Cassette.h"
#include "cassette/File.h"
#include "platform/fake/FakeAudioInput.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFreeSpace.h"

namespace kiv {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using test::Bytes;
using test::CaptureRecordingView;
using test::CassetteBuilder;
using test::kClockName;
using test::MakeCassette;
using test::SameBytes;

// An input device that runs out of memory on one chosen AddBuffer and otherwise is the fake.
class CaptureOutOfMemoryInput final : public AudioInput {
 public:
  explicit CaptureOutOfMemoryInput(int failingAdd) : failingAdd_(failingAdd) {
    connect(&card, &AudioInput::BufferFull, this, &AudioInput::BufferFull);
  }
  int Open(uint32_t rate) override { return card.Open(rate); }
  bool AddBuffer(int size) override {
    if (++adds_ == failingAdd_) throw std::bad_alloc();
    return card.AddBuffer(size);
  }
  bool Start() override { return card.Start(); }
  void Stop() override { card.Stop(); }
  void Reset() override { card.Reset(); }
  void Close() override { card.Close(); }
  bool IsOpen() const override { return card.IsOpen(); }

  FakeAudioInput card;

 private:
  int failingAdd_;
  int adds_ = 0;
};

// Fails the n-th write to the disk, counting from when it is installed.
class CaptureFailNthWrite final : public test::IoFaults {
 public:
  explicit CaptureFailNthWrite(int n) : n_(n) {}
  bool ShouldFail(test::IoOp op, const std::string&) override { return op == test::IoOp::Write && ++seen_ == n_; }

 private:
  int n_;
  int seen_ = 0;
};

Bytes Ramp(size_t size, unsigned seed = 0) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t((i * 7 + seed) % 256);
  return bytes;
}

QByteArray ToQ(const Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class CaptureEngineTest : public test::CassetteTest {
 protected:
  void SetUp() override {
    test::CassetteTest::SetUp();
    cassette_ = std::make_unique<Cassette>(Env());
    engine_ = std::make_unique<CaptureEngine>(*cassette_, input_, freeSpace_, dialogs_, view_);
  }
  void TearDown() override {
    engine_.reset();
    cassette_.reset();
    test::CassetteTest::TearDown();
  }

  // A cassette file at `name` holding `bytes`, opened as the current cassette.
  std::string OpenCassetteWith(const std::string& name, const Bytes& bytes) {
    const std::string path = PathIn(name);
    test::WriteFile(path, bytes);
    EXPECT_EQ(cassette_->OpenCassette(path), OpenOutcome::Opened);
    return path;
  }

  std::string OpenBlank(uint32_t rate = 11025) {
    return OpenCassetteWith("rec.cst", CassetteBuilder().Table(rate).bytes());
  }

  // Sound arrives at the card; the buffers it fills reach the engine.
  void Feed(const Bytes& sound) {
    input_.Capture(ToQ(sound));
    QCoreApplication::processEvents();
  }

  std::vector<std::string> OpenCalls() const {
    std::vector<std::string> opens;
    for (const std::string& call : input_.Calls()) {
      if (call.rfind("Open(", 0) == 0 || call == "Close") opens.push_back(call);
    }
    return opens;
  }

  void ExpectError07Only() {
    ASSERT_EQ(dialogs_.Calls().size(), 1);
    const FakeDialogs::Call& box = dialogs_.Calls().front();
    EXPECT_EQ(box.kind, FakeDialogs::Kind::MessageBox);
    EXPECT_EQ(box.caption, QStringLiteral("Kiv Sound Recorder - Error #07"));
    EXPECT_EQ(box.text,
              QStringLiteral("Kiv Sound Recorder can not start recording.\r\nIf your sound card is "
                             "half-duplex playback from another program and recording at the same "
                             "time is not possible.\r\nPossible reasons also include blocked "
                             "access to the sound card by another program and non-matching "
                             "input/output sampling rates."));
    EXPECT_EQ(box.flags, 16);
  }

  FakeAudioInput input_;
  FakeFreeSpace freeSpace_{1024.0};
  FakeDialogs dialogs_;
  CaptureRecordingView view_;
  std::unique_ptr<Cassette> cassette_;
  std::unique_ptr<CaptureEngine> engine_;
};

TEST_F(CaptureEngineTest, StartOpensAtTheCassetteRateQueuesEightBuffersAndBeginsTheMessage) {
  const std::string path = OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());

  EXPECT_THAT(input_.Calls(),
              ElementsAre("Open(11025)", "AddBuffer(1024)", "AddBuffer(1024)", "AddBuffer(1024)",
                          "AddBuffer(1024)", "AddBuffer(1024)", "AddBuffer(1024)",
                          "AddBuffer(1024)", "Start", "AddBuffer(1024)"));
  EXPECT_EQ(input_.QueuedBuffers(), 8);
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 8);
  EXPECT_EQ(engine_->CaptureRatio(), 1.0f);
  EXPECT_EQ(engine_->CaptureBufferSize(), 1024);
  EXPECT_TRUE(engine_->Recording());
  EXPECT_FALSE(engine_->RecordPaused());
  EXPECT_EQ(engine_->CapturedBytes(), 0u);
  // The open entry is on disk before any sound.
  EXPECT_TRUE(SameBytes(test::ReadFile(Cassette::SidecarPathFor(path)),
                        CassetteBuilder().Table().Entry(1, 0, kOpenEnd).bytes()));
  EXPECT_THAT(view_.Lines(),
              ElementsAre("Label rec", "CustomText", "Menu delMsg off", "Menu ExportMessage1 off",
                          "RecordingState"));
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
}

TEST_F(CaptureEngineTest, CardTakingTheCassetteRateWritesEachBufferAsItCame) {
  OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes first = Ramp(1024, 1);
  const Bytes second = Ramp(1024, 2);

  Feed(first);
  EXPECT_EQ(cassette_->WritePosition(), 1024u);
  EXPECT_EQ(engine_->CapturedBytes(), 1024u);
  Feed(second);
  EXPECT_EQ(cassette_->WritePosition(), 2048u);

  // Each handled buffer is replaced at once: the card always holds eight.
  EXPECT_EQ(input_.QueuedBuffers(), 8);
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 8);
  ASSERT_EQ(view_.traces.size(), 2);
  EXPECT_EQ(view_.traces[0], ToQ(first));
  EXPECT_EQ(view_.traces[1], ToQ(second));
  EXPECT_EQ(view_.Last(QStringLiteral("Counter")), QStringLiteral("Counter 00:00"));
  EXPECT_EQ(view_.calls.count(QStringLiteral("Wheels")), 2);
  EXPECT_EQ(view_.calls.count(QStringLiteral("Label rec")), 3);
}

TEST_F(CaptureEngineTest, CardRefusing11025RecordsAt8000WithEveryByteDoubled) {
  OpenBlank();
  input_.SetOpenResult(11025, kAudioBadFormat);
  ASSERT_TRUE(engine_->StartRecording());
  EXPECT_THAT(OpenCalls(), ElementsAre("Open(11025)", "Open(8000)"));
  EXPECT_EQ(engine_->CaptureRatio(), float(11025.0 / 8000.0));

  const Bytes sound = Ramp(1024);
  Feed(sound);
  Bytes doubled;
  for (uint8_t b : sound) doubled.insert(doubled.end(), 2, b);
  EXPECT_EQ(cassette_->WritePosition(), 2048u);

  // The counter runs on the card's clock: 8000 captured bytes are one second, however many
  // bytes the cassette received for them.
  for (int i = 0; i < 6; ++i) Feed(Ramp(1024, 9));
  EXPECT_EQ(view_.Last(QStringLiteral("Counter")), QStringLiteral("Counter 00:00"));
  Feed(Ramp(1024, 9));
  EXPECT_EQ(engine_->CapturedBytes(), 8192u);
  EXPECT_EQ(view_.Last(QStringLiteral("Counter")), QStringLiteral("Counter 00:01"));
  // The trace shows what the card delivered, not the converted bytes.
  EXPECT_EQ(view_.traces.front(), ToQ(sound));

  engine_->StopRecording();
  const Bytes file = test::ReadFile(PathIn("rec.cst"));
  ASSERT_GE(file.size(), 2048u);
  EXPECT_TRUE(SameBytes(test::Slice(file, 0, 2048), doubled));
}

// A card that refuses the cassette's rate is tried at 8000, 11025, 22050 and 44100 in this
// order; its bytes are repeated (rounding the ratio up) or thinned out to the cassette's rate.
TEST_F(CaptureEngineTest, OtherCardRatesAreTriedInOrderAndConvertedToTheCassettesRate) {
  struct Case {
    uint32_t cassetteRate, cardRate;
    std::vector<std::string> opens;
    size_t repeats, stride;
  };
  const Case cases[] = {
      {11025, 22050, {"Open(11025)", "Open(8000)", "Open(11025)", "Open(22050)"}, 1, 2},
      {11025, 44100, {"Open(11025)", "Open(8000)", "Open(11025)", "Open(22050)", "Open(44100)"}, 1, 4},
      {44100, 8000, {"Open(44100)", "Open(8000)"}, 6, 1},
      {22050, 11025, {"Open(22050)", "Open(8000)", "Open(11025)"}, 2, 1},
      {22050, 8000, {"Open(22050)", "Open(8000)"}, 3, 1},  // 2.75625 rounded up
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.cassetteRate) + " on " + std::to_string(c.cardRate));
    input_.ClearCalls();
    for (uint32_t rate : {8000u, 11025u, 22050u, 44100u}) {
      input_.SetOpenResult(rate, rate == c.cardRate ? kAudioOk : kAudioBadFormat);
    }
    OpenBlank(c.cassetteRate);
    ASSERT_TRUE(engine_->StartRecording());
    EXPECT_EQ(OpenCalls(), c.opens);
    const Bytes sound = Ramp(1024);
    Feed(sound);
    Bytes expected;
    for (size_t i = 0; i < sound.size(); i += c.stride) expected.insert(expected.end(), c.repeats, sound[i]);
    engine_->StopRecording();
    EXPECT_TRUE(SameBytes(test::ReadFile(PathIn("rec.cst")),
                          CassetteBuilder().Raw(expected).Table(c.cassetteRate)
                              .Entry(1, 0, uint32_t(expected.size())).bytes()));
  }
}

TEST_F(CaptureEngineTest, RefusalWithAnotherCodeTriesNoOtherRateAndChangesNothing) {
  const Bytes before = MakeCassette({{1, 3000, 0x41}});
  const std::string path = OpenCassetteWith("rec.cst", before);
  const auto filesBefore = test::FilesIn(CassettesFolder());
  input_.SetOpenResult(11025, kAudioAllocated);

  EXPECT_FALSE(engine_->StartRecording());

  EXPECT_THAT(input_.Calls(), ElementsAre("Open(11025)", "Close"));
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_FALSE(engine_->Recording());
  ExpectError07Only();
  EXPECT_THAT(view_.Lines(), ElementsAre("RecordKeyAtRest", "Tray Kiv Sound Recorder"));
  cassette_->CloseStream();
  EXPECT_TRUE(SameBytes(test::ReadFile(path), before));
  EXPECT_EQ(test::FilesIn(CassettesFolder()), filesBefore);
  EXPECT_EQ(cassette_->MessageCount(), 1u);
}

TEST_F(CaptureEngineTest, CardRefusingEveryRateGetsError07AndNoMessage) {
  const Bytes before = MakeCassette({{1, 3000, 0x41}, {2, 500, 0x42}});
  const std::string path = OpenCassetteWith("rec.cst", before);
  const auto filesBefore = test::FilesIn(CassettesFolder());
  input_.SetDefaultOpenResult(kAudioBadFormat);

  EXPECT_FALSE(engine_->StartRecording());

  EXPECT_THAT(input_.Calls(), ElementsAre("Open(11025)", "Open(8000)", "Open(11025)",
                                          "Open(22050)", "Open(44100)", "Close"));
  EXPECT_FALSE(engine_->Recording());
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 0);
  ExpectError07Only();
  cassette_->CloseStream();
  EXPECT_TRUE(SameBytes(test::ReadFile(path), before));
  EXPECT_EQ(test::FilesIn(CassettesFolder()), filesBefore);
  // Nothing of a recording happened on the panel either.
  EXPECT_EQ(view_.IndexOf(QStringLiteral("Label rec")), -1);
  EXPECT_EQ(view_.Last(QStringLiteral("Menu")), QString());
}

TEST_F(CaptureEngineTest, PausedSoundNeverReachesTheCassette) {
  const Bytes old = MakeCassette({{1, 55125, 0x30}});  // five seconds
  const std::string path = OpenCassetteWith("rec.cst", old);
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes before = Ramp(1024, 1);
  const Bytes after = Ramp(1024, 2);

  Feed(before);
  // Half a buffer is under way when Pause is pressed; it comes back and is dropped.
  Feed(Bytes(500, 0xEE));
  engine_->PauseCapture();
  EXPECT_TRUE(engine_->RecordPaused());
  EXPECT_FALSE(input_.IsStarted());
  QCoreApplication::processEvents();
  EXPECT_EQ(cassette_->WritePosition(), 55125u + 1024u);
  EXPECT_EQ(input_.QueuedBuffers(), 8);
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 8);
  // While paused the hint tells the time left, counting what is recorded so far.
  EXPECT_EQ(view_.Last(QStringLiteral("Hint")), QStringLiteral("Hint 09':55\" left for recording"));
  Feed(Bytes(1024, 0xEE));  // the stopped card takes nothing

  // Record again resumes.
  EXPECT_TRUE(engine_->StartRecording());
  EXPECT_FALSE(engine_->RecordPaused());
  EXPECT_TRUE(input_.IsStarted());
  Feed(after);
  ASSERT_EQ(view_.traces.size(), 2);

  engine_->StopRecording();
  const Bytes table = test::Slice(old, 55125, old.size() - 55125);
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        CassetteBuilder()
                            .Raw(test::Slice(old, 0, 55125))
                            .Raw(before)
                            .Raw(after)
                            .Raw(table)
                            .Entry(2, 55125, 55125 + 2048)
                            .bytes()));
}

TEST_F(CaptureEngineTest, StopWhilePausedSavesTheMessageAndClosesTheCard) {
  const std::string path = OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes sound = Ramp(1024);
  Feed(sound);
  engine_->PauseCapture();
  input_.ClearCalls();

  engine_->StopRecording();

  // Started again so that the close hands every buffer back, then closed.
  ASSERT_FALSE(input_.Calls().empty());
  EXPECT_EQ(input_.Calls().front(), "Start");
  EXPECT_THAT(std::vector<std::string>(input_.Calls().end() - 3, input_.Calls().end()),
              ElementsAre("Stop", "Reset", "Close"));
  EXPECT_FALSE(engine_->Recording());
  EXPECT_FALSE(engine_->RecordPaused());
  QCoreApplication::processEvents();
  EXPECT_EQ(input_.QueuedBuffers(), 0);
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 0);
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        CassetteBuilder().Raw(sound).Table().Entry(1, 0, 1024).bytes()));
}

TEST_F(CaptureEngineTest, ResumeTheCardRefusesStaysPausedAndStopStillSaves) {
  const std::string path = OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes sound = Ramp(1024);
  Feed(sound);
  engine_->PauseCapture();
  input_.SetStartFails(true);

  EXPECT_FALSE(engine_->StartRecording());

  EXPECT_TRUE(engine_->Recording());
  EXPECT_TRUE(engine_->RecordPaused());
  ExpectError07Only();
  engine_->StopRecording();
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        CassetteBuilder().Raw(sound).Table().Entry(1, 0, 1024).bytes()));
}

TEST_F(CaptureEngineTest, StopWritesTheOldTableBackAfterTheSoundAndAppendsTheNewEntry) {
  const Bytes old = MakeCassette({{1, 3000, 0x41}, {65535, 200, 0x42}, {2, 700, 0x43}});
  const std::string path = OpenCassetteWith("rec.cst", old);
  const uint32_t tablePos = 3900;
  view_.autoRewind = false;
  ASSERT_TRUE(engine_->StartRecording());
  Bytes sound;
  for (unsigned i = 0; i < 11; ++i) {
    const Bytes buffer = Ramp(1024, i);
    sound.insert(sound.end(), buffer.begin(), buffer.end());
    Feed(buffer);
  }
  view_.calls.clear();

  engine_->StopRecording();

  const uint32_t end = tablePos + 11 * 1024;
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        CassetteBuilder()
                            .Raw(test::Slice(old, 0, tablePos))
                            .Raw(sound)
                            .Raw(test::Slice(old, tablePos, old.size() - tablePos))
                            .Entry(3, tablePos, end)
                            .bytes()));
  EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
  EXPECT_EQ(cassette_->MessageCount(), 3u);
  EXPECT_EQ(cassette_->CurrentMessage(), 3u);
  EXPECT_EQ(cassette_->MessageStart(), tablePos);
  EXPECT_EQ(cassette_->MessageEnd(), end);
  // Without auto rewind the play head waits at the end of the new message.
  EXPECT_EQ(cassette_->Head().Position(), end);
  EXPECT_TRUE(cassette_->CassetteStreamClosed());
  EXPECT_FALSE(engine_->Recording());
  EXPECT_THAT(view_.Lines(),
              ElementsAre("Menu delMsg on", "Menu DeleteCassette1 on", "Menu ListNotations1 on",
                          "Menu EnterNote1 on", "Menu ExportMessage1 on", "Counter 00:01 / 00:01",
                          "Label 3/3", "Tray Kiv Sound Recorder", "IdleLine",
                          "IdleState previous=1 next=0", "CustomText"));
}

TEST_F(CaptureEngineTest, StopWithAutoRewindLeavesThePlayHeadAtTheNewMessageStart) {
  const std::string path = OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());
  for (int i = 0; i < 11; ++i) Feed(Ramp(1024, unsigned(i)));
  engine_->StopRecording();
  EXPECT_EQ(cassette_->Head().Position(), 0u);
  EXPECT_EQ(view_.Last(QStringLiteral("Counter")), QStringLiteral("Counter 00:01 / 00:00"));
  EXPECT_EQ(view_.Last(QStringLiteral("IdleState")), QStringLiteral("IdleState previous=0 next=0"));
  EXPECT_EQ(view_.Last(QStringLiteral("Label")), QStringLiteral("Label 1/1"));
}

TEST_F(CaptureEngineTest, CapacityGuardStopsAtTheFirstBufferOverTheLimit) {
  const std::string path = OpenBlank();
  // Checked before each buffer: the file is 8, 1024, 2048 and then 3072 bytes long.
  cassette_->SetRecordCapacity(3000);
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes one = Ramp(1024, 1), two = Ramp(1024, 2), three = Ramp(1024, 3);

  Feed(Concat({one, two, three, Ramp(1024, 4), Ramp(1024, 5)}));

  EXPECT_FALSE(engine_->Recording());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder()
                                                  .Raw(one)
                                                  .Raw(two)
                                                  .Raw(three)
                                                  .Table()
                                                  .Entry(1, 0, 3072)
                                                  .bytes()));
  EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
  // The panel hears of it only once the message is safe, then the hint is brought up to date.
  const qsizetype idle = view_.IndexOf(QStringLiteral("IdleState previous=0 next=0"));
  const qsizetype refused = view_.IndexOf(QStringLiteral("Refused CapacityFull"));
  ASSERT_NE(idle, -1);
  EXPECT_GT(refused, idle);
  EXPECT_EQ(view_.calls.mid(refused + 1).filter(QStringLiteral("Hint")).size(), 1);
  EXPECT_EQ(view_.traces.size(), 3);
  // The fifth buffer came back after the stop and was dropped; the card holds nothing.
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(input_.QueuedBuffers(), 0);
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
}

TEST_F(CaptureEngineTest, LowDiskStopsAndSavesWhatWasRecorded) {
  const std::string path = OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes first = Ramp(1024, 1);
  Feed(first);
  freeSpace_.SetFreeMiB(0.99);
  Feed(Ramp(1024, 2));

  EXPECT_FALSE(engine_->Recording());
  EXPECT_NE(view_.IndexOf(QStringLiteral("Refused LowDisk")), -1);
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        CassetteBuilder().Raw(first).Table().Entry(1, 0, 1024).bytes()));
  // The disk asked about is the cassette's.
  ASSERT_FALSE(freeSpace_.AskedPaths().isEmpty());
  EXPECT_EQ(freeSpace_.AskedPaths().last(), QString::fromStdString(path));
}

TEST_F(CaptureEngineTest, OneMiBFreeIsStillEnoughToRecord) {
  OpenBlank();
  freeSpace_.SetFreeMiB(1.0);
  ASSERT_TRUE(engine_->StartRecording());
  Feed(Ramp(2048));
  EXPECT_TRUE(engine_->Recording());
  EXPECT_EQ(cassette_->WritePosition(), 2048u);
}

TEST_F(CaptureEngineTest, MissingTableFallsBackToTheBlankDefaultCassetteAndClosesTheCard) {
  const std::string path = OpenCassetteWith("rec.cst", MakeCassette({{1, 3000, 0x41}}));
  // Something else damaged the file after it was opened.
  const Bytes junk(5000, 0x11);
  test::WriteFile(path, junk);

  EXPECT_FALSE(engine_->StartRecording());

  EXPECT_FALSE(engine_->Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(input_.Calls().back(), "Close");
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 0);
  ExpectError07Only();
  EXPECT_EQ(cassette_->CassettePath(), DefaultPath());
  EXPECT_TRUE(SameBytes(test::ReadFile(DefaultPath()), CassetteBuilder().Table().bytes()));
  EXPECT_TRUE(SameBytes(test::ReadFile(path), junk));
  EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
  EXPECT_NE(view_.IndexOf(QStringLiteral("CassetteReplaced")), -1);
  EXPECT_EQ(view_.Last(QStringLiteral("Tray")), QStringLiteral("Tray Kiv Sound Recorder"));
  // The buffers the close handed back are not taken for sound.
  QCoreApplication::processEvents();
  EXPECT_TRUE(view_.traces.isEmpty());
}

// A card that opens but will not start used to leave the cassette with its recording begun: the
// sidecar on disk, the selected message's start moved to the table and the file locked, so the
// counter showed a wrong length and no other cassette could be opened until Record was pressed
// again.
TEST_F(CaptureEngineTest, CardThatWillNotStartLeavesTheCassetteAsItWasAndCanBeTriedAgain) {
  const Bytes old = MakeCassette({{1, 3000, 0x41}, {2, 500, 0x42}});
  const std::string path = OpenCassetteWith("rec.cst", old);
  ASSERT_TRUE(cassette_->SelectMessage(1).ok());
  cassette_->Head().SeekTo(1234);
  input_.SetStartFails(true);

  EXPECT_FALSE(engine_->StartRecording());

  EXPECT_FALSE(engine_->Recording());
  EXPECT_FALSE(input_.IsOpen());
  ExpectError07Only();
  EXPECT_FALSE(cassette_->Recording());
  EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
  EXPECT_EQ(cassette_->CurrentMessage(), 1u);
  EXPECT_EQ(cassette_->MessageStart(), 0u);
  EXPECT_EQ(cassette_->MessageEnd(), 3000u);
  EXPECT_EQ(cassette_->Head().Position(), 1234u);
  EXPECT_EQ(view_.Last(QStringLiteral("Label")), QStringLiteral("Label 1/2"));
  EXPECT_EQ(view_.Last(QStringLiteral("Menu delMsg")), QStringLiteral("Menu delMsg on"));
  EXPECT_EQ(view_.IndexOf(QStringLiteral("RecordingState")), -1);
  QCoreApplication::processEvents();
  EXPECT_TRUE(view_.traces.isEmpty());
  EXPECT_TRUE(SameBytes(test::ReadFile(path), old));
  // Nothing holds the file any more: the stream closes and the cassette opens again.
  cassette_->CloseStream();
  EXPECT_TRUE(cassette_->CassetteStreamClosed());
  ASSERT_EQ(cassette_->OpenCassette(path), OpenOutcome::Opened);
  EXPECT_FALSE(cassette_->CassetteInconsistent());

  // Once the card starts, the message is recorded and finished as usual.
  input_.SetStartFails(false);
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes sound = Ramp(1024);
  Feed(sound);
  engine_->StopRecording();
  EXPECT_TRUE(SameBytes(test::ReadFile(path), CassetteBuilder()
                                                  .Raw(test::Slice(old, 0, 3500))
                                                  .Raw(sound)
                                                  .Raw(test::Slice(old, 3500, old.size() - 3500))
                                                  .Entry(3, 3500, 4524)
                                                  .bytes()));
  EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
}

TEST_F(CaptureEngineTest, OutOfMemoryForABufferRecordsOnWithFewer) {
  engine_.reset();
  CaptureOutOfMemoryInput input(8);  // the one StartCapture adds
  engine_ = std::make_unique<CaptureEngine>(*cassette_, input, freeSpace_, dialogs_, view_);
  const std::string path = OpenBlank();

  ASSERT_TRUE(engine_->StartRecording());
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{QStringLiteral("Error: Out of Memory")});
  EXPECT_EQ(dialogs_.Calls().front().kind, FakeDialogs::Kind::ShowMessage);
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 7);
  EXPECT_EQ(input.card.QueuedBuffers(), 7);

  const Bytes sound = Ramp(3072);
  input.card.Capture(ToQ(sound));
  QCoreApplication::processEvents();
  engine_->StopRecording();
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        CassetteBuilder().Raw(sound).Table().Entry(1, 0, 3072).bytes()));
  engine_.reset();
}

TEST_F(CaptureEngineTest, BufferTheCardWasNeverGivenIsWrittenAndReported) {
  OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());
  // The card stops taking buffers: every returned one leaves the queue shorter.
  input_.SetAddBufferFails(true);
  Feed(Ramp(8 * 1024));
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 0);
  EXPECT_TRUE(dialogs_.Calls().isEmpty());

  Q_EMIT input_.BufferFull(ToQ(Ramp(1024, 5)));

  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{QStringLiteral("Can't unprepare IN Header!")});
  EXPECT_EQ(cassette_->WritePosition(), 9u * 1024u);
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 0);
}

TEST_F(CaptureEngineTest, DiskRefusingASoundWriteEndsTheMessageWithWhatReachedIt) {
  const std::string path = OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());
  CaptureFailNthWrite faults(2);
  files_.Inject(&faults);
  const Bytes first = Ramp(1024, 1);
  Feed(Concat({first, Ramp(1024, 2), Ramp(1024, 3)}));
  files_.Inject(nullptr);

  EXPECT_FALSE(engine_->Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(dialogs_.MessageTexts(),
            QStringList{QStringLiteral("Cannot write sound to ") + QString::fromStdString(path)});
  EXPECT_TRUE(SameBytes(test::ReadFile(path),
                        CassetteBuilder().Raw(first).Table().Entry(1, 0, 1024).bytes()));
}

}  // namespace
}  // namespace kiv
