// TID3v1Tag: the 128-byte ID3 version 1 / 1.1 tag at the end of an MP3 file: its texts, track
// number and genre, read from and written to a buffer, a File or a path. A tag is version 1.1
// exactly when it keeps a track number (then the comment has 28 characters instead of 30).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "cassette/File.h"
#include "cassette/Status.h"

namespace kiv::convert {

class TID3v1Tag {
 public:
  static constexpr size_t kSize = 128;
  enum Field { kTitle = 1, kArtist = 2, kYear = 3, kAlbum = 4, kComment = 5 };

  bool Present() const { return present_; }
  bool Modified() const { return modified_; }
  bool v1() const { return v1_; }  // no track number
  const std::string& Title() const { return title_; }
  const std::string& Artist() const { return artist_; }
  const std::string& Album() const { return album_; }
  const std::string& Year() const { return year_; }
  const std::string& Comment() const { return comment_; }
  int Track() const { return track_; }
  int GenreID() const { return genreId_; }
  // The standard name of GenreID(), "" outside the list of 148.
  std::string Genre() const;
  static std::string GenreName(int id);

  // Cut to the field's width; other indexes are ignored. Marks the tag modified only when the
  // stored value changes.
  void SetField(int index, const std::string& text);
  void SetTrack(uint8_t track);  // 0 makes the tag version 1
  void SetGenreID(uint8_t id);
  void Setv1(bool v1);
  void Clear() { *this = TID3v1Tag(); }

  // Needs size >= 128; returns whether the bytes begin with "TAG".
  bool Load(const uint8_t* buffer, size_t size);
  // The last 128 of the `size` bytes from `start`; fewer than 128 bytes means no tag.
  bool LoadFromStream(const File& file, uint64_t start, uint64_t size);
  bool LoadFromFile(const std::string& path);

  // "TID3v1Tag.Save: Buffer too small" below 128 bytes. Clears the modified flag.
  [[nodiscard]] Status Save(uint8_t* buffer, size_t size);
  [[nodiscard]] Status SaveToStream(File& file, uint64_t offset);
  // Overwrites a tag at the end of the file, or appends one.
  [[nodiscard]] Status SaveToFile(const std::string& path);

 private:
  size_t CommentWidth() const { return v1_ ? 30 : 28; }

  bool present_ = false;
  bool modified_ = false;
  bool v1_ = true;
  std::string title_, artist_, album_, year_, comment_;
  int track_ = 0;
  int genreId_ = 0;
};

}  // namespace kiv::convert
