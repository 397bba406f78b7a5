// Deleting, deleting all and naming messages from the real panel, on real cassette files.
#include <QPushButton>

#include "AppTestSupport.h"
#include "app/TMessageNameForm.h"
#include "panel/TChangeClothes.h"

namespace kiv::test {
namespace {

QString Box(const FakeDialogs::Call& call) { return call.text + u'/' + call.caption + u'/' + QString::number(call.flags); }

// The captions the pack's progress window shows, in order.
struct PackCaptions : QObject {
  QStringList seen;
  bool eventFilter(QObject* window, QEvent* event) override {
    if (event->type() == QEvent::WindowTitleChange && qobject_cast<TChangeClothes*>(window)) seen << static_cast<QWidget*>(window)->windowTitle();
    return false;
  }
};

TEST_F(PanelTest, DeleteAsksSelectsTheNextMessageAndPacks) {
  TKivRecForm& form = BuildWithMessages();
  const QByteArray before = CassetteBytes();
  form.NextMessage();
  Click("playButton");  // nothing is edited, nor asked, while playing
  form.delMsgClick();
  form.DeleteCassette1Click();
  form.EnterNote1Click();
  Click("stopButton");
  Settle();
  Click("delButton");  // answered No
  EXPECT_EQ(CassetteBytes(), before);
  EXPECT_EQ(QString::number(dialogs_.Calls().size()) + Box(dialogs_.Calls()[0]), QStringLiteral("1Delete Message?/Confirm Delete/292"));

  PackCaptions captions;
  qApp->installEventFilter(&captions);
  dialogs_.QueueAnswer(IDYES);
  Click("delButton");  // 2 of 3: the old 3 becomes 2 and stays selected
  qApp->removeEventFilter(&captions);
  EXPECT_EQ(captions.seen.join(u' ') + Text("message"), QStringLiteral("Packing... Copying...2/2"));
  EXPECT_EQ(uint32_t(CassetteBytes().size()), 33 * kRate + 8 + 2 * 140);  // no sound of 5 s left

  // The last one: the one before it is selected. The pack cannot start, so the file stays.
  ASSERT_TRUE(QDir().mkdir(CassettePath() + QStringLiteral(".packing")));
  const qsizetype unpacked = CassetteBytes().size();
  dialogs_.QueueAnswer(IDYES);
  form.Menus().Item(MenuItem::delMsg)->trigger();
  EXPECT_TRUE(Box(dialogs_.Calls().last()).contains(QStringLiteral("could not be packed")));
  EXPECT_EQ(dialogs_.Calls().last().caption + Text("message"), QStringLiteral("Kiv Sound Recorder1/1"));
  EXPECT_EQ(CassetteBytes().size(), unpacked);
  EXPECT_EQ(MessageLengthsOnDisk(), std::vector<uint32_t>({3 * kRate}));

  dialogs_.QueueAnswer(IDYES);
  form.delMsgClick();  // the only one
  EXPECT_EQ(CassetteBytes().size(), 8);
  EXPECT_EQ(Text("message"), QStringLiteral("0/0"));
  EXPECT_FALSE(form.Menus().Item(MenuItem::DeleteCassette1)->isEnabled());
  EXPECT_TRUE(form.cassette().CassetteStreamClosed());
}

TEST_F(PanelTest, TheNameFormRenamesTheCurrentMessage) {
  TKivRecForm& form = BuildWithMessages();
  QString typed;  // null: Cancel
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& name = static_cast<TMessageNameForm&>(dialog);
    EXPECT_EQ(name.windowTitle() + name.Prompt(), QStringLiteral("New Message NameEnter New Name for Message #1"));
    name.SetText(typed.isNull() ? QStringLiteral("lost") : typed);
    (typed.isNull() ? name.Button2 : name.Button1)->click();
    return dialog.result();
  };
  typed = QStringLiteral("a|b%c");
  QTest::mouseClick(Find<TMarquee>("mname"), Qt::LeftButton);
  EXPECT_EQ(form.cassette().CurrentNote(), "a b c");
  EXPECT_TRUE(Timer("Timer3")->isActive());
  typed = QString();
  form.EnterNote1Click();
  EXPECT_EQ(form.cassette().CurrentNote(), "a b c");
  typed = QString(300, u'x');
  form.Menus().Item(MenuItem::EnterNote1)->trigger();
  EXPECT_EQ(form.cassette().CurrentNote(), std::string(123 - 30 - form.TickerColorTag(1).size(), 'x'));
}

TEST_F(PanelTest, DeleteAllEmptiesAnInconsistentCassetteSoRecordingWorksAgain) {
  WriteCassette(MakeCassette(kRate, {{70000, 0, kRate, "b"}}));  // not one usable message
  TKivRecForm& form = Build(true);
  form.mnameMouseDown(Qt::LeftButton);  // the ticker menu's items are set as it opens
  dialogs_.QueueAnswer(IDYES);
  form.Menus().Item(MenuItem::DeleteCassette1)->trigger();
  EXPECT_EQ(Box(dialogs_.Calls().value(0)), QStringLiteral("Delete All Mesages?/Confirm Delete All/292"));
  EXPECT_EQ(CassetteBytes().size(), 8);
  Click("recButton");
  EXPECT_TRUE(form.Capture().Recording());
}

}  // namespace
}  // namespace kiv::test
