// The converter program: arguments, the job read from the settings, the progress window, the
// done words that must reach a listening panel whatever the converter does, and, when the
// converter is in the tree, real jobs on a real cassette.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <QTemporaryDir>

#include "ZacSession.h"
#include "panel/TChangeClothes.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeSettingsStore.h"
#include "../cassette/CassetteTestSupport.h"
#include "ZacConverter.h"

namespace kiv::zac {
namespace {

using Words = std::vector<std::pair<qint32, qint32>>;
const std::pair<qint32, qint32> kSuccess{0x000E000D, 0x000BF79B};

class ZacTest : public ::testing::Test {
 protected:
  int Run(const char* args, const Converter& convert) {
    dialogs_.ClearCalls();
    const PanelTeller tell = [this](const QString& handle, qint32 w, qint32 l) {
      EXPECT_EQ(handle, QStringLiteral("panel"));
      told_.emplace_back(w, l);
      return panelListens_;
    };
    return RunProgram(QString::fromLatin1(args).split(u' ', Qt::SkipEmptyParts), store_, dialogs_,
                      convert, tell, out_, errors_);
  }
  QTemporaryDir dir_;
  FakeSettingsStore store_{{{QStringLiteral("DDHandle"), QStringLiteral("panel")}}};
  bool panelListens_ = true;
  Words told_;
  FakeDialogs dialogs_;
  QString outText_, errText_;
  QTextStream out_{&outText_}, errors_{&errText_};
};

TEST_F(ZacTest, OnlyExportOrImportAloneRunsAJobAnythingElseIsUsageWithCodeOne) {
  const Converter never = [](const Job&, Session&) { ADD_FAILURE() << "a job ran"; };
  for (const char* args : {"", "Export", "export import"}) EXPECT_EQ(Run(args, never), kUsage);
  EXPECT_EQ(Run("--help", never), kSucceeded);
  const QString usage = QStringLiteral("Usage: ZAC export|import\n");
  EXPECT_TRUE(errText_.count(usage) == 3 && outText_.startsWith(usage));
}

TEST_F(ZacTest, OffsetsAreReadIn64BitsImportStandsForZeroAndJunkKeepsTheConvertersDefault) {
  for (auto [name, text] :
       {std::pair{"ChangeFromFreq", "import"}, {"ChangeToFreq", "-8000"},
        {"ChangeToMessageStart", "5000000000"}, {"ChangeToMessageEnd", "12x"}}) {
    store_.WriteSetting(QString::fromLatin1(name), QString::fromLatin1(text));
  }
  const Job job = ReadJob(store_, Mode::Import);
  EXPECT_EQ(std::tuple(job.changeFromFreq, job.changeToFreq, job.changeToMessageStart,
                       job.changeToMessageEnd),
            std::tuple(std::optional(0), std::optional<int>(), std::optional(5000000000LL),
                       std::optional<qint64>()));
}

TEST_F(ZacTest, TheProgressWindowFollowsAPassAndThePanelHearsTheFirstDoneOnly) {
  std::vector<int> steps;
  EXPECT_EQ(Run("export", [&](const Job&, Session& session) {
    session.Begin(4'000'000'000LL, 8'000'000'000LL, QStringLiteral("Converting..."), 33023);
    const TChangeClothes* window = session.ProgressWindow().Window();
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_TRUE(window->Gauge()->styleSheet().contains(QStringLiteral("#ff8000")));
    for (qint64 at : {3'000'000'000LL, 6'000'000'000LL, 7'999'999'999LL, 9'000'000'000LL}) {
      session.Advance(at);
      steps.push_back(window->Gauge()->value());
    }
    session.End();
    session.Done(kSuccess.first, kSuccess.second);
    session.Done(1, 1);
  }), kSucceeded);
  EXPECT_EQ(steps, (std::vector<int>{0, 500, 999, 1000}));
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "the progress window is gone";
  EXPECT_EQ(told_, Words{kSuccess});
}

TEST_F(ZacTest, AJobThatNeverReportsStillEndsThePanelsWaitAndADeadPanelIsCodeThree) {
  EXPECT_EQ(Run("import", [](const Job&, Session&) {}), kJobFailed);
  EXPECT_EQ(told_, (Words{{1, 1}}));
  panelListens_ = false;
  EXPECT_EQ(Run("export", [](const Job&, Session& s) { s.Done(kSuccess.first, kSuccess.second); }),
            kPanelNotTold);
  EXPECT_TRUE(errText_.contains(QStringLiteral("no recorder is waiting")));
}

TEST_F(ZacTest, ExportsAMessageToWavImportsItBackAndShowsAMissingFileTellingThePanelEachTime) {
  // The job as the panel writes it: "from|its type|rate|start|end|to|its type" with %1 and %2.
  const auto job = [this](const char* mode, const char* values, const QString& a,
                          const QString& b) {
    const char* names[] = {"ChangeFrom", "ChangeFromType", "ChangeFromFreq", "ChangeToMessageStart",
                           "ChangeToMessageEnd", "ChangeTo", "ChangeToType"};
    const QStringList texts = QString::fromLatin1(values).arg(a, b).split(u'|');
    for (int i = 0; i < 7; ++i) store_.WriteSetting(QString::fromLatin1(names[i]), texts[i]);
    return Run(mode, &RunConverter);
  };
  const QString cassette = dir_.filePath(QStringLiteral("kivrec.cst")), gone = cassette + u'x';
  const QString wav = dir_.filePath(QStringLiteral("message 2.wav"));
  test::WriteFile(cassette.toStdString(), test::MakeCassette({{1, 500, 0x11}, {2, 3000, 0x5A}}));
  EXPECT_EQ(job("export", "%1|MSG|11025|500|3500|%2|WAV", cassette, wav), kSucceeded);
  const test::Bytes written = test::ReadFile(wav.toStdString());
  ASSERT_EQ(written.size(), 44u + 3000u);
  EXPECT_TRUE(test::SameBytes(test::Slice(written, 44, 3000), test::Bytes(3000, 0x5A)));
  EXPECT_EQ(dialogs_.MessageTexts().join(u'|'),
            QStringLiteral("Conversion Done! File message 2.wav created!"));
  EXPECT_EQ(dialogs_.Calls().at(0).caption, QStringLiteral("Kiv Sound Recorder - ZAC"));

  EXPECT_EQ(job("import", "%1|wav|import|import|import|%2|cst", wav, cassette), kSucceeded);
  EXPECT_GE(test::ReadFile(cassette.toStdString()).size(), 500u + 3000u + 3000u);

  EXPECT_EQ(job("export", "%1|MSG|11025|0|100|%2|WAV", gone, wav), kJobFailed);
  EXPECT_EQ(dialogs_.MessageTexts().join(u'|'), QStringLiteral("File must exists: ") + gone);
  EXPECT_EQ(told_, (Words{kSuccess, kSuccess, {1, 1}}));
}

}  // namespace
}  // namespace kiv::zac
