// The "Recording memory full" window: shown when a recording cannot start, or has just been
// stopped and saved, because the cassette holds its ten minutes. It says how to make room and
// closes with its one button (or Escape). The panel makes one when needed, runs it modally
// through its dialogs service and frees it again; the window places itself in the middle of the
// screen it opens on.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace kiv {

class TLimitForm : public QDialog {
  Q_OBJECT

 public:
  explicit TLimitForm(QWidget* parent = nullptr);

  QLabel* Label1;  // what happened (maroon)
  QLabel* Label2;  // export first ...
  QLabel* Label4;  // ... this way
  QLabel* Label3;  // how to delete
  QFrame* Bevel1;
  QLabel* Memo1;  // three bold lines about the recorder
  QPushButton* btnClose;

  void setVisible(bool visible) override;
};

}  // namespace kiv
