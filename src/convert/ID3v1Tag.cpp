#include "convert/ID3v1Tag.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace kiv::convert {
namespace {

// The standard ID3v1 genres with the Winamp extensions, 0 to 147.
constexpr const char* kGenres[] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical",
    "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "AlternRock",
    "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop", "Instrumental Rock",
    "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance",
    "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap",
    "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave",
    "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro",
    "Musical", "Rock & Roll", "Hard Rock", "Folk", "Folk-Rock", "National Folk", "Swing",
    "Fast Fusion", "Bebob", "Latin", "Revival", "Celtic", "Bluegrass", "Avantgarde",
    "Gothic Rock", "Progressive Rock", "Psychedelic Rock", "Symphonic Rock", "Slow Rock",
    "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour", "Speech", "Chanson", "Opera",
    "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus", "Porn Groove", "Satire",
    "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul",
    "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall",
    "Goa", "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie", "BritPop", "Negerpunk",
    "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heavy Metal", "Black Metal", "Crossover",
    "Contemporary Christian", "Christian Rock", "Merengue", "Salsa", "Thrash Metal", "Anime",
    "JPop", "Synthpop"};
static_assert(std::size(kGenres) == 148);

// Offsets and widths in the 128 bytes.
constexpr size_t kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63, kYearAt = 93, kCommentAt = 97;
constexpr size_t kZeroAt = 125, kTrackAt = 126, kGenreAt = 127;

std::string TextAt(const uint8_t* p, size_t width) {
  std::string text(reinterpret_cast<const char*>(p), width);
  text.resize(std::min(text.find('\0'), width));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

void PutText(uint8_t* p, const std::string& text, size_t width) {
  std::memset(p, ' ', width);
  std::memcpy(p, text.data(), std::min(text.size(), width));
}

bool Store(std::string* field, const std::string& text, size_t width) {
  const std::string cut = text.substr(0, width);
  if (*field == cut) return false;
  *field = cut;
  return true;
}

}  // namespace

std::string TID3v1Tag::GenreName(int id) {
  return id >= 0 && size_t(id) < std::size(kGenres) ? kGenres[id] : "";
}

std::string TID3v1Tag::Genre() const { return GenreName(genreId_); }

void TID3v1Tag::SetField(int index, const std::string& text) {
  bool changed = false;
  switch (index) {
    case kTitle: changed = Store(&title_, text, 30); break;
    case kArtist: changed = Store(&artist_, text, 30); break;
    case kYear: changed = Store(&year_, text, 4); break;
    case kAlbum: changed = Store(&album_, text, 30); break;
    case kComment: changed = Store(&comment_, text, CommentWidth()); break;
    default: return;
  }
  modified_ = modified_ || changed;
}

void TID3v1Tag::SetTrack(uint8_t track) {
  track_ = track;
  v1_ = track == 0;
  modified_ = true;
}

void TID3v1Tag::SetGenreID(uint8_t id) {
  if (genreId_ != id) modified_ = true;
  genreId_ = id;
}

void TID3v1Tag::Setv1(bool v1) {
  if (v1_ != v1) modified_ = true;
  v1_ = v1;
}

bool TID3v1Tag::Load(const uint8_t* buffer, size_t size) {
  Clear();
  if (size < kSize || std::memcmp(buffer, "TAG", 3) != 0) return false;
  present_ = true;
  title_ = TextAt(buffer + kTitleAt, 30);
  artist_ = TextAt(buffer + kArtistAt, 30);
  album_ = TextAt(buffer + kAlbumAt, 30);
  year_ = TextAt(buffer + kYearAt, 4);
  comment_ = TextAt(buffer + kCommentAt, 30);
  if (buffer[kZeroAt] == 0 && buffer[kTrackAt] != 0) {
    track_ = buffer[kTrackAt];
    v1_ = false;
  }
  genreId_ = buffer[kGenreAt];
  return true;
}

bool TID3v1Tag::LoadFromStream(const File& file, uint64_t start, uint64_t size) {
  Clear();
  uint8_t bytes[kSize];
  if (size < kSize || !file.ReadAt(start + size - kSize, bytes, kSize)) return false;
  return Load(bytes, kSize);
}

bool TID3v1Tag::LoadFromFile(const std::string& path) {
  Clear();
  std::unique_ptr<File> file;
  if (!FileSystem::Default().Open(path, File::Mode::ReadOnly, &file).ok()) return false;
  return LoadFromStream(*file, 0, file->Length());
}

Status TID3v1Tag::Save(uint8_t* buffer, size_t size) {
  if (size < kSize) return Status::Error(StatusCode::Refused, "TID3v1Tag.Save: Buffer too small");
  std::memcpy(buffer, "TAG", 3);
  PutText(buffer + kTitleAt, title_, 30);
  PutText(buffer + kArtistAt, artist_, 30);
  PutText(buffer + kAlbumAt, album_, 30);
  PutText(buffer + kYearAt, year_, 4);
  PutText(buffer + kCommentAt, comment_, 30);
  if (!v1_) {
    buffer[kZeroAt] = 0;
    buffer[kTrackAt] = uint8_t(track_);
  }
  buffer[kGenreAt] = uint8_t(genreId_);
  modified_ = false;
  return Status::Ok();
}

Status TID3v1Tag::SaveToStream(File& file, uint64_t offset) {
  uint8_t bytes[kSize];
  Status status = Save(bytes, kSize);
  if (status.ok() && !file.WriteAt(offset, bytes, kSize)) {
    status = Status::Error(StatusCode::IoError, "Cannot write the ID3 tag to " + file.path());
  }
  return status;
}

Status TID3v1Tag::SaveToFile(const std::string& path) {
  std::unique_ptr<File> file;
  Status status = FileSystem::Default().Open(path, File::Mode::ReadWrite, &file);
  if (!status.ok()) return status;
  const uint64_t length = file->Length();
  uint8_t head[3];
  const bool tagged = length >= kSize && file->ReadAt(length - kSize, head, 3) &&
                      std::memcmp(head, "TAG", 3) == 0;
  status = SaveToStream(*file, tagged ? length - kSize : length);
  if (status.ok() && !file->Sync()) {
    status = Status::Error(StatusCode::IoError, "Cannot write the ID3 tag to " + path);
  }
  return status;
}

}  // namespace kiv::convert
