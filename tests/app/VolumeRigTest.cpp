// The panel's volume on the real mixer: ALSA's pulse plugin on the private sound server of
// scripts/pulse-rig, judged by what pactl says about the server's default sink and source.
#include <QProcess>
#include <QRegularExpression>
#include <QSlider>

#include "AppTestSupport.h"
#include "app/TCGauge.h"
#include "app/TDDSettingsForm.h"
#include "mixer/AlsaMixerBackend.h"
#include "../support/RigSound.h"

namespace kiv::test {
namespace {

QString Pactl(const QStringList& arguments) {
  QProcess pactl;
  pactl.start(QStringLiteral("pactl"), arguments);
  pactl.waitForFinished(5000);
  return QString::fromLocal8Bit(pactl.readAllStandardOutput());
}

// The first channel's volume, 65536 being full.
int ServerVolume(const char* what, const char* device) {
  const QString text = Pactl({QString::fromLatin1(what), QString::fromLatin1(device)});
  const auto match = QRegularExpression(QStringLiteral(":\\s*(\\d+)\\s*/")).match(text);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

class VolumeRigTest : public PanelTest {
 protected:
  void SetUp() override {
    if (const std::string why = rig::RigUnavailableReason(); !why.empty()) GTEST_SKIP() << why;
    PanelTest::SetUp();
    Pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("10%")});
    Pactl({QStringLiteral("set-source-volume"), QStringLiteral("@DEFAULT_SOURCE@"), QStringLiteral("20%")});
    mixer_ = std::make_unique<TAudioMixer>(std::make_unique<AlsaMixerBackend>());
  }
  // The other tests on the rig measure what the sink and the microphone hear at full volume.
  void TearDown() override {
    if (!rig::RigUnavailableReason().empty()) return;  // never another server's volumes
    Pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("100%")});
    Pactl({QStringLiteral("set-source-volume"), QStringLiteral("@DEFAULT_SOURCE@"), QStringLiteral("100%")});
    PanelTest::TearDown();
  }
};

TEST_F(VolumeRigTest, PlusRaisesTheSinkOutsideChangesMoveTheGaugeTheSliderMovesTheSource) {
  TKivRecForm& form = Build(true);
  ASSERT_EQ(form.Mixer().NumberOfLine(), 2) << "no ALSA mixer on the rig's server";
  const int start = form.PlaybackVolume();
  EXPECT_NEAR(start, 6554, 2);

  Press("VolPlusButton");
  QTest::qWait(500);
  Release("VolPlusButton");
  const int raised = form.PlaybackVolume();
  // Timer1 ticks every 55 ms; a loaded machine may miss a few of them, never add any.
  EXPECT_GE(raised - start, 5 * 4000);
  EXPECT_LE(raised - start, 10 * 4000);
  EXPECT_EQ((raised - start) % 4000, 0);
  EXPECT_NEAR(ServerVolume("get-sink-volume", "@DEFAULT_SINK@"), raised, 2);

  Pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("25%")});
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(Find<TCGauge>("CGauge1")->Progress() - 16384) <= 2; }, 1000))
      << Find<TCGauge>("CGauge1")->Progress();

  dialogs_.onModal = [](QDialog& dialog) {
    static_cast<TDDSettingsForm&>(dialog).MicVolSlider->setValue(30000);
    return int(QDialog::Rejected);
  };
  form.Settings1Click();
  EXPECT_NEAR(ServerVolume("get-source-volume", "@DEFAULT_SOURCE@"), 30000, 2);
}

}  // namespace
}  // namespace kiv::test
