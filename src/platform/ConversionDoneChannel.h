// How the panel hears that the external converter program has finished a job.
//
// The panel owns one channel for its whole life. It starts listening once, publishes the name
// Listen() returns as the setting "DDHandle", and the converter, a separate process, reads that
// setting and sends the two words of its done event to the name (SendConversionDone in
// QtConversionDoneChannel.h). onDone is called later, from the event loop, once per delivered
// job; it is never called from inside Listen().
#pragma once

#include <functional>

#include <QString>
#include <QtGlobal>

namespace kiv {

class ConversionDoneChannel {
 public:
  virtual ~ConversionDoneChannel() = default;

  // Starts listening (again, under the same name, when already listening); the name to publish
  // as "DDHandle", or the empty text when nothing can listen. Without a channel the panel still
  // works: a job by the external program then simply never reports back.
  virtual QString Listen() = 0;

  // The converter's done words: (1, 1) for a failed job, (0x000E000D, 0x000BF79B) on success;
  // judging them is the receiver's business.
  std::function<void(qint32 wPar, qint32 lPar)> onDone;

 protected:
  ConversionDoneChannel() = default;
  ConversionDoneChannel(const ConversionDoneChannel&) = delete;
  ConversionDoneChannel& operator=(const ConversionDoneChannel&) = delete;
};

}  // namespace kiv
