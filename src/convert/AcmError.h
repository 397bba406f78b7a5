// The result codes of the conversion stream and the sentences the user reads for them. The codes
// are those the stream's callers have always handled; every codec library's own errors are
// mapped onto the closest of them where the error arises.
#pragma once

#include <string>

namespace kiv::convert {

enum AcmCode : int {
  kAcmOk = 0,
  kAcmInvalidHandle = 5,     // no open stream, or a codec used before it was set up
  kAcmNoDriver = 6,          // no codec offers a format for the request
  kAcmNoMemory = 7,          // an allocation inside a codec failed
  kAcmInvalidFlag = 10,
  kAcmInvalidParam = 11,     // a format or size that makes no sense (0 channels, 0 bytes...)
  kAcmNotPossible = 512,     // a well-formed request no codec can carry out, or undecodable data
  kAcmBusy = 513,
  kAcmUnprepared = 514,
  kAcmCancelled = 515,
};

// `context` followed by the explanation of `code`, or, for a code without one,
// "<context> raised an unknown error (code #<code>)". Empty for kAcmOk.
std::string AcmErrorText(const std::string& context, int code);

}  // namespace kiv::convert
