#include "platform/QtDialogs.h"

#include <utility>

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "platform/TopmostDance.h"

namespace kiv {
namespace {

QMessageBox::Icon IconOf(int flags) {
  switch (flags & kIconMask) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

bool IsYesNo(int flags) { return (flags & kButtonsMask) == MB_YESNO; }

// Windows breaks lines with "\r\n"; a lone "\r" would show as a stray glyph.
QString PlainLines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

QString SuffixWithoutPattern(QString suffix) {
  while (suffix.startsWith(u'*') || suffix.startsWith(u'.')) suffix.remove(0, 1);
  return suffix;
}

}  // namespace

QtDialogs::QtDialogs(QWidget* panel, std::function<bool()> onTopSetting)
    : panel_(panel), onTopSetting_(std::move(onTopSetting)) {}

bool QtDialogs::OnTop() const { return onTopSetting_ && onTopSetting_(); }

int QtDialogs::MessageBox(const QString& text, const QString& caption, int flags) {
  TopmostDance dance(panel_, OnTop());

  QMessageBox box(IconOf(flags), caption, PlainLines(text), QMessageBox::NoButton, panel_);
  // Texts quote paths and user input; none of it is markup.
  box.setTextFormat(Qt::PlainText);
  if (IsYesNo(flags)) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton((flags & kDefaultButtonMask) == MB_DEFBUTTON2 ? QMessageBox::No
                                                                        : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
  box.exec();

  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    default:
      return IsYesNo(flags) ? IDNO : IDOK;
  }
}

void QtDialogs::ShowMessage(const QString& text) { MessageBox(text, ApplicationTitle(), MB_OK); }

int QtDialogs::ExecModal(QDialog& dialog) {
  TopmostDance dance(panel_, OnTop());
  return dialog.exec();
}

QString QtDialogs::GetSaveFileName(const FileDialogOptions& options) {
  return RunFileDialog(options, true);
}

QString QtDialogs::GetOpenFileName(const FileDialogOptions& options) {
  return RunFileDialog(options, false);
}

QString QtDialogs::RunFileDialog(const FileDialogOptions& options, bool save) {
  TopmostDance dance(panel_, OnTop());

  QFileDialog dialog(panel_, options.caption, options.folder, options.filter);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setDefaultSuffix(SuffixWithoutPattern(options.defaultSuffix));
  if (!options.fileName.isEmpty()) dialog.selectFile(options.fileName);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace kiv
