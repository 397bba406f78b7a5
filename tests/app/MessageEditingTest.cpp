// Deleting, deleting all and naming messages from the real panel, on real cassette files: what
// is asked, which message is selected afterwards, what the file holds, and when nothing acts.
#include <QPushButton>

#include "AppTestSupport.h"
#include "app/TMessageNameForm.h"
#include "panel/TChangeClothes.h"

namespace kiv::test {
namespace {

// The captions the pack's progress window shows, in order.
struct PackCaptions : QObject {
  QStringList seen;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowTitleChange && qobject_cast<TChangeClothes*>(watched)) {
      seen << static_cast<QWidget*>(watched)->windowTitle();
    }
    return false;
  }
};

constexpr uint32_t kTable = 8, kEntry = 140;

TEST_F(PanelTest, DeleteAsksSelectsTheNextMessageAndPacks) {
  TKivRecForm& form = BuildWithMessages();
  const QByteArray before = CassetteBytes();
  form.NextMessage();
  Click("delButton");  // answered No
  EXPECT_EQ(CassetteBytes(), before);
  ASSERT_EQ(dialogs_.Calls().size(), 1);
  EXPECT_EQ(dialogs_.Calls()[0].text + dialogs_.Calls()[0].caption, QStringLiteral("Delete Message?Confirm Delete"));
  EXPECT_EQ(dialogs_.Calls()[0].flags, 292);

  PackCaptions captions;
  qApp->installEventFilter(&captions);
  dialogs_.QueueAnswer(IDYES);
  Click("delButton");  // 2 of 3: the old 3 becomes 2 and stays selected
  qApp->removeEventFilter(&captions);
  EXPECT_EQ(captions.seen, QStringList({QStringLiteral("Packing..."), QStringLiteral("Copying...")}));
  EXPECT_EQ(Text("message"), QStringLiteral("2/2"));
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>({3 * kRate, 30 * kRate}));
  EXPECT_EQ(uint32_t(CassetteBytes().size()), 33 * kRate + kTable + 2 * kEntry);  // no sound of 5 s left
  EXPECT_TRUE(Timer("Timer3")->isActive());
  dialogs_.QueueAnswer(IDYES);
  form.Menus().Item(MenuItem::delMsg)->trigger();  // the last one: the one before it is selected
  EXPECT_EQ(Text("message"), QStringLiteral("1/1"));
  EXPECT_EQ(form.cassette().Head().Seconds().length, 3u);
  dialogs_.QueueAnswer(IDYES);
  form.delMsgClick();  // the only one
  EXPECT_EQ(CassetteBytes().size(), 8);
  EXPECT_EQ(Text("message"), QStringLiteral("0/0"));
  for (MenuItem item : {MenuItem::delMsg, MenuItem::ExportMessage1, MenuItem::DeleteCassette1,
                        MenuItem::ListNotations1, MenuItem::EnterNote1}) {
    EXPECT_FALSE(form.Menus().Item(item)->isEnabled()) << MenuItemName(item);
  }
  EXPECT_TRUE(form.cassette().CassetteStreamClosed());
}

TEST_F(PanelTest, NothingIsEditedWhilePlaying) {
  TKivRecForm& form = BuildWithMessages();
  const QByteArray before = CassetteBytes();
  Click("playButton");
  for (int i = 0; i < 3; ++i) dialogs_.QueueAnswer(IDYES);
  dialogs_.QueueModalResult(QDialog::Accepted);
  form.delMsgClick();
  form.DeleteCassette1Click();
  form.EnterNote1Click();
  EXPECT_TRUE(dialogs_.Calls().empty());
  EXPECT_EQ(CassetteBytes(), before);
}

TEST_F(PanelTest, TheNameFormRenamesTheCurrentMessage) {
  TKivRecForm& form = BuildWithMessages();
  QString typed;
  bool cancel = false;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& name = static_cast<TMessageNameForm&>(dialog);
    EXPECT_EQ(name.windowTitle() + name.Prompt(), QStringLiteral("New Message NameEnter New Name for Message #1"));
    name.SetText(typed);
    (cancel ? name.Button2 : name.Button1)->click();
    return dialog.result();
  };
  auto nameOnDisk = [this] {
    CassetteReport report;
    return InspectCassette(CassettePath().toStdString(), &report).ok() ? report.table->FindLive(1)->NameText() : "";
  };
  typed = QStringLiteral("First");
  QTest::mouseClick(Find<TMarquee>("mname"), Qt::LeftButton);
  const std::string prefix = "255%05.12.2026|65280%09:00:00|" + form.TickerColorTag(1).toStdString();
  EXPECT_EQ(nameOnDisk(), prefix + "First");
  typed = QStringLiteral("a|b%c");
  form.Menus().Item(MenuItem::EnterNote1)->trigger();
  EXPECT_EQ(nameOnDisk(), prefix + "a b c");
  EXPECT_TRUE(Timer("Timer3")->isActive());
  typed = QString(300, u'x');
  form.EnterNote1Click();
  EXPECT_EQ(nameOnDisk(), prefix + std::string(123 - prefix.size(), 'x'));
  EXPECT_EQ(CassetteBytes().at(int(38 * kRate + kTable + 12 + 123)), '\r');
  cancel = true;
  const QByteArray named = CassetteBytes();
  form.EnterNote1Click();
  EXPECT_EQ(CassetteBytes(), named);
}

TEST_F(PanelTest, DeleteAllEmptiesAnInconsistentCassetteSoRecordingWorksAgain) {
  WriteCassette(MakeCassette(2 * kRate, {{1, 0, kRate, "a"}, {70000, kRate, 2 * kRate, "b"}}));
  TKivRecForm& form = Build(true);
  dialogs_.QueueAnswer(IDYES);
  form.Menus().Item(MenuItem::DeleteCassette1)->trigger();
  EXPECT_EQ(dialogs_.Calls().value(0).text + dialogs_.Calls().value(0).caption,
            QStringLiteral("Delete All Mesages?Confirm Delete All"));
  EXPECT_EQ(dialogs_.Calls().value(0).flags, 292);
  EXPECT_EQ(CassetteBytes().size(), 8);
  EXPECT_FALSE(form.Menus().Item(MenuItem::DeleteCassette1)->isEnabled());
  Click("recButton");
  EXPECT_TRUE(form.Capture().Recording());
}

TEST_F(PanelTest, AFailedPackKeepsTheCassetteAndSaysSo) {
  TKivRecForm& form = BuildWithMessages();
  ASSERT_TRUE(QDir().mkdir(CassettePath() + QStringLiteral(".packing")));  // the pack cannot start
  const qsizetype size = CassetteBytes().size();
  dialogs_.QueueAnswer(IDYES);
  form.delMsgClick();
  EXPECT_EQ(dialogs_.Calls().value(1).caption, QStringLiteral("Kiv Sound Recorder"));
  EXPECT_TRUE(dialogs_.Calls().value(1).text.contains(QStringLiteral("could not be packed")));
  EXPECT_EQ(CassetteBytes().size(), size);
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>({5 * kRate, 30 * kRate}));
  EXPECT_EQ(Text("message"), QStringLiteral("1/2"));
}

}  // namespace
}  // namespace kiv::test
