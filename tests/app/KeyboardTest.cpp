// The panel worked from the keyboard, and the message selector, on the real panel offscreen.
#include <QListWidget>

#include "AppTestSupport.h"
#include "app/TAKSForm.h"
#include "app/TETPForm.h"
#include "app/TNoteMessage.h"

namespace kiv::test {
namespace {

class KeyboardTest : public PanelTest {
 protected:
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form_.get(), key, modifiers);
    Settle();
  }
};

TEST_F(KeyboardTest, KeysDriveTheTapeAndTheKeyThatClosesADialogIsSwallowed) {
  TKivRecForm& form = BuildWithMessages();
  Key(Qt::Key_Backspace);  // idle: nothing to stop
  Key(Qt::Key_Return);
  ASSERT_TRUE(form.Playback().Playing());
  Key(Qt::Key_Insert);  // no recording over a playback
  EXPECT_FALSE(form.Capture().Recording());
  Key(Qt::Key_Backspace);
  EXPECT_FALSE(form.Playback().Playing());

  // Delete asks first. After the box the next key is swallowed, and a release whose press
  // went to the box does nothing.
  Key(Qt::Key_Delete);
  EXPECT_EQ(dialogs_.Calls().value(0).caption, QStringLiteral("Confirm Delete"));
  QTest::keyPress(&form, Qt::Key_Right);
  EXPECT_FALSE(form.ForwardHeld());
  QTest::keyRelease(&form, Qt::Key_Right);
  QTest::keyRelease(&form, Qt::Key_Return);
  EXPECT_FALSE(form.Playback().Playing());
  Key(Qt::Key_Return);
  EXPECT_TRUE(form.Playback().Playing());
  Key(Qt::Key_Backspace);

  // With the message items off, Delete offers to delete them all.
  form.Menus().Item(MenuItem::delMsg)->setEnabled(false);
  Key(Qt::Key_Delete);
  EXPECT_EQ(dialogs_.Calls().last().caption, QStringLiteral("Confirm Delete All"));

  // Ctrl+Right opens the positioner; letting go of Ctrl closes it.
  bool positionerClosed = false;
  dialogs_.onModal = [&](QDialog& dialog) {
    EXPECT_TRUE(qobject_cast<TETPForm*>(&dialog));
    dialog.show();
    QTest::keyRelease(&dialog, Qt::Key_Control);
    positionerClosed = !dialog.isVisible();
    return dialog.result();
  };
  QTest::keyPress(&form, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_TRUE(positionerClosed);
  EXPECT_FALSE(form.ForwardHeld());
}

TEST_F(KeyboardTest, TheSelectorListsPicksDeletesAndItsEnterDoesNotPlay) {
  QByteArray forty = MakeCassette(40 * kRate, {});
  for (uint32_t n = 1; n <= 40; ++n) {
    forty += MakeCassette(0, {{n, (n - 1) * kRate, n * kRate, "255%05.12.2026|65280%09:00:00"}}).mid(8);
  }
  WriteCassette(forty);
  TKivRecForm& form = Build(true);
  int height = 0;
  QString caption;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& selector = dynamic_cast<TNoteMessage&>(dialog);
    height = selector.height();
    caption = selector.windowTitle();
    auto* list = selector.findChild<QListWidget*>(QStringLiteral("MessagesBox"));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2) 05.12.2026 09:00:00 (00:01)"));
    dialogs_.QueueAnswer(IDYES);
    Q_EMIT selector.DeleteRequested(1);
    EXPECT_EQ(list->count(), 39);
    EXPECT_EQ(form.cassette().CurrentMessage(), 2u);
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Return);
    return dialog.result();
  };
  // Alt+M, with Alt let go a moment before M.
  QTest::keyPress(&form, Qt::Key_M, Qt::AltModifier);
  QTest::keyRelease(&form, Qt::Key_Alt);
  QTest::keyRelease(&form, Qt::Key_M);
  EXPECT_EQ(height, 500);
  EXPECT_TRUE(caption.startsWith(QStringLiteral("Messages (")));
  EXPECT_EQ(form.SelectorResult(), 2);
  EXPECT_EQ(form.cassette().CurrentMessage(), 3u);
  EXPECT_EQ(uint32_t(CassetteBytes().size()), 39 * kRate + 8 + 39 * 140);
  QTest::keyRelease(&form, Qt::Key_Return);  // the Enter that chose the line
  EXPECT_FALSE(form.Playback().Playing());
}

TEST_F(KeyboardTest, ShortcutWindowHelpAndVolumeControl) {
  TKivRecForm& form = BuildWithMessages();
  QString page;
  dialogs_.onModal = [&](QDialog& dialog) {
    auto& shortcuts = dynamic_cast<TAKSForm&>(dialog);
    page = shortcuts.PageControl1->tabText(shortcuts.PageControl1->currentIndex());
    Q_EMIT shortcuts.HelpRequested();
    return int(QDialog::Rejected);
  };
  Key(Qt::Key_Return);
  Key(Qt::Key_F12);
  EXPECT_EQ(page, QStringLiteral("Playing Mode"));
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Insert);
  Key(Qt::Key_V, Qt::AltModifier);
  Key(Qt::Key_H, Qt::AltModifier);
  EXPECT_EQ(launcher_.VolumeViews(), std::vector{DesktopLauncher::VolumeView::Recording});
  EXPECT_EQ(launcher_.StartedPrograms(),
            QList<QStringList>(2, {browser_, QStringLiteral("file://") + program_ + QStringLiteral("Help/index.html")}));
  EXPECT_TRUE(form.Capture().Recording());
}

}  // namespace
}  // namespace kiv::test
