// The front panel built for real (offscreen, shipped skins, fake services): start-up and its
// settings, Always on Top, the menus, Exit, the skin, and what opening the cassette shows.
#include <QSignalSpy>

#include "AppTestSupport.h"
#include "platform/Topmost.h"

namespace kiv::test {
namespace {

// The menu's captions in order, separators as "-", joined by "|".
QString Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) {
    captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return captions.join(u'|');
}

TEST_F(PanelTest, EmptySettingsStartWithTheDefaultsAndTheFirstExitWritesThem) {
  TKivRecForm& form = Build();
  ASSERT_TRUE(form.SkinLoaded());
  EXPECT_TRUE(dialogs_.Calls().isEmpty()) << dialogs_.MessageTexts().join(u'|').toStdString();
  EXPECT_EQ(form.pos(), QPoint(30, 30));
  EXPECT_EQ(form.Control(SkinControl::VolPlusButton)->toolTip(), QStringLiteral("Increase WaveOut Volume"));
  // No cassette yet: a blank one is made in the data folder.
  EXPECT_EQ(CassetteBytes(), MakeCassette(0, {}));
  EXPECT_EQ(Text("message"), QStringLiteral("0/0"));
  EXPECT_EQ(Text("Count"), QStringLiteral("00:00 / 00:00"));
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("10':00\" left for recording"));

  form.Menus().Item(MenuItem::Exit1)->trigger();
  for (auto [name, value] : {std::pair{settings::PanelLeft, "30"}, {settings::PanelTop, "30"},
                             {settings::AutoRun, "ON"}, {settings::ShowPanelAtStart, "ON"},
                             {settings::AutoRewindOnStop, "ON"}, {settings::VolumeType, "WaveOut"}}) {
    EXPECT_EQ(settings_.Stored(name), QString::fromLatin1(value)) << name.name;
  }
  EXPECT_EQ(settings_.Stored(settings::CurrentFolder), data_);
  EXPECT_EQ(settings_.AutostartProgram(), program_ + QStringLiteral("KivRec"));
}

TEST_F(PanelTest, StoredSettingsAreReadAndExitWritesThemBack) {
  settings_.Write(settings::PanelLeft, QStringLiteral("140"));
  settings_.Write(settings::PanelTop, QStringLiteral("75"));
  settings_.Write(settings::TickerSpeed, QStringLiteral("Fast"));
  settings_.Write(settings::VolumeType, QStringLiteral("waveout"));
  settings_.Write(settings::AutoRun, QStringLiteral("OFF"));
  settings_.Write(settings::ShowPanelAtStart, QStringLiteral("OFF"));
  settings_.Write(settings::OnTop, QStringLiteral("ON"));
  TKivRecForm& form = Build();
  EXPECT_EQ(form.pos(), QPoint(140, 75));
  EXPECT_TRUE(form.Menus().Item(MenuItem::Fast1)->isChecked());
  EXPECT_TRUE(IsTopmost(&form));
  // Only the exact "WaveOut" (or nothing) selects the wave volume.
  EXPECT_EQ(form.Control(SkinControl::VolMinusButton)->toolTip(), QStringLiteral("Decrease Master Volume"));
  // No tray icon to bring a hidden panel back: it is shown although the setting says no.
  EXPECT_TRUE(form.ShowAtStart());
  // Either menu's Always on Top toggles it and both marks follow.
  form.Menus().Item(MenuItem::AlwaysonTop2)->trigger();
  EXPECT_EQ(settings_.Stored(settings::OnTop), QStringLiteral("OFF"));
  EXPECT_FALSE(form.Menus().Item(MenuItem::AlwaysonTop1)->isChecked());
  EXPECT_FALSE(IsTopmost(&form));
  form.Menus().Item(MenuItem::AlwaysonTop1)->trigger();
  EXPECT_TRUE(form.Menus().Item(MenuItem::AlwaysonTop2)->isChecked());
  EXPECT_TRUE(IsTopmost(&form));

  settings_.SetAutostart(true, QStringLiteral("/old/KivRec"));
  form.Exit1Click();
  EXPECT_FALSE(settings_.AutostartOn());
  EXPECT_EQ(settings_.Stored(settings::VolumeType), QStringLiteral("Master"));
}

TEST_F(PanelTest, MenusHoldEveryItemInOrder) {
  TKivRecForm& form = Build();
  KivRecMenus& menus = form.Menus();
  EXPECT_EQ(Captions(menus.PopupMenu1),
            QStringLiteral("Tell a friend|-|Show Kiv Sound Recorder|Always on Top|-|Start Recording|"
                           "-|Play Message|-|Settings/Options|-|Help|About Kiv Sound Recorder|"
                           "Show Startup Dialog|-|Exit"));
  EXPECT_EQ(Captions(menus.PopupMenu2),
            QStringLiteral("Tell a friend|-|Export Message to WAV|Import WAV|-|Show Startup Dialog|"
                           "About Kiv Sound Recorder|Help|-|Volume Controls|Always on Top|-|"
                           "Available Shortcuts (F12)|-|Options"));
  EXPECT_FALSE(menus.Item(MenuItem::ImportWAVMP31)->isVisible());
  EXPECT_EQ(Captions(menus.PopupMenu3),
            QStringLiteral("Delete Message|Delete All Messages|-|Direct Message Selector|"
                           "Edit Message Name|-|Custom Text|Speed|Direction"));
  QSignalSpy shown(menus.PopupMenu2, &QMenu::aboutToShow);
  form.moreButtonMouseDown();
  EXPECT_EQ(shown.count(), 1);
  menus.PopupMenu2->hide();
}

TEST_F(PanelTest, AnExistingCassetteShowsItsFirstLiveMessage) {
  WriteCassette(MakeCassette(98 * kRate, {{65535, 0, 3 * kRate, "255%01.12.2026|65280%09:00:00"},
                                          {1, 3 * kRate, 98 * kRate, "255%02.12.2026|65280%10:00:00|255%Call"},
                                          {2, 0, 0, "255%03.12.2026|65280%11:00:00"}}));
  TKivRecForm& form = Build();
  EXPECT_EQ(Text("message"), QStringLiteral("1/2"));
  EXPECT_EQ(Text("Count"), QStringLiteral("01:35 / 00:00"));
  EXPECT_EQ(form.cassette().CurrentNote(), "Call");
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("08':25\" left for recording"));
  EXPECT_EQ(form.Control(SkinControl::playButton)->toolTip(),
            QStringLiteral("Play (Ctrl-Play to Direct Message Selector)"));
  EXPECT_EQ(Find<TMarquee>("mname")->toolTip(), QStringLiteral("Click to Edit Message Name"));
}

TEST_F(PanelTest, AnInterruptedRecordingIsRecoveredWithItsNotice) {
  // The recording overwrote the old table at 200 with 300 bytes of sound, then the program died.
  QByteArray old = MakeCassette(200, {{1, 0, 200, "255%01.12.2026|65280%09:00:00"}});
  QByteArray crashed = old.left(200) + QByteArray(300, char(0x90));
  WriteCassette(crashed);
  QFile side(data_ + QStringLiteral("kivrec.zf"));
  ASSERT_TRUE(side.open(QIODevice::WriteOnly));
  side.write(old.mid(200) + MakeCassette(0, {{2, 200, 0xFDFDFDFDu, "x"}}).mid(8));
  side.close();

  TKivRecForm& form = Build();
  EXPECT_EQ(dialogs_.MessageTexts(),
            QStringList{QStringLiteral("Unfinished recording detected. Auto Recovery will be started.")});
  EXPECT_FALSE(side.exists());
  EXPECT_EQ(Text("message"), QStringLiteral("1/2"));
  EXPECT_TRUE(form.cassette().CassetteInconsistent());
  EXPECT_TRUE(CassetteBytes().startsWith(crashed));
}

TEST_F(PanelTest, ADamagedCassetteIsReplacedAndItsBytesKeptWithANote) {
  QByteArray damaged(5000, char(0x42));
  WriteCassette(damaged);
  Build();
  EXPECT_EQ(CassetteBytes(), MakeCassette(0, {}));
  QFile backup(CassettePath() + QStringLiteral(".damaged"));
  ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
  EXPECT_EQ(backup.readAll(), damaged);
  ASSERT_EQ(dialogs_.MessageTexts().size(), 1);
  EXPECT_TRUE(dialogs_.MessageTexts().first().endsWith(backup.fileName()));
}

TEST_F(PanelTest, ABrokenDefaultSkinFallsBackAndNoSkinAtAllEndsTheProgram) {
  ASSERT_TRUE(QFile::remove(program_ + QStringLiteral("Skin/Default/DictaphoneA.BMP")));
  EXPECT_TRUE(Build().SkinLoaded());
  EXPECT_EQ(dialogs_.MessageTexts().value(0),
            QStringLiteral("Error loading current skin. Loading first available skin now..."));
  EXPECT_NE(settings_.Stored(settings::CurrentSkin), QStringLiteral("Default"));
  form_.reset();
  ASSERT_TRUE(QDir(program_ + QStringLiteral("Skin")).removeRecursively());
  EXPECT_FALSE(Build().SkinLoaded());
  EXPECT_EQ(dialogs_.MessageTexts().last(), QStringLiteral("Skin files demaged!"));
}

}  // namespace
}  // namespace kiv::test
