// Compressed WAVs through the PCM reader, and MP3s made by our encoder through our decoder.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <unistd.h>

#include <cstring>

#include "ConvertTestSupport.h"
#include "convert/ACMConvertor.h"
#include "convert/PCMWaveReader.h"

namespace kiv::convert {
namespace {

using test::TempPath;

using test::ConvertAll;
using test::Mp3Format;
using test::Mp3Tone;

TEST(DecoderTest, CompressedWavFormatsReadAsSixteenBitPcmOfTheSameTone) {
  struct Case { int sfFormat; uint16_t tag; } cases[] = {
      {SF_FORMAT_IMA_ADPCM, 0x11}, {SF_FORMAT_MS_ADPCM, 2}, {SF_FORMAT_ALAW, 6},
      {SF_FORMAT_ULAW, 7}, {SF_FORMAT_GSM610, 0x31}, {SF_FORMAT_FLOAT, 3}};
  const auto tone = test::Tone(440, 8000, 0.5);
  for (const auto& c : cases) {
    const std::string path = TempPath("tone.wav");
    SF_INFO info{8000, 8000, 1, SF_FORMAT_WAV | c.sfFormat, 0, 0};
    SNDFILE* out = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(sf_write_short(out, tone.data(), sf_count_t(tone.size())), sf_count_t(tone.size()));
    sf_close(out);

    std::unique_ptr<TWaveStream> stream;
    std::unique_ptr<TPCMWaveReader> reader;
    ASSERT_TRUE(TFileWaveStream::Open(path, &stream).ok());
    EXPECT_EQ(stream->Format().formatTag, c.tag);
    ASSERT_TRUE(TPCMWaveReader::Open(stream.get(), &reader).ok()) << c.tag;
    EXPECT_EQ(reader->Format(), PcmFormat(1, 8000, 16));
    EXPECT_GE(reader->Length(), tone.size()) << c.tag;  // ADPCM fills its last block
    EXPECT_LT(reader->Length(), tone.size() + 1100) << c.tag;
    std::vector<int16_t> back(reader->Length());
    uint64_t done = 0;
    ASSERT_TRUE(reader->SetPosition(100).ok());
    ASSERT_EQ(reader->Read(back.data(), back.size(), &done).message(), "") << c.tag;
    EXPECT_EQ(done, back.size() - 100);
    EXPECT_EQ(reader->SetPosition(int64_t(reader->Length())).message(), "Position out of bounds.");
    ASSERT_TRUE(reader->SetPosition(0).ok());  // backwards: GSM decodes again from the top
    ASSERT_TRUE(reader->Read(back.data(), 4000, &done).ok());
    back.resize(4000);
    EXPECT_NEAR(test::CrossingHz(back, 8000, 1, 0), 440.0, 1.0) << c.tag;

    // Cut short, the file cannot give the frames its header promises.
    ASSERT_EQ(::truncate(path.c_str(), off_t(FileSystem::Default().Size(path) - 200)), 0);
    ASSERT_TRUE(TFileWaveStream::Open(path, &stream).ok());
    ASSERT_TRUE(TPCMWaveReader::Open(stream.get(), &reader).ok()) << c.tag;
    back.resize(reader->Length());
    EXPECT_EQ(reader->Read(back.data(), back.size(), &done).message(), "Unable to convert sample.");
  }
}

TEST(DecoderTest, UnknownFormatTagHasNoPcmForm) {
  auto bytes = test::Riff({test::Chunk("fmt ", test::Fmt(0x1234, 1, 8000, 8, {0, 0})),
                           test::Chunk("data", {1, 2})});
  std::unique_ptr<TWaveStream> stream;
  std::unique_ptr<TPCMWaveReader> reader;
  ASSERT_TRUE(TMemoryWaveStream::Open(bytes, &stream).ok());
  EXPECT_EQ(TPCMWaveReader::Open(stream.get(), &reader).message(), "Can't suggest pcm format.");
  bytes[20] = kFormatImaAdpcm, bytes[21] = 0;  // a tag the decoder knows, over data it cannot read
  ASSERT_TRUE(TMemoryWaveStream::Open(bytes, &stream).ok());
  EXPECT_EQ(TPCMWaveReader::Open(stream.get(), &reader).message(), "Can't open acm stream.");
}

TEST(DecoderTest, Mp3DecodesAtItsOwnRateToTheRequestedPcm) {
  for (uint32_t rate : {44100u, 32000u, 22050u}) {
    const auto mp3 = Mp3Tone(2, rate, 1.0);
    ASSERT_GT(mp3.size(), 4000u);
    const auto pcm = ConvertAll(Mp3Format(2, rate, 64), PcmFormat(1, 11025, 8), mp3);
    // The encoder's delay and last frame's padding come out as up to ~2300 extra samples.
    EXPECT_GE(pcm.size(), 11025u) << rate;
    EXPECT_LT(pcm.size(), 11025u + 2400 * 11025 / rate) << rate;
    EXPECT_NEAR(test::CrossingHz(pcm, 11025, 1, 128), 440.0, 2.0) << rate;
  }
}

TEST(DecoderTest, DamagedMp3DecodesTheGoodFramesWithoutError) {
  auto mp3 = Mp3Tone(1, 22050, 2.0);
  const std::vector<uint8_t> garbage(700, 0x5A);
  mp3.insert(mp3.begin() + long(mp3.size() / 2), garbage.begin(), garbage.end());
  auto pcm = ConvertAll(Mp3Format(1, 22050, 64), PcmFormat(1, 22050, 16), mp3);
  EXPECT_GT(pcm.size(), 2 * 22050 * 2 * 9 / 10);
  mp3.resize(mp3.size() / 3);
  pcm = ConvertAll(Mp3Format(1, 22050, 64), PcmFormat(1, 22050, 16), mp3, 333);
  EXPECT_NEAR(double(pcm.size()), 2 * 22050 * 2 / 3.0, 22050 * 2 * 0.1);
  pcm = ConvertAll(Mp3Format(1, 22050, 64), PcmFormat(1, 22050, 16), garbage);
  EXPECT_TRUE(pcm.empty());
}

}  // namespace
}  // namespace kiv::convert
