// POSIX implementation of the cassette's file access.
#include "cassette/File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace kiv {
namespace {

std::atomic<IoFaults*> g_faults{nullptr};

bool Fails(IoOp op, const std::string& path) {
  IoFaults* faults = g_faults.load();
  return faults != nullptr && faults->ShouldFail(op, path);
}

}  // namespace

void SetIoFaults(IoFaults* faults) { g_faults.store(faults); }

File::~File() { ::close(fd_); }

std::unique_ptr<File> File::Open(const std::string& path, Mode mode, Status* status) {
  *status = Status::Ok();
  if (mode == Mode::CreateReadWrite && Fails(IoOp::Create, path)) {
    *status = Status::Error(StatusCode::IoError, "Cannot create " + path);
    return nullptr;
  }
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::ReadOnly: flags |= O_RDONLY; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
    // Emptied only once the lock is held, so a file another writer has open is left alone.
    case Mode::CreateReadWrite: flags |= O_RDWR | O_CREAT; break;
  }
  int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) {
    int err = errno;
    *status = Status::Error(err == ENOENT ? StatusCode::NotFound : StatusCode::Unavailable,
                            path + ": " + std::strerror(err));
    return nullptr;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    *status = Status::Error(StatusCode::Unavailable, path + ": not a regular file");
    return nullptr;
  }
  if (mode != Mode::ReadOnly && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    *status = Status::Error(StatusCode::Unavailable, path + ": in use by another program");
    return nullptr;
  }
  std::unique_ptr<File> file(new File(path, fd));
  if (mode == Mode::CreateReadWrite && !file->Truncate(0)) {
    *status = Status::Error(StatusCode::IoError, "Cannot empty " + path);
    return nullptr;
  }
  return file;
}

uint64_t File::Length() const {
  struct stat info {};
  return ::fstat(fd_, &info) == 0 ? uint64_t(info.st_size) : 0;
}

bool File::ReadAt(uint64_t offset, void* data, size_t size) const {
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

bool File::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (Fails(IoOp::Write, path_)) return false;
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

bool File::Truncate(uint64_t length) {
  if (Fails(IoOp::Truncate, path_)) return false;
  return ::ftruncate(fd_, off_t(length)) == 0;
}

bool File::Sync() {
  if (Fails(IoOp::Sync, path_)) return false;
  return ::fsync(fd_) == 0;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

uint64_t FileSize(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? uint64_t(info.st_size) : 0;
}

bool RemoveFile(const std::string& path) {
  if (Fails(IoOp::Remove, path)) return false;
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

MoveResult MoveFileNoReplace(const std::string& from, const std::string& to) {
  if (Fails(IoOp::Rename, to)) return MoveResult::Failed;
  // A hard link cannot overwrite, so a name taken by another file is never lost.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return MoveResult::Moved;
    ::unlink(to.c_str());
    return MoveResult::Failed;
  }
  if (errno == EEXIST) return MoveResult::TargetTaken;
  // File systems without hard links: check, then rename.
  if (FileExists(to)) return MoveResult::TargetTaken;
  return ::rename(from.c_str(), to.c_str()) == 0 ? MoveResult::Moved : MoveResult::Failed;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
  if (Fails(IoOp::Rename, to)) return false;
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  // The rename itself is durable only once the folder's entry is on disk.
  std::string folder = FolderOf(to);
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace kiv
