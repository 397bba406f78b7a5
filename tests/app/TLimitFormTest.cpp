// The "Recording memory full" window, offscreen: its texts, and that its button, Escape and Enter
// close it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/TLimitForm.h"

namespace kiv {
namespace {

std::string S(const QString& text) { return text.toStdString(); }

TEST(TLimitFormTest, SaysTheCassetteIsFullAndHowToMakeRoom) {
  TLimitForm form;
  EXPECT_EQ(S(form.windowTitle()), "Recording memory full");
  EXPECT_EQ(S(form.Label1->text()),
            "You have used all 10 minutes of Kiv Sound Recorder's recording capacity. You have "
            "to delete some or all messages to be able to make new recordings.");
  EXPECT_EQ(form.Label1->palette().color(QPalette::WindowText), QColor(128, 0, 0));
  EXPECT_EQ(S(form.Label2->text()), "You can export important messages to WAV sound files first.");
  EXPECT_EQ(S(form.Label4->text()),
            "To do that click SET and use Export Message to WAV for each message.");
  EXPECT_EQ(S(form.Label3->text()),
            "To delete current message use DEL on the front panel or right click on the ticker "
            "area and use either Delete Message or Delete All Messages.");
  EXPECT_EQ(S(form.btnClose->text()), "Close");
}

TEST(TLimitFormTest, CloseEscapeAndEnterCloseIt) {
  const std::function<void(TLimitForm&)> acts[] = {
      [](TLimitForm& up) { QTest::mouseClick(up.btnClose, Qt::LeftButton); },
      [](TLimitForm& up) { QTest::keyClick(&up, Qt::Key_Escape); },
      [](TLimitForm& up) { QTest::keyClick(up.btnClose, Qt::Key_Return); }};
  for (const auto& act : acts) {
    TLimitForm form;
    form.show();
    act(form);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
  }
}

}  // namespace
}  // namespace kiv
