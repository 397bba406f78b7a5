#include "panel/ProfileFile.h"

#include <QFile>

namespace kiv {

namespace {

// The profile reader's idea of a blank includes Ctrl-Z, the old end-of-file mark.
bool IsProfileSpace(QChar c) {
  const char16_t u = c.unicode();
  return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' ||
         u == 0x1a;
}

QStringView Trimmed(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsProfileSpace(text[begin])) ++begin;
  while (end > begin && IsProfileSpace(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}

bool SameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

ProfileFile::ProfileFile(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) Parse(file.readAll());
}

ProfileFile ProfileFile::FromBytes(const QByteArray& bytes) {
  ProfileFile profile;
  profile.Parse(bytes);
  return profile;
}

void ProfileFile::Parse(const QByteArray& bytes) {
  const QString text = QString::fromLatin1(bytes);
  // Keys above the first section header belong to a section without a name.
  Section* current = nullptr;
  qsizetype lineStart = 0;
  while (lineStart <= text.size()) {
    qsizetype lineEnd = lineStart;
    while (lineEnd < text.size() && text[lineEnd] != u'\n' && text[lineEnd] != u'\r') ++lineEnd;
    const QStringView line = Trimmed(QStringView(text).mid(lineStart, lineEnd - lineStart));
    lineStart = lineEnd + 1;
    if (line.isEmpty() || line.front() == u';') continue;

    if (line.front() == u'[') {
      const qsizetype close = line.lastIndexOf(u']');
      if (close > 0) {
        sections_.append(Section{line.mid(1, close - 1).toString(), {}});
        current = &sections_.last();
      }
      continue;
    }

    if (current == nullptr) {
      sections_.append(Section{});
      current = &sections_.last();
    }
    Key key;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0) {
      key.name = line.toString();
    } else {
      key.name = Trimmed(line.left(equals)).toString();
      key.value = Trimmed(line.mid(equals + 1)).toString();
      key.hasValue = true;
    }
    current->keys.append(key);
  }
}

QString ProfileFile::ReadString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
  for (const Section& candidate : sections_) {
    if (!SameName(candidate.name, section)) continue;
    // Only the first section of that name is searched, as the system reader does.
    for (const Key& entry : candidate.keys) {
      if (!SameName(entry.name, key)) continue;
      if (!entry.hasValue) return defaultValue;
      QString value = entry.value;
      if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
          value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
      }
      value.truncate(kMaxValueLength);
      return value;
    }
    return defaultValue;
  }
  return defaultValue;
}

}  // namespace kiv
