#include "mailweb/TAppExec.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <array>
#include <cerrno>
#include <string>
#include <vector>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kiv {
namespace {

struct ErrorEntry {
  int code;
  const char* text;
};

constexpr std::array<ErrorEntry, 19> kErrorTexts{{
    {-1, "No execution"},
    {0, "System was out of memory, executable file was corrupt, or relocations were invalid"},
    {2, "File was not found"},
    {3, "Path was not found"},
    {5, "Attempt was made to dynamically link to a task, or there was a sharing or network-protection error"},
    {6, "Library required separate data segments for each task"},
    {8, "There was insufficient memory to start the application"},
    {10, "Windows version was incorrect"},
    {11, "Executable file was invalid. Either it was not a Windows application or there was an error in the .EXE image"},
    {12, "Application was designed for a different operating system"},
    {13, "Application was designed for MS-DOS 4.0"},
    {14, "Type of executable file was unknown"},
    {15, "Attempt was made to load a real-mode application (developed for an earlier version of Windows)"},
    {16, "Attempt to load second instance of an executable containing multiple data segments not marked read-only"},
    {19, "Attempt was made to load a compressed executable file. The file must be decompressed before it can be loaded"},
    {20, "Dynamic-link library (DLL) file was invalid. One of the DLLs required to run this application was corrupt"},
    {21, "Application requires 32-bit extensions"},
    {32, "Executable file error"},
    {-2, ""},
}};

}  // namespace

QString TAppExec::ErrorText(int errNo) {
  if (errNo >= 32) errNo = 32;
  for (const ErrorEntry& entry : kErrorTexts) {
    if (entry.code == errNo) return QString::fromLatin1(entry.text);
  }
  return {};
}

int TAppExec::MapSystemError(int systemError) {
#ifdef Q_OS_WIN
  return systemError;  // already one of the classic codes
#else
  switch (systemError) {
    case 0: return 0;
    case ENOENT: return 2;
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG: return 3;
    case EACCES:
    case EPERM:
    case ETXTBSY: return 5;
    case ENOMEM:
    case E2BIG:
    case EAGAIN: return 8;
    case ENOEXEC:
    case ELIBBAD: return 11;
    default: return 32;
  }
#endif
}

void TAppExec::Clear() {
  errNo_ = -1;
  ExeName.clear();
  exePath_.clear();
  ExeParams.clear();
}

void TAppExec::SetExePath(const QString& path) {
  exePath_ = path;
  auto isSeparator = [](QChar c) {
#ifdef Q_OS_WIN
    return c == u'\\' || c == u'/';
#else
    return c == u'/';
#endif
  };
  if (exePath_.size() <= 1 || !isSeparator(exePath_.back())) return;
#ifdef Q_OS_WIN
  if (exePath_.size() == 3 && exePath_[1] == u':' && exePath_[0].isLetter()) return;
#endif
  exePath_.chop(1);
}

void TAppExec::Execute() {
  if (ChangeDir && !exePath_.isEmpty() && !QDir::setCurrent(exePath_)) {
    const bool exists = QFileInfo(exePath_).exists();
#ifdef Q_OS_WIN
    const int why = exists ? ERROR_DIRECTORY : ERROR_PATH_NOT_FOUND;
#else
    const int why = exists ? ENOTDIR : ENOENT;
#endif
    throw EAppExecChDir(qt_error_string(why) + QStringLiteral(": ") + exePath_);
  }
  const int systemError = Start();
  if (systemError != 0) {
    errNo_ = MapSystemError(systemError);
    throw EAppExecWinExec(GetErrorString());
  }
  if (Wait) errNo_ = 0;
}

#ifdef Q_OS_WIN

int TAppExec::Start() {
  // One command line: the name, then each parameter after a blank.
  QString line = ExeName;
  for (const QString& param : ExeParams) line += u' ' + param;
  std::wstring command = line.toStdWString();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = WORD(WindowState);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                      NORMAL_PRIORITY_CLASS | CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process)) {
    return int(GetLastError());
  }
  if (Wait) WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

#else

int TAppExec::Start() {
  // The program is found before the fork, so the child only calls what is safe after a fork in
  // a program with threads.
  std::string program = QFile::encodeName(ExeName).toStdString();
  if (!ExeName.contains(u'/')) {
    const QString found = QStandardPaths::findExecutable(ExeName);
    if (found.isEmpty()) {
      // Not on PATH as an executable: one that is there but may not be run says so itself.
      for (const QString& folder : qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts)) {
        if (QFileInfo(folder + u'/' + ExeName).isFile()) return EACCES;
      }
      return ENOENT;
    }
    program = QFile::encodeName(found).toStdString();
  }
  std::vector<std::string> arguments{QFile::encodeName(ExeName).toStdString()};
  for (const QString& param : ExeParams) arguments.push_back(param.toLocal8Bit().toStdString());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  // The child reports a failed exec through the pipe; a successful exec closes it empty.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return errno;
  const pid_t child = fork();
  if (child < 0) {
    const int why = errno;
    close(report[0]);
    close(report[1]);
    return why;
  }
  if (child == 0) {
    if (!Wait) {
      // Detached: a grandchild runs the program, so it never waits as our zombie.
      const pid_t grandchild = fork();
      if (grandchild != 0) {
        if (grandchild < 0) {
          const int why = errno;
          (void)!write(report[1], &why, sizeof why);
        }
        _exit(0);
      }
      setsid();
    }
    execv(program.c_str(), argv.data());
    const int why = errno;
    (void)!write(report[1], &why, sizeof why);
    _exit(127);
  }
  close(report[1]);
  int why = 0;
  ssize_t got;
  do {
    got = read(report[0], &why, sizeof why);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  if (got != sizeof why) why = 0;
  // Detached, this reaps the go-between at once; waiting, it is the program's own end.
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return why;
}

#endif

}  // namespace kiv
