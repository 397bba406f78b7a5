// The cassette store's file access on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cassette/File.h"

namespace kiv {
namespace {

class PosixFile final : public File {
 public:
  PosixFile(std::string path, int fd) : File(std::move(path)), fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }

  uint64_t Length() const override {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? uint64_t(info.st_size) : 0;
  }

  bool ReadAt(uint64_t offset, void* data, size_t size) const override {
    auto* out = static_cast<uint8_t*>(data);
    while (size > 0) {
      ssize_t got = ::pread(fd_, out, size, off_t(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      out += got;
      offset += uint64_t(got);
      size -= size_t(got);
    }
    return true;
  }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    const auto* in = static_cast<const uint8_t*>(data);
    while (size > 0) {
      ssize_t put = ::pwrite(fd_, in, size, off_t(offset));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      in += put;
      offset += uint64_t(put);
      size -= size_t(put);
    }
    return true;
  }

  bool Truncate(uint64_t length) override { return ::ftruncate(fd_, off_t(length)) == 0; }
  bool Sync() override { return ::fsync(fd_) == 0; }

 private:
  int fd_;
};

// A rename is durable only once the folder's entry is on disk.
bool SyncFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  const bool synced = ::fsync(dir) == 0;
  ::close(dir);
  return synced;
}

class PosixFileSystem final : public FileSystem {
 public:
  Status Open(const std::string& path, File::Mode mode, std::unique_ptr<File>* file) override {
    file->reset();
    int flags = O_CLOEXEC;
    switch (mode) {
      case File::Mode::ReadOnly: flags |= O_RDONLY; break;
      case File::Mode::ReadWrite: flags |= O_RDWR; break;
      // Emptied only once the lock is held, so a file another writer has open is left alone.
      case File::Mode::CreateReadWrite: flags |= O_RDWR | O_CREAT; break;
    }
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
      int err = errno;
      return Status::Error(err == ENOENT ? StatusCode::NotFound : StatusCode::Unavailable,
                           path + ": " + std::strerror(err));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return Status::Error(StatusCode::Unavailable, path + ": not a regular file");
    }
    if (mode != File::Mode::ReadOnly && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return Status::Error(StatusCode::Unavailable, path + ": in use by another program");
    }
    if (mode == File::Mode::CreateReadWrite && ::ftruncate(fd, 0) != 0) {
      ::close(fd);
      return Status::Error(StatusCode::IoError, "Cannot empty " + path);
    }
    *file = std::make_unique<PosixFile>(path, fd);
    return Status::Ok();
  }

  bool Exists(const std::string& path) override {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
  }

  uint64_t Size(const std::string& path) override {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? uint64_t(info.st_size) : 0;
  }

  bool Remove(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
  }

  bool Replace(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    // The new name is in place; a folder that cannot be synced only leaves the old entry
    // possible after a power loss, and the old cassette is still whole then.
    (void)SyncFolderOf(to);
    return true;
  }

  MoveResult MoveNoReplace(const std::string& from, const std::string& to) override {
    // A hard link cannot overwrite, so a name taken by another file is never lost.
    if (::link(from.c_str(), to.c_str()) == 0) {
      if (::unlink(from.c_str()) == 0) return MoveResult::Moved;
      (void)::unlink(to.c_str());  // the original still stands under its name
      return MoveResult::Failed;
    }
    if (errno == EEXIST) return MoveResult::TargetTaken;
    // File systems without hard links: check, then rename.
    if (Exists(to)) return MoveResult::TargetTaken;
    return ::rename(from.c_str(), to.c_str()) == 0 ? MoveResult::Moved : MoveResult::Failed;
  }
};

}  // namespace

FileSystem& FileSystem::Default() {
  static PosixFileSystem posix;
  return posix;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace kiv
