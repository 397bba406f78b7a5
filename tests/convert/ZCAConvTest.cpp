// The converter's jobs end to end on real files: export of a message, import onto a cassette,
// and what a refused or failed job leaves behind.
#include "../cassette/CassetteTestSupport.h"
#include "ConvertTestSupport.h"
#include "cassette/CassetteReport.h"
#include "cassette/DiskSpace.h"
#include "convert/AudioInfo.h"
#include "convert/WaveStream.h"
#include "convert/ZCAConv.h"

namespace kiv::convert {
namespace {

using kiv::test::Bytes;

class ZCAConvTest : public kiv::test::CassetteTest {
 protected:
  std::unique_ptr<TZCAConv> Converter() {
    ZcaEnvironment env;
    env.tempFolder = TempFolder();
    env.freeMiB = [this](const std::string&) { return freeMiB_; };
    env.clock = [] { return kiv::test::kClockTime; };
    env.files = &files_;
    auto zca = std::make_unique<TZCAConv>(env);
    zca->OnException = [this](const std::string& text) { texts_ += text + "\n"; };
    zca->OnConversionProgress = [this](int64_t pos) { progress_.push_back(pos); };
    // Every pass that begins ends, failed or not, before the job's end is reported.
    zca->OnConversionBegin = [this](int64_t, int64_t, const std::string&, uint32_t) { ++openPasses_; };
    zca->OnConversionEnd = [this] { --openPasses_; };
    zca->OnConversionDone = [this](uint32_t w, uint32_t l) {
      EXPECT_EQ(openPasses_, 0);
      done_.push_back({w, l});
    };
    return zca;
  }
  bool Succeeded() const { return done_.size() == 1 && done_[0].first == TZCAConv::kDoneWParam; }
  bool FailedQuietly() const { return done_ == std::vector<std::pair<uint32_t, uint32_t>>{{1, 1}}; }
  void Reset() { texts_.clear(), progress_.clear(), done_.clear(); }

  // Imports `source` onto `cassette`; returns the sound of the new last message.
  Bytes Import(const std::string& source, const std::string& cassette, std::string* name = nullptr) {
    Reset();
    auto zca = Converter();
    zca->SetChangeFrom(source);
    zca->SetChangeTo(cassette);
    zca->DoImport();
    CassetteReport report;
    if (!Succeeded() || !InspectCassette(cassette, &report).ok() || !report.table) return {};
    const MessageEntry* last = report.table->FindLive(report.messageCount);
    if (name) *name = SelectorLine(last->number, last->NameText(), last->Length() / 11025);
    return kiv::test::Slice(kiv::test::ReadFile(cassette), last->start, last->Length());
  }

  double freeMiB_ = 1000;
  int openPasses_ = 0;
  std::string texts_;
  std::vector<int64_t> progress_;
  std::vector<std::pair<uint32_t, uint32_t>> done_;
};

TEST_F(ZCAConvTest, ExportWritesTheMessageBytesAsWavInKilobyteSteps) {
  for (uint32_t length : {0u, 3000u}) {
    Bytes sound(length);
    for (uint32_t i = 0; i < length; ++i) sound[i] = uint8_t(i * 7 + i / 256);
    kiv::test::CassetteBuilder tape;
    tape.Sound(500, 0x11).Raw(sound).Table().Entry(1, 0, 500).Entry(2, 500, 500 + length);
    const std::string path = PathIn("tape.cst"), target = PathIn("out.wav");
    kiv::test::WriteFile(path, tape.bytes());
    Reset();
    auto zca = Converter();
    zca->SetChangeFrom(path);
    zca->SetChangeFromType("MSG");
    zca->SetChangeTo(target);
    zca->SetChangeToMessageStart(500);
    zca->SetChangeToMessageEnd(500 + length);
    zca->DoExport("Kiv Sound Recorder Export", "x", 2);
    EXPECT_TRUE(Succeeded());
    EXPECT_EQ(texts_, "Conversion Done! File out.wav created!\n");
    const Bytes wav = kiv::test::ReadFile(target);
    ASSERT_EQ(wav.size(), 44 + length + (length & 1));
    EXPECT_TRUE(kiv::test::SameBytes(kiv::test::Slice(wav, 44, length), sound));
    std::unique_ptr<TWaveStream> stream;
    ASSERT_TRUE(TMemoryWaveStream::Open(wav, &stream).ok());
    EXPECT_EQ(stream->Format(), PcmFormat(1, 11025, 8));
    EXPECT_EQ(stream->Length(), length);
    const std::vector<int64_t> steps = length ? std::vector<int64_t>{1524, 2548, 3500} : std::vector<int64_t>{};
    EXPECT_EQ(progress_, steps);
  }
  const Bytes log = kiv::test::ReadFile(TempFolder() + "ZvZAC.log");
  EXPECT_EQ(std::string(log.begin(), log.end()).rfind("Captain's log :)\r\n\r\n[InitialLog]: LAME ", 0), 0u);
}

TEST_F(ZCAConvTest, PropertiesKeepTwoChannelsAndSixteenBitsOnlyAndUnknownKindsEndQuietly) {
  auto zca = Converter();
  zca->SetChangeToChannels(3), zca->SetChangeFromChannels(2), zca->SetChangeToBits(12);
  zca->SetChangeFromBits(16);
  EXPECT_EQ(zca->ChangeToChannels(), 1);
  EXPECT_EQ(zca->ChangeFromChannels(), 2);
  EXPECT_EQ(zca->ChangeToBits(), 8);
  EXPECT_EQ(zca->ChangeFromBits(), 16);
  kiv::test::WriteFile(PathIn("a.cst"), kiv::test::kBlank);
  for (auto [from, to] : {std::pair{"a.txt", "b.wav"}, {"a.cst", "b.ogg"}}) {
    Reset();
    zca->SetChangeFrom(PathIn(from)), zca->SetChangeFromType("MSG"), zca->SetChangeTo(PathIn(to));
    zca->DoExport("", "", 0);
    EXPECT_TRUE(FailedQuietly()) << from;
    EXPECT_EQ(texts_, "") << from;
  }
  Reset();
  zca->SetChangeFrom(PathIn("none.cst"));
  zca->DoExport("", "", 0);
  EXPECT_EQ(texts_, "File must exists: " + PathIn("none.cst") + "\n");
}

TEST_F(ZCAConvTest, Mp3ExportCarriesTheTagOfTheMessage) {
  kiv::test::CassetteBuilder tape;
  Bytes tone;
  for (int16_t v : test::Tone(440, 11025, 1.0)) tone.push_back(uint8_t((v >> 8) + 128));
  kiv::test::WriteFile(PathIn("t.cst"), tape.Raw(tone).Table().Entry(1, 0, 11025).bytes());
  auto zca = Converter();
  zca->SetChangeFrom(PathIn("t.cst")), zca->SetChangeFromType("MSG"), zca->SetChangeTo(PathIn("t.mp3"));
  zca->SetChangeToMessageEnd(11025);
  zca->DoExport("Album", "Note", 1);
  ASSERT_TRUE(Succeeded()) << texts_;
  TAudioInfo info;
  info.LoadFromFile(PathIn("t.mp3"));
  EXPECT_EQ(info.Header().GetSamplingRate(), 11025);
  EXPECT_EQ(info.Tag().Title() + info.Tag().Album() + std::to_string(info.Tag().Track()), "NoteAlbum1");
  // A second of sound plus the encoder's delay and padding.
  EXPECT_NEAR(double(Import(PathIn("t.mp3"), PathIn("back.cst")).size()), 12000, 700);
}

TEST_F(ZCAConvTest, ImportedWavHasTheCassettesLengthAndPitch) {
  const std::string cassette = PathIn("new.cst");  // made blank by the first import
  for (uint16_t bits : {8, 16}) {
    for (uint16_t channels : {1, 2}) {
      for (uint32_t rate : {8000u, 22050u, 44100u}) {
        const std::vector<int16_t> tone = test::Tone(440, rate, 0.5, channels);
        Bytes data = Bytes(tone.size() * 2);
        if (bits == 8) {
          data.clear();
          for (int16_t v : tone) data.push_back(uint8_t((v >> 8) + 128));
        } else {
          std::memcpy(data.data(), tone.data(), data.size());
        }
        std::unique_ptr<TWaveStream> wav;
        ASSERT_TRUE(TFileWaveStream::Create(PathIn("in.wav"), PcmFormat(channels, rate, bits), &wav).ok());
        uint64_t frames = 0;
        ASSERT_TRUE(wav->Write(data.data(), tone.size() / channels, &frames).ok());
        ASSERT_TRUE(wav->Finish().ok());
        wav.reset();
        std::string name;
        const Bytes sound = Import(PathIn("in.wav"), cassette, &name);
        const std::string what = std::to_string(bits) + "/" + std::to_string(channels) + "/" + std::to_string(rate);
        EXPECT_NEAR(double(sound.size()), 11025 / 2.0, 3) << what << texts_;
        EXPECT_NEAR(test::CrossingHz(sound, 11025, 1, 128), 440, 4) << what;
        EXPECT_EQ(name.substr(name.find(')')), ") 05.12.2026 14:03:59 Imported (00:00)") << what;
      }
    }
  }
  // A cassette at another rate gets the sound at its own rate.
  kiv::test::WriteFile(PathIn("fast.cst"), kiv::test::MakeCassette({{1, 100, 0x80}}, 22050));
  const Bytes fast = Import(PathIn("in.wav"), PathIn("fast.cst"));
  EXPECT_NEAR(double(fast.size()), 22050 / 2.0, 3);
  EXPECT_NEAR(test::CrossingHz(fast, 22050, 1, 128), 440, 4);
}

TEST_F(ZCAConvTest, Mp3ImportTakesItsTitleAndTrueRateAndLeavesNoAliases) {
  const Bytes mp3 = test::Mp3Tone(1, 32000, 2.0);
  kiv::test::WriteFile(PathIn("a.mp3"), mp3);
  TID3v1Tag tag;
  tag.SetField(TID3v1Tag::kTitle, "Minutes");
  ASSERT_TRUE(tag.SaveToFile(PathIn("a.mp3")).ok());
  std::string name;
  Bytes sound = Import(PathIn("a.mp3"), PathIn("m.cst"), &name);
  EXPECT_NEAR(double(sound.size()), 2 * 11025, 1500) << texts_;
  EXPECT_NEAR(test::CrossingHz(sound, 11025, 1, 128), 440, 4);
  EXPECT_EQ(name, "1) 05.12.2026 14:03:59 Minutes (00:02)");
  // Rates of two and four times the cassette's are decoded straight to it.
  for (uint32_t rate : {22050u, 44100u}) {
    for (double hz : {440.0, 7000.0}) {  // 7000 Hz lies above what the cassette can hold
      kiv::test::WriteFile(PathIn("b.mp3"), test::ConvertAll(PcmFormat(2, rate, 16), test::Mp3Format(2, rate, 128),
                                                             test::Bytes(test::Tone(hz, rate, 2.0, 2))));
      sound = Import(PathIn("b.mp3"), PathIn("m.cst"));
      EXPECT_NEAR(double(sound.size()), 2 * 11025, 1500) << rate;
      const auto loudest = *std::max_element(sound.begin() + 2000, sound.end() - 2000, [](uint8_t a, uint8_t b) {
        return std::abs(a - 128) < std::abs(b - 128);
      });
      EXPECT_NEAR(hz < 1000 ? test::CrossingHz(sound, 11025, 1, 128) : 440, 440, 4) << rate;
      EXPECT_EQ(std::abs(loudest - 128) > 20, hz < 1000) << rate << " " << hz << " " << int(loudest);
    }
  }
}

TEST_F(ZCAConvTest, FailedOrRefusedImportLeavesTheCassetteByteIdentical) {
  std::unique_ptr<TWaveStream> wav;
  ASSERT_TRUE(TFileWaveStream::Create(PathIn("in.wav"), PcmFormat(1, 8000, 8), &wav).ok());
  const Bytes data(20000, 0x90);
  uint64_t frames = 0;
  ASSERT_TRUE(wav->Write(data.data(), data.size(), &frames).ok() && wav->Finish().ok());
  wav.reset();
  Bytes wavBytes = kiv::test::ReadFile(PathIn("in.wav"));
  kiv::test::WriteFile(PathIn("cut.wav"), kiv::test::Slice(wavBytes, 0, 30));
  kiv::test::WriteFile(PathIn("junk.mp3"), Bytes(20000, 0x41));
  const std::string cassette = PathIn("tape.cst");
  const Bytes before = kiv::test::MakeCassette({{1, 3000, 0x80}, {2, 2000, 0x70}});
  auto same = [&] {
    return kiv::test::SameBytes(kiv::test::ReadFile(cassette), before) &&
           !kiv::FileExists(Cassette::SidecarPathFor(cassette));
  };
  kiv::test::WriteFile(cassette, before);
  for (const char* bad : {"cut.wav", "junk.mp3"}) {
    EXPECT_TRUE(Import(PathIn(bad), cassette).empty());
    EXPECT_TRUE(FailedQuietly() && texts_.find("File Format not Supported!") == 0) << texts_;
    EXPECT_TRUE(same()) << bad;
  }
  freeMiB_ = 6.02;  // room for the sound, not for the 6 MiB a recording keeps free as well
  EXPECT_TRUE(Import(PathIn("in.wav"), cassette).empty());
  EXPECT_EQ(texts_.find("Not enough free disk space on " + kiv::VolumeNameOf(cassette) + " to import in.wav"), 0u)
      << texts_;
  EXPECT_TRUE(same());
  EXPECT_TRUE(Import(PathIn("in.wav"), PathIn("new.cst")).empty());
  EXPECT_FALSE(kiv::FileExists(PathIn("new.cst")));  // the blank made for it went again
  freeMiB_ = 1000;
  EXPECT_GT(SweepFaults([&](kiv::test::FaultRun& run) {
    if (!run.Faulted([&] { return Import(PathIn("in.wav"), cassette); }).empty()) {
      kiv::test::WriteFile(cassette, before);
      return (void)std::filesystem::remove(Cassette::SidecarPathFor(cassette));
    }
    EXPECT_TRUE(done_.size() == 1 && done_[0].first == 1 && !texts_.empty());
    EXPECT_TRUE(same()) << texts_;
  }), 10);
}

}  // namespace
}  // namespace kiv::convert
