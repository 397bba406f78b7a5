// The one way the recorder puts a message box or a modal dialog in front of the user. Whoever
// shows something goes through this service, which does the topmost dance around it: when the
// "OnTop" setting is "ON" the panel leaves the topmost band while the dialog is up and returns
// afterwards. The front panel owns the service; boxes and dialogs belong to the panel.
//
// Message boxes keep the flags and answers of the Windows message box, so callers read like the
// behaviour they implement ("292": Yes/No, question icon, No as default).
#pragma once

#include <QString>
#include <QtGlobal>

class QDialog;
class QWidget;

// windows.h makes MessageBox a macro; in code that uses this service the name is ours.
#ifdef MessageBox
#undef MessageBox
#endif

namespace kiv {

// The values are the Windows ones; where windows.h already defined them, its macros stand in.
#ifndef MB_OK
inline constexpr int MB_OK = 0;
#endif
#ifndef MB_YESNO
inline constexpr int MB_YESNO = 4;
#endif
#ifndef MB_ICONHAND
inline constexpr int MB_ICONHAND = 16;
#endif
#ifndef MB_ICONQUESTION
inline constexpr int MB_ICONQUESTION = 32;
#endif
#ifndef MB_ICONEXCLAMATION
inline constexpr int MB_ICONEXCLAMATION = 48;
#endif
#ifndef MB_ICONASTERISK
inline constexpr int MB_ICONASTERISK = 64;
#endif
#ifndef MB_DEFBUTTON2
inline constexpr int MB_DEFBUTTON2 = 256;
#endif
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDYES
inline constexpr int IDYES = 6;
#endif
#ifndef IDNO
inline constexpr int IDNO = 7;
#endif

// The masks that split a flags value into its buttons, icon and default button.
inline constexpr int kButtonsMask = 0x0F;
inline constexpr int kIconMask = 0xF0;
inline constexpr int kDefaultButtonMask = 0xF00;

// The application title: the caption of plain messages, the start of every other caption.
inline QString ApplicationTitle() { return QStringLiteral("Kiv Sound Recorder"); }

// What a file dialog starts with. `filter` is in Qt's form, "WAV Files (*.wav);;All (*)";
// `defaultSuffix` ("wav" or "*.wav") is added to a typed name that has none.
struct FileDialogOptions {
  QString caption;
  QString folder;
  QString fileName;
  QString filter;
  QString defaultSuffix;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A message box captioned `caption` showing `text` ("\r\n" is a line break), with the buttons,
  // icon and default button of `flags`. IDOK, IDYES or IDNO for the button chosen; closing a
  // Yes/No box without choosing answers IDNO.
  virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;

  // A plain message with an OK button, captioned with the application title.
  virtual void ShowMessage(const QString& text) = 0;

  // Runs `dialog` modally; its result (QDialog::Accepted, QDialog::Rejected or its own).
  virtual int ExecModal(QDialog& dialog) = 0;

  // The chosen path, or the empty text when the user cancelled. The save dialog never asks
  // about overwriting itself: callers ask in their own words.
  virtual QString GetSaveFileName(const FileDialogOptions& options) = 0;
  virtual QString GetOpenFileName(const FileDialogOptions& options) = 0;
  // The window that owns the boxes and leaves the topmost band while one is up; the panel hands
  // itself over as soon as it exists.
  virtual void SetPanel(QWidget* panel) = 0;

 protected:
  Dialogs() = default;
  Dialogs(const Dialogs&) = delete;
  Dialogs& operator=(const Dialogs&) = delete;
};

}  // namespace kiv
