// A file opened for one cassette operation, and the few file-system calls the store makes.
//
// Reads and writes take explicit offsets, so no caller depends on a hidden stream position.
// A read-write open denies other writers where the platform allows it (on POSIX an exclusive,
// non-blocking flock that every writer of this program takes too); a read-only open shares all
// access. The handle is closed by the destructor.
//
// Every call that changes the disk first asks the installed IoFaults, so tests can make the
// n-th write, sync, rename or removal fail and check that nothing recorded is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "cassette/Status.h"

namespace kiv {

enum class IoOp { Create, Write, Truncate, Sync, Rename, Remove };

class IoFaults {
 public:
  virtual ~IoFaults() = default;
  // True makes the operation fail as if the disk had refused it.
  virtual bool ShouldFail(IoOp op, const std::string& path) = 0;
};

// Installs `faults` for every file operation of the process; nullptr removes it.
void SetIoFaults(IoFaults* faults);

class File {
 public:
  enum class Mode {
    ReadWrite,        // existing file, other writers denied
    ReadOnly,         // existing file, all access shared
    CreateReadWrite,  // created or emptied, other writers denied
  };

  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens `path`; on failure returns nullptr and says why in `status` (NotFound, Unavailable).
  static std::unique_ptr<File> Open(const std::string& path, Mode mode, Status* status);

  const std::string& path() const { return path_; }
  uint64_t Length() const;

  // Reads exactly `size` bytes at `offset`; false on a short read or an error.
  bool ReadAt(uint64_t offset, void* data, size_t size) const;
  bool WriteAt(uint64_t offset, const void* data, size_t size);
  bool Truncate(uint64_t length);
  bool Sync();

 private:
  File(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}

  std::string path_;
  int fd_;
};

bool FileExists(const std::string& path);
// Size of an existing file, 0 when it cannot be read.
uint64_t FileSize(const std::string& path);
bool RemoveFile(const std::string& path);
// Replaces `to` by `from` in one step and makes the change durable.
bool ReplaceFile(const std::string& from, const std::string& to);
enum class MoveResult { Moved, TargetTaken, Failed };
// Gives `from` the name `to` unless a file of that name exists already.
MoveResult MoveFileNoReplace(const std::string& from, const std::string& to);
// The folder part of `path` with its trailing separator, "" for a bare name.
std::string FolderOf(const std::string& path);

}  // namespace kiv
