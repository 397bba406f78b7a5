// Message names: the clock name, the 128-byte field, notes, renaming and the selector's text.
#include <gtest/gtest.h>

#include "CassetteTestSupport.h"
#include "cassette/MessageName.h"

namespace kiv {
namespace {

using test::Bytes;
using test::kClockName;
using test::NameField;

Bytes AsBytes(const std::array<uint8_t, kNameSize>& field) { return Bytes(field.begin(), field.end()); }

TEST(MessageName, ClockNameIsTaggedDateAndTimeWithTwoDigitFields) {
  EXPECT_EQ(ClockNameText({2026, 12, 5, 14, 3, 59}, "255%", "65280%"), kClockName);
  EXPECT_EQ(ClockNameText({2027, 1, 31, 0, 0, 7}, "1%", "2%"), "1%31.01.2027|2%00:00:07");
}

TEST(MessageName, FieldIsTextCarriageReturnSpacesAndFcAndTooLongTextLosesItsTail) {
  EXPECT_EQ(AsBytes(EncodeNameField(kClockName)), NameField(kClockName));
  EXPECT_EQ(AsBytes(EncodeNameField("")), NameField(""));
  EXPECT_EQ(AsBytes(EncodeNameField(std::string(200, 'x'))), NameField(std::string(123, 'x')));
}

TEST(MessageName, ReadingStopsAtTheCarriageReturnAndNeverReturnsTheTerminator) {
  Bytes odd = NameField("abc");
  odd[10] = 'Z';  // whatever follows the CR is ignored
  std::array<uint8_t, kNameSize> field{};
  std::copy(odd.begin(), odd.end(), field.begin());
  EXPECT_EQ(NameTextOfField(field), "abc");

  // Damaged fields without a CR: the text ends before the padding and the FC bytes.
  field.fill(0x20);
  std::fill(field.begin(), field.begin() + 10, 'a');
  std::fill(field.begin() + 124, field.end(), 0xFC);
  EXPECT_EQ(NameTextOfField(field), std::string(10, 'a'));
  field.fill('z');
  EXPECT_EQ(NameTextOfField(field), std::string(124, 'z'));
}

TEST(MessageName, NoteIsTheTextAfterTheLastPercentOnlyWhenThereAreExactlyThree) {
  EXPECT_EQ(NoteOf(kClockName + "|255%Meeting"), "Meeting");
  EXPECT_EQ(NoteOf(kClockName), "");
  EXPECT_EQ(NoteOf(kClockName + "|255%Meeting|255%Again"), "");
}

TEST(MessageName, RenamingKeepsOneNoteSegmentWithBarsAndPercentsBlankedAndCutToFit) {
  std::string once = RenamedNameText(kClockName, "Meeting", "255%");
  EXPECT_EQ(once, kClockName + "|255%Meeting");
  std::string applied;
  EXPECT_EQ(RenamedNameText(once, "50% | done", "16711680%", &applied),
            kClockName + "|16711680%50    done");
  EXPECT_EQ(applied, "50    done");

  // The prefix "<date and time>|255%" is 34 characters, leaving 89 for the note.
  std::string cut = RenamedNameText(once, std::string(200, 'n'), "255%", &applied);
  EXPECT_EQ(cut, kClockName + "|255%" + std::string(89, 'n'));
  EXPECT_EQ(applied, std::string(89, 'n'));
  EXPECT_EQ(AsBytes(EncodeNameField(cut)), NameField(cut));
}

TEST(MessageName, SelectorLineShowsIndexPlainTextAndMinutesAndSeconds) {
  EXPECT_EQ(DisplayText(kClockName), "05.12.2026 14:03:59");
  EXPECT_EQ(SelectorLine(1, kClockName + "|255%Meeting", 12),
            "1) 05.12.2026 14:03:59 Meeting (00:12)");
  EXPECT_EQ(SelectorLine(12, kClockName, 75), "12) 05.12.2026 14:03:59 (01:15)");
}

}  // namespace
}  // namespace kiv
