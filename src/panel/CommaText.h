// Splitting a key-file value into items by comma-text rules, the list form every skin value uses.
//
// Items are separated by commas or by unquoted blanks (any character from 1 to 32); blanks around
// items are skipped. An item that begins with a double quote runs to the closing quote, a doubled
// quote standing for one quote inside, so a font face with spaces is written "Courier New". Two
// commas in a row give an empty item; a comma at the very end gives none. A NUL ends the text.
#pragma once

#include <QString>
#include <QStringList>

namespace kiv {

QStringList SplitCommaText(const QString& text);

}  // namespace kiv
