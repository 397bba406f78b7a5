#include "platform/fake/FakeDialogs.h"

#include <utility>

#include <QDialog>

#include "platform/Topmost.h"
#include "platform/TopmostDance.h"

namespace kiv {

FakeDialogs::FakeDialogs(QWidget* panel, std::function<bool()> onTopSetting)
    : panel_(panel), onTopSetting_(std::move(onTopSetting)) {}

bool FakeDialogs::OnTop() const { return onTopSetting_ && onTopSetting_(); }

template <typename Answer>
auto FakeDialogs::Record(Call call, Answer answer) {
  decltype(answer()) result{};
  {
    TopmostDance dance(panel_, OnTop());
    call.panelDropped = dance.Dropped();
    call.panelTopmostDuring = IsTopmost(panel_);
    result = answer();
  }
  call.panelTopmostAfter = IsTopmost(panel_);
  calls_.append(std::move(call));
  return result;
}

int FakeDialogs::MessageBox(const QString& text, const QString& caption, int flags) {
  return Record(Call{Kind::MessageBox, caption, text, flags}, [&] {
    if (!answers_.isEmpty()) return answers_.dequeue();
    return (flags & kButtonsMask) == MB_YESNO ? IDNO : IDOK;
  });
}

void FakeDialogs::ShowMessage(const QString& text) {
  Record(Call{Kind::ShowMessage, ApplicationTitle(), text, MB_OK}, [] { return IDOK; });
}

int FakeDialogs::ExecModal(QDialog& dialog) {
  return Record(Call{Kind::Modal, dialog.windowTitle(), {}, 0}, [&] {
    if (onModal) return onModal(dialog);
    if (!modalResults_.isEmpty()) return modalResults_.dequeue();
    return static_cast<int>(QDialog::Rejected);
  });
}

QString FakeDialogs::GetSaveFileName(const FileDialogOptions& options) {
  return Record(Call{Kind::SaveFile, options.caption, options.fileName, 0},
                [&] { return fileNames_.isEmpty() ? QString() : fileNames_.dequeue(); });
}

QString FakeDialogs::GetOpenFileName(const FileDialogOptions& options) {
  return Record(Call{Kind::OpenFile, options.caption, options.fileName, 0},
                [&] { return fileNames_.isEmpty() ? QString() : fileNames_.dequeue(); });
}

QStringList FakeDialogs::MessageTexts() const {
  QStringList texts;
  for (const Call& call : calls_) {
    if (call.kind == Kind::MessageBox || call.kind == Kind::ShowMessage) texts.append(call.text);
  }
  return texts;
}

}  // namespace kiv
