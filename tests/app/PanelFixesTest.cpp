// What the panel must get right around a running tape: the settings and ticker menus stay shut
// while anything plays, records or converts; the ticker comes back after a recording; and a
// cassette found damaged at Record is reported with its backup as at open.
#include <QAction>
#include <QMenu>

#include "AppTestSupport.h"
#include "panel/TMarquee.h"

namespace kiv::test {
namespace {

TEST_F(PanelTest, SettingsAndTickerMenusAreShutWhileTheTapeRunsOrAConversionHoldsIt) {
  TKivRecForm& form = BuildWithMessages();
  KivRecMenus& menus = form.Menus();
  // How many of the settings menu's and of the ticker menu's guarded items are open.
  auto itemsOpen = [&] {
    form.moreButtonMouseDown();
    menus.PopupMenu2->hide();
    form.mnameMouseDown(Qt::LeftButton);
    int open = 0;
    for (MenuItem item : {MenuItem::Settings2, MenuItem::AlwaysonTop1, MenuItem::delMsg,
                          MenuItem::DeleteCassette1, MenuItem::ListNotations1, MenuItem::EnterNote1}) {
      open += menus.Item(item)->isEnabled();
    }
    return open;
  };
  auto onTopToggles = [&] {
    const QString before = settings_.Stored(settings::OnTop);
    form.AlwaysonTop1Click();
    return settings_.Stored(settings::OnTop) != before;
  };
  EXPECT_EQ(itemsOpen(), 6);
  Click("playButton");
  EXPECT_EQ(itemsOpen(), 0);
  EXPECT_FALSE(onTopToggles());
  Click("playButton");  // paused is still playing
  ASSERT_TRUE(form.Playback().PlayPaused());
  EXPECT_EQ(itemsOpen(), 0);
  Click("stopButton");
  Settle();
  Click("recButton");
  ASSERT_TRUE(form.Capture().Recording());
  EXPECT_EQ(itemsOpen(), 0);
  EXPECT_FALSE(onTopToggles());
  Click("stopButton");
  EXPECT_EQ(itemsOpen(), 6);
  EXPECT_TRUE(onTopToggles());

  // An export or import: the settings key does not even open its menu.
  form.SetConversionBusy(true);
  form.moreButtonMouseDown();
  EXPECT_FALSE(menus.PopupMenu2->isVisible());
  form.mnameMouseDown(Qt::LeftButton);
  EXPECT_FALSE(menus.Item(MenuItem::EnterNote1)->isEnabled());
  EXPECT_FALSE(onTopToggles());
}

TEST_F(PanelTest, TheTickerShowsTheCustomTextAgainWhenARecordingEnds) {
  settings_.Write(settings::CustomText, QStringLiteral("Dentist at 4"));
  TKivRecForm& form = Build();
  form.show();
  auto* ticker = Find<TMarquee>("mname");
  const QString custom = form.TickerColorTag(1) + QStringLiteral("Dentist at 4");
  ASSERT_EQ(ticker->Text(), custom);
  Click("recButton");
  ticker->SetText(QStringLiteral("something else"));
  form.mnameMouseMove();  // the pointer over the ticker stops it
  CaptureBuffers(3);
  Click("stopButton");
  EXPECT_EQ(ticker->Text(), custom);
  EXPECT_TRUE(ticker->Active());
}

TEST_F(PanelTest, ACassetteFoundDamagedAtRecordIsReplacedWithTheBackupNoticeOfOpen) {
  TKivRecForm& form = BuildWithMessages();
  const QByteArray damaged(5000, char(0x42));
  WriteCassette(damaged);
  Click("recButton");
  EXPECT_FALSE(form.Capture().Recording());
  QFile backup(CassettePath() + QStringLiteral(".damaged"));
  ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
  EXPECT_EQ(backup.readAll(), damaged);
  ASSERT_FALSE(dialogs_.MessageTexts().isEmpty());
  EXPECT_EQ(dialogs_.MessageTexts().first(),
            QStringLiteral("The cassette file was damaged and has been replaced by an empty cassette. "
                           "Its old contents were kept in:\r\n") + backup.fileName());
  EXPECT_EQ(Text("message"), QStringLiteral("0/0"));
}

}  // namespace
}  // namespace kiv::test
