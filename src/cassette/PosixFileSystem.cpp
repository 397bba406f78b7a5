// The cassette store's file access on POSIX systems, and the free space of its volumes.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "cassette/DiskSpace.h"
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

// The absolute, link-free form of `path`, or of its nearest existing folder when it does not
// exist yet (a file is measured where it will be made); "" when nothing of it exists.
std::string NearestExistingPath(const std::string& path) {
  std::string folder = path.empty() ? "." : path;
  for (;;) {
    char resolved[PATH_MAX];
    if (::realpath(folder.c_str(), resolved)) return resolved;
    const size_t slash = folder.find_last_of('/');
    if (slash == std::string::npos) {
      if (folder == ".") return {};  // the current folder itself is gone
      folder = ".";
    } else if (slash == 0) {
      if (folder == "/") return {};
      folder = "/";
    } else {
      folder.erase(slash);
    }
  }
}

// /proc/self/mountinfo writes a space, tab, newline or backslash in a mount point as \ooo.
std::string UnescapedMountPoint(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      out.push_back(char(std::strtol(field.substr(i + 1, 3).c_str(), nullptr, 8)));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

bool Contains(const std::string& mountPoint, const std::string& folder) {
  if (mountPoint == "/") return true;
  return folder.compare(0, mountPoint.size(), mountPoint) == 0 &&
         (folder.size() == mountPoint.size() || folder[mountPoint.size()] == '/');
}

}  // namespace

double FreeMiBOn(const std::string& path) {
  const std::string existing = NearestExistingPath(path);
  struct statvfs volume {};
  if (existing.empty() || ::statvfs(existing.c_str(), &volume) != 0) return -1.0;
  const double bytes = double(volume.f_bavail) * double(volume.f_frsize);
  return bytes * (1.0 / 1024) * (1.0 / 1024);
}

std::string VolumeNameOf(const std::string& path) {
  const std::string folder = NearestExistingPath(path);
  if (folder.empty()) return {};
  // The innermost mount point that holds the folder; the table lists mounts in the order they
  // were made, so a later one over the same point wins.
  std::string best;
  std::ifstream table("/proc/self/mountinfo");
  for (std::string line; std::getline(table, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint;
    if (!(fields >> id >> parent >> device >> root >> mountPoint)) continue;
    mountPoint = UnescapedMountPoint(mountPoint);
    if (Contains(mountPoint, folder) && mountPoint.size() >= best.size()) best = mountPoint;
  }
  if (!best.empty()) return VolumeNameOfRoot(best);
  // Without the table (not Linux, or no /proc): climb while the device stays the same.
  struct stat here {};
  if (::stat(folder.c_str(), &here) != 0) return {};
  std::string mountPoint = folder;
  while (mountPoint != "/") {
    const size_t slash = mountPoint.find_last_of('/');
    const std::string parent = slash == 0 ? "/" : mountPoint.substr(0, slash);
    struct stat above {};
    if (::stat(parent.c_str(), &above) != 0 || above.st_dev != here.st_dev) break;
    mountPoint = parent;
  }
  return VolumeNameOfRoot(mountPoint);
}

FileSystem& FileSystem::Default() {
  static PosixFileSystem posix;
  return posix;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace kiv
