// Reading sound for playback: the bytes at any offset, the stream opened on demand, nothing read
// past the sound area (the end of the file, or the last byte written while recording).
#include <gtest/gtest.h>

#include "CassetteTestSupport.h"

namespace kiv {
namespace {

using test::Bytes;
using test::CassetteBuilder;
using test::SameBytes;

// Sound that shows where every byte came from.
Bytes Ramp(size_t count, uint8_t seed) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = uint8_t(seed + i * 7);
  return bytes;
}

class CassetteReadSoundTest : public test::CassetteTest {};

TEST_F(CassetteReadSoundTest, ReadsTheSoundBytesAtAnyOffset) {
  const Bytes sound = Ramp(3000, 5);
  const std::string path = PathIn("play.cst");
  test::WriteFile(path, CassetteBuilder().Raw(sound).Table().Entry(1, 0, 1000).Entry(2, 1000, 3000)
                            .bytes());
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);

  Bytes read(1200);
  ASSERT_TRUE(cassette.ReadSound(900, read.data(), read.size()).ok());
  EXPECT_TRUE(SameBytes(read, test::Slice(sound, 900, 1200)));
  Bytes first(1);
  ASSERT_TRUE(cassette.ReadSound(0, first.data(), 1).ok());
  EXPECT_EQ(first[0], sound[0]);
}

TEST_F(CassetteReadSoundTest, OpensAClosedStreamAndLeavesItOpen) {
  const Bytes sound = Ramp(500, 1);
  const std::string path = PathIn("play.cst");
  test::WriteFile(path, CassetteBuilder().Raw(sound).Table().Entry(1, 0, 500).bytes());
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);
  cassette.CloseStream();
  ASSERT_TRUE(cassette.CassetteStreamClosed());

  Bytes read(100);
  ASSERT_TRUE(cassette.ReadSound(400, read.data(), read.size()).ok());
  EXPECT_TRUE(SameBytes(read, test::Slice(sound, 400, 100)));
  EXPECT_FALSE(cassette.CassetteStreamClosed());
}

TEST_F(CassetteReadSoundTest, ARangePastTheEndOfTheFileReadsNothing) {
  const Bytes file = CassetteBuilder().Raw(Ramp(200, 9)).Table().Entry(1, 0, 200).bytes();
  const std::string path = PathIn("play.cst");
  test::WriteFile(path, file);
  Cassette cassette(Env());
  ASSERT_EQ(cassette.OpenCassette(path), OpenOutcome::Opened);

  Bytes read(10, 0xAA);
  Status past = cassette.ReadSound(file.size() - 5, read.data(), read.size());
  EXPECT_EQ(past.code(), StatusCode::Refused);
  EXPECT_EQ(read, Bytes(10, 0xAA));
  // An offset so large that offset + size would wrap around must not slip through.
  EXPECT_EQ(cassette.ReadSound(UINT64_MAX - 2, read.data(), read.size()).code(),
            StatusCode::Refused);
  EXPECT_EQ(read, Bytes(10, 0xAA));
  // Up to the last byte is fine, and an empty read at the very end too.
  EXPECT_TRUE(cassette.ReadSound(file.size() - 10, read.data(), read.size()).ok());
  EXPECT_TRUE(cassette.ReadSound(file.size(), read.data(), 0).ok());
}

TEST_F(CassetteReadSoundTest, WhileRecordingOnlyTheSoundWrittenSoFarIsReadable) {
  const std::string path = PathIn("rec.cst");
  Cassette cassette(Env());
  ASSERT_TRUE(cassette.CreateBlankCassette(path).ok());
  ASSERT_TRUE(cassette.BeginRecording().ok());
  const Bytes sound = Ramp(4, 40);
  ASSERT_TRUE(cassette.WriteSound(sound.data(), sound.size()).ok());

  // The old table still follows the new sound in the file, but it is not sound.
  Bytes read(8);
  EXPECT_EQ(cassette.ReadSound(0, read.data(), read.size()).code(), StatusCode::Refused);
  ASSERT_TRUE(cassette.ReadSound(0, read.data(), 4).ok());
  EXPECT_TRUE(SameBytes(test::Slice(read, 0, 4), sound));
  ASSERT_TRUE(cassette.EndRecording(true).ok());
}

TEST_F(CassetteReadSoundTest, WithoutACassetteNothingIsRead) {
  Cassette cassette(Env());
  Bytes read(4);
  EXPECT_FALSE(cassette.ReadSound(0, read.data(), read.size()).ok());
}

}  // namespace
}  // namespace kiv
