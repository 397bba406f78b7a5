// The cassette store's file access on Windows, and the free space of its volumes.
//
// The same guarantees as on POSIX: a read-write open denies other writers (here by the share
// mode, which the system enforces on every program, not only on ours), Sync returns once the
// bytes are on the disk, and Replace swaps the cassette for its packed copy in one step.
// Paths arrive as UTF-8 and go to the wide-character API, so names outside the ANSI code page
// still work.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "cassette/DiskSpace.h"
#include "cassette/File.h"

namespace kiv {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()),
                                     nullptr, 0);
  // Bytes that are not UTF-8 name no file; an empty name fails the call that uses it.
  if (length <= 0) return {};
  std::wstring wide(size_t(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(),
                        length);
  return wide;
}

std::string Narrow(const wchar_t* wide, int length) {
  int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string result(size_t(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide, length, result.data(), bytes, nullptr, nullptr);
  return result;
}

std::string ErrorText(DWORD code) {
  wchar_t* text = nullptr;
  DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string result;
  if (length > 0) {
    result = Narrow(text, int(length));
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
      result.pop_back();
  }
  ::LocalFree(text);
  return result.empty() ? "system error " + std::to_string(code) : result;
}

// Positioned transfers go through an OVERLAPPED offset, so no shared file pointer is involved.
OVERLAPPED At(uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = DWORD(offset & 0xFFFFFFFFu);
  at.OffsetHigh = DWORD(offset >> 32);
  return at;
}

// ReadFile and WriteFile take a DWORD count; larger transfers go in pieces.
constexpr size_t kMaxChunk = 1u << 30;

class WinFile final : public File {
 public:
  WinFile(std::string path, HANDLE handle) : File(std::move(path)), handle_(handle) {}
  ~WinFile() override { ::CloseHandle(handle_); }

  uint64_t Length() const override {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(handle_, &size) ? uint64_t(size.QuadPart) : 0;
  }

  bool ReadAt(uint64_t offset, void* data, size_t size) const override {
    auto* out = static_cast<uint8_t*>(data);
    while (size > 0) {
      OVERLAPPED at = At(offset);
      DWORD got = 0;
      DWORD want = DWORD(size < kMaxChunk ? size : kMaxChunk);
      if (!::ReadFile(handle_, out, want, &got, &at) || got == 0) return false;
      out += got;
      offset += got;
      size -= got;
    }
    return true;
  }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    const auto* in = static_cast<const uint8_t*>(data);
    while (size > 0) {
      OVERLAPPED at = At(offset);
      DWORD put = 0;
      DWORD want = DWORD(size < kMaxChunk ? size : kMaxChunk);
      if (!::WriteFile(handle_, in, want, &put, &at) || put == 0) return false;
      in += put;
      offset += put;
      size -= put;
    }
    return true;
  }

  bool Truncate(uint64_t length) override {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = LONGLONG(length);
    return ::SetFileInformationByHandle(handle_, FileEndOfFileInfo, &end, sizeof end) != 0;
  }

  bool Sync() override { return ::FlushFileBuffers(handle_) != 0; }

 private:
  HANDLE handle_;
};

bool Attributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA* data) {
  return ::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, data) != 0;
}

class WinFileSystem final : public FileSystem {
 public:
  Status Open(const std::string& path, File::Mode mode, std::unique_ptr<File>* file) override {
    file->reset();
    DWORD access = GENERIC_READ;
    // A reader lets everybody in; a writer lets others read but never write, and it is refused
    // while anybody else holds the file for writing.
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    DWORD disposition = OPEN_EXISTING;
    if (mode != File::Mode::ReadOnly) {
      access |= GENERIC_WRITE;
      share = FILE_SHARE_READ | FILE_SHARE_DELETE;
    }
    // Emptied only once the handle is ours, so a file another writer has open is left alone.
    if (mode == File::Mode::CreateReadWrite) disposition = OPEN_ALWAYS;
    HANDLE handle = ::CreateFileW(Wide(path).c_str(), access, share, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      DWORD err = ::GetLastError();
      if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
        return Status::Error(StatusCode::NotFound, path + ": " + ErrorText(err));
      if (err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION)
        return Status::Error(StatusCode::Unavailable, path + ": in use by another program");
      return Status::Error(StatusCode::Unavailable, path + ": " + ErrorText(err));
    }
    // A folder, a device or a pipe opened by name is no cassette.
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      ::CloseHandle(handle);
      return Status::Error(StatusCode::Unavailable, path + ": not a regular file");
    }
    auto opened = std::make_unique<WinFile>(path, handle);
    if (mode == File::Mode::CreateReadWrite && !opened->Truncate(0))
      return Status::Error(StatusCode::IoError, "Cannot empty " + path);
    *file = std::move(opened);
    return Status::Ok();
  }

  bool Exists(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return Attributes(path, &data);
  }

  uint64_t Size(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!Attributes(path, &data)) return 0;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }

  bool Remove(const std::string& path) override {
    if (::DeleteFileW(Wide(path).c_str())) return true;
    DWORD err = ::GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
  }

  bool Replace(const std::string& from, const std::string& to) override {
    // Write-through: the call returns once the new entry is on the disk, the folder sync of POSIX.
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  MoveResult MoveNoReplace(const std::string& from, const std::string& to) override {
    // Without MOVEFILE_REPLACE_EXISTING the system refuses a taken name in the same step.
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH))
      return MoveResult::Moved;
    DWORD err = ::GetLastError();
    return err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS ? MoveResult::TargetTaken
                                                                   : MoveResult::Failed;
  }
};

// The root of the volume holding `path` ("C:\", "\\server\share\", or a folder a volume is
// mounted on); the path need not exist. "" when the system cannot tell.
std::wstring VolumeRootOf(const std::string& path) {
  const std::wstring wide = Wide(path.empty() ? "." : path);
  wchar_t root[MAX_PATH + 1];
  if (wide.empty() || !::GetVolumePathNameW(wide.c_str(), root, MAX_PATH + 1)) return {};
  return root;
}

}  // namespace

double FreeMiBOn(const std::string& path) {
  const std::wstring root = VolumeRootOf(path);
  ULARGE_INTEGER available{};
  if (root.empty() || !::GetDiskFreeSpaceExW(root.c_str(), &available, nullptr, nullptr)) return -1.0;
  return double(available.QuadPart) * (1.0 / 1024) * (1.0 / 1024);
}

std::string VolumeNameOf(const std::string& path) {
  const std::wstring root = VolumeRootOf(path);
  if (!root.empty()) return VolumeNameOfRoot(Narrow(root.c_str(), int(root.size())));
  // A drive the system does not know still has the letter the path names.
  return path.size() >= 2 && path[1] == ':' ? VolumeNameOfRoot(path.substr(0, 2)) : std::string();
}

FileSystem& FileSystem::Default() {
  static WinFileSystem windows;
  return windows;
}

// Windows takes both separators.
std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) {
    // "C:name" lies in the current folder of drive C.
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
  }
  return path.substr(0, slash + 1);
}

}  // namespace kiv
