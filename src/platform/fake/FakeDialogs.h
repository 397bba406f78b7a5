// A dialogs service for tests. Nothing is shown: every call is recorded (what kind, caption,
// text, flags, and whether the panel left the topmost band for it and was back afterwards) and
// answered from queues the test fills. Given the panel and the "OnTop" question, it dances with
// the real panel exactly as the real service does, so a test sees the panel's flags change.
#pragma once

#include <functional>

#include <QList>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QWidget>

#include "platform/Dialogs.h"

namespace kiv {

class FakeDialogs final : public Dialogs {
 public:
  enum class Kind { MessageBox, ShowMessage, Modal, SaveFile, OpenFile };

  struct Call {
    Kind kind = Kind::MessageBox;
    QString caption;  // the box's caption, the dialog's window title, the file dialog's caption
    QString text;     // the box's text, or the file dialog's proposed file name
    int flags = 0;                    // message boxes only
    bool panelDropped = false;        // the panel left the topmost band for this call
    bool panelTopmostDuring = false;  // the panel's topmost state while the dialog was up
    bool panelTopmostAfter = false;   // ... and once it had closed
  };

  explicit FakeDialogs(QWidget* panel = nullptr, std::function<bool()> onTopSetting = {});

  void SetPanel(QWidget* panel) override { panel_ = panel; }

  int MessageBox(const QString& text, const QString& caption, int flags) override;
  void ShowMessage(const QString& text) override;
  int ExecModal(QDialog& dialog) override;
  QString GetSaveFileName(const FileDialogOptions& options) override;
  QString GetOpenFileName(const FileDialogOptions& options) override;

  // Answers for the next message boxes, in order; without one a box answers IDOK, or IDNO when
  // it asks Yes or No (the safe answer of every confirmation).
  void QueueAnswer(int answer) { answers_.enqueue(answer); }
  // Results of the next modal dialogs; without one a dialog is rejected, as if cancelled.
  void QueueModalResult(int result) { modalResults_.enqueue(result); }
  // Paths the next file dialogs choose; without one a file dialog is cancelled.
  void QueueFileName(const QString& path) { fileNames_.enqueue(path); }

  // When set, called with each modal dialog while it would be up, so a test can fill it in or
  // press its buttons; what it returns is the dialog's result (the queue is not used then).
  std::function<int(QDialog&)> onModal;

  const QList<Call>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The texts of the recorded message boxes and plain messages, in order.
  QStringList MessageTexts() const;

 private:
  bool OnTop() const;
  // Records a call around `answer`, which runs while the panel is danced out of the band.
  template <typename Answer>
  auto Record(Call call, Answer answer);

  QPointer<QWidget> panel_;
  std::function<bool()> onTopSetting_;
  QQueue<int> answers_;
  QQueue<int> modalResults_;
  QQueue<QString> fileNames_;
  QList<Call> calls_;
};

}  // namespace kiv
