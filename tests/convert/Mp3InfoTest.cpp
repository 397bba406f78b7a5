// MPEG frame headers, ID3v1 tags and the audio info built from them.
#include <gtest/gtest.h>

#include <cstring>

#include "ConvertTestSupport.h"
#include "convert/ACMConvertor.h"
#include "convert/AudioInfo.h"
#include "convert/MemoryFile.h"
#include "convert/Mp3Format.h"

namespace kiv::convert {
namespace {

TEST(MpegFrameHdrTest, HeadersDecodeByTheTables) {
  struct Case {
    uint8_t b1, b2, b3;
    int version, layer, kbit, rate, length;
    bool ok;
    const char* mode;
  } cases[] = {
      {0xFB, 0x90, 0x00, 1, 3, 128, 44100, 417, true, "Stereo"},
      {0xFB, 0x92, 0xC0, 1, 3, 128, 44100, 418, true, "Mono"},
      {0xF3, 0x84, 0x40, 2, 3, 64, 24000, 192, true, "Joint Stereo"},
      {0xE3, 0x48, 0xC0, 3, 3, 32, 8000, 288, true, "Mono"},
      {0xFF, 0x42, 0x80, 1, 1, 128, 44100, 143, true, "Dual"},  // layer I pads 4 bytes
      {0xFD, 0x00, 0x00, 1, 2, 0, 44100, 0, true, "Stereo"},    // free format
      {0xFB, 0xF0, 0x00, 1, 3, -1, 44100, 0, false, "Stereo"},
      {0xFB, 0x9C, 0x00, 1, 3, 128, -1, 0, false, "Stereo"},
      {0xEB, 0x90, 0x00, 0, 3, -1, -1, 0, false, "Stereo"},     // reserved version
      {0xF9, 0x90, 0x00, 1, 0, -1, -1, 0, false, "Stereo"},     // reserved layer
  };
  for (const auto& c : cases) {
    const uint8_t bytes[4] = {0xFF, c.b1, c.b2, c.b3};
    TMpegFrameHdr header;
    EXPECT_EQ(header.Load(bytes, 4), c.ok) << int(c.b1);
    EXPECT_EQ(header.GetVersion(), c.version) << int(c.b1);
    EXPECT_EQ(header.GetLayer(), c.layer) << int(c.b1);
    EXPECT_EQ(header.GetKBitRate(), c.kbit) << int(c.b1);
    EXPECT_EQ(header.GetSamplingRate(), c.rate) << int(c.b1);
    EXPECT_EQ(header.GetFrameLen(), c.length) << int(c.b1);
    EXPECT_EQ(header.GetChannelModeStr(), c.mode);
    EXPECT_FALSE(header.Load(bytes, 3));
  }
  const uint8_t stream[] = {0xFF, 0xEB, 0x90, 0, 0xFF, 0xFF, 0xFB, 0x90, 0x64};
  TMpegFrameHdr header;
  EXPECT_EQ(header.Locate(stream, sizeof stream), 5);
  EXPECT_EQ(header.Locate(stream, 8), -1);
}

TEST(ID3v1TagTest, ReadsEditsAndWritesBothVersions) {
  uint8_t bytes[128] = {'T', 'A', 'G'};
  std::memcpy(bytes + 3, "Title  ", 7);
  std::memcpy(bytes + 97, "A comment", 9);
  bytes[127] = 147;
  TID3v1Tag tag;
  ASSERT_TRUE(tag.Load(bytes, 128));
  EXPECT_EQ(tag.Title() + "|" + tag.Comment() + "|" + tag.Genre(), "Title|A comment|Synthpop");
  EXPECT_TRUE(tag.v1());  // byte 126 is 0: no track
  bytes[126] = 7;
  ASSERT_TRUE(tag.Load(bytes, 128));
  EXPECT_EQ(tag.Track(), 7);
  EXPECT_FALSE(tag.v1());

  tag.SetField(TID3v1Tag::kTitle, "Title");
  EXPECT_FALSE(tag.Modified());
  tag.SetField(TID3v1Tag::kComment, std::string(40, 'c'));
  EXPECT_EQ(tag.Comment().size(), 28u);  // a track number is kept
  EXPECT_TRUE(tag.Modified());
  uint8_t out[128];
  EXPECT_EQ(tag.Save(out, 127).message(), "TID3v1Tag.Save: Buffer too small");
  ASSERT_TRUE(tag.Save(out, 128).ok());
  EXPECT_FALSE(tag.Modified());
  EXPECT_EQ(std::string(out + 3, out + 9) + char(out[125] + '0') + char(out[126] + '0'), "Title 07");

  const std::string path = test::TempPath("t.mp3");
  std::unique_ptr<File> file;
  ASSERT_TRUE(FileSystem::Default().Open(path, File::Mode::CreateReadWrite, &file).ok());
  ASSERT_TRUE(file->WriteAt(0, std::string(100, 'x').data(), 100));
  file.reset();
  ASSERT_TRUE(tag.SaveToFile(path).ok());
  tag.SetField(TID3v1Tag::kTitle, "Second");
  ASSERT_TRUE(tag.SaveToFile(path).ok());
  EXPECT_EQ(FileSystem::Default().Size(path), 228u);
  TID3v1Tag back;
  ASSERT_TRUE(back.LoadFromFile(path));
  EXPECT_EQ(back.Title(), "Second");
}

TEST(AudioInfoTest, FirstFrameTagAndPlayingTime) {
#if !KIVREC_HAS_CONVERTER
  GTEST_SKIP() << "the MP3 it reads is made by the encoder, which this build has not";
#else
  auto mp3 = test::Mp3Tone(1, 22050, 3.0);
  std::vector<uint8_t> file(1000, 0);  // something else in front
  file.insert(file.end(), mp3.begin(), mp3.end());
  TID3v1Tag tag;
  tag.SetField(TID3v1Tag::kTitle, "Dictation");
  file.resize(file.size() + 128);
  ASSERT_TRUE(tag.Save(file.data() + file.size() - 128, 128).ok());

  TAudioInfo info;
  info.LoadFromStream(MemoryFile(file), 0, file.size());
  EXPECT_EQ(info.FirstFrameOffset(), 1000);
  EXPECT_EQ(info.Header().GetSamplingRate(), 22050);
  EXPECT_EQ(info.Header().GetChannelModeStr(), "Mono");
  EXPECT_FALSE(info.VBR());
  EXPECT_EQ(info.Tag().Title(), "Dictation");
  EXPECT_EQ(info.PlayingTimeMs(), int64_t(mp3.size() * 8 / 64000) * 1000);
  const TACMWaveFormat source = Mp3SourceFormat(info.Header());
  EXPECT_EQ(source.samplesPerSec, 22050u);
  EXPECT_EQ(source.avgBytesPerSec, 8000u);
  EXPECT_EQ(Mp3ExtraOf(source).blockSize, 64 * 144000 / 22050);
  EXPECT_EQ(info.PlayingTimeMs(), 3000);

  file.insert(file.begin(), 10240 - 1000 - 3, 0);  // the header now straddles the limit
  info.LoadFromStream(MemoryFile(file), 0, file.size());
  EXPECT_EQ(info.FirstFrameOffset(), -1);
  EXPECT_EQ(Mp3ExtraOf(Mp3SourceFormat(info.Header())).blockSize, 260);
  EXPECT_EQ(Mp3ExtraOf(Mp3TargetFormat(1, 11025, 4000)).blockSize, 104);
  EXPECT_EQ(Mp3ExtraOf(Mp3TargetFormat(2, 11025, 2000)).blockSize, 156);
  EXPECT_EQ(info.PlayingTimeMs(), 0);
  EXPECT_EQ(info.Tag().Title(), "Dictation");
#endif
}

TEST(AudioInfoTest, XingFrameCountGivesThePlayingTime) {
  std::vector<uint8_t> file = {0xFF, 0xFB, 0x90, 0xC0};  // MPEG-1 mono: "Xing" 21 bytes in
  file.resize(417);
  std::memcpy(&file[21], "Xing\0\0\0\1\0\0\1\0", 12);  // 256 frames
  TAudioInfo info;
  info.LoadFromStream(MemoryFile(file), 0, file.size());
  EXPECT_TRUE(info.VBR());
  EXPECT_EQ(info.PlayingTimeMs(), 7000);  // 256 x 1152 / 44100 = 6.69 s
  file.resize(21 + 11);
  info.LoadFromStream(MemoryFile(file), 0, file.size());
  EXPECT_FALSE(info.VBR());
  // 128 kbit/s: 31999 bytes of sound and a tag play for 1 whole second, not 2.
  file.resize(31999);
  file[21] = 0;
  file.insert(file.end(), {'T', 'A', 'G'});
  file.resize(31999 + 128);
  info.LoadFromStream(MemoryFile(file), 0, file.size());
  EXPECT_EQ(info.PlayingTimeMs(), 1000);
}

}  // namespace
}  // namespace kiv::convert
