// The cassette store's only way to the disk: a FileSystem that opens Files and renames and
// removes them, in the manner of LevelDB's Env.
//
// One implementation per platform (PosixFileSystem.cpp today), picked by CMake, so no platform
// test is scattered through the store. The store never calls the operating system itself; it is
// handed a FileSystem through CassetteEnvironment, which lets tests wrap the real one and make a
// chosen write, sync, rename or removal fail.
//
// Reads and writes take explicit offsets, so no caller depends on a hidden stream position.
// A read-write open denies other writers where the platform allows it (on POSIX an exclusive,
// non-blocking flock that every writer of this program takes too); a read-only open shares all
// access. A File is closed by its destructor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "cassette/Status.h"

namespace kiv {

class File {
 public:
  enum class Mode {
    ReadWrite,        // existing file, other writers denied
    ReadOnly,         // existing file, all access shared
    CreateReadWrite,  // created or emptied, other writers denied
  };

  virtual ~File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  const std::string& path() const { return path_; }
  // 0 when the size cannot be read.
  virtual uint64_t Length() const = 0;

  // Reads exactly `size` bytes at `offset`; false on a short read or an error.
  [[nodiscard]] virtual bool ReadAt(uint64_t offset, void* data, size_t size) const = 0;
  [[nodiscard]] virtual bool WriteAt(uint64_t offset, const void* data, size_t size) = 0;
  [[nodiscard]] virtual bool Truncate(uint64_t length) = 0;
  // Returns once the file's bytes are on the disk.
  [[nodiscard]] virtual bool Sync() = 0;

 protected:
  explicit File(std::string path) : path_(std::move(path)) {}

 private:
  std::string path_;
};

enum class MoveResult { Moved, TargetTaken, Failed };

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The platform's file system; lives as long as the process.
  static FileSystem& Default();

  // Opens `path`; on failure `file` stays empty and the status says why (NotFound, Unavailable,
  // IoError when a created file cannot be emptied).
  [[nodiscard]] virtual Status Open(const std::string& path, File::Mode mode,
                                    std::unique_ptr<File>* file) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Size of an existing file, 0 when it cannot be read.
  virtual uint64_t Size(const std::string& path) = 0;
  // True also when there was nothing to remove.
  [[nodiscard]] virtual bool Remove(const std::string& path) = 0;
  // Replaces `to` by `from` in one step and makes the change durable (the folder's entry too).
  [[nodiscard]] virtual bool Replace(const std::string& from, const std::string& to) = 0;
  // Gives `from` the name `to` unless a file of that name exists already.
  [[nodiscard]] virtual MoveResult MoveNoReplace(const std::string& from, const std::string& to) = 0;
};

// The folder part of `path` with its trailing separator, "" for a bare name.
std::string FolderOf(const std::string& path);

}  // namespace kiv
