// A key file in the Windows profile (INI) format, read the way GetPrivateProfileString reads it.
//
// Skins are written for that reader, so this one keeps its rules rather than QSettings' INI
// dialect: section and key names compare without regard to case, blanks around names and values
// are dropped, one pair of enclosing quotes around a value is removed, and a value is cut at
// kMaxValueLength characters. The first section of a name and the first key of a name in it win.
// Lines starting with ';' are comments; a line without '=' names a key that has no value and so
// reads as the default. A file that cannot be read reads every key as the default.
//
// Text is single-byte (Latin-1) as stored. The whole file is read once, when the object is made;
// the object owns that copy and nothing else.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kiv {

class ProfileFile {
 public:
  // The longest value a read returns: GetPrivateProfileString into a 2048-character buffer.
  static constexpr qsizetype kMaxValueLength = 2047;

  explicit ProfileFile(const QString& path);
  static ProfileFile FromBytes(const QByteArray& bytes);

  // The value of `key` in `section`, or `defaultValue` when either is missing or the key has no
  // "=". A key that is present with an empty value reads as empty, not as the default.
  QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;

 private:
  struct Key {
    QString name;
    QString value;
    bool hasValue = false;
  };
  struct Section {
    QString name;
    QList<Key> keys;
  };

  ProfileFile() = default;
  void Parse(const QByteArray& bytes);

  QList<Section> sections_;
};

}  // namespace kiv
