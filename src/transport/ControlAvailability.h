// Which front-panel controls a user may press in each situation of the tape machine. Every key
// handler and the keyboard ask this table before acting; the panel dims what is Unavailable.
//
// Pure data: the transport decides the situation, this unit only answers for it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kiv {

enum class Availability : uint8_t { Running = 0, Available = 1, Unavailable = 2 };

enum class PanelControl : uint8_t {
  Play,
  Record,
  Pause,
  Stop,
  Rewind,
  Forward,
  PreviousKey,
  NextKey,
  PreviousMessage,
  NextMessage,
  Count_
};

enum class TransportSituation { NothingLoaded, EmptyCassette, IdleWithMessages, Playing, Recording };

class ControlAvailability {
 public:
  // The table's values for `situation`. Previous/next message follow the counts when idle with
  // messages; while recording they keep the values they had before (`previous`).
  static ControlAvailability For(TransportSituation situation, uint32_t messageCount,
                                 uint32_t currentMessage,
                                 const ControlAvailability* previous = nullptr);

  Availability operator[](PanelControl control) const { return values_[size_t(control)]; }
  bool IsAvailable(PanelControl control) const {
    return (*this)[control] != Availability::Unavailable;
  }
  // One control changes while the others keep their values (a stop on its way, the message
  // keys after a recording).
  void Set(PanelControl control, Availability availability) {
    values_[size_t(control)] = availability;
  }

 private:
  std::array<Availability, size_t(PanelControl::Count_)> values_{};
};

}  // namespace kiv
