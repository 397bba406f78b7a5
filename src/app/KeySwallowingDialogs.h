// The panel's view of the dialogs service. Every box or dialog the panel puts up is closed by a
// key press or a click; a key that closes one must not go on to act on the panel when its
// release arrives there (the Enter that picks a message would otherwise start playback). So each
// box and dialog, whoever in the panel opens it, marks the next key the panel sees as swallowed.
#pragma once

#include "platform/Dialogs.h"

namespace kiv {

class KeySwallowingDialogs final : public Dialogs {
 public:
  KeySwallowingDialogs(Dialogs& dialogs, bool& swallowNextKey)
      : dialogs_(dialogs), swallowNextKey_(swallowNextKey) {}

  int MessageBox(const QString& text, const QString& caption, int flags) override {
    swallowNextKey_ = true;
    return dialogs_.MessageBox(text, caption, flags);
  }
  void ShowMessage(const QString& text) override {
    swallowNextKey_ = true;
    dialogs_.ShowMessage(text);
  }
  int ExecModal(QDialog& dialog) override {
    swallowNextKey_ = true;
    return dialogs_.ExecModal(dialog);
  }
  QString GetSaveFileName(const FileDialogOptions& options) override {
    swallowNextKey_ = true;
    return dialogs_.GetSaveFileName(options);
  }
  QString GetOpenFileName(const FileDialogOptions& options) override {
    swallowNextKey_ = true;
    return dialogs_.GetOpenFileName(options);
  }
  void SetPanel(QWidget* panel) override { dialogs_.SetPanel(panel); }

 private:
  Dialogs& dialogs_;
  bool& swallowNextKey_;
};

}  // namespace kiv
