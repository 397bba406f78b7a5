// Export and import from the real panel offscreen, with the real converter and real files.
#include <QDir>

#include "AppTestSupport.h"

namespace kiv::test {
namespace {

constexpr int32_t kDoneW = 0x000E000D;
constexpr int32_t kDoneL = 0x000BF79B;

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(PanelTest, ExportAsksWritesTheMessageAndComesBackWhenDone) {
  TKivRecForm& form = BuildWithMessages();
  QAction* exportItem = form.Menus().Item(MenuItem::ExportMessage1);
  exportItem->trigger();  // cancelled
  EXPECT_EQ(dialogs_.Calls().value(0).text, QStringLiteral("Untitled"));
  EXPECT_FALSE(form.ConversionBusy());

  const QString target = data_ + QStringLiteral("note.wav");
  ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
  dialogs_.QueueFileName(target);  // the overwrite question answered No
  exportItem->trigger();
  EXPECT_EQ(dialogs_.Calls().last().caption + QString::number(dialogs_.Calls().last().flags),
            QStringLiteral("Confirm Overwriting292"));
  EXPECT_TRUE(FileBytes(target).isEmpty());
  EXPECT_FALSE(form.ConversionBusy());

  ASSERT_TRUE(QDir().mkdir(data_ + QStringLiteral("folder.wav")));
  dialogs_.QueueFileName(data_ + QStringLiteral("folder.wav"));
  dialogs_.QueueAnswer(IDYES);
  exportItem->trigger();
  EXPECT_EQ(dialogs_.MessageTexts().last(), QStringLiteral("Cannot open ") + data_ + QStringLiteral("folder.wav"));
  EXPECT_TRUE(form.cassette().CassetteStreamClosed());

  dialogs_.QueueFileName(target);
  dialogs_.QueueAnswer(IDYES);
  exportItem->trigger();
  EXPECT_TRUE(form.ConversionBusy());  // until the completion arrives
  EXPECT_EQ(dialogs_.Calls().last().caption + dialogs_.Calls().last().text,
            QStringLiteral("Kiv Sound Recorder - ZACConversion Done! File note.wav created!"));
  Settle();
  EXPECT_FALSE(form.ConversionBusy());
  EXPECT_FALSE(form.cassette().CassetteStreamClosed());
  const QByteArray wav = FileBytes(target);
  EXPECT_EQ(wav.mid(44, 3 * kRate + 1), CassetteBytes().left(3 * kRate) + '\0');  // padded to even
  EXPECT_EQ(wav.left(4) + wav.mid(8, 4), QByteArray("RIFFWAVE"));
  EXPECT_EQ(settings_.ReadSetting(QStringLiteral("ChangeTo")), QString());  // the built-in one
}

TEST_F(PanelTest, TheExternalConverterGetsItsValuesAndOnlyItsWordsEndTheJob) {
  settings_.WriteSetting(QStringLiteral("UseZACexe"), QStringLiteral("YES"));
  TKivRecForm& form = BuildWithMessages();
  form.NextMessage();
  const QString target = data_ + QStringLiteral("second.wav");
  dialogs_.QueueFileName(target);
  form.Menus().Item(MenuItem::ExportMessage1)->trigger();
  const QList<QStringList> started{{program_ + QStringLiteral("ZAC"), QStringLiteral("export")}};
  EXPECT_EQ(launcher_.StartedPrograms(), started);
  QStringList values;
  for (const char* name : {"ChangeFromType", "ChangeFrom", "ChangeFromFreq", "ChangeToFreq",
                           "ChangeToMessageStart", "ChangeToMessageEnd", "ChangeTo", "ChangeToType"}) {
    values << settings_.ReadSetting(QString::fromLatin1(name));
  }
  EXPECT_EQ(values, (QStringList{QStringLiteral("MSG"), CassettePath(), QStringLiteral("11025"),
                                 QStringLiteral("11025"), QString::number(3 * kRate),
                                 QString::number(8 * kRate), target, QStringLiteral("WAV")}));
  ASSERT_TRUE(form.ConversionBusy());
  form.playButtonClick();  // the tape keys wait for the converter
  EXPECT_FALSE(form.Playback().Playing());
  form.ConversionDoneMessage(0x10, 0x20);  // none of its words: only the busy state ends
  EXPECT_FALSE(form.ConversionBusy());
  EXPECT_TRUE(form.cassette().CassetteStreamClosed());
  form.ConversionDoneMessage(kDoneW, kDoneL);
  EXPECT_FALSE(form.cassette().CassetteStreamClosed());
  // A converter that ends without a word does not leave the panel waiting.
  dialogs_.QueueFileName(target);
  form.Menus().Item(MenuItem::ExportMessage1)->trigger();
  ASSERT_TRUE(form.ConversionBusy());
  launcher_.EndWatchedProgram();
  EXPECT_FALSE(form.ConversionBusy());
}

TEST_F(PanelTest, ImportAppendsTheSoundAsANewMessage) {
  TKivRecForm& form = BuildWithMessages();
  // Two seconds of 8-bit mono at the cassette's rate.
  const QString source = data_ + QStringLiteral("tone.wav");
  QByteArray wav("RIFF");
  auto put = [&wav](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) wav.append(char((value >> (8 * i)) & 0xFF));
  };
  put(36 + 2 * kRate, 4);
  wav += "WAVEfmt ";
  put(16, 4), put(1, 2), put(1, 2), put(kRate, 4), put(kRate, 4), put(1, 2), put(8, 2);
  wav += "data";
  put(2 * kRate, 4);
  wav += QByteArray(2 * kRate, char(0xA0));
  QFile file(source);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size());
  file.close();

  dialogs_.QueueFileName(data_ + QStringLiteral("tone.txt"));  // no such file: handed on as typed
  dialogs_.QueueFileName(source);
  form.ImportWAVMP31Click();
  Settle();
  EXPECT_EQ(form.cassette().MessageCount(), 3u);
  form.ImportWAVMP31Click();
  EXPECT_TRUE(form.ConversionBusy());
  Settle();
  EXPECT_FALSE(form.ConversionBusy());
  EXPECT_EQ(form.cassette().MessageCount(), 4u);
  EXPECT_EQ(MessageLengthsOnDisk().back(), 2 * kRate);
}

}  // namespace
}  // namespace kiv::test
