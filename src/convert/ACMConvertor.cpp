#include "convert/ACMConvertor.h"

#include <algorithm>

#include "convert/AcmError.h"
#include "convert/StreamCodec.h"

namespace kiv::convert {
namespace {

Status RefusedWhileActive(const char* text) { return Status::Error(StatusCode::Refused, text); }

}  // namespace

TACMConvertor::TACMConvertor() = default;

TACMConvertor::~TACMConvertor() { SetActive(false); }

void TACMConvertor::SetActive(bool value) {
  if (value == active_) return;
  if (value) {
    reportSizeErrors_ = true;
    codec_.reset();  // a fresh stream starts the sound afresh
    OpenStream();
  } else {
    CloseStream(false);
  }
}

Status TACMConvertor::SetUseRealTime(bool value) {
  if (active_) return RefusedWhileActive("You cannot change the real time flag while active.");
  useRealTime_ = value;
  return Status::Ok();
}

Status TACMConvertor::SetInputBufferSize(uint32_t size) {
  if (active_) return RefusedWhileActive("You cannot change the buffer size while active.");
  inputBufferSize_ = size;
  return Status::Ok();
}

Status TACMConvertor::SetFormatIn(const TACMWaveFormat& format) {
  if (active_) return RefusedWhileActive("You cannot change the format while active.");
  formatIn_ = format;
  return Status::Ok();
}

Status TACMConvertor::SetFormatOut(const TACMWaveFormat& format) {
  if (active_) return RefusedWhileActive("You cannot change the format while active.");
  formatOut_ = format;
  return Status::Ok();
}

void TACMConvertor::ChangeInputBufferSize(uint32_t size) {
  const bool wasActive = active_;
  if (wasActive) CloseStream(true);
  inputBufferSize_ = size;
  reportSizeErrors_ = false;
  if (wasActive) OpenStream();
}

void TACMConvertor::OpenStream() {
  firstBlock_ = true;
  if (codec_ == nullptr) {
    const int code = OpenStreamCodec(formatIn_, formatOut_, &codec_);
    if (code != kAcmOk) {
      codec_.reset();
      RaiseException("acmStreamOpen:", code);
      return;
    }
  }
  // PCM goes in whole frames.
  const uint32_t frameBytes = uint32_t(formatIn_.channels) * formatIn_.bitsPerSample / 8;
  if (formatIn_.IsPcm() && frameBytes > 0) {
    while (inputBufferSize_ % frameBytes != 0) ++inputBufferSize_;
  }
  size_t outputSize = 0;
  const int code = codec_->OutputSize(inputBufferSize_, &outputSize);
  if (code != kAcmOk) {
    if (reportSizeErrors_) RaiseException("acmStreamSize:", code);
    codec_.reset();
    return;
  }
  outputBufferSize_ = uint32_t(outputSize);
  input_.assign(inputBufferSize_, 0);
  output_.assign(outputBufferSize_, 0);
  active_ = true;
}

void TACMConvertor::CloseStream(bool keepCodec) {
  if (!keepCodec) codec_.reset();
  input_.clear();
  output_.clear();
  active_ = false;
  firstBlock_ = false;
}

uint32_t TACMConvertor::Convert() {
  if (!active_) {
    RaiseException("acmStreamConvert:", kAcmInvalidHandle);
    return 0;
  }
  // A 16-bit sample of exactly 0 goes on as 1.
  if (formatIn_.bitsPerSample == 16) {
    for (size_t i = 0; i + 1 < input_.size(); i += 2) {
      if (input_[i] == 0 && input_[i + 1] == 0) input_[i] = 1;
    }
  }
  produced_.clear();
  const int code = codec_->Convert(input_.data(), input_.size(), &produced_);
  firstBlock_ = false;
  return TakeOutput(code, produced_);
}

uint32_t TACMConvertor::Flush() {
  if (!active_) {
    RaiseException("acmStreamConvert:", kAcmInvalidHandle);
    return 0;
  }
  produced_.clear();
  return TakeOutput(codec_->Flush(&produced_), produced_);
}

uint32_t TACMConvertor::TakeOutput(int code, const std::vector<uint8_t>& produced) {
  if (code != kAcmOk) {
    active_ = false;  // the codec stays until the stream is closed or reopened
    RaiseException("acmStreamConvert:", code);
    return 0;
  }
  // The buffer is zeros beyond what was produced; it grows for a block that gave more.
  output_.assign(std::max<size_t>(outputBufferSize_, produced.size()), 0);
  std::copy(produced.begin(), produced.end(), output_.begin());
  return uint32_t(produced.size());
}

bool TACMConvertor::SuggestFormat(TACMWaveFormat* format) {
  uint16_t bits = 0;
  if (formatIn_.IsPcm()) bits = formatIn_.bitsPerSample;
  if (formatIn_.formatTag == kFormatMpegLayer3) bits = 16;
  if (bits == 0 || formatIn_.channels == 0) {
    RaiseException("SuggestFormat", bits == 0 ? kAcmNotPossible : kAcmInvalidParam);
    return false;
  }
  *format = PcmFormat(formatIn_.channels, formatIn_.samplesPerSec, bits);
  return true;
}

void TACMConvertor::RaiseException(const std::string& context, int code) {
  if (code == kAcmOk) return;
  lastError_ = code;
  lastErrorText_ = AcmErrorText(context, code);
  if (OnException) OnException(lastErrorText_);
}

}  // namespace kiv::convert
