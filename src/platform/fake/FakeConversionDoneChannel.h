// A done channel for tests: it listens nowhere, answers Listen() with a fixed name (or none, to
// play a runtime folder where no socket can be made), and Deliver() stands in for the external
// converter reporting back.
#pragma once

#include <utility>

#include "platform/ConversionDoneChannel.h"

namespace kiv {

class FakeConversionDoneChannel final : public ConversionDoneChannel {
 public:
  explicit FakeConversionDoneChannel(QString name = QStringLiteral("fake-done-channel"))
      : name_(std::move(name)) {}

  QString Listen() override {
    ++listenCalls_;
    return name_;
  }

  // As if the converter had sent (wPar, lPar); does nothing before Listen(), as a real channel
  // that is not listening receives nothing.
  void Deliver(qint32 wPar, qint32 lPar) {
    if (listenCalls_ > 0 && onDone) onDone(wPar, lPar);
  }

  int ListenCalls() const { return listenCalls_; }

 private:
  QString name_;
  int listenCalls_ = 0;
};

}  // namespace kiv
