// TWaveStream: a RIFF/WAVE file seen as a stream of sample frames. Positions, counts and lengths
// are in frames (block-align units) counted from the start of the "data" chunk, never in bytes,
// and are 64-bit.
//
// A stream either reads an existing file (its header checked step by step, each failing step
// with its own sentence) or writes a new one: the header goes out at creation with the sizes
// left zero, and Finish() patches the "data" and "RIFF" sizes and syncs the file. A writer that
// is destroyed without Finish() still patches the sizes, but nobody hears of a failure then.
//
// The stream owns its File. It reaches the bytes only through File's explicit-offset reads and
// writes, so the same code runs over a disk file (TFileWaveStream), a memory block
// (TMemoryWaveStream), and a fault-injecting file in tests. Errors are Status values carrying
// the fixed sentences below; nothing throws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cassette/File.h"
#include "cassette/Status.h"
#include "convert/WaveFormat.h"

namespace kiv::convert {

enum class SeekOrigin { Beginning, Current, End };

// How a written header looks. Standard: "fmt " holds the 18-byte header plus the extra data.
// Export: a PCM "fmt " holds 16 bytes (no extra size field), and a non-PCM file gets a "fact"
// chunk, which is what players expect of a compressed WAV.
enum class WaveHeaderStyle { Standard, Export };

class TWaveStream {
 public:
  // Reads the header of `file`; on failure `stream` stays empty and the status carries the
  // sentence of the step that failed.
  [[nodiscard]] static Status OpenForReading(std::unique_ptr<File> file,
                                             std::unique_ptr<TWaveStream>* stream);
  // Writes a header for `format` at the start of `file`, which should be empty.
  [[nodiscard]] static Status Create(std::unique_ptr<File> file, const TACMWaveFormat& format,
                                     std::unique_ptr<TWaveStream>* stream,
                                     WaveHeaderStyle style = WaveHeaderStyle::Standard);

  ~TWaveStream();
  TWaveStream(const TWaveStream&) = delete;
  TWaveStream& operator=(const TWaveStream&) = delete;

  const TACMWaveFormat& Format() const { return format_; }
  uint64_t DataStart() const { return dataStart_; }  // byte offset of the first frame
  uint64_t Length() const { return length_; }        // frames
  int64_t Position() const { return position_; }
  File& file() { return *file_; }

  // Offset in frames; from the beginning it counts from the first frame. A negative result is
  // refused and the position stays. Beyond the end is allowed (a read there gives 0 frames).
  [[nodiscard]] Status Seek(int64_t offset, SeekOrigin origin);
  [[nodiscard]] Status SetPosition(int64_t frame) { return Seek(frame, SeekOrigin::Beginning); }

  // Read at most `frames` frames, never beyond the data chunk; `done` gets the frames read. A
  // file that ends before its data chunk says it should is an error, after the whole frames
  // that were there.
  [[nodiscard]] Status Read(void* buffer, uint64_t frames, uint64_t* done);
  [[nodiscard]] Status Write(const void* buffer, uint64_t frames, uint64_t* done);
  // Writer: fixes up the chunk sizes and syncs. Further calls do nothing.
  [[nodiscard]] Status Finish();

 private:
  TWaveStream(std::unique_ptr<File> file, bool writing);
  Status ReadHeader();
  Status WriteHeader(WaveHeaderStyle style);

  std::unique_ptr<File> file_;
  bool writing_;
  bool finished_ = false;
  TACMWaveFormat format_;
  uint64_t dataStart_ = 0;
  uint64_t length_ = 0;
  int64_t position_ = 0;
};

// Over a file on disk. Open reads (all access shared); Create makes or empties the file.
// A file that cannot be opened is "Can't open file stream.".
struct TFileWaveStream {
  [[nodiscard]] static Status Open(const std::string& path, std::unique_ptr<TWaveStream>* stream);
  [[nodiscard]] static Status Create(const std::string& path, const TACMWaveFormat& format,
                                     std::unique_ptr<TWaveStream>* stream,
                                     WaveHeaderStyle style = WaveHeaderStyle::Standard);
};

// Over a block of memory (a MemoryFile the stream owns; written bytes are in its bytes()).
struct TMemoryWaveStream {
  [[nodiscard]] static Status Open(std::vector<uint8_t> bytes, std::unique_ptr<TWaveStream>* stream);
  [[nodiscard]] static Status Create(const TACMWaveFormat& format,
                                     std::unique_ptr<TWaveStream>* stream,
                                     WaveHeaderStyle style = WaveHeaderStyle::Standard);
};

}  // namespace kiv::convert
