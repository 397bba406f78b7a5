// What the transport controller needs of the playback: the moves that restart the sound where
// the play head has been put. The playback engine implements it; tests give a fake.
#pragma once

namespace kiv {

class TransportPlayer {
 public:
  virtual ~TransportPlayer() = default;
  virtual bool Playing() const = 0;
  // Folds what the device has played into the head, so a move starts from the byte heard.
  virtual void FoldPosition() = 0;
  // Ends the running segment; the next one plays from the head at its play rate.
  virtual void RequestRestart() = 0;
  // One second of tape forward or back while playing, at normal speed.
  virtual void SkipForward() = 0;
  virtual void SkipBack() = 0;

 protected:
  TransportPlayer() = default;
  TransportPlayer(const TransportPlayer&) = delete;
  TransportPlayer& operator=(const TransportPlayer&) = delete;
};

}  // namespace kiv
