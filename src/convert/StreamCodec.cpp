#include "convert/StreamCodec.h"

#include "convert/AcmError.h"
#include "convert/Mp3Codecs.h"
#include "convert/PcmConverter.h"

namespace kiv::convert {

int OpenStreamCodec(const TACMWaveFormat& in, const TACMWaveFormat& out,
                    std::unique_ptr<StreamCodec>* codec) {
  codec->reset();
  if (in.IsPcm() && out.IsPcm()) {
    std::unique_ptr<PcmConverter> pcm;
    const int code = PcmConverter::Create(in, out, &pcm);
    *codec = std::move(pcm);
    return code;
  }
  if (in.formatTag == kFormatMpegLayer3) return CreateMp3Decoder(in, out, codec);
  if (out.formatTag == kFormatMpegLayer3) return CreateMp3Encoder(in, out, codec);
  return kAcmNotPossible;
}

}  // namespace kiv::convert
