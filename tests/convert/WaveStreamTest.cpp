#include "convert/WaveStream.h"

#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "convert/MemoryFile.h"

namespace kiv::convert {
namespace {

using test::Chunk;
using test::Fmt;
using test::Riff;

std::string OpenError(std::vector<uint8_t> bytes) {
  std::unique_ptr<TWaveStream> stream;
  Status status = TMemoryWaveStream::Open(std::move(bytes), &stream);
  EXPECT_EQ(status.ok(), stream != nullptr);
  return status.message();
}

TEST(WaveStreamTest, WrittenFileReadsBackFrameForFrameWithPatchedSizes) {
  const auto format = PcmFormat(2, 22050, 16);
  std::unique_ptr<TWaveStream> writer;
  ASSERT_TRUE(TMemoryWaveStream::Create(format, &writer).ok());
  const auto tone = test::Tone(440, 22050, 0.1, 2);
  uint64_t done = 0;
  ASSERT_TRUE(writer->Write(tone.data(), tone.size() / 2, &done).ok());
  ASSERT_TRUE(writer->Finish().ok());
  auto bytes = static_cast<MemoryFile&>(writer->file()).bytes();
  ASSERT_EQ(bytes.size(), 12 + 8 + 18 + 8 + tone.size() * 2);
  EXPECT_EQ(GetLE32(&bytes[4]), bytes.size() - 8);
  EXPECT_EQ(GetLE32(&bytes[16]), 18u);  // header plus extra size
  EXPECT_EQ(GetLE32(&bytes[42]), tone.size() * 2);

  std::unique_ptr<TWaveStream> reader;
  ASSERT_TRUE(TMemoryWaveStream::Open(bytes, &reader).ok());
  EXPECT_EQ(reader->Format(), format);
  EXPECT_EQ(reader->Length(), tone.size() / 2);
  ASSERT_TRUE(reader->Seek(-10, SeekOrigin::End).ok());
  std::vector<int16_t> back(40);
  ASSERT_TRUE(reader->Read(back.data(), 20, &done).ok());  // only 10 are left
  EXPECT_EQ(done, 10u);
  EXPECT_TRUE(std::equal(back.begin(), back.begin() + 20, tone.end() - 20));
  EXPECT_EQ(reader->Seek(-1, SeekOrigin::Beginning).message(),
            "Seeking to an invalid location in the file.");
  EXPECT_EQ(reader->Position(), int64_t(tone.size() / 2));
}

TEST(WaveStreamTest, ExportStyleWritesPcmFormatIn16BytesAndPadsOddData) {
  std::unique_ptr<TWaveStream> writer;
  ASSERT_TRUE(TMemoryWaveStream::Create(PcmFormat(1, 11025, 8), &writer,
                                        WaveHeaderStyle::Export).ok());
  const uint8_t samples[3] = {1, 2, 3};
  uint64_t done = 0;
  ASSERT_TRUE(writer->Write(samples, 3, &done).ok());
  ASSERT_TRUE(writer->Finish().ok());
  const auto& bytes = static_cast<MemoryFile&>(writer->file()).bytes();
  EXPECT_EQ(bytes, Riff({Chunk("fmt ", Fmt(1, 1, 11025, 8)), Chunk("data", {1, 2, 3})}));
}

TEST(WaveStreamTest, PcmFormatChunkOf18BytesHasNoExtraData) {
  std::unique_ptr<TWaveStream> stream;
  auto bytes = Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8, {7, 0})), Chunk("LIST", {1, 2, 3}),
                     Chunk("data", {9, 9, 9})});
  ASSERT_TRUE(TMemoryWaveStream::Open(bytes, &stream).ok());
  EXPECT_EQ(stream->Format().extraSize, 0);
  EXPECT_EQ(stream->Length(), 3u);
}

TEST(WaveStreamTest, DamagedHeadersAreRefusedWithTheStepThatFailed) {
  const auto pcm = Chunk("fmt ", Fmt(1, 1, 8000, 8));
  const auto data = Chunk("data", {1, 2, 3, 4});
  auto cut = Riff({pcm, data});
  cut.resize(12 + 8 + 10);
  struct Case {
    std::vector<uint8_t> bytes;
    const char* text;
  } cases[] = {
      {{'R', 'I', 'F', 'F', 4, 0}, "Invalid multimedia file!"},
      {Riff({pcm, data}, "AVI "), "Not a wave file!"},
      {Riff({Chunk("LIST", {1, 2}), data}), "Couldn't find 'fmt' chunk!"},
      {Riff({Chunk("fmt ", std::vector<uint8_t>(14)), data}), "Abnormal 'fmt' size!"},
      {cut, "Error reading 'fmt' chunk!"},
      {Riff({Chunk("fmt ", Fmt(2, 1, 8000, 4, {200, 0}), 18), data}), "Error reading 'waveformatex'!"},
      {Riff({Chunk("fmt ", Fmt(2, 1, 8000, 4, {4, 0, 1, 2}), 20), data}), "Error reading 'waveformatex'!"},
      {Riff({Chunk("fmt ", Fmt(2, 1, 8000, 4), 18)}), "Error reading 'waveformatex' length!"},
      {Riff({Chunk("fmt ", Fmt(1, 0, 8000, 8)), data}), "Invalid block align in 'fmt' chunk!"},
      {Riff({pcm}), "Couldn't find 'data' chunk!"},
      {Riff({Chunk("fmt ", Fmt(1, 1, 8000, 8), 0x7FFFFFF0), data}), "Couldn't find 'data' chunk!"},
  };
  for (const auto& c : cases) EXPECT_EQ(OpenError(c.bytes), c.text) << c.text;
}

TEST(WaveStreamTest, TruncatedDataGivesTheFramesThereThenAnError) {
  auto bytes = Riff({Chunk("fmt ", Fmt(1, 2, 8000, 16)), Chunk("data", std::vector<uint8_t>(40))});
  bytes.resize(bytes.size() - 18);  // 5 whole frames and half of one remain
  std::unique_ptr<TWaveStream> stream;
  ASSERT_TRUE(TMemoryWaveStream::Open(bytes, &stream).ok());
  EXPECT_EQ(stream->Length(), 10u);
  std::vector<uint8_t> buffer(40);
  uint64_t done = 0;
  EXPECT_EQ(stream->Read(buffer.data(), 10, &done).message(), "Error reading from file.");
  EXPECT_EQ(done, 5u);
}

}  // namespace
}  // namespace kiv::convert
