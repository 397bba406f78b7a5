#include "convert/PCMWaveReader.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kiv::convert {
namespace {

constexpr uint16_t kFormatExtensible = 0xFFFE;

bool DirectPcm(const TACMWaveFormat& f) {
  return f.IsPcm() && (f.bitsPerSample == 8 || f.bitsPerSample == 16);
}

bool Decodable(const TACMWaveFormat& f) {
  switch (f.formatTag) {
    case kFormatPcm: case kFormatMsAdpcm: case kFormatIeeeFloat: case kFormatALaw:
    case kFormatMuLaw: case kFormatImaAdpcm: case kFormatGsm610: case kFormatExtensible:
      return true;
    default:
      return false;
  }
}

// libsndfile's view of the stream's File, with a cursor of its own.
struct VirtualFile {
  File* file;
  sf_count_t position = 0;
};

sf_count_t FileLength(void* user) { return sf_count_t(static_cast<VirtualFile*>(user)->file->Length()); }

sf_count_t SeekTo(sf_count_t offset, int whence, void* user) {
  auto* v = static_cast<VirtualFile*>(user);
  sf_count_t base = whence == SEEK_CUR ? v->position : whence == SEEK_END ? FileLength(user) : 0;
  if (base + offset < 0) return -1;
  v->position = base + offset;
  return v->position;
}

sf_count_t ReadFrom(void* data, sf_count_t count, void* user) {
  auto* v = static_cast<VirtualFile*>(user);
  const sf_count_t length = FileLength(user);
  const sf_count_t n = std::clamp<sf_count_t>(length - v->position, 0, count);
  if (n > 0 && !v->file->ReadAt(uint64_t(v->position), data, size_t(n))) return 0;
  v->position += n;
  return n;
}

sf_count_t WriteTo(const void*, sf_count_t, void*) { return 0; }  // read-only
sf_count_t Tell(void* user) { return static_cast<VirtualFile*>(user)->position; }

}  // namespace

struct TPCMWaveReader::Decoder {
  VirtualFile file;
  SNDFILE* sound = nullptr;
  SF_INFO info{};
  sf_count_t position = 0;  // the next frame sf_readf_short gives

  ~Decoder() { Close(); }
  void Close() {
    if (sound != nullptr) sf_close(sound);
    sound = nullptr;
  }
  bool Open() {
    Close();
    file.position = 0;
    position = 0;
    SF_VIRTUAL_IO io = {FileLength, SeekTo, ReadFrom, WriteTo, Tell};
    info = SF_INFO{};
    sound = sf_open_virtual(&io, SFM_READ, &info, &file);
    return sound != nullptr;
  }
  // Some codecs cannot seek (GSM 6.10 in WAV): those start again from the top when they have
  // to go back, and decode and drop the frames up to the one asked for.
  bool MoveTo(sf_count_t frame) {
    if (frame == position) return true;
    if (sf_seek(sound, frame, SEEK_SET) == frame) {
      position = frame;
      return true;
    }
    if (frame < position && !Open()) return false;
    std::vector<short> skipped(4096 * size_t(info.channels));
    while (position < frame) {
      const sf_count_t got =
          sf_readf_short(sound, skipped.data(), std::min<sf_count_t>(frame - position, 4096));
      if (got <= 0) return false;
      position += got;
    }
    return true;
  }
};

TPCMWaveReader::TPCMWaveReader(TWaveStream* source) : source_(source) {}
TPCMWaveReader::~TPCMWaveReader() = default;

Status TPCMWaveReader::Open(TWaveStream* source, std::unique_ptr<TPCMWaveReader>* reader) {
  reader->reset();
  std::unique_ptr<TPCMWaveReader> made(new TPCMWaveReader(source));
  const TACMWaveFormat& in = source->Format();
  if (DirectPcm(in)) {
    made->format_ = in;
    made->length_ = source->Length();
    *reader = std::move(made);
    return Status::Ok();
  }
  if (!Decodable(in)) return Status::Error(StatusCode::Damaged, "Can't suggest pcm format.");

  made->decoder_ = std::make_unique<Decoder>();
  made->decoder_->file.file = &source->file();
  const SF_INFO& info = made->decoder_->info;
  if (!made->decoder_->Open() || info.channels < 1 || info.channels > 0xFFFF ||
      info.samplerate < 1 || info.frames < 0) {
    return Status::Error(StatusCode::Damaged, "Can't open acm stream.");
  }
  made->format_ = PcmFormat(uint16_t(info.channels), uint32_t(info.samplerate), 16);
  made->length_ = uint64_t(info.frames);
  // The decoder gives what the file holds; a file cut short of its data chunk still fails at
  // its end, as a PCM file does.
  made->truncated_ = source->DataStart() + source->Length() * in.blockAlign > source->file().Length();
  *reader = std::move(made);
  return Status::Ok();
}

Status TPCMWaveReader::SetPosition(int64_t frame) {
  if (frame < 0 || uint64_t(frame) >= length_) {
    return Status::Error(StatusCode::Refused, "Position out of bounds.");
  }
  position_ = frame;
  return Status::Ok();
}

void TPCMWaveReader::SetBufferLength(uint32_t frames) {
  if (frames >= 1024) bufferLength_ = frames;
}

Status TPCMWaveReader::Read(void* buffer, uint64_t frames, uint64_t* done) {
  *done = 0;
  if (uint64_t(position_) >= length_) return Status::Ok();
  frames = std::min(frames, length_ - uint64_t(position_));
  if (decoder_ == nullptr) {
    Status status = source_->SetPosition(position_);
    if (status.ok()) status = source_->Read(buffer, frames, done);
    position_ += int64_t(*done);
    return status;
  }
  if (!decoder_->MoveTo(position_)) {
    return Status::Error(StatusCode::Damaged, "Unable to convert sample.");
  }
  auto* out = static_cast<short*>(buffer);
  while (*done < frames) {
    const auto want = sf_count_t(std::min<uint64_t>(frames - *done, bufferLength_));
    const sf_count_t got = sf_readf_short(decoder_->sound, out + *done * format_.channels, want);
    if (got <= 0) break;
    *done += uint64_t(got);
    position_ += got;
    decoder_->position += got;
  }
  // The header promised these frames; a decoder that cannot give them met damaged data.
  if (*done < frames || (truncated_ && uint64_t(position_) == length_)) {
    return Status::Error(StatusCode::Damaged, "Unable to convert sample.");
  }
  return Status::Ok();
}

}  // namespace kiv::convert
