#include "convert/Mp3Codecs.h"

#include <lame.h>
#include <mpg123.h>

#include <algorithm>

#include "convert/AcmError.h"
#include "convert/PcmConverter.h"

namespace kiv::convert {
namespace {

int FromMpg123(int error) {
  switch (error) {
    case MPG123_OK: return kAcmOk;
    case MPG123_OUT_OF_MEM: return kAcmNoMemory;
    case MPG123_BAD_HANDLE: return kAcmInvalidHandle;
    case MPG123_BAD_PARAM:
    case MPG123_BAD_BUFFER: return kAcmInvalidParam;
    default: return kAcmNotPossible;  // undecodable data, a format mpg123 will not give
  }
}

class Mp3Decoder final : public StreamCodec {
 public:
  explicit Mp3Decoder(const TACMWaveFormat& in, const TACMWaveFormat& out) : in_(in), out_(out) {}
  ~Mp3Decoder() override {
    if (handle_ != nullptr) mpg123_delete(handle_);
  }

  int Open() {
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr) return FromMpg123(error);
    (void)mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // For mono output the decoder mixes the channels before its synthesis filter, which is the
    // same average the PCM side would take afterwards at half the decoding work.
    if (out_.channels == 1) (void)mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_MONO_MIX, 0);
    // Half or a quarter of the frames' rate comes straight out of the synthesis filter, which
    // then leaves out the subbands above the new band limit: an exact decimation at a fraction
    // of the work of decoding everything and resampling it.
    for (long factor : {1, 2}) {
      if (in_.samplesPerSec == out_.samplesPerSec << factor) {
        (void)mpg123_param(handle_, MPG123_DOWN_SAMPLE, factor, 0);
      }
    }
    // Every rate and channel count the file has, always as 16-bit samples.
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i) {
      mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    return FromMpg123(mpg123_open_feed(handle_));
  }

  int OutputSize(size_t inputBytes, size_t* outputBytes) const override {
    if (inputBytes == 0) return kAcmInvalidParam;
    // The bytes' playing time at the declared bit rate, plus two frames of 1152 samples for a
    // frame that completes within the block.
    const uint64_t bytesPerSecond = std::max<uint32_t>(in_.avgBytesPerSec, 1000);
    const uint64_t frames = inputBytes * out_.samplesPerSec / bytesPerSecond + 2 * 1152;
    *outputBytes = size_t(frames * out_.blockAlign);
    return kAcmOk;
  }

  int Convert(const uint8_t* in, size_t size, std::vector<uint8_t>* out) override {
    const uint8_t* feed = in;
    while (true) {
      size_t done = 0;
      const int result = mpg123_decode(handle_, feed, feed ? size : 0, pcm_, sizeof pcm_, &done);
      feed = nullptr;
      if (result == MPG123_NEW_FORMAT) {
        const int code = NewFormat(out);
        if (code != kAcmOk) return code;
      } else if (result != MPG123_OK && result != MPG123_NEED_MORE) {
        return FromMpg123(result);
      }
      if (done > 0) {
        if (pcmSide_ == nullptr) return kAcmNotPossible;
        const int code = pcmSide_->Convert(pcm_, done, out);
        if (code != kAcmOk) return code;
      }
      if (result == MPG123_NEED_MORE) return kAcmOk;
    }
  }

  int Flush(std::vector<uint8_t>* out) override {
    return pcmSide_ != nullptr ? pcmSide_->Flush(out) : kAcmOk;
  }

 private:
  // The frames' own rate and channels; a file that changes them midway gets a new converter,
  // after the old one has given out its tail.
  int NewFormat(std::vector<uint8_t>* out) {
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK) {
      return kAcmNotPossible;
    }
    if (pcmSide_ != nullptr) {
      const int code = pcmSide_->Flush(out);
      if (code != kAcmOk) return code;
    }
    return PcmConverter::Create(PcmFormat(uint16_t(channels), uint32_t(rate), 16), out_,
                                &pcmSide_);
  }

  TACMWaveFormat in_, out_;
  mpg123_handle* handle_ = nullptr;
  std::unique_ptr<PcmConverter> pcmSide_;
  uint8_t pcm_[32768];
};

int FromLame(int result) {
  switch (result) {
    case -2: return kAcmNoMemory;
    case -3: return kAcmInvalidHandle;  // parameters were never set up
    default: return result < 0 ? kAcmNotPossible : kAcmOk;
  }
}

class Mp3Encoder final : public StreamCodec {
 public:
  explicit Mp3Encoder(const TACMWaveFormat& in) : in_(in) {}
  ~Mp3Encoder() override {
    if (lame_ != nullptr) lame_close(lame_);
  }

  int Open(const TACMWaveFormat& out) {
    channels_ = out.channels;
    const int code =
        PcmConverter::Create(in_, PcmFormat(out.channels, out.samplesPerSec, 16), &pcmSide_);
    if (code != kAcmOk) return code;
    lame_ = lame_init();
    if (lame_ == nullptr) return kAcmNoMemory;
    lame_set_in_samplerate(lame_, int(out.samplesPerSec));
    lame_set_out_samplerate(lame_, int(out.samplesPerSec));
    lame_set_num_channels(lame_, out.channels);
    lame_set_mode(lame_, out.channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame_, int(std::max<uint32_t>(out.avgBytesPerSec * 8 / 1000, 8)));
    lame_set_VBR(lame_, vbr_off);
    lame_set_bWriteVbrTag(lame_, 0);
    lame_set_write_id3tag_automatic(lame_, 0);
    return lame_init_params(lame_) < 0 ? kAcmNotPossible : kAcmOk;
  }

  int OutputSize(size_t inputBytes, size_t* outputBytes) const override {
    if (inputBytes < in_.blockAlign) return kAcmInvalidParam;
    // LAME's own bound: 1.25 x samples + 7200, with samples at the output rate (rounded up).
    const uint64_t samples = inputBytes / in_.blockAlign * 2 + 2;
    *outputBytes = size_t(samples * 5 / 4 + 7200);
    return kAcmOk;
  }

  int Convert(const uint8_t* in, size_t size, std::vector<uint8_t>* out) override {
    pcm_.clear();
    const int code = pcmSide_->Convert(in, size, &pcm_);
    return code != kAcmOk ? code : Encode(out);
  }

  int Flush(std::vector<uint8_t>* out) override {
    pcm_.clear();
    int code = pcmSide_->Flush(&pcm_);
    if (code == kAcmOk) code = Encode(out);
    if (code != kAcmOk) return code;
    const size_t start = out->size();
    out->resize(start + 7200);
    const int made = lame_encode_flush(lame_, out->data() + start, 7200);
    out->resize(start + size_t(std::max(made, 0)));
    return FromLame(made);
  }

 private:
  int Encode(std::vector<uint8_t>* out) {
    const size_t frames = pcm_.size() / (2 * channels_);
    if (frames == 0) return kAcmOk;
    std::vector<short> samples(frames * channels_);
    for (size_t i = 0; i < samples.size(); ++i) {
      samples[i] = short(uint16_t(pcm_[2 * i] | (pcm_[2 * i + 1] << 8)));
    }
    const size_t room = frames * 5 / 4 + 7200;
    const size_t start = out->size();
    out->resize(start + room);
    const int made =
        channels_ == 1
            ? lame_encode_buffer(lame_, samples.data(), samples.data(), int(frames),
                                 out->data() + start, int(room))
            : lame_encode_buffer_interleaved(lame_, samples.data(), int(frames),
                                             out->data() + start, int(room));
    out->resize(start + size_t(std::max(made, 0)));
    return FromLame(made);
  }

  TACMWaveFormat in_;
  uint16_t channels_ = 1;
  lame_global_flags* lame_ = nullptr;
  std::unique_ptr<PcmConverter> pcmSide_;
  std::vector<uint8_t> pcm_;
};

}  // namespace

int CreateMp3Decoder(const TACMWaveFormat& in, const TACMWaveFormat& out,
                     std::unique_ptr<StreamCodec>* codec) {
  codec->reset();
  if (in.formatTag != kFormatMpegLayer3 || !out.IsPcm()) return kAcmNotPossible;
  // The PCM side is checked now rather than at the first frame.
  std::unique_ptr<PcmConverter> probe;
  const int check = PcmConverter::Create(PcmFormat(2, 44100, 16), out, &probe);
  if (check != kAcmOk) return check;
  auto decoder = std::make_unique<Mp3Decoder>(in, out);
  const int code = decoder->Open();
  if (code == kAcmOk) *codec = std::move(decoder);
  return code;
}

int CreateMp3Encoder(const TACMWaveFormat& in, const TACMWaveFormat& out,
                     std::unique_ptr<StreamCodec>* codec) {
  codec->reset();
  if (!in.IsPcm() || out.formatTag != kFormatMpegLayer3) return kAcmNotPossible;
  if (out.channels < 1 || out.channels > 2 || out.samplesPerSec == 0) return kAcmInvalidParam;
  auto encoder = std::make_unique<Mp3Encoder>(in);
  const int code = encoder->Open(out);
  if (code == kAcmOk) *codec = std::move(encoder);
  return code;
}

}  // namespace kiv::convert
