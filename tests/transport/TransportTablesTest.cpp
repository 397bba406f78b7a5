// The control availability table and the counter texts.
#include <gtest/gtest.h>

#include "transport/ControlAvailability.h"
#include "transport/CounterText.h"
#include "transport/TrayIconChoice.h"

namespace kiv {
namespace {

constexpr Availability R = Availability::Running;
constexpr Availability A = Availability::Available;
constexpr Availability U = Availability::Unavailable;

TEST(ControlAvailabilityTable, EachSituationGivesItsColumn) {
  struct Column {
    TransportSituation situation;
    Availability play, record, pause, stop, wind, keys;
  };
  for (const Column& c : {Column{TransportSituation::NothingLoaded, U, U, U, U, U, U},
                          Column{TransportSituation::EmptyCassette, U, A, U, U, U, U},
                          Column{TransportSituation::IdleWithMessages, A, A, U, U, A, A},
                          Column{TransportSituation::Playing, R, U, A, A, A, A},
                          Column{TransportSituation::Recording, U, R, A, A, U, U}}) {
    ControlAvailability table = ControlAvailability::For(c.situation, 3, 2);
    SCOPED_TRACE(int(c.situation));
    EXPECT_EQ(table[PanelControl::Play], c.play);
    EXPECT_EQ(table[PanelControl::Record], c.record);
    EXPECT_EQ(table[PanelControl::Pause], c.pause);
    EXPECT_EQ(table[PanelControl::Stop], c.stop);
    EXPECT_EQ(table[PanelControl::Rewind], c.wind);
    EXPECT_EQ(table[PanelControl::Forward], c.wind);
    EXPECT_EQ(table[PanelControl::PreviousKey], c.keys);
    EXPECT_EQ(table[PanelControl::NextKey], c.keys);
  }
}

TEST(ControlAvailabilityTable, MessageSteppingFollowsTheCountsAndRecordingKeepsIt) {
  auto idle = [](uint32_t count, uint32_t current) {
    return ControlAvailability::For(TransportSituation::IdleWithMessages, count, current);
  };
  EXPECT_EQ(idle(1, 1)[PanelControl::NextMessage], U);
  EXPECT_EQ(idle(1, 1)[PanelControl::PreviousMessage], U);
  EXPECT_EQ(idle(3, 1)[PanelControl::NextMessage], A);
  EXPECT_EQ(idle(3, 1)[PanelControl::PreviousMessage], U);
  EXPECT_EQ(idle(3, 3)[PanelControl::NextMessage], U);
  EXPECT_EQ(idle(3, 3)[PanelControl::PreviousMessage], A);
  EXPECT_EQ(ControlAvailability::For(TransportSituation::Playing, 3, 2)[PanelControl::NextMessage], U);

  ControlAvailability before = idle(3, 2);
  ControlAvailability recording =
      ControlAvailability::For(TransportSituation::Recording, 3, 2, &before);
  EXPECT_EQ(recording[PanelControl::NextMessage], A);
  EXPECT_EQ(recording[PanelControl::PreviousMessage], A);
}

TEST(CounterTexts, LengthComesFirstAndLongMinutesAreWrittenInFull) {
  EXPECT_EQ(CounterText(0, 0), "00:00 / 00:00");
  EXPECT_EQ(CounterText(95, 0), "01:35 / 00:00");
  EXPECT_EQ(CounterText(6005, 61), "100:05 / 01:01");
  EXPECT_EQ(RecordingCounterText(127), "02:07");
}

}  // namespace
}  // namespace kiv

namespace kiv {
namespace {

TEST(TrayIconTable, EachStateHasItsIconAndItsDimmedTwinBehindOtherWindows) {
  struct Row {
    TapeState state;
    const char* front;
    const char* back;
  };
  for (const Row& row : {Row{{false, false, false}, "idle1.ico", "idle4.ico"},
                         Row{{true, false, true}, "pause.ico", "idle7.ico"},
                         Row{{false, true, true}, "pause.ico", "idle7.ico"},
                         Row{{true, false, false}, "play.ico", "idle5.ico"},
                         Row{{false, true, false}, "record.ico", "idle8.ico"},
                         // Nothing runs: a stale pause flag does not count.
                         Row{{false, false, true}, "idle1.ico", "idle4.ico"}}) {
    EXPECT_STREQ(TrayIconFile(row.state, false), row.front);
    EXPECT_STREQ(TrayIconFile(row.state, true), row.back);
  }
}

}  // namespace
}  // namespace kiv
