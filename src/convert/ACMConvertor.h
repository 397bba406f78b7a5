// TACMConvertor: converts sound from one wave format into another, one block at a time. The
// caller fills InputBuffer() with InputBufferSize() bytes, calls Convert() and takes the bytes
// it returns from OutputBuffer(); after the last block Flush() gives what the codec still held
// back (a resampler's last samples, an MP3 encoder's last frames).
//
// Which conversions exist: PCM to PCM (8/16 bits, 1/2 channels, any rates), MP3 to PCM and PCM
// to MP3; see StreamCodec.h. The stream is open while Active(). Formats, the buffer size and the
// real-time flag are set while inactive; ChangeInputBufferSize() alone may run while active: it
// closes and reopens the stream around the new size, and the codec's running state survives
// that, so a last short block continues the sound rather than starting it afresh.
//
// Errors never throw and show no box: each becomes a sentence (the failing step's name and the
// code's explanation, see AcmError.h) kept in LastErrorText() and handed to OnException when one
// is set. A failed Convert() leaves the stream inactive and returns 0; the caller stops there.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cassette/Status.h"
#include "convert/WaveFormat.h"

namespace kiv::convert {

class StreamCodec;

class TACMConvertor {
 public:
  TACMConvertor();
  ~TACMConvertor();
  TACMConvertor(const TACMConvertor&) = delete;
  TACMConvertor& operator=(const TACMConvertor&) = delete;

  bool Active() const { return active_; }
  // Opens or closes the stream; the current value does nothing. Whether it opened: Active().
  void SetActive(bool value);

  // Kept for the callers that set it; every codec here runs as fast as it can either way.
  bool UseRealTime() const { return useRealTime_; }
  [[nodiscard]] Status SetUseRealTime(bool value);
  uint32_t InputBufferSize() const { return inputBufferSize_; }
  [[nodiscard]] Status SetInputBufferSize(uint32_t size);
  void ChangeInputBufferSize(uint32_t size);
  uint32_t OutputBufferSize() const { return outputBufferSize_; }

  const TACMWaveFormat& FormatIn() const { return formatIn_; }
  const TACMWaveFormat& FormatOut() const { return formatOut_; }
  [[nodiscard]] Status SetFormatIn(const TACMWaveFormat& format);
  [[nodiscard]] Status SetFormatOut(const TACMWaveFormat& format);

  // InputBufferSize() bytes while active.
  uint8_t* InputBuffer() { return input_.data(); }
  // At least OutputBufferSize() bytes; what the last Convert() or Flush() gave comes first.
  const uint8_t* OutputBuffer() const { return output_.data(); }
  bool FirstBlock() const { return firstBlock_; }

  // Converts InputBufferSize() bytes; returns the number of bytes placed in OutputBuffer().
  uint32_t Convert();
  // After the last block: the codec's held-back output, placed in OutputBuffer().
  uint32_t Flush();

  // The PCM format FormatIn() decodes to, into `format`: FormatIn()'s channels and rate, 16 bits
  // for MP3, FormatIn()'s own bits for PCM. A format without a PCM form is reported under
  // "SuggestFormat" and returns false.
  bool SuggestFormat(TACMWaveFormat* format);

  std::function<void(const std::string& text)> OnException;
  int LastError() const { return lastError_; }
  const std::string& LastErrorText() const { return lastErrorText_; }

 private:
  void OpenStream();
  void CloseStream(bool keepCodec);
  uint32_t TakeOutput(int code, const std::vector<uint8_t>& produced);
  void RaiseException(const std::string& context, int code);

  bool active_ = false;
  bool useRealTime_ = false;
  bool firstBlock_ = false;
  bool reportSizeErrors_ = false;
  uint32_t inputBufferSize_ = 2048;
  uint32_t outputBufferSize_ = 0;
  TACMWaveFormat formatIn_ = PcmFormat(1, 22050, 8);
  TACMWaveFormat formatOut_ = PcmFormat(1, 22050, 8);
  std::unique_ptr<StreamCodec> codec_;
  std::vector<uint8_t> input_, output_, produced_;
  int lastError_ = 0;
  std::string lastErrorText_;
};

}  // namespace kiv::convert
