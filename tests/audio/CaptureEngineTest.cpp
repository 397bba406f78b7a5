// Recording through the capture engine with a fake sound card onto real cassette files: which
// rates the card is asked for, the bytes that reach the cassette at every rate conversion, pause,
// the running guards, the table written back at stop, and every way a start or a write can fail
// without leaving a device open or a cassette changed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>
#include <memory>
#include <tuple>

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

using namespace Qt::StringLiterals;
using ::testing::EndsWith;
using test::Bytes;
using test::CassetteBuilder;
using test::MakeCassette;
using test::Noise;
using test::SameBytes;

QByteArray ToQ(const Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
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

  // A cassette file holding `bytes`, opened as the current cassette.
  std::string OpenCassetteWith(const Bytes& bytes) { return Put(*cassette_, "rec.cst", bytes); }
  std::string OpenBlank(uint32_t rate = 11025) {
    return OpenCassetteWith(CassetteBuilder().Table(rate).bytes());
  }

  // Sound arrives at the card; the buffers it fills reach the engine.
  void Feed(const Bytes& sound) {
    input_.Capture(ToQ(sound));
    QCoreApplication::processEvents();
  }

  // The file at `path` holds exactly what `cassette` describes.
  static ::testing::AssertionResult Holds(const std::string& path, const CassetteBuilder& file) {
    return SameBytes(test::ReadFile(path), file.bytes());
  }

  void ExpectError07Only() {
    ASSERT_EQ(dialogs_.Calls().size(), 1);
    const FakeDialogs::Call& box = dialogs_.Calls().front();
    EXPECT_EQ(box.caption, u"Kiv Sound Recorder - Error #07"_s);
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
  test::CaptureRecordingView view_;
  std::unique_ptr<Cassette> cassette_;
  std::unique_ptr<CaptureEngine> engine_;
};

TEST_F(CaptureEngineTest, StartQueuesEightBuffersAndEveryReturnedBufferIsWritten) {
  const std::string path = OpenBlank();
  ASSERT_TRUE(engine_->StartRecording());
  std::vector<std::string> calls{"Open(11025)"};
  calls.insert(calls.end(), 7, "AddBuffer(1024)");
  calls.insert(calls.end(), {"Start", "AddBuffer(1024)"});
  EXPECT_EQ(input_.Calls(), calls);
  // The open entry is on disk before any sound.
  const std::string sidecar = Cassette::SidecarPathFor(path);
  EXPECT_TRUE(Holds(sidecar, CassetteBuilder().Table().Entry(1, 0, kOpenEnd)));
  EXPECT_EQ(view_.Joined(),
            "Label rec|CustomText|Menu delMsg off|Menu ExportMessage1 off|RecordingState");

  const Bytes first = Noise(1024, 1);
  Feed(first);
  Feed(Noise(1024, 2));
  EXPECT_EQ(cassette_->WritePosition(), 2048u);
  ASSERT_EQ(view_.traces.size(), 2);
  EXPECT_EQ(view_.traces[0], ToQ(first));
  EXPECT_EQ(view_.Last(u"Counter"_s), u"Counter 00:00"_s);

  // The card stops taking buffers: every returned one leaves the queue shorter.
  input_.SetAddBufferFails(true);
  Feed(Noise(8 * 1024, 3));
  EXPECT_EQ(engine_->QueuedCaptureBuffers(), 0);
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
  // A buffer the card was never given is still written, and reported.
  Q_EMIT input_.BufferFull(ToQ(Noise(1024, 5)));
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{u"Can't unprepare IN Header!"_s});
  EXPECT_EQ(cassette_->WritePosition(), 11u * 1024u);
}

// A card that refuses the cassette's rate is tried at 8000, 11025, 22050 and 44100 in this
// order; its bytes are repeated (rounding the ratio up) or thinned out to the cassette's rate.
TEST_F(CaptureEngineTest, OtherCardRatesAreTriedInOrderAndConvertedToTheCassettesRate) {
  // {cassette rate, card rate, times each kept byte is written, bytes taken per kept byte}
  for (const auto& [cassetteRate, cardRate, repeats, stride] :
       {std::tuple{11025u, 8000u, 2u, 1u}, std::tuple{11025u, 22050u, 1u, 2u},
        std::tuple{11025u, 44100u, 1u, 4u}, std::tuple{44100u, 8000u, 6u, 1u},
        std::tuple{22050u, 11025u, 2u, 1u}, std::tuple{22050u, 8000u, 3u, 1u}}) {  // 2.75625 up
    SCOPED_TRACE(std::to_string(cassetteRate) + " on " + std::to_string(cardRate));
    input_.ClearCalls();
    // The cassette's rate first, then the others from the lowest up to the one the card takes.
    std::vector<std::string> opens{"Open(" + std::to_string(cassetteRate) + ")"};
    for (uint32_t rate : {8000u, 11025u, 22050u, 44100u}) {
      input_.SetOpenResult(rate, rate == cardRate ? kAudioOk : kAudioBadFormat);
      if (rate <= cardRate) opens.push_back("Open(" + std::to_string(rate) + ")");
    }
    OpenBlank(cassetteRate);
    ASSERT_TRUE(engine_->StartRecording());
    EXPECT_EQ(test::CallsStartingWith(input_.Calls(), "Open("), opens);
    const Bytes sound = Noise(1024, 0);
    Feed(sound);
    Bytes expected;
    for (size_t i = 0; i < sound.size(); i += stride) {
      expected.insert(expected.end(), repeats, sound[i]);
    }
    // The trace shows what the card delivered, not the converted bytes.
    EXPECT_EQ(view_.traces.last(), ToQ(sound));
    engine_->StopRecording();
    EXPECT_TRUE(Holds(PathIn("rec.cst"), CassetteBuilder().Raw(expected).Table(cassetteRate)
                                             .Entry(1, 0, uint32_t(expected.size()))));
  }
}

// A card that will not open or not start gets Error #07 and must not leave the recording begun:
// no sidecar, the selected message and the play head as they were, the file free again.
TEST_F(CaptureEngineTest, CardRefusingToOpenOrStartGetsError07AndChangesNothing) {
  // Another code than a bad format tries no other rate.
  const std::vector<std::string> every{"Open(11025)", "Open(8000)", "Open(11025)", "Open(22050)",
                                       "Open(44100)"};
  for (const auto& [openResult, startFails, opens] :
       {std::tuple{kAudioAllocated, false, 1}, std::tuple{kAudioBadFormat, false, 5},
        std::tuple{kAudioOk, true, 1}}) {
    SCOPED_TRACE(opens);
    input_.ClearCalls();
    dialogs_.ClearCalls();
    view_.calls.clear();
    const Bytes before = MakeCassette({{1, 3000, 0x41}, {2, 500, 0x42}});
    const std::string path = OpenCassetteWith(before);
    ASSERT_TRUE(cassette_->SelectMessage(1).ok());
    cassette_->Head().SeekTo(1234);
    const auto filesBefore = test::FilesIn(CassettesFolder());
    input_.SetDefaultOpenResult(openResult);
    input_.SetStartFails(startFails);

    EXPECT_FALSE(engine_->StartRecording());

    EXPECT_EQ(test::CallsStartingWith(input_.Calls(), "Open("),
              std::vector<std::string>(every.begin(), every.begin() + opens));
    EXPECT_FALSE(input_.IsOpen());
    EXPECT_FALSE(engine_->Recording() || cassette_->Recording());
    ExpectError07Only();
    EXPECT_THAT(view_.Joined(), EndsWith("RecordKeyAtRest|Tray Kiv Sound Recorder"));
    if (startFails) {
      EXPECT_EQ(view_.Last(u"Label"_s), u"Label 1/2"_s);
      EXPECT_EQ(view_.Last(u"Menu delMsg"_s), u"Menu delMsg on"_s);
    }
    EXPECT_EQ(cassette_->MessageStart(), 0u);
    EXPECT_EQ(cassette_->Head().Position(), 1234u);
    cassette_->CloseStream();
    EXPECT_TRUE(SameBytes(test::ReadFile(path), before));
    EXPECT_EQ(test::FilesIn(CassettesFolder()), filesBefore);
  }
}

TEST_F(CaptureEngineTest, PausedSoundNeverReachesTheCassette) {
  const Bytes old = MakeCassette({{1, 55125, 0x30}});  // five seconds
  const std::string path = OpenCassetteWith(old);
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes before = Noise(1024, 1);
  const Bytes after = Noise(1024, 2);

  Feed(before);
  // Half a buffer is under way when Pause is pressed; it comes back and is dropped.
  Feed(Bytes(500, 0xEE));
  engine_->PauseCapture();
  EXPECT_TRUE(engine_->RecordPaused());
  QCoreApplication::processEvents();
  EXPECT_EQ(cassette_->WritePosition(), 55125u + 1024u);
  EXPECT_EQ(input_.QueuedBuffers(), 8);
  // While paused the hint tells the time left, counting what is recorded so far.
  EXPECT_EQ(view_.Last(u"Hint"_s), u"Hint 09':55\" left for recording"_s);
  Feed(Bytes(1024, 0xEE));  // the stopped card takes nothing

  // A resume the card refuses stays paused; the next one goes on.
  input_.SetStartFails(true);
  EXPECT_FALSE(engine_->StartRecording());
  EXPECT_TRUE(engine_->RecordPaused());
  ExpectError07Only();
  input_.SetStartFails(false);
  EXPECT_TRUE(engine_->StartRecording());
  EXPECT_FALSE(engine_->RecordPaused());
  Feed(after);

  // Stopped while paused: started again so that the close hands every buffer back.
  engine_->PauseCapture();
  input_.ClearCalls();
  engine_->StopRecording();
  EXPECT_EQ(input_.Calls().front(), "Start");
  EXPECT_EQ(input_.Calls().back(), "Close");
  QCoreApplication::processEvents();
  EXPECT_EQ(input_.QueuedBuffers(), 0);
  EXPECT_TRUE(Holds(path, CassetteBuilder().Raw(test::Slice(old, 0, 55125)).Raw(before).Raw(after)
                              .Raw(test::Slice(old, 55125, old.size())).Entry(2, 55125, 57173)));
}

TEST_F(CaptureEngineTest, StopWritesTheOldTableBackAfterTheSoundAndAppendsTheNewEntry) {
  const Bytes old = MakeCassette({{1, 3000, 0x41}, {65535, 200, 0x42}, {2, 700, 0x43}});
  const std::string path = OpenCassetteWith(old);
  const uint32_t tablePos = 3900;
  view_.autoRewind = false;
  ASSERT_TRUE(engine_->StartRecording());
  // More than the card holds at once, so it is fed a buffer at a time.
  const Bytes sound = Noise(11 * 1024, 0);
  for (size_t at = 0; at < sound.size(); at += 1024) Feed(test::Slice(sound, at, 1024));
  view_.calls.clear();

  engine_->StopRecording();

  const Bytes table = test::Slice(old, tablePos, old.size());
  EXPECT_TRUE(Holds(path, CassetteBuilder().Raw(test::Slice(old, 0, tablePos)).Raw(sound).Raw(table)
                              .Entry(3, tablePos, tablePos + 11 * 1024)));
  EXPECT_FALSE(FileExists(Cassette::SidecarPathFor(path)));
  EXPECT_TRUE(cassette_->CassetteStreamClosed());
  EXPECT_FALSE(engine_->Recording());
  EXPECT_EQ(cassette_->MessageStart(), tablePos);
  // Without auto rewind the play head waits at the end of the new message.
  EXPECT_EQ(cassette_->Head().Position(), tablePos + 11 * 1024);
  EXPECT_EQ(view_.Joined(),
            "Menu delMsg on|Menu DeleteCassette1 on|Menu ListNotations1 on|Menu EnterNote1 on|"
            "Menu ExportMessage1 on|Counter 00:01 / 00:01|Label 3/3|Tray Kiv Sound Recorder|"
            "IdleLine|IdleState previous=1 next=0|CustomText");
}

TEST_F(CaptureEngineTest, RunningGuardsStopAtTheFirstBufferOverTheLimitAndKeepTheRest) {
  const std::string path = OpenBlank();
  // Checked before each buffer: the file is 8, 1024, 2048 and then 3072 bytes long.
  cassette_->SetRecordCapacity(3000);
  ASSERT_TRUE(engine_->StartRecording());
  Bytes sound = Noise(3072, 1);
  Feed(sound);
  Feed(Noise(2048, 4));

  EXPECT_FALSE(engine_->Recording());
  EXPECT_TRUE(Holds(path, CassetteBuilder().Raw(sound).Table().Entry(1, 0, 3072)));
  // The panel hears of it only once the message is safe, then the hint is brought up to date.
  const qsizetype idle = view_.calls.indexOf(u"IdleState previous=0 next=0"_s);
  const qsizetype refused = view_.calls.indexOf(u"Refused CapacityFull"_s);
  ASSERT_NE(idle, -1);
  EXPECT_GT(refused, idle);
  EXPECT_EQ(view_.calls.mid(refused + 1).filter(u"Hint"_s).size(), 1);
  // The fifth buffer came back after the stop and was dropped; the card holds nothing.
  EXPECT_EQ(view_.traces.size(), 3);
  EXPECT_EQ(input_.QueuedBuffers(), 0);
  // Auto rewind puts the play head at the new message's start.
  EXPECT_EQ(cassette_->Head().Position(), 0u);
  EXPECT_EQ(view_.Last(u"Counter"_s), u"Counter 00:00 / 00:00"_s);

  // One MiB free on the cassette's disk is still enough, less is not.
  cassette_->SetRecordCapacity(100000000);
  freeSpace_.SetFreeMiB(1.0);
  ASSERT_TRUE(engine_->StartRecording());
  const Bytes more = Noise(1024, 7);
  Feed(more);
  freeSpace_.SetFreeMiB(0.99);
  Feed(Noise(1024, 2));
  EXPECT_FALSE(engine_->Recording());
  EXPECT_NE(view_.calls.indexOf(u"Refused LowDisk"_s), -1);
  EXPECT_EQ(freeSpace_.AskedPaths().last(), QString::fromStdString(path));
  EXPECT_TRUE(Holds(path, CassetteBuilder().Raw(sound).Raw(more).Table().Entry(1, 0, 3072)
                              .Entry(2, 3072, 4096)));
  EXPECT_TRUE(dialogs_.Calls().isEmpty());
}

TEST_F(CaptureEngineTest, MissingTableFallsBackToTheBlankDefaultCassetteAndClosesTheCard) {
  const std::string path = OpenCassetteWith(MakeCassette({{1, 3000, 0x41}}));
  // Something else damaged the file after it was opened.
  const Bytes junk(5000, 0x11);
  test::WriteFile(path, junk);

  EXPECT_FALSE(engine_->StartRecording());

  EXPECT_FALSE(input_.IsOpen());
  ExpectError07Only();
  EXPECT_EQ(cassette_->CassettePath(), DefaultPath());
  EXPECT_TRUE(Holds(DefaultPath(), CassetteBuilder().Table()));
  EXPECT_TRUE(SameBytes(test::ReadFile(path), junk));
  EXPECT_NE(view_.calls.indexOf(u"CassetteReplaced"_s), -1);
  // The buffers the close handed back are not taken for sound.
  QCoreApplication::processEvents();
  EXPECT_TRUE(view_.traces.isEmpty());
}

TEST_F(CaptureEngineTest, DiskRefusingAWriteEndsTheMessageWithWhatReachedItAndSaysSo) {
  const std::string path = OpenBlank();
  const QString where = QString::fromStdString(path);
  ASSERT_TRUE(engine_->StartRecording());
  test::FailNthOperation soundFault(2, {test::IoOp::Write});
  files_.Inject(&soundFault);
  const Bytes first = Noise(1024, 1);
  Feed(first);
  Feed(Noise(2048, 2));
  files_.Inject(nullptr);

  EXPECT_FALSE(engine_->Recording());
  EXPECT_FALSE(input_.IsOpen());
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{u"Cannot write sound to "_s + where});
  EXPECT_TRUE(Holds(path, CassetteBuilder().Raw(first).Table().Entry(1, 0, 1024)));

  // The table refused at the stop: the sidecar stays for the next open, and the user is told.
  dialogs_.ClearCalls();
  ASSERT_TRUE(engine_->StartRecording());
  Feed(Noise(1024, 3));
  test::FailNthOperation tableFault(1, {test::IoOp::Write});
  files_.Inject(&tableFault);
  engine_->StopRecording();
  files_.Inject(nullptr);
  EXPECT_FALSE(engine_->Recording());
  EXPECT_EQ(dialogs_.MessageTexts(), QStringList{u"Cannot write the message table of "_s + where});
  EXPECT_TRUE(FileExists(Cassette::SidecarPathFor(path)));
}

}  // namespace
}  // namespace kiv
