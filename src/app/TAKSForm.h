// The "Available Keyboard Shortcuts" window: one page of key and function pairs for each state of
// the tape (stopped, playing, recording). The panel makes it, picks the page for the state it is
// in, shows it modally through its dialogs service and frees it; F11 in the window asks the panel
// for the help page (HelpRequested), which the panel opens through its desktop launcher.
#pragma once

#include <QDialog>

class QPushButton;
class QTabWidget;

namespace kiv {

enum class ShortcutPage { Stop, Playing, Recording };

class TAKSForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 511;
  static constexpr int kClientHeight = 269;

  explicit TAKSForm(QWidget* parent = nullptr);

  void SelectPage(ShortcutPage page);

  QTabWidget* PageControl1;  // pages in ShortcutPage order
  QPushButton* Button1;      // "Close"

  void setVisible(bool visible) override;

 Q_SIGNALS:
  void HelpRequested();

 protected:
  void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace kiv
