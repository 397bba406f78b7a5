// The front panel built for real (offscreen, shipped skins, fake services): start-up order and
// its effects, placement, Always on Top, the menus, Exit, and what opening the cassette shows.
#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "AppTestSupport.h"
#include "panel/TBMShapedForm.h"
#include "panel/TMarquee.h"
#include "platform/Topmost.h"

namespace kiv::test {
namespace {

QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) {
    captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return captions;
}

TEST_F(PanelTest, EmptySettingsStartWithTheDefaultsAndTheFirstExitWritesThem) {
  TKivRecForm& form = Build();
  ASSERT_TRUE(form.SkinLoaded());
  EXPECT_TRUE(dialogs_.Calls().isEmpty()) << dialogs_.MessageTexts().join(u'|').toStdString();
  EXPECT_EQ(form.pos(), QPoint(30, 30));
  EXPECT_TRUE(form.ShowAtStart());
  EXPECT_FALSE(IsTopmost(&form));
  EXPECT_FALSE(form.Menus().Item(MenuItem::AlwaysonTop1)->isChecked());
  EXPECT_TRUE(form.Menus().Item(MenuItem::Slow1)->isChecked());
  EXPECT_TRUE(form.Menus().Item(MenuItem::Left1)->isChecked());
  EXPECT_EQ(form.Control(SkinControl::VolPlusButton)->toolTip(),
            QStringLiteral("Increase WaveOut Volume"));
  EXPECT_EQ(settings_.Stored(settings::TickerDirection), QStringLiteral("Left"));
  EXPECT_EQ(settings_.Stored(settings::Version), QStringLiteral("3.4"));
  EXPECT_FALSE(settings_.Stored(settings::WindowHandle).isEmpty());
  EXPECT_EQ(form.Settings().recordCapacity, 6615000u);

  // No cassette yet: a blank one is made in the data folder.
  EXPECT_EQ(CassetteBytes(), MakeCassette(0, {}));
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("0/0"));
  EXPECT_EQ(Find<QLabel>("Count")->text(), QStringLiteral("00:00 / 00:00"));
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("10':00\" left for recording"));
  EXPECT_TRUE(form.cassette().CassetteStreamClosed());
  EXPECT_EQ(form.Availability()[PanelControl::Record], Availability::Available);
  EXPECT_EQ(form.Availability()[PanelControl::Play], Availability::Unavailable);

  EXPECT_FALSE(settings_.Contains(settings::PanelLeft));
  form.Menus().Item(MenuItem::Exit1)->trigger();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(settings_.Stored(settings::PanelLeft), QStringLiteral("30"));
  EXPECT_EQ(settings_.Stored(settings::PanelTop), QStringLiteral("30"));
  EXPECT_EQ(settings_.Stored(settings::AutoRun), QStringLiteral("ON"));
  EXPECT_EQ(settings_.Stored(settings::ShowPanelAtStart), QStringLiteral("ON"));
  EXPECT_EQ(settings_.Stored(settings::AutoRewindOnStop), QStringLiteral("ON"));
  EXPECT_EQ(settings_.Stored(settings::VolumeType), QStringLiteral("WaveOut"));
  EXPECT_EQ(settings_.Stored(settings::ProgramPath), program_);
  EXPECT_EQ(settings_.Stored(settings::CurrentFolder), data_);
  EXPECT_TRUE(settings_.AutostartOn());
  EXPECT_EQ(settings_.AutostartProgram(), program_ + QStringLiteral("KivRec"));
}

TEST_F(PanelTest, StoredSettingsAreReadAndAnUnknownDirectionIsLeftAlone) {
  settings_.Write(settings::PanelLeft, QStringLiteral("140"));
  settings_.Write(settings::PanelTop, QStringLiteral("75"));
  settings_.Write(settings::TickerSpeed, QStringLiteral("Fast"));
  settings_.Write(settings::TickerDirection, QStringLiteral("Sideways"));
  settings_.Write(settings::VolumeType, QStringLiteral("waveout"));
  settings_.Write(settings::AutoRun, QStringLiteral("OFF"));
  settings_.Write(settings::ShowPanelAtStart, QStringLiteral("OFF"));
  TKivRecForm& form = Build();
  EXPECT_EQ(form.pos(), QPoint(140, 75));
  EXPECT_TRUE(form.Menus().Item(MenuItem::Fast1)->isChecked());
  EXPECT_FALSE(form.Menus().Item(MenuItem::Slow1)->isChecked());
  EXPECT_EQ(settings_.Stored(settings::TickerDirection), QStringLiteral("Sideways"));
  // Only the exact "WaveOut" (or nothing) selects the wave volume.
  EXPECT_EQ(form.Control(SkinControl::VolMinusButton)->toolTip(),
            QStringLiteral("Decrease Master Volume"));
  EXPECT_FALSE(form.Settings().autoRunOn);
  // No tray icon to bring a hidden panel back: it is shown although the setting says no.
  EXPECT_FALSE(form.Settings().showPanelAtStart);
  EXPECT_TRUE(form.ShowAtStart());

  settings_.SetAutostart(true, QStringLiteral("/old/KivRec"));
  form.Exit1Click();
  EXPECT_FALSE(settings_.AutostartOn());
  EXPECT_EQ(settings_.Stored(settings::VolumeType), QStringLiteral("Master"));
}

TEST_F(PanelTest, WithOnlyTheLeftEdgeStoredThePanelStaysWhereTheSystemPutsIt) {
  settings_.Write(settings::PanelLeft, QStringLiteral("140"));
  TKivRecForm& form = Build();
  EXPECT_NE(form.pos(), QPoint(30, 30));
  EXPECT_NE(form.pos().x(), 140);
}

TEST_F(PanelTest, AlwaysOnTopTogglesFromBothMenusAndKeepsTheirMarksTogether) {
  TKivRecForm& form = Build();
  form.show();
  QAction* settingsItem = form.Menus().Item(MenuItem::AlwaysonTop1);
  QAction* trayItem = form.Menus().Item(MenuItem::AlwaysonTop2);

  settingsItem->trigger();
  EXPECT_EQ(settings_.Stored(settings::OnTop), QStringLiteral("ON"));
  EXPECT_TRUE(settingsItem->isChecked());
  EXPECT_TRUE(trayItem->isChecked());
  EXPECT_TRUE(IsTopmost(&form));
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.PanelHidden());

  trayItem->trigger();
  EXPECT_EQ(settings_.Stored(settings::OnTop), QStringLiteral("OFF"));
  EXPECT_FALSE(settingsItem->isChecked());
  EXPECT_FALSE(trayItem->isChecked());
  EXPECT_FALSE(IsTopmost(&form));
}

TEST_F(PanelTest, AStoredOnTopIsAppliedAtStart) {
  settings_.Write(settings::OnTop, QStringLiteral("ON"));
  TKivRecForm& form = Build();
  EXPECT_TRUE(IsTopmost(&form));
  EXPECT_TRUE(form.Menus().Item(MenuItem::AlwaysonTop2)->isChecked());
}

TEST_F(PanelTest, MenusHoldEveryItemInOrder) {
  TKivRecForm& form = Build();
  KivRecMenus& menus = form.Menus();
  const QString sep = QStringLiteral("-");
  EXPECT_EQ(Captions(menus.PopupMenu1),
            (QStringList{QStringLiteral("Tell a friend"), sep,
                         QStringLiteral("Show Kiv Sound Recorder"), QStringLiteral("Always on Top"),
                         sep, QStringLiteral("Start Recording"), sep, QStringLiteral("Play Message"),
                         sep, QStringLiteral("Settings/Options"), sep, QStringLiteral("Help"),
                         QStringLiteral("About Kiv Sound Recorder"),
                         QStringLiteral("Show Startup Dialog"), sep, QStringLiteral("Exit")}));
  EXPECT_EQ(Captions(menus.PopupMenu2),
            (QStringList{QStringLiteral("Tell a friend"), sep,
                         QStringLiteral("Export Message to WAV"), QStringLiteral("Import WAV"), sep,
                         QStringLiteral("Show Startup Dialog"),
                         QStringLiteral("About Kiv Sound Recorder"), QStringLiteral("Help"), sep,
                         QStringLiteral("Volume Controls"), QStringLiteral("Always on Top"), sep,
                         QStringLiteral("Available Shortcuts (F12)"), sep, QStringLiteral("Options")}));
  EXPECT_FALSE(menus.Item(MenuItem::ImportWAVMP31)->isVisible());
  EXPECT_EQ(Captions(menus.PopupMenu3),
            (QStringList{QStringLiteral("Delete Message"), QStringLiteral("Delete All Messages"), sep,
                         QStringLiteral("Direct Message Selector"),
                         QStringLiteral("Edit Message Name"), sep, QStringLiteral("Custom Text"),
                         QStringLiteral("Speed"), QStringLiteral("Direction")}));

  // The settings key opens its menu; the timers exist with their intervals.
  QSignalSpy shown(menus.PopupMenu2, &QMenu::aboutToShow);
  form.moreButtonMouseDown();
  EXPECT_EQ(shown.count(), 1);
  EXPECT_TRUE(menus.Item(MenuItem::Settings2)->isEnabled());
  menus.PopupMenu2->hide();
  // Timer2, the playback's progress tick, belongs to the playback engine.
  EXPECT_FALSE(form.Playback().Timer2Running());
  for (auto [name, interval] : {std::pair{"Timer1", 55}, {"Timer3", 1000},
                                {"Timer4", 1000}, {"Timer5", 200}, {"Timer7", 150},
                                {"MoveableTimer", 100}}) {
    auto* timer = Find<QTimer>(name);
    ASSERT_NE(timer, nullptr) << name;
    EXPECT_EQ(timer->interval(), interval) << name;
    EXPECT_FALSE(timer->isActive()) << name;
  }
}

TEST_F(PanelTest, AnExistingCassetteShowsItsFirstMessage) {
  WriteCassette(MakeCassette(3 * 11025 + 95 * 11025,
                             {{65535, 0, 3 * 11025, "255%01.12.2026|65280%09:00:00"},
                              {1, 3 * 11025, 98 * 11025, "255%02.12.2026|65280%10:00:00|255%Call"},
                              {2, 0, 0, "255%03.12.2026|65280%11:00:00"}}));
  TKivRecForm& form = Build();
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("1/2"));
  EXPECT_EQ(Find<QLabel>("Count")->text(), QStringLiteral("01:35 / 00:00"));
  EXPECT_EQ(form.cassette().CurrentNote(), "Call");
  EXPECT_EQ(Find<QLabel>("message")->toolTip(), QStringLiteral("08':25\" left for recording"));
  for (MenuItem item : {MenuItem::delMsg, MenuItem::ExportMessage1, MenuItem::DeleteCassette1, MenuItem::ListNotations1, MenuItem::EnterNote1}) {
    EXPECT_TRUE(form.Menus().Item(item)->isEnabled()) << MenuItemName(item);
  }
  EXPECT_EQ(form.Availability()[PanelControl::Play], Availability::Available);
  EXPECT_EQ(form.Availability()[PanelControl::NextMessage], Availability::Available);
  EXPECT_EQ(form.Availability()[PanelControl::PreviousMessage], Availability::Unavailable);
  EXPECT_EQ(form.Control(SkinControl::playButton)->toolTip(),
            QStringLiteral("Play (Ctrl-Play to Direct Message Selector)"));
  EXPECT_EQ(Find<TMarquee>("mname")->toolTip(), QStringLiteral("Click to Edit Message Name"));
  EXPECT_TRUE(form.cassette().CassetteStreamClosed());
}

TEST_F(PanelTest, EmptyCassettesKeepOrLoseTheMessageItemsByWhatTheirTableHolds) {
  WriteCassette(MakeCassette(100, {{65535, 0, 100, "255%01.12.2026|65280%09:00:00"}}));
  {
    TKivRecForm& form = Build();
    EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("0 / 0"));
    EXPECT_FALSE(form.Menus().Item(MenuItem::delMsg)->isEnabled());
    EXPECT_FALSE(form.Menus().Item(MenuItem::ExportMessage1)->isEnabled());
    EXPECT_TRUE(form.Menus().Item(MenuItem::DeleteCassette1)->isEnabled());
    EXPECT_TRUE(form.Menus().Item(MenuItem::ListNotations1)->isEnabled());
    EXPECT_TRUE(form.Menus().Item(MenuItem::EnterNote1)->isEnabled());
    EXPECT_EQ(form.Availability()[PanelControl::Play], Availability::Unavailable);
  }
  form_.reset();
  WriteCassette(MakeCassette(0, {}));
  TKivRecForm& blank = Build();
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("0 / 0"));
  for (MenuItem item : {MenuItem::delMsg, MenuItem::ExportMessage1, MenuItem::DeleteCassette1, MenuItem::ListNotations1, MenuItem::EnterNote1}) {
    EXPECT_FALSE(blank.Menus().Item(item)->isEnabled()) << MenuItemName(item);
  }
}

TEST_F(PanelTest, AnInterruptedRecordingIsRecoveredWithItsNotice) {
  // The recording overwrote the old table at 200 with 300 bytes of sound, then the program died.
  QByteArray old = MakeCassette(200, {{1, 0, 200, "255%01.12.2026|65280%09:00:00"}});
  QByteArray crashed = old.left(200) + QByteArray(300, char(0x90));
  WriteCassette(crashed);
  QByteArray sidecar = old.mid(200) + MakeCassette(0, {{2, 200, 0xFDFDFDFDu, "x"}}).mid(8);
  QFile side(data_ + QStringLiteral("kivrec.zf"));
  ASSERT_TRUE(side.open(QIODevice::WriteOnly));
  side.write(sidecar);
  side.close();

  TKivRecForm& form = Build();
  EXPECT_EQ(dialogs_.MessageTexts(),
            QStringList{QStringLiteral("Unfinished recording detected. Auto Recovery will be started.")});
  EXPECT_FALSE(QFile::exists(data_ + QStringLiteral("kivrec.zf")));
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("1/2"));
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
  EXPECT_TRUE(dialogs_.MessageTexts().first().endsWith(CassettePath() + QStringLiteral(".damaged")));
  EXPECT_EQ(Find<QLabel>("message")->text(), QStringLiteral("0/0"));
}

TEST_F(PanelTest, TheSkinGivesThePanelItsPicturesPlacesAndOutline) {
  TKivRecForm& form = Build();
  auto* panel = Find<TBMShapedForm>("ZvSkin1");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(form.size(), panel->Picture().size());
  EXPECT_TRUE(panel->RegionHandedOver());
  EXPECT_FALSE(panel->Region().contains(QPoint(0, form.height() - 1)));
  EXPECT_TRUE(panel->Region().contains(QPoint(form.width() / 2, form.height() / 2)));
  auto* record = form.Control(SkinControl::recButton);
  EXPECT_FALSE(record->size().isEmpty());
  EXPECT_TRUE(form.rect().contains(record->geometry()));
  EXPECT_TRUE(form.TickerColorTag(1).endsWith(u'%'));
  EXPECT_EQ(Find<TMarquee>("mname")->Text(),
            form.TickerColorTag(1) + QStringLiteral("  ") + KivRecSettings::DefaultCustomText());
}

TEST_F(PanelTest, ABrokenDefaultSkinFallsBackAndNoSkinAtAllEndsTheProgram) {
  ASSERT_TRUE(QFile::remove(program_ + QStringLiteral("Skin/Default/DictaphoneA.BMP")));
  {
    TKivRecForm& form = Build();
    EXPECT_TRUE(form.SkinLoaded());
    EXPECT_EQ(dialogs_.MessageTexts().value(0),
              QStringLiteral("Error loading current skin. Loading first available skin now..."));
    EXPECT_FALSE(settings_.Stored(settings::CurrentSkin).isEmpty());
    EXPECT_NE(settings_.Stored(settings::CurrentSkin), QStringLiteral("Default"));
  }
  form_.reset();
  dialogs_.ClearCalls();
  ASSERT_TRUE(QDir(program_ + QStringLiteral("Skin")).removeRecursively());
  TKivRecForm& none = Build();
  EXPECT_FALSE(none.SkinLoaded());
  EXPECT_EQ(dialogs_.MessageTexts().last(), QStringLiteral("Skin files demaged!"));
}

TEST_F(PanelTest, ReleasingAfterADragStoresThePanelsPlace) {
  TKivRecForm& form = Build();
  form.show();
  auto* panel = Find<TBMShapedForm>("ZvSkin1");
  const QPoint press(form.width() / 2, form.height() / 2);
  QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, press);
  QMouseEvent move(QEvent::MouseMove, QPointF(press + QPoint(25, 10)), QPointF(press + QPoint(25, 10)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(panel, &move);
  QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, press);
  EXPECT_EQ(form.pos(), QPoint(55, 40));
  EXPECT_EQ(settings_.Stored(settings::PanelLeft), QStringLiteral("55"));
  EXPECT_EQ(settings_.Stored(settings::PanelTop), QStringLiteral("40"));
}

TEST_F(PanelTest, WithoutATrayIconTheOffKeyMinimisesInsteadOfHiding) {
  TKivRecForm& form = Build();
  form.show();
  auto* off = form.Control(SkinControl::exitButton);
  QTest::mouseClick(off, Qt::LeftButton, Qt::NoModifier, off->rect().center());
  EXPECT_TRUE(form.isMinimized());
  EXPECT_TRUE(form.isVisible());
}

}  // namespace
}  // namespace kiv::test
