// The dialogs service of the running program: QMessageBox and QFileDialog, owned by the panel.
// The panel may be given later than the service is made (the panel makes the service while it is
// being built); until then boxes have no owner and there is nothing to dance with.
#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"

namespace kiv {

class QtDialogs final : public Dialogs {
 public:
  // `onTopSetting` answers whether the "OnTop" setting is "ON"; it is asked before every dialog.
  QtDialogs(QWidget* panel, std::function<bool()> onTopSetting);

  void SetPanel(QWidget* panel) override { panel_ = panel; }

  int MessageBox(const QString& text, const QString& caption, int flags) override;
  void ShowMessage(const QString& text) override;
  int ExecModal(QDialog& dialog) override;
  QString GetSaveFileName(const FileDialogOptions& options) override;
  QString GetOpenFileName(const FileDialogOptions& options) override;

 private:
  bool OnTop() const;
  QString RunFileDialog(const FileDialogOptions& options, bool save);

  QPointer<QWidget> panel_;
  std::function<bool()> onTopSetting_;
};

}  // namespace kiv
