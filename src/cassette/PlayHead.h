// The play head: where in the selected message the tape is, how much of the running playback
// segment the device has played, and the rate the tape plays at. Every position or length in
// the selected message is computed here, the counter's seconds included.
//
// The cassette owns the one head and moves it when a message is selected, a recording ends or a
// pack moves the message; the playback engine and the transport move it with the operations
// below. Nobody else writes its fields.
//
// Invariant, kept by every operation:
//   MessageStart() <= Position() <= Position() + SegmentPlayed() == At() <= MessageEnd()
// A message whose end lies before its start (a damaged entry) is taken as empty at its start.
#pragma once

#include <cstdint>

#include "cassette/CassetteLayout.h"

namespace kiv {

// The counter's two figures: the message's length and the head's place in it, whole seconds
// rounded down.
struct CounterSeconds {
  uint32_t length = 0;
  uint32_t position = 0;
};

class PlayHead {
 public:
  // ---- Reading ------------------------------------------------------------------------------
  uint32_t MessageStart() const { return start_; }
  uint32_t MessageEnd() const { return end_; }
  // Where the running segment began (the byte the next segment is read from once folded).
  uint32_t Position() const { return position_; }
  // Bytes of the running segment the device had played when last asked.
  uint32_t SegmentPlayed() const { return played_; }
  // The byte being heard: Position() + SegmentPlayed().
  uint32_t At() const { return position_ + played_; }
  uint32_t Length() const { return end_ - start_; }
  // Bytes from the message start to At().
  uint32_t InMessage() const { return At() - start_; }
  // Bytes from At() to the message end.
  uint32_t Remaining() const { return end_ - At(); }
  uint32_t PlayRate() const { return rate_; }
  uint32_t BaseRate() const { return baseRate_; }
  // Slow or fast play: the rate differs from the cassette's own.
  bool OffSpeed() const { return rate_ != baseRate_; }
  // Length and position for the counter. A rate of 0 (a damaged table) counts as 1.
  CounterSeconds Seconds() const;

  // ---- Moving -------------------------------------------------------------------------------
  // A new cassette rate: the tape plays at it from now on.
  void SetBaseRate(uint32_t rate);
  // A newly selected message [start, end): the head at its start, nothing played.
  void SelectMessage(uint32_t start, uint32_t end);
  void Clear() { SelectMessage(0, 0); }
  // The device has played `bytes` of the running segment; more than the message holds counts
  // as up to its end.
  void SetSegmentPlayed(uint32_t bytes);
  // Folds what the segment played into Position(): the next segment starts at the byte heard.
  void FoldPlayed();
  // The head to `offset` bytes into the message (clamped to its end), nothing played.
  void SeekTo(uint64_t offset);
  void SeekToStart() { SeekTo(0); }
  void SeekToEnd() { SeekTo(Length()); }
  // Winds by `bytes` (negative: back) from the byte heard, stopping at the message's bounds.
  void Wind(int64_t bytes);
  // Slow and fast play, and back to the cassette's own rate.
  void SetPlayRate(uint32_t rate) { rate_ = rate; }
  void NormalSpeed() { rate_ = baseRate_; }

 private:
  uint32_t start_ = 0;
  uint32_t end_ = 0;
  uint32_t position_ = 0;
  uint32_t played_ = 0;
  uint32_t baseRate_ = kDefaultRate;
  uint32_t rate_ = kDefaultRate;
};

}  // namespace kiv
