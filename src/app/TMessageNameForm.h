// The small modal window that asks for a text: a message's name, or the ticker's custom text.
// Its caption and prompt are set by the caller; OK (or Enter) keeps at most 128 characters of
// the edit, Cancel empties the edit so the caller sees that nothing was chosen.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kiv {

class TMessageNameForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxTextLength = 128;

  explicit TMessageNameForm(QWidget* parent = nullptr);

  void SetPrompt(const QString& prompt);
  QString Prompt() const;
  void SetText(const QString& text);
  QString Text() const;

  QLineEdit* msgN;
  QLabel* Label1;
  QPushButton* Button1;  // "Ok"
  QPushButton* Button2;  // "Cancel"

 Q_SIGNALS:
  // F11: the help page.
  void HelpRequested();

 public Q_SLOTS:
  // Cancel, Escape and closing the window all leave the edit empty.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Confirm();
};

}  // namespace kiv
