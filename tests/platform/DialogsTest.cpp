// The dialogs service and the topmost dance, on offscreen widgets: the real service shows real
// QMessageBox and QFileDialog windows, which each test answers from inside their event loop.
#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "platform/FakeDialogs.h"
#include "platform/QtDialogs.h"
#include "platform/Topmost.h"

namespace kiv {
namespace {

// A stand-in for the panel: a frameless top-level window, shown at a known place.
class Panel {
 public:
  explicit Panel(bool topmost) {
    widget.setWindowFlags(Qt::Window | Qt::FramelessWindowHint |
                          (topmost ? Qt::WindowStaysOnTopHint : Qt::WindowFlags()));
    widget.resize(200, 80);
    widget.move(40, 50);
    widget.show();
  }
  QWidget widget;
};

// What the panel looked like while a dialog was up.
struct PanelState {
  bool topmost = false;
  bool visible = false;
  QPoint position;
};

PanelState StateOf(const QWidget& panel) {
  return {IsTopmost(&panel), panel.isVisible(), panel.pos()};
}

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

// --- ApplyTopmost -----------------------------------------------------------------------------

TEST(ApplyTopmostTest, TogglesTheHintAndKeepsTheWindowShownWhereItWas) {
  Panel panel(false);
  const QPoint where = panel.widget.pos();

  ApplyTopmost(&panel.widget, true);
  EXPECT_TRUE(panel.widget.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(panel.widget.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(panel.widget.isVisible());
  EXPECT_EQ(panel.widget.pos(), where);

  ApplyTopmost(&panel.widget, false);
  EXPECT_FALSE(panel.widget.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(panel.widget.isVisible());
  EXPECT_EQ(panel.widget.pos(), where);
}

// Records, for every hide and show event, whether ApplyTopmost caused it.
class EventLog : public QWidget {
 public:
  QList<bool> fromTopmostChange;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::Show || e->type() == QEvent::Hide) {
      fromTopmostChange.append(IsChangingTopmost(this));
    }
    return QWidget::event(e);
  }
};

TEST(ApplyTopmostTest, HideAndShowItCausesCanBeToldFromTheUsersOwn) {
  EventLog panel;
  panel.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  panel.show();
  panel.fromTopmostChange.clear();

  ApplyTopmost(&panel, true);
  ASSERT_FALSE(panel.fromTopmostChange.isEmpty()) << "Qt hides and re-shows the window";
  EXPECT_FALSE(panel.fromTopmostChange.contains(false));
  EXPECT_FALSE(IsChangingTopmost(&panel));

  panel.fromTopmostChange.clear();
  panel.hide();
  panel.show();
  EXPECT_EQ(panel.fromTopmostChange, (QList<bool>{false, false}));
}

TEST(ApplyTopmostTest, ActsOnTheTopLevelWindowOfAChild) {
  Panel panel(false);
  QWidget* key = new QWidget(&panel.widget);
  ApplyTopmost(key, true);
  EXPECT_TRUE(IsTopmost(&panel.widget));
  EXPECT_TRUE(IsTopmost(key));
  EXPECT_FALSE(key->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(ApplyTopmostTest, HiddenWindowStaysHidden) {
  Panel panel(false);
  panel.widget.hide();
  ApplyTopmost(&panel.widget, true);
  EXPECT_TRUE(IsTopmost(&panel.widget));
  EXPECT_FALSE(panel.widget.isVisible());
  ApplyTopmost(nullptr, true);  // no window, nothing to do
}

// --- The real service -------------------------------------------------------------------------

class QtDialogsTest : public ::testing::Test {
 protected:
  bool onTop = true;
  Panel panel{true};
  QtDialogs dialogs{&panel.widget, [this] { return onTop; }};
  QObject context;  // cancels a pending answer when the test ends
};

TEST_F(QtDialogsTest, ConfirmationIsYesNoWithQuestionIconAndNoAsDefault) {
  PanelState during;
  WhenUp<QMessageBox>(&context, [&](QMessageBox& box) {
    during = StateOf(panel.widget);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Confirm Delete"));
    EXPECT_EQ(box.text(), QStringLiteral("Delete Message?"));
    EXPECT_EQ(box.icon(), QMessageBox::Question);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::No));
    EXPECT_EQ(box.parentWidget(), &panel.widget);
    QTest::keyClick(&box, Qt::Key_Return);
  });

  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Delete Message?"), QStringLiteral("Confirm Delete"),
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
            IDNO);

  EXPECT_FALSE(during.topmost) << "the panel leaves the topmost band while the box is up";
  EXPECT_TRUE(during.visible);
  EXPECT_EQ(during.position, QPoint(40, 50));
  EXPECT_TRUE(IsTopmost(&panel.widget)) << "and is back in it afterwards";
  EXPECT_TRUE(panel.widget.isVisible());
  EXPECT_EQ(panel.widget.pos(), QPoint(40, 50));
}

TEST_F(QtDialogsTest, AnswersTellWhichButtonWasChosen) {
  WhenUp<QMessageBox>(&context, [](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Overwrite Existing File?"),
                               QStringLiteral("Confirm Overwriting"), 292),
            IDYES);

  WhenUp<QMessageBox>(&context, [](QMessageBox& box) {
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::Yes))
        << "without MB_DEFBUTTON2 the first button is the default";
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Sure?"), QStringLiteral("Question"),
                               MB_YESNO | MB_ICONQUESTION),
            IDNO);
}

TEST_F(QtDialogsTest, WarningAndErrorBoxesHaveOneOkButton) {
  WhenUp<QMessageBox>(&context, [](QMessageBox& box) {
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box.text(), QStringLiteral("first line\nsecond <b>line</b>"));
    EXPECT_EQ(box.textFormat(), Qt::PlainText);
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("first line\r\nsecond <b>line</b>"),
                               QStringLiteral("Kiv Sound Recorder - File doesn't exist"), 48),
            IDOK);

  WhenUp<QMessageBox>(&context, [](QMessageBox& box) {
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Cannot open"),
                               QStringLiteral("Kiv Sound Recorder - Error opening file"), 16),
            IDOK);
}

TEST_F(QtDialogsTest, PanelStaysOutOfTheBandWhenOnTopIsOff) {
  onTop = false;
  ApplyTopmost(&panel.widget, false);
  PanelState during;
  WhenUp<QMessageBox>(&context, [&](QMessageBox& box) {
    during = StateOf(panel.widget);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Kiv Sound Recorder"));
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    box.button(QMessageBox::Ok)->click();
  });
  dialogs.ShowMessage(QStringLiteral("Skin files demaged!"));
  EXPECT_FALSE(during.topmost);
  EXPECT_FALSE(IsTopmost(&panel.widget));
}

TEST_F(QtDialogsTest, ModalDialogRunsInsideTheDance) {
  QDialog options(&panel.widget);
  PanelState during;
  WhenUp<QDialog>(&context, [&](QDialog& dialog) {
    during = StateOf(panel.widget);
    dialog.accept();
  });
  EXPECT_EQ(dialogs.ExecModal(options), QDialog::Accepted);
  EXPECT_FALSE(during.topmost);
  EXPECT_TRUE(IsTopmost(&panel.widget));
}

TEST_F(QtDialogsTest, SaveDialogAddsTheDefaultSuffixAndNeverAsksAboutOverwriting) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  PanelState during;
  WhenUp<QFileDialog>(&context, [&](QFileDialog& dialog) {
    during = StateOf(panel.widget);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export Message to WAV"));
    EXPECT_EQ(dialog.directory().absolutePath(), folder.path());
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("WAV Files (*.wav)")});
    static_cast<QDialog&>(dialog).accept();  // as the Save button does
  });
  const QString chosen = dialogs.GetSaveFileName({QStringLiteral("Export Message to WAV"),
                                                  folder.path(), QStringLiteral("message 3"),
                                                  QStringLiteral("WAV Files (*.wav)"),
                                                  QStringLiteral("*.wav")});
  EXPECT_EQ(chosen, folder.filePath(QStringLiteral("message 3.wav")));
  EXPECT_FALSE(during.topmost);
  EXPECT_TRUE(IsTopmost(&panel.widget));

  WhenUp<QFileDialog>(&context, [](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(dialogs.GetSaveFileName({QStringLiteral("Export"), folder.path(), {}, {}, {}}),
            QString());
}

TEST_F(QtDialogsTest, OpenDialogReturnsTheChosenExistingFile) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString existing = folder.filePath(QStringLiteral("take.wav"));
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  WhenUp<QFileDialog>(&context, [](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_EQ(dialogs.GetOpenFileName({QStringLiteral("Import WAV"), folder.path(),
                                     QStringLiteral("take.wav"),
                                     QStringLiteral("WAV/MP3 Files (*.wav *.mp3)"), {}}),
            existing);
}

// --- The fake ---------------------------------------------------------------------------------

TEST(FakeDialogsTest, RecordsEveryCallAndAnswersSafelyByDefault) {
  FakeDialogs dialogs;
  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Delete Message?"), QStringLiteral("Confirm Delete"),
                               292),
            IDNO);
  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Missing"), QStringLiteral("Gone"), 48), IDOK);
  dialogs.ShowMessage(QStringLiteral("Error: Out of Memory"));
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Options"));
  EXPECT_EQ(dialogs.ExecModal(dialog), QDialog::Rejected);
  EXPECT_EQ(dialogs.GetSaveFileName({QStringLiteral("Export"), {}, QStringLiteral("m1"), {}, {}}),
            QString());

  const QList<FakeDialogs::Call>& calls = dialogs.Calls();
  ASSERT_EQ(calls.size(), 5);
  EXPECT_EQ(calls[0].kind, FakeDialogs::Kind::MessageBox);
  EXPECT_EQ(calls[0].caption, QStringLiteral("Confirm Delete"));
  EXPECT_EQ(calls[0].text, QStringLiteral("Delete Message?"));
  EXPECT_EQ(calls[0].flags, 292);
  EXPECT_EQ(calls[1].flags, 48);
  EXPECT_EQ(calls[2].kind, FakeDialogs::Kind::ShowMessage);
  EXPECT_EQ(calls[2].caption, QStringLiteral("Kiv Sound Recorder"));
  EXPECT_EQ(calls[3].kind, FakeDialogs::Kind::Modal);
  EXPECT_EQ(calls[3].caption, QStringLiteral("Options"));
  EXPECT_EQ(calls[4].kind, FakeDialogs::Kind::SaveFile);
  EXPECT_EQ(calls[4].text, QStringLiteral("m1"));
  EXPECT_EQ(dialogs.MessageTexts(),
            (QStringList{QStringLiteral("Delete Message?"), QStringLiteral("Missing"),
                         QStringLiteral("Error: Out of Memory")}));
  for (const FakeDialogs::Call& call : calls) EXPECT_FALSE(call.panelDropped);
}

TEST(FakeDialogsTest, GivesScriptedAnswersInOrder) {
  FakeDialogs dialogs;
  dialogs.QueueAnswer(IDYES);
  dialogs.QueueFileName(QStringLiteral("/tmp/out.wav"));
  dialogs.QueueModalResult(QDialog::Accepted);

  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Delete All Mesages?"),
                               QStringLiteral("Confirm Delete All"), 292),
            IDYES);
  EXPECT_EQ(dialogs.MessageBox(QStringLiteral("Delete Message?"), QStringLiteral("Confirm Delete"),
                               292),
            IDNO)
      << "the queue is used up";
  EXPECT_EQ(dialogs.GetOpenFileName({}), QStringLiteral("/tmp/out.wav"));
  QDialog dialog;
  EXPECT_EQ(dialogs.ExecModal(dialog), QDialog::Accepted);

  dialogs.onModal = [](QDialog& d) {
    d.setWindowTitle(QStringLiteral("seen"));
    return 5;
  };
  EXPECT_EQ(dialogs.ExecModal(dialog), 5);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("seen"));
}

TEST(FakeDialogsTest, DancesWithTheRealPanel) {
  Panel panel(true);
  bool onTop = true;
  FakeDialogs dialogs(&panel.widget, [&] { return onTop; });

  dialogs.ShowMessage(QStringLiteral("Skin files demaged!"));
  onTop = false;
  ApplyTopmost(&panel.widget, false);
  dialogs.MessageBox(QStringLiteral("Delete Message?"), QStringLiteral("Confirm Delete"), 292);

  ASSERT_EQ(dialogs.Calls().size(), 2);
  const FakeDialogs::Call& danced = dialogs.Calls()[0];
  EXPECT_TRUE(danced.panelDropped);
  EXPECT_FALSE(danced.panelTopmostDuring);
  EXPECT_TRUE(danced.panelTopmostAfter);
  const FakeDialogs::Call& still = dialogs.Calls()[1];
  EXPECT_FALSE(still.panelDropped);
  EXPECT_FALSE(still.panelTopmostDuring);
  EXPECT_FALSE(still.panelTopmostAfter);
  EXPECT_TRUE(panel.widget.isVisible());
  EXPECT_EQ(panel.widget.pos(), QPoint(40, 50));
}

}  // namespace
}  // namespace kiv
