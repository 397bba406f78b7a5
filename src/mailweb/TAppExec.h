// Starts an outside program, detached or waiting for it to end, and says in words why a start
// failed. Whoever starts a program owns its TAppExec; the started program belongs to nobody.
//
// On Linux the program gets ExeName as its name and each line of ExeParams as one argument (no
// shell is involved, so blanks in a parameter need no quoting); on Windows they make one command
// line, joined by blanks. A failed start leaves the system's reason in ErrNo, as the classic
// codes: 2 not found, 3 path not found, 5 access denied, 8 out of memory, 11 not an executable
// (Windows gives these itself; on Linux errno is mapped onto them, 32 for any other failure).
#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace kiv {

class EAppExec : public std::runtime_error {
 public:
  explicit EAppExec(const QString& text) : std::runtime_error(text.toStdString()) {}
  QString Text() const { return QString::fromStdString(what()); }
};
// Changing to the working folder failed; carries the system's message.
class EAppExecChDir final : public EAppExec {
 public:
  using EAppExec::EAppExec;
};
// Starting the program failed; carries GetErrorString().
class EAppExecWinExec final : public EAppExec {
 public:
  using EAppExec::EAppExec;
};

enum class TExecWindowState { Normal = 1, Minimized = 2, Maximized = 3 };

class TAppExec {
 public:
  // Starts the program; throws EAppExecChDir or EAppExecWinExec.
  void Execute();
  // ErrNo -1, no program, no folder, no parameters.
  void Clear();
  QString GetErrorString() const { return ErrorText(errNo_); }
  static QString ErrorText(int errNo);
  // The classic code for a system error number (errno on Linux).
  static int MapSystemError(int systemError);

  // The working folder. A trailing separator is dropped, except where it is the whole root
  // ("/", or "\" and a drive root such as "C:\" on Windows).
  void SetExePath(const QString& path);
  const QString& ExePath() const { return exePath_; }
  void SetExeParams(const QStringList& params) { ExeParams = params; }
  // -1 before any start, 0 after a waited start, the mapped code after a failed start.
  int ErrNo() const { return errNo_; }

  QString ExeName;
  QStringList ExeParams;
  bool ChangeDir = true;
  bool Wait = false;
  // How the program's window should come up; honoured where the system lets a starter choose.
  TExecWindowState WindowState = TExecWindowState::Normal;

 private:
  // Starts the program; 0 or the system's error number.
  int Start();

  QString exePath_;
  int errNo_ = -1;
};

}  // namespace kiv
