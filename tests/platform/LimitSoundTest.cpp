// The cassette-full sound the build puts beside the recorder, read with a WAV reader of the
// test's own: its format and length, that it is heard and does not clip or click, that it is two
// notes going down, and that the generator makes the same bytes again.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace kiv {
namespace {

QString LimitWavPath() { return QStringLiteral(KIVREC_BIN_DIR "/limit.wav"); }

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Wav {
  quint32 riffSize = 0;
  quint16 formatTag = 0;
  quint16 channels = 0;
  quint32 rate = 0;
  quint32 bytesPerSecond = 0;
  quint16 blockAlign = 0;
  quint16 bits = 0;
  std::vector<int> samples;  // 16-bit signed
};

quint16 U16(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 U32(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint32>(b.constData() + at);
}

// The header fields and the 16-bit samples of the data chunk; nothing for a file that is not
// RIFF/WAVE or whose chunks run past its end.
std::optional<Wav> ParseWav(const QByteArray& bytes) {
  if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return {};
  Wav wav;
  wav.riffSize = U32(bytes, 4);
  qsizetype at = 12;
  bool format = false;
  while (at + 8 <= bytes.size()) {
    const QByteArray id = bytes.mid(at, 4);
    const quint32 size = U32(bytes, at + 4);
    const qsizetype body = at + 8;
    if (size > quint32(bytes.size() - body)) return {};
    if (id == "fmt " && size >= 16) {
      wav.formatTag = U16(bytes, body);
      wav.channels = U16(bytes, body + 2);
      wav.rate = U32(bytes, body + 4);
      wav.bytesPerSecond = U32(bytes, body + 8);
      wav.blockAlign = U16(bytes, body + 12);
      wav.bits = U16(bytes, body + 14);
      format = true;
    } else if (id == "data" && format && wav.bits == 16) {
      for (qsizetype i = body; i + 1 < body + qsizetype(size); i += 2) {
        wav.samples.push_back(qFromLittleEndian<qint16>(bytes.constData() + i));
      }
      return wav;
    }
    at = body + size + (size & 1);
  }
  return {};
}

// Upward crossings per second in [from, to) seconds, with hysteresis so the quiet tail's
// rounding does not count twice.
double Frequency(const Wav& wav, double from, double to) {
  const auto first = size_t(from * wav.rate);
  const auto last = std::min(wav.samples.size(), size_t(to * wav.rate));
  int crossings = 0;
  bool below = true;
  for (size_t i = first; i < last; ++i) {
    if (below && wav.samples[i] > 300) {
      ++crossings;
      below = false;
    } else if (!below && wav.samples[i] < -300) {
      below = true;
    }
  }
  return crossings / (to - from);
}

int Peak(const Wav& wav, size_t from, size_t to) {
  int peak = 0;
  for (size_t i = from; i < std::min(to, wav.samples.size()); ++i) {
    peak = std::max(peak, std::abs(wav.samples[i]));
  }
  return peak;
}

class LimitSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QByteArray bytes = ReadAll(LimitWavPath());
    ASSERT_FALSE(bytes.isEmpty()) << "the build makes bin/limit.wav (target kivrec-sounds)";
    size_ = bytes.size();
    const std::optional<Wav> parsed = ParseWav(bytes);
    ASSERT_TRUE(parsed) << "limit.wav is not a RIFF/WAVE file with a data chunk";
    wav_ = *parsed;
  }

  qsizetype size_ = 0;
  Wav wav_;
};

TEST_F(LimitSoundTest, IsSixteenBitMonoPcmOfAboutFourFifthsOfASecond) {
  EXPECT_EQ(wav_.riffSize, quint32(size_ - 8));
  EXPECT_EQ(wav_.formatTag, 1);  // PCM
  EXPECT_EQ(wav_.channels, 1);
  EXPECT_EQ(wav_.rate, 22050U);
  EXPECT_EQ(wav_.bits, 16);
  EXPECT_EQ(wav_.blockAlign, 2);
  EXPECT_EQ(wav_.bytesPerSecond, 44100U);
  const double seconds = double(wav_.samples.size()) / wav_.rate;
  EXPECT_GE(seconds, 0.6);
  EXPECT_LE(seconds, 0.8);
}

TEST_F(LimitSoundTest, IsClearlyHeardWithoutClippingAndStartsAndEndsInSilence) {
  const size_t all = wav_.samples.size();
  const int peak = Peak(wav_, 0, all);
  EXPECT_GT(peak, 32767 / 4);
  EXPECT_LT(peak, 32767 * 9 / 10);
  // It rises from nothing and fades back to nothing: no click at either end.
  const size_t fiveMs = wav_.rate / 200;
  EXPECT_EQ(wav_.samples.front(), 0);
  EXPECT_EQ(wav_.samples.back(), 0);
  EXPECT_LT(Peak(wav_, 0, fiveMs / 5), 32767 / 100);
  EXPECT_LT(Peak(wav_, all - fiveMs, all), 32767 / 100);
  // It is sound throughout its first half second, not a blip.
  for (size_t at = 0; at + 2 * fiveMs <= wav_.rate / 2; at += 2 * fiveMs) {
    EXPECT_GT(Peak(wav_, at, at + 2 * fiveMs), 32767 / 20) << "at sample " << at;
  }
}

// A player that stops its device once it has handed over the last sample drops what the device
// still holds; the last fifth of a second is silence, so that costs nothing of the chime.
TEST_F(LimitSoundTest, EndsInAFifthOfASecondOfSilence) {
  const size_t all = wav_.samples.size();
  EXPECT_EQ(Peak(wav_, all - wav_.rate / 5, all), 0);
  EXPECT_GT(Peak(wav_, all - wav_.rate / 4, all - wav_.rate / 5), 0);
}

TEST_F(LimitSoundTest, IsTwoNotesGoingDownAMajorThird) {
  const double high = Frequency(wav_, 0.02, 0.18);
  const double low = Frequency(wav_, 0.40, 0.54);
  EXPECT_NEAR(high, 659.3, 25.0);  // E5
  EXPECT_NEAR(low, 523.3, 25.0);   // C5
  EXPECT_NEAR(high / low, 1.26, 0.05);
}

TEST_F(LimitSoundTest, TheGeneratorMakesTheSameBytesAgain) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QProcess generator;
  generator.start(QStringLiteral(KIVREC_BIN_DIR "/kivrec-soundgen"), {folder.path()});
  ASSERT_TRUE(generator.waitForFinished(30'000));
  ASSERT_EQ(generator.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
  EXPECT_EQ(ReadAll(folder.filePath(QStringLiteral("limit.wav"))), ReadAll(LimitWavPath()));
}

}  // namespace
}  // namespace kiv
