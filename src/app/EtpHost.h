// What the Exact Time Positioner needs from the window that opened it. The positioner only knows
// a bar from 0 to the message length; the play position, the counter and the playback belong to
// the panel, so every move in the positioner is handed back through this interface.
#pragma once

#include <QString>
#include <cstdint>

namespace kiv {

class EtpHost {
 public:
  virtual ~EtpHost() = default;

  // The bar moved to `progress` bytes into the message: the host puts the play head there,
  // shows the counter with length and position and, when a playback runs, restarts it there at
  // normal speed and ends a pause.
  virtual void ApplyEtpPosition(uint32_t progress) = 0;

  // The counter text for the play head as it is now, "01:40 / 00:25".
  virtual QString CounterText() const = 0;

 protected:
  EtpHost() = default;
  EtpHost(const EtpHost&) = delete;
  EtpHost& operator=(const EtpHost&) = delete;
};

}  // namespace kiv
