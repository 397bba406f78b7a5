// Building and reading message names.
#include "cassette/MessageName.h"

#include <algorithm>
#include <ctime>

namespace kiv {

LocalTime SystemLocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &now);  // the C runtime's thread-safe form, arguments swapped
#else
  localtime_r(&now, &parts);
#endif
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                   parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string TwoDigits(uint32_t value) {
  std::string text = std::to_string(value);
  return value < 10 ? "0" + text : text;
}

std::string ClockNameText(const LocalTime& time, const std::string& tag1, const std::string& tag2) {
  std::string year = std::to_string(time.year);
  while (year.size() < 4) year.insert(year.begin(), '0');
  return tag1 + TwoDigits(uint32_t(time.day)) + "." + TwoDigits(uint32_t(time.month)) + "." + year +
         "|" + tag2 + TwoDigits(uint32_t(time.hour)) + ":" + TwoDigits(uint32_t(time.minute)) + ":" +
         TwoDigits(uint32_t(time.second));
}

std::array<uint8_t, kNameSize> EncodeNameField(const std::string& text) {
  std::array<uint8_t, kNameSize> field;
  field.fill(0x20);
  size_t size = std::min(text.size(), kNameTextLimit);
  std::copy_n(reinterpret_cast<const uint8_t*>(text.data()), size, field.begin());
  field[size] = 0x0D;
  std::fill(field.begin() + kNameTerminatorOffset, field.end(), 0xFC);
  return field;
}

std::string NameTextOfField(const std::array<uint8_t, kNameSize>& field) {
  auto cr = std::find(field.begin(), field.end(), 0x0D);
  if (cr != field.end()) return std::string(field.begin(), cr);
  std::string text(field.begin(), field.begin() + kNameTerminatorOffset);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string NoteOf(const std::string& nameText) {
  if (std::count(nameText.begin(), nameText.end(), '%') != 3) return {};
  return nameText.substr(nameText.rfind('%') + 1);
}

std::string RenamedNameText(const std::string& oldText, const std::string& newNote,
                            const std::string& tag1, std::string* appliedNote) {
  std::string base = oldText;
  if (std::count(base.begin(), base.end(), '%') == 3) {
    size_t bar = base.rfind('|');
    if (bar != std::string::npos) base.erase(bar);
  }
  // A line break would end the name early (a carriage return is the field's terminator): one
  // pasted from a Windows program (CR LF), an old Mac (CR) or elsewhere (LF) becomes one blank.
  std::string note;
  for (size_t i = 0; i < newNote.size(); ++i) {
    const bool crlf = newNote[i] == '\r' && i + 1 < newNote.size() && newNote[i + 1] == '\n';
    note.push_back(newNote[i] == '\r' || newNote[i] == '\n' ? ' ' : newNote[i]);
    if (crlf) ++i;
  }
  std::replace(note.begin(), note.end(), '|', ' ');
  std::replace(note.begin(), note.end(), '%', ' ');

  std::string prefix = base + "|" + tag1;
  // A prefix that alone fills the field (a damaged or hand-made name) leaves no room for a note;
  // it is cut too, so the terminator still fits.
  if (prefix.size() > kNameTextLimit) prefix.resize(kNameTextLimit);
  size_t room = kNameTextLimit - prefix.size();
  if (note.size() > room) note.resize(room);
  if (appliedNote) *appliedNote = note;
  return prefix + note;
}

std::string DisplayText(const std::string& nameText) {
  std::string text = nameText;
  size_t firstTag = text.find('%');
  if (firstTag != std::string::npos) text.erase(0, firstTag + 1);
  for (;;) {
    size_t bar = text.find('|');
    if (bar == std::string::npos) break;
    size_t tag = text.find('%', bar);
    if (tag == std::string::npos) break;
    text.replace(bar, tag - bar + 1, " ");
  }
  return text;
}

std::string SelectorLine(uint32_t index, const std::string& nameText, uint32_t seconds) {
  return std::to_string(index) + ") " + DisplayText(nameText) + " (" + TwoDigits(seconds / 60) +
         ":" + TwoDigits(seconds % 60) + ")";
}

}  // namespace kiv
