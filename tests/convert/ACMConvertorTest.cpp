#include "convert/ACMConvertor.h"

#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "convert/AcmError.h"

namespace kiv::convert {
namespace {

using test::Bytes;
using test::ConvertAll;

TEST(ACMConvertorTest, PcmBlockIsRaisedToWholeFramesAndSettersWaitForInactive) {
  TACMConvertor acm;
  ASSERT_TRUE(acm.SetFormatIn(PcmFormat(2, 44100, 16)).ok());
  ASSERT_TRUE(acm.SetInputBufferSize(1023).ok());
  acm.SetActive(true);
  ASSERT_TRUE(acm.Active());
  EXPECT_EQ(acm.InputBufferSize(), 1024u);
  EXPECT_EQ(acm.SetInputBufferSize(10).message(), "You cannot change the buffer size while active.");
  EXPECT_EQ(acm.SetUseRealTime(true).message(), "You cannot change the real time flag while active.");
  acm.ChangeInputBufferSize(17);  // raised again on reopening
  EXPECT_TRUE(acm.Active());
  EXPECT_EQ(acm.InputBufferSize(), 20u);
  EXPECT_TRUE(acm.FirstBlock());
  acm.Convert();
  EXPECT_FALSE(acm.FirstBlock());
}

TEST(ACMConvertorTest, SixteenBitZeroSamplesAreHandedOnAsOne) {
  const auto pcm = PcmFormat(1, 8000, 16);
  EXPECT_EQ(ConvertAll(pcm, pcm, std::vector<uint8_t>(6, 0)), std::vector<uint8_t>({1, 0, 1, 0, 1, 0}));
}

TEST(ACMConvertorTest, ErrorsArriveAsTextsWithTheCodesExplanation) {
  std::string errors;
  TACMConvertor acm;
  acm.OnException = [&](const std::string& text) { errors += text + "\n"; };
  EXPECT_EQ(acm.Convert(), 0u);
  TACMWaveFormat alaw = PcmFormat(1, 8000, 8);
  alaw.formatTag = kFormatALaw;
  ASSERT_TRUE(acm.SetFormatIn(alaw).ok());
  acm.SetActive(true);
  EXPECT_FALSE(acm.Active());
  ASSERT_TRUE(acm.SetFormatIn(PcmFormat(0, 8000, 8)).ok());
  acm.SetActive(true);
  ASSERT_TRUE(acm.SetFormatIn(PcmFormat(1, 8000, 8)).ok());
  ASSERT_TRUE(acm.SetInputBufferSize(0).ok());
  acm.SetActive(true);
  EXPECT_EQ(errors,
            "acmStreamConvert: The specified handle is invalid.\n"
            "acmStreamOpen: The requested operation cannot be performed.\n"
            "acmStreamOpen: At least one parameter is invalid.\n"
            "acmStreamSize: At least one parameter is invalid.\n");
  EXPECT_EQ(acm.LastError(), kAcmInvalidParam);
  EXPECT_EQ(AcmErrorText("acmStreamReset:", 99), "acmStreamReset: raised an unknown error (code #99)");
}

TEST(ACMConvertorTest, StereoIsAveragedMonoDuplicatedAndBitsScaled) {
  EXPECT_EQ(ConvertAll(PcmFormat(2, 8000, 8), PcmFormat(1, 8000, 8), {200, 100, 10, 20}),
            std::vector<uint8_t>({150, 15}));
  EXPECT_EQ(ConvertAll(PcmFormat(1, 8000, 8), PcmFormat(2, 8000, 16), {129, 0}),
            std::vector<uint8_t>({0, 1, 0, 1, 0, 0x80, 0, 0x80}));
}

TEST(ACMConvertorTest, ExportOfEightBitMonoPassesTheBytesUnchanged) {
  std::vector<uint8_t> message(3000);
  for (size_t i = 0; i < message.size(); ++i) message[i] = uint8_t(i * 7);
  const auto pcm = PcmFormat(1, 11025, 8);
  EXPECT_EQ(ConvertAll(pcm, pcm, message, 1024), message);
}

TEST(ACMConvertorTest, ResampledToneKeepsItsPitchAndLength) {
  struct Case { uint16_t channels, bits; uint32_t rate; } cases[] = {
      {2, 16, 44100}, {1, 8, 8000}, {1, 16, 22050}, {2, 8, 22050}};
  for (const auto& c : cases) {
    const auto tone = test::Tone(440, c.rate, 1.0, c.channels);
    std::vector<uint8_t> in = Bytes(tone);
    if (c.bits == 8) {
      in.clear();
      for (int16_t s : tone) in.push_back(uint8_t((s >> 8) + 128));
    }
    const auto out = ConvertAll(PcmFormat(c.channels, c.rate, c.bits), PcmFormat(1, 11025, 8), in);
    EXPECT_NEAR(double(out.size()), 11025.0, 2.0) << c.rate;
    EXPECT_NEAR(test::CrossingHz(out, 11025, 1, 128), 440.0, 1.0) << c.rate;
  }
}

}  // namespace
}  // namespace kiv::convert
