// Message names: the ticker markup stored in an entry's 128-byte name field, and the texts the
// recorder derives from it (the note a user typed, the selector's plain line).
//
// A name reads "<tag1><date>|<tag2><time>" for a fresh recording, where a tag is a decimal
// colour followed by "%", e.g. 255%05.12.2026|65280%14:03:59. Renaming adds one segment,
// "|<tag1><note>". Text is single-byte (Latin-1) as stored; nothing here changes encodings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "cassette/CassetteLayout.h"

namespace kiv {

// A wall-clock reading, as the clock shows it to the user.
struct LocalTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Names are made from this; tests inject a fixed one.
using Clock = std::function<LocalTime()>;
LocalTime SystemLocalTime();

// Two digits with a leading zero below 10 ("07"); larger values are written in full.
std::string TwoDigits(uint32_t value);

// "<tag1>dd.mm.yyyy|<tag2>hh:nn:ss".
std::string ClockNameText(const LocalTime& time, const std::string& tag1, const std::string& tag2);

// The 128-byte field for `text`: text, CR, spaces, FC FC FC FC. Text longer than the limit is cut
// so that the terminator always fits.
std::array<uint8_t, kNameSize> EncodeNameField(const std::string& text);

// Text up to the first CR. A damaged field without a CR gives its first 124 bytes with trailing
// blanks removed, never the terminator bytes.
std::string NameTextOfField(const std::array<uint8_t, kNameSize>& field);

// The note is the user's part of an edited name: the text after the last "%" when the name holds
// exactly three "%"; empty otherwise.
std::string NoteOf(const std::string& nameText);

// The name text after renaming: the old text without its old note segment, "|", tag1 and the new
// note with "|", "%" and each line break (CR LF, CR or LF) turned into a blank, cut to keep the
// whole within the text limit.
// `appliedNote` receives the note as it was stored.
std::string RenamedNameText(const std::string& oldText, const std::string& newNote,
                            const std::string& tag1, std::string* appliedNote = nullptr);

// The markup as plain text: "05.12.2026 14:03:59 Meeting".
std::string DisplayText(const std::string& nameText);

// One line of the message list: "1) 05.12.2026 14:03:59 Meeting (00:12)".
std::string SelectorLine(uint32_t index, const std::string& nameText, uint32_t seconds);

}  // namespace kiv
