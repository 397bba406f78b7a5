#include "convert/AcmError.h"

namespace kiv::convert {

std::string AcmErrorText(const std::string& context, int code) {
  const char* explanation = nullptr;
  switch (code) {
    case kAcmOk: return {};
    case kAcmInvalidHandle: explanation = " The specified handle is invalid."; break;
    case kAcmNoDriver:
      explanation = " A suitable driver is not available to provide valid format selections.";
      break;
    case kAcmNoMemory: explanation = " The system is unable to allocate resources."; break;
    case kAcmInvalidFlag: explanation = " At least one flag is invalid."; break;
    case kAcmInvalidParam: explanation = " At least one parameter is invalid."; break;
    case kAcmNotPossible: explanation = " The requested operation cannot be performed."; break;
    case kAcmBusy: explanation = " The conversion stream is already in use."; break;
    case kAcmUnprepared:
      explanation = " Cannot perform this action on a header that has not been prepared.";
      break;
    default:
      return context + " raised an unknown error (code #" + std::to_string(code) + ")";
  }
  return context + explanation;
}

}  // namespace kiv::convert
