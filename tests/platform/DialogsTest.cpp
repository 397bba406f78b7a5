// The dialogs service and the topmost dance, on offscreen widgets: the real service shows real
// QMessageBox and QFileDialog windows, which each test answers from inside their event loop.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>

#include "platform/QtDialogs.h"
#include "platform/Topmost.h"

namespace kiv {
namespace {

// A stand-in for the panel: a frameless top-level window, shown at a known place, that records
// for every hide and show event whether ApplyTopmost caused it.
class Panel : public QWidget {
 public:
  explicit Panel(bool topmost) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint |
                   (topmost ? Qt::WindowStaysOnTopHint : Qt::WindowFlags()));
    setGeometry(40, 50, 200, 80);
    show();
  }
  QList<bool> fromTopmostChange;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::Show || e->type() == QEvent::Hide)
      fromTopmostChange.append(IsChangingTopmost(this));
    return QWidget::event(e);
  }
};

// Runs `act` on the modal window of type W as soon as it is up, from inside its event loop.
// Should no such window come up, whatever modal window there is gets closed so the test ends.
template <typename W>
void WhenUp(QObject* context, std::function<void(W&)> act) {
  QTimer::singleShot(0, context, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* window = qobject_cast<W*>(modal)) {
      act(*window);
    } else {
      ADD_FAILURE() << "the expected dialog is not up";
      if (modal) modal->close();
    }
  });
}

TEST(ApplyTopmostTest, TogglesTheHintOfTheTopLevelWindowWhereItWasAndSaysItDidSo) {
  Panel panel(false);
  panel.fromTopmostChange.clear();
  ApplyTopmost(new QWidget(&panel), true);  // a child stands for its window
  EXPECT_TRUE(IsTopmost(&panel));
  ASSERT_FALSE(panel.fromTopmostChange.isEmpty()) << "Qt hides and re-shows the window";
  EXPECT_FALSE(panel.fromTopmostChange.contains(false));
  EXPECT_FALSE(IsChangingTopmost(&panel));
  panel.hide();
  ApplyTopmost(&panel, false);
  EXPECT_FALSE(IsTopmost(&panel));
  EXPECT_FALSE(panel.isVisible()) << "a hidden window stays hidden";
}

class QtDialogsTest : public ::testing::Test {
 protected:
  // Whether the panel was out of the topmost band while the dialog was up, shown where it was.
  void NoteDuring() {
    droppedInPlace = !IsTopmost(&panel) && panel.isVisible() && panel.pos() == QPoint(40, 50);
  }

  bool onTop = true;
  Panel panel{true};
  QtDialogs dialogs{&panel, [this] { return onTop; }};
  bool droppedInPlace = false;
  QObject context;  // cancels a pending answer when the test ends
};

TEST_F(QtDialogsTest, FlagsChooseIconButtonsAndDefaultAndThePanelLeavesTheBandMeanwhile) {
  // Flags, icon, default button, the key pressed on the box (0: the default is clicked), answer.
  const std::tuple<int, QMessageBox::Icon, QMessageBox::StandardButton, int, int> cases[] = {
      {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, QMessageBox::Question, QMessageBox::No, 0, IDNO},
      {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, QMessageBox::Yes, 0, IDYES},
      {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, QMessageBox::Yes, Qt::Key_Escape, IDNO},
      {MB_ICONEXCLAMATION, QMessageBox::Warning, QMessageBox::Ok, Qt::Key_Escape, IDOK},
      {MB_ICONHAND, QMessageBox::Critical, QMessageBox::Ok, 0, IDOK},
  };
  for (const auto& [flags, icon, defaultButton, key, answer] : cases) {
    WhenUp<QMessageBox>(&context, [&](QMessageBox& box) {
      NoteDuring();
      EXPECT_EQ(box.windowTitle(), QStringLiteral("Confirm Delete"));
      EXPECT_EQ(box.icon(), icon);
      EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(defaultButton));
      EXPECT_EQ(box.text(), QStringLiteral("first line\nsecond <b>line</b>"));
      EXPECT_EQ(box.textFormat(), Qt::PlainText);
      if (key != 0)
        QTest::keyClick(&box, Qt::Key(key));
      else
        box.defaultButton()->click();
    });
    EXPECT_EQ(dialogs.MessageBox(QStringLiteral("first line\r\nsecond <b>line</b>"),
                                 QStringLiteral("Confirm Delete"), flags),
              answer)
        << flags;
    EXPECT_TRUE(droppedInPlace) << "the panel leaves the topmost band while the box is up";
    EXPECT_TRUE(IsTopmost(&panel)) << "and is back in it afterwards";
  }
}

TEST_F(QtDialogsTest, PlainMessageIsTitledWithTheProgramAndModalDialogsRunInsideTheDance) {
  QDialog options(&panel);
  WhenUp<QDialog>(&context, [&](QDialog& dialog) {
    NoteDuring();
    dialog.accept();
  });
  EXPECT_EQ(dialogs.ExecModal(options), QDialog::Accepted);
  EXPECT_TRUE(droppedInPlace);
  // With "on top" off the panel stays out of the band.
  onTop = false;
  ApplyTopmost(&panel, false);
  WhenUp<QMessageBox>(&context, [&](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Kiv Sound Recorder"));
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    box.button(QMessageBox::Ok)->click();
  });
  dialogs.ShowMessage(QStringLiteral("Skin files demaged!"));
  EXPECT_FALSE(IsTopmost(&panel));
}

TEST_F(QtDialogsTest, SaveDialogAddsTheDefaultSuffixAndNeverAsksAboutOverwriting) {
  QTemporaryDir folder;
  WhenUp<QFileDialog>(&context, [&](QFileDialog& dialog) {
    NoteDuring();
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export Message to WAV"));
    EXPECT_EQ(dialog.directory().absolutePath(), folder.path());
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("WAV Files (*.wav)")});
    static_cast<QDialog&>(dialog).accept();  // as the Save button does
  });
  EXPECT_EQ(dialogs.GetSaveFileName({QStringLiteral("Export Message to WAV"), folder.path(),
                                     QStringLiteral("message 3"),
                                     QStringLiteral("WAV Files (*.wav)"), QStringLiteral("*.wav")}),
            folder.filePath(QStringLiteral("message 3.wav")));
  EXPECT_TRUE(droppedInPlace);
  WhenUp<QFileDialog>(&context, [](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(dialogs.GetSaveFileName({QStringLiteral("Export"), folder.path(), {}, {}, {}}),
            QString());
}

}  // namespace
}  // namespace kiv
