// The Direct Message Selector: a list of the cassette's messages, one line each, to jump to one,
// delete it or rename it. The window only shows and reports; the panel owns the cassette. It
// fills the list (SetLines), marks the current message (SelectLine), sets the caption
// (SetCaptionHint), runs the window modally and then reads SelectorResult. A delete or rename
// from the right-click menu comes back as a signal; the panel does the work with its own
// confirmation and name window and hands the new lines back through SetLines while the selector
// stays open.
#pragma once

#include <QDialog>
#include <QStringList>

class QAction;
class QLabel;
class QListWidget;
class QMenu;

namespace kiv {

class TNoteMessage : public QDialog {
  Q_OBJECT

 public:
  // Past this height the list scrolls instead of the window growing.
  static constexpr int kMaxHeight = 500;

  explicit TNoteMessage(QWidget* parent = nullptr);

  // Fills the list with `lines` and fits the window to them: as high as the lines, or kMaxHeight
  // with a scrolling list, and as wide as the widest. Keeps the selected row where it still
  // exists, else selects the last. No lines leave the window's size alone.
  void SetLines(const QStringList& lines);
  // Selects the line `index` counts from 0 (the current message's number - 1).
  void SelectLine(int index);
  // "Messages", or "Messages (" + hint + ")" when there is a hint; the window widens to show it.
  void SetCaptionHint(const QString& hint);
  // The line chosen with a click, Enter or "Go To Message"; -1 until then, and after Escape.
  int SelectorResult() const { return result_; }

  QListWidget* MessagesBox;
  QLabel* Label1;  // hidden: measures the lines in the list's font
  QMenu* PopupMenu1;
  QAction* gotomessage;  // "Go To Message"
  QAction* Delete3;      // "Delete Message"
  QAction* Edit3;        // "Edit Message Name"

 Q_SIGNALS:
  void DeleteRequested(int index);
  void EditNameRequested(int index);
  void HelpRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Choose(int index);
  // The window's size for the lines measured last and the caption's width.
  void FitWindow();

  int result_ = -1;
  int linesWidth_ = 0;
  int linesHeight_ = 0;
};

}  // namespace kiv
