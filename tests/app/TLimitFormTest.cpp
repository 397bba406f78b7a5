// The "Recording memory full" window, offscreen: its texts, and its button closing it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

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
  form.show();
  QTest::mouseClick(form.btnClose, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace kiv
