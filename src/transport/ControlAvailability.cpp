// The control availability table.
#include "transport/ControlAvailability.h"

namespace kiv {
namespace {

constexpr Availability R = Availability::Running;
constexpr Availability A = Availability::Available;
constexpr Availability U = Availability::Unavailable;

}  // namespace

ControlAvailability ControlAvailability::For(TransportSituation situation, uint32_t messageCount,
                                             uint32_t currentMessage,
                                             const ControlAvailability* previous) {
  // Columns: nothing loaded, empty cassette, idle with messages, playing, recording.
  struct Row {
    PanelControl control;
    Availability values[5];
  };
  static constexpr Row kTable[] = {
      {PanelControl::Play, {U, U, A, R, U}},
      {PanelControl::Record, {U, A, A, U, R}},
      {PanelControl::Pause, {U, U, U, A, A}},
      {PanelControl::Stop, {U, U, U, A, A}},
      {PanelControl::Rewind, {U, U, A, A, U}},
      {PanelControl::Forward, {U, U, A, A, U}},
      {PanelControl::PreviousKey, {U, U, A, A, U}},
      {PanelControl::NextKey, {U, U, A, A, U}},
  };
  const int column = int(situation);
  ControlAvailability result;
  for (const Row& row : kTable) result.values_[size_t(row.control)] = row.values[column];

  Availability previousMessage = U;
  Availability nextMessage = U;
  if (situation == TransportSituation::IdleWithMessages) {
    previousMessage = messageCount > 1 && currentMessage > 1 ? A : U;
    nextMessage = messageCount > 1 && messageCount > currentMessage ? A : U;
  } else if (situation == TransportSituation::Recording && previous != nullptr) {
    previousMessage = (*previous)[PanelControl::PreviousMessage];
    nextMessage = (*previous)[PanelControl::NextMessage];
  }
  result.values_[size_t(PanelControl::PreviousMessage)] = previousMessage;
  result.values_[size_t(PanelControl::NextMessage)] = nextMessage;
  return result;
}

}  // namespace kiv
