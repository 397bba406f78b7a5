#include "convert/WaveStream.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "convert/ByteOrder.h"
#include "convert/MemoryFile.h"

namespace kiv::convert {
namespace {

constexpr uint32_t kRiff = FourCC('R', 'I', 'F', 'F');
constexpr uint32_t kWave = FourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFmt = FourCC('f', 'm', 't', ' ');
constexpr uint32_t kFact = FourCC('f', 'a', 'c', 't');
constexpr uint32_t kData = FourCC('d', 'a', 't', 'a');
constexpr uint64_t kFormStart = 12;  // after "RIFF", its size and "WAVE"
// RIFF sizes are 32-bit: the data chunk must end where its size can still say so.
constexpr uint64_t kMaxRiffBytes = 0xFFFFFFFFull;

Status Damaged(const char* text) { return Status::Error(StatusCode::Damaged, text); }
Status IoError(const char* text) { return Status::Error(StatusCode::IoError, text); }

struct Chunk {
  uint64_t dataOffset = 0;  // first byte after the 8-byte chunk header
  uint32_t size = 0;
};

// Walks the chunks of the WAVE form from its start until `id` is found. A chunk counts only if
// its header lies inside the form and inside the file, whatever the sizes claim, so lying sizes
// end the walk instead of reading elsewhere.
bool FindChunk(const File& file, uint64_t formEnd, uint32_t id, Chunk* found) {
  const uint64_t end = std::min(formEnd, file.Length());
  uint64_t offset = kFormStart;
  uint8_t header[8];
  while (offset + 8 <= end && file.ReadAt(offset, header, 8)) {
    const uint32_t size = GetLE32(header + 4);
    if (GetLE32(header) == id) {
      *found = {offset + 8, size};
      return true;
    }
    offset += 8 + uint64_t(size) + (size & 1);  // chunks are padded to even sizes
  }
  return false;
}

}  // namespace

TWaveStream::TWaveStream(std::unique_ptr<File> file, bool writing)
    : file_(std::move(file)), writing_(writing) {}

TWaveStream::~TWaveStream() {
  if (writing_) (void)Finish();  // the caller that wants to hear of failures calls Finish itself
}

Status TWaveStream::OpenForReading(std::unique_ptr<File> file,
                                   std::unique_ptr<TWaveStream>* stream) {
  stream->reset();
  std::unique_ptr<TWaveStream> reader(new TWaveStream(std::move(file), false));
  Status status = reader->ReadHeader();
  if (status.ok()) *stream = std::move(reader);
  return status;
}

Status TWaveStream::ReadHeader() {
  uint8_t riff[12];
  if (!file_->ReadAt(0, riff, 8)) return Damaged("Invalid multimedia file!");
  if (GetLE32(riff) != kRiff || !file_->ReadAt(8, riff + 8, 4) || GetLE32(riff + 8) != kWave) {
    return Damaged("Not a wave file!");
  }
  const uint64_t formEnd = 8 + uint64_t(GetLE32(riff + 4));

  Chunk fmt;
  if (!FindChunk(*file_, formEnd, kFmt, &fmt)) return Damaged("Couldn't find 'fmt' chunk!");
  if (fmt.size < 16) return Damaged("Abnormal 'fmt' size!");
  std::array<uint8_t, TACMWaveFormat::kRecordSize> record{};
  if (!file_->ReadAt(fmt.dataOffset, record.data(), 16)) {
    return Damaged("Error reading 'fmt' chunk!");
  }
  // PCM has no extra data, whatever the chunk holds after its 16 bytes. Other formats carry a
  // 2-byte extra size, which a bare 16-byte chunk leaves at 0.
  uint16_t extraSize = 0;
  if (GetLE16(record.data()) != kFormatPcm && fmt.size >= TACMWaveFormat::kHeaderSize) {
    if (!file_->ReadAt(fmt.dataOffset + 16, record.data() + 16, 2)) {
      return Damaged("Error reading 'waveformatex' length!");
    }
    extraSize = GetLE16(record.data() + 16);
    // The extra data must fit both its chunk and the format record.
    if (extraSize > TACMWaveFormat::kMaxExtra ||
        extraSize > fmt.size - TACMWaveFormat::kHeaderSize ||
        !file_->ReadAt(fmt.dataOffset + TACMWaveFormat::kHeaderSize,
                       record.data() + TACMWaveFormat::kHeaderSize, extraSize)) {
      return Damaged("Error reading 'waveformatex'!");
    }
  }
  PutLE16(record.data() + 16, extraSize);
  format_ = TACMWaveFormat::Decode(record.data(), record.size());
  // Every length below divides by the block align.
  if (format_.blockAlign == 0) return Damaged("Invalid block align in 'fmt' chunk!");

  Chunk data;
  if (!FindChunk(*file_, formEnd, kData, &data)) return Damaged("Couldn't find 'data' chunk!");
  dataStart_ = data.dataOffset;
  length_ = data.size / format_.blockAlign;
  position_ = 0;
  return Status::Ok();
}

Status TWaveStream::Create(std::unique_ptr<File> file, const TACMWaveFormat& format,
                           std::unique_ptr<TWaveStream>* stream, WaveHeaderStyle style) {
  stream->reset();
  if (format.blockAlign == 0 || format.extraSize > TACMWaveFormat::kMaxExtra) {
    return Damaged("Error writing wave format.");
  }
  std::unique_ptr<TWaveStream> writer(new TWaveStream(std::move(file), true));
  writer->format_ = format;
  Status status = writer->WriteHeader(style);
  if (!status.ok()) {
    writer->writing_ = false;  // nothing to patch in a header that is not there
    return status;
  }
  *stream = std::move(writer);
  return Status::Ok();
}

Status TWaveStream::WriteHeader(WaveHeaderStyle style) {
  const bool pcmExport = style == WaveHeaderStyle::Export && format_.IsPcm();
  const bool fact = style == WaveHeaderStyle::Export && !format_.IsPcm();
  const uint32_t fmtSize = pcmExport ? 16 : uint32_t(TACMWaveFormat::kHeaderSize + format_.extraSize);

  std::vector<uint8_t> header(12 + 8);
  PutLE32(&header[0], kRiff);
  PutLE32(&header[8], kWave);
  PutLE32(&header[12], kFmt);
  PutLE32(&header[16], fmtSize);
  if (!file_->WriteAt(0, header.data(), header.size())) return IoError("Error creating chunk.");

  auto record = format_.Encode();
  std::vector<uint8_t> fmt(record.begin(), record.begin() + fmtSize);
  if (fmtSize & 1) fmt.push_back(0);
  if (!file_->WriteAt(header.size(), fmt.data(), fmt.size())) {
    return IoError("Error writing wave format.");
  }
  uint64_t offset = header.size() + fmt.size();

  std::vector<uint8_t> rest;
  if (fact) {  // the sample count is not kept up; 0 says "unknown"
    rest.resize(12);
    PutLE32(&rest[0], kFact);
    PutLE32(&rest[4], 4);
  }
  rest.resize(rest.size() + 8);
  PutLE32(&rest[rest.size() - 8], kData);
  if (!file_->WriteAt(offset, rest.data(), rest.size())) return IoError("Error creating chunk.");
  dataStart_ = offset + rest.size();
  return Status::Ok();
}

Status TWaveStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = 0;
  if (origin == SeekOrigin::Current) base = position_;
  if (origin == SeekOrigin::End) base = int64_t(length_);
  // base >= 0, so only a large positive offset can overflow.
  const bool overflow = offset > 0 && base > INT64_MAX - offset;
  const int64_t target = overflow ? -1 : base + offset;
  if (target < 0) {
    return Status::Error(StatusCode::Refused, "Seeking to an invalid location in the file.");
  }
  position_ = target;
  return Status::Ok();
}

Status TWaveStream::Read(void* buffer, uint64_t frames, uint64_t* done) {
  *done = 0;
  const uint64_t position = uint64_t(position_);
  if (position >= length_ || frames == 0) return Status::Ok();
  frames = std::min(frames, length_ - position);
  const uint64_t align = format_.blockAlign;
  const uint64_t offset = dataStart_ + position * align;
  const uint64_t inFile = file_->Length() > offset ? file_->Length() - offset : 0;
  const uint64_t readable = std::min(frames, inFile / align);
  if (readable > 0 && !file_->ReadAt(offset, buffer, readable * align)) {
    return IoError("Error reading from file.");
  }
  *done = readable;
  position_ += int64_t(readable);
  if (readable < frames) return IoError("Error reading from file.");
  return Status::Ok();
}

Status TWaveStream::Write(const void* buffer, uint64_t frames, uint64_t* done) {
  *done = 0;
  const uint64_t align = format_.blockAlign;
  const uint64_t offset = dataStart_ + uint64_t(position_) * align;
  if (!writing_ || finished_ || frames > kMaxRiffBytes / align ||
      offset + frames * align > kMaxRiffBytes || !file_->WriteAt(offset, buffer, frames * align)) {
    return IoError("Error writing to file.");
  }
  *done = frames;
  position_ += int64_t(frames);
  length_ = std::max(length_, uint64_t(position_));
  return Status::Ok();
}

Status TWaveStream::Finish() {
  if (!writing_ || finished_) return Status::Ok();
  finished_ = true;
  const uint64_t dataBytes = length_ * format_.blockAlign;
  uint64_t end = dataStart_ + dataBytes;
  uint8_t size[4];
  PutLE32(size, uint32_t(dataBytes));
  bool ok = file_->WriteAt(dataStart_ - 4, size, 4);
  if (dataBytes & 1) {  // the pad byte that keeps the next chunk on an even offset
    const uint8_t pad = 0;
    ok = ok && file_->WriteAt(end, &pad, 1);
    ++end;
  }
  // Whatever lay beyond (a longer file that was overwritten) is no longer part of the form.
  ok = ok && file_->Truncate(end);
  PutLE32(size, uint32_t(end - 8));
  ok = ok && file_->WriteAt(4, size, 4);
  if (!ok) return IoError("Cannot ascend chunk.");
  if (!file_->Sync()) return IoError("Cannot flush.");
  return Status::Ok();
}

Status TFileWaveStream::Open(const std::string& path, std::unique_ptr<TWaveStream>* stream) {
  stream->reset();
  std::unique_ptr<File> file;
  const Status opened = FileSystem::Default().Open(path, File::Mode::ReadOnly, &file);
  if (!opened.ok()) return Status::Error(opened.code(), "Can't open file stream.");
  return TWaveStream::OpenForReading(std::move(file), stream);
}

Status TFileWaveStream::Create(const std::string& path, const TACMWaveFormat& format,
                               std::unique_ptr<TWaveStream>* stream, WaveHeaderStyle style) {
  stream->reset();
  std::unique_ptr<File> file;
  const Status opened = FileSystem::Default().Open(path, File::Mode::CreateReadWrite, &file);
  if (!opened.ok()) return Status::Error(opened.code(), "Can't open file stream.");
  return TWaveStream::Create(std::move(file), format, stream, style);
}

Status TMemoryWaveStream::Open(std::vector<uint8_t> bytes, std::unique_ptr<TWaveStream>* stream) {
  return TWaveStream::OpenForReading(std::make_unique<MemoryFile>(std::move(bytes)), stream);
}

Status TMemoryWaveStream::Create(const TACMWaveFormat& format,
                                 std::unique_ptr<TWaveStream>* stream, WaveHeaderStyle style) {
  return TWaveStream::Create(std::make_unique<MemoryFile>(), format, stream, style);
}

}  // namespace kiv::convert
