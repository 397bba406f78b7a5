// The transport's decisions in every tape state, and the seeks it makes with the play head and a
// player that records what it was asked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cassette/PlayHead.h"
#include "transport/TransportController.h"
#include "transport/TransportPlayer.h"

namespace kiv {
namespace {

constexpr uint32_t kRate = 11025;
constexpr uint32_t kStart = 2000;

class FakePlayer final : public TransportPlayer {
 public:
  explicit FakePlayer(PlayHead& head) : head_(head) {}
  bool Playing() const override { return playing; }
  void FoldPosition() override {
    calls.push_back("fold");
    head_.FoldPlayed();
  }
  void RequestRestart() override { calls.push_back("restart at " + std::to_string(head_.InMessage())); }
  void SkipForward() override { calls.push_back("skip forward"); }
  void SkipBack() override { calls.push_back("skip back"); }

  bool playing = false;
  std::vector<std::string> calls;

 private:
  PlayHead& head_;
};

class TransportControllerTest : public ::testing::Test {
 protected:
  TransportControllerTest() {
    head_.SetBaseRate(kRate);
    head_.SelectMessage(kStart, kStart + 30 * kRate);
  }
  PlayHead head_;
  FakePlayer player_{head_};
  TransportController transport_{head_, player_};
};

TEST_F(TransportControllerTest, EachTapeStateAllowsOnlyItsKeysAndMenus) {
  struct Row {
    TransportState state;
    bool settings, wind, positioner, wheel, ignored;
    RecordMenuAction record;
    PlayKeyAction play;
  };
  using M = TapeMode;
  const auto Start = RecordMenuAction::StartRecording;
  const auto Stop = RecordMenuAction::Stop;
  const Row rows[] = {
      {{M::Idle, false, false}, true, true, true, true, false, Start, PlayKeyAction::Start},
      {{M::Playing, false, false}, false, true, true, true, false, Start, PlayKeyAction::TogglePause},
      {{M::PlayPaused, false, false}, false, false, true, true, false, Start, PlayKeyAction::TogglePause},
      {{M::Playing, true, false}, false, true, false, true, false, Start, PlayKeyAction::NormalSpeed},
      {{M::PlayPaused, true, false}, false, false, false, true, false, Start, PlayKeyAction::NormalSpeed},
      {{M::Recording, false, false}, false, false, false, false, false, Stop, PlayKeyAction::Start},
      {{M::RecordPaused, false, false}, false, false, false, false, false, Stop, PlayKeyAction::Start},
      {{M::Idle, false, true}, false, false, false, true, true, Start, PlayKeyAction::Ignore},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(int(row.state.mode) * 10 + row.state.offSpeed + 100 * row.state.conversionBusy);
    EXPECT_EQ(TransportController::MayChangeSettings(row.state), row.settings);
    EXPECT_EQ(TransportController::MayWind(row.state), row.wind);
    EXPECT_EQ(TransportController::MayOpenPositioner(row.state, head_), row.positioner);
    EXPECT_EQ(TransportController::MayWheelSeek(row.state), row.wheel);
    EXPECT_EQ(TransportController::TapeKeysIgnored(row.state), row.ignored);
    EXPECT_EQ(TransportController::ForRecordMenu(row.state), row.record);
    EXPECT_EQ(TransportController::ForPlayKey(row.state), row.play);
    EXPECT_EQ(TransportController::RecordKeyPauses(row.state), row.state.Recording());
  }
  // Under a second of message the positioner has nothing to position in.
  head_.SelectMessage(kStart, kStart + kRate - 1);
  EXPECT_FALSE(TransportController::MayOpenPositioner(TransportState{}, head_));
}

TEST_F(TransportControllerTest, IdleWindingMovesASecondPerTickAndPlaybackSkips) {
  EXPECT_EQ(transport_.WindTick(+1, true), WindOutcome::Wound);
  EXPECT_EQ(head_.InMessage(), kRate);
  EXPECT_EQ(transport_.WindTick(+1, false), WindOutcome::None);
  EXPECT_EQ(head_.InMessage(), kRate);
  EXPECT_EQ(transport_.WindTick(-1, true), WindOutcome::Wound);
  EXPECT_EQ(head_.InMessage(), 0u);

  player_.playing = true;
  EXPECT_EQ(transport_.WindTick(+1, false), WindOutcome::Skipped);
  EXPECT_EQ(transport_.WindTick(-1, false), WindOutcome::Skipped);
  EXPECT_EQ(player_.calls, (std::vector<std::string>{"skip forward", "skip back"}));
  EXPECT_EQ(head_.InMessage(), 0u);
}

TEST_F(TransportControllerTest, WheelStepsAreASecondATenthAndAHundredthWithinTheMessage) {
  const uint32_t length = head_.Length();
  transport_.WheelSeek(+1, StepKeys::Plain);
  EXPECT_EQ(head_.InMessage(), kRate);
  transport_.WheelSeek(+1, StepKeys::Ctrl);
  EXPECT_EQ(head_.InMessage(), kRate + length / 10);
  transport_.WheelSeek(-1, StepKeys::CtrlShift);
  EXPECT_EQ(head_.InMessage(), kRate + length / 10 - length / 100);
  for (int i = 0; i < 12; ++i) transport_.WheelSeek(+1, StepKeys::Ctrl);
  EXPECT_EQ(head_.At(), head_.MessageEnd());
  for (int i = 0; i < 40; ++i) transport_.WheelSeek(-1, StepKeys::Plain);
  EXPECT_EQ(head_.At(), kStart);
  EXPECT_EQ(TransportController::SeekStep(12345, kRate, StepKeys::Ctrl), 1234u);
  EXPECT_EQ(TransportController::SeekStep(12345, kRate, StepKeys::CtrlShift), 123u);
  EXPECT_TRUE(player_.calls.empty());
}

TEST_F(TransportControllerTest, SeeksWhilePlayingStartFromTheByteHeardAndRestartAtNormalSpeed) {
  player_.playing = true;
  head_.SeekTo(kRate);
  head_.SetSegmentPlayed(500);
  head_.SetPlayRate(15121);
  transport_.WheelSeek(+1, StepKeys::Plain);  // a second at the fast rate
  EXPECT_EQ(player_.calls, (std::vector<std::string>{"fold", "restart at " + std::to_string(kRate + 500 + 15121)}));
  EXPECT_EQ(head_.PlayRate(), kRate);

  player_.calls.clear();
  head_.SetPlayRate(6929);
  transport_.SeekTo(4 * kRate);
  EXPECT_EQ(player_.calls, (std::vector<std::string>{"fold", "restart at " + std::to_string(4 * kRate)}));
  EXPECT_FALSE(head_.OffSpeed());

  player_.playing = false;
  player_.calls.clear();
  transport_.SeekTo(UINT32_MAX);
  EXPECT_EQ(head_.At(), head_.MessageEnd());
  EXPECT_TRUE(player_.calls.empty());
}

TEST_F(TransportControllerTest, WheelTurnsAddUpToWholeNotchesEitherWay) {
  EXPECT_EQ(transport_.TakeWheelNotches(60), 0);
  EXPECT_EQ(transport_.TakeWheelNotches(60), 1);
  EXPECT_EQ(transport_.TakeWheelNotches(250), 2);
  EXPECT_EQ(transport_.TakeWheelNotches(-130), -1);  // the 10 left over counts against it
  EXPECT_EQ(transport_.TakeWheelNotches(-110), 0);
  EXPECT_EQ(transport_.TakeWheelNotches(-10), -1);
}

}  // namespace
}  // namespace kiv
