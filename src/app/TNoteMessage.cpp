// The message selector window.
#include "app/TNoteMessage.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace kiv {
namespace {

// Room beside the widest line: for the list's item margins, and with a scrolling list also for
// its scroll bar.
constexpr int kFittedSpare = 35;
constexpr int kScrollingSpare = 50;
// Room beside the caption for the title bar's close button.
constexpr int kCaptionSpare = 30;
// Extra height of each line over the measured text, so the lines do not touch.
constexpr int kLineSpare = 3;

}  // namespace

TNoteMessage::TNoteMessage(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("NoteMessage"));
  setWindowTitle(QStringLiteral("Messages"));
  setModal(true);

  MessagesBox = new QListWidget(this);
  MessagesBox->setObjectName(QStringLiteral("MessagesBox"));
  // Without a frame the window's inside is the list's, so lines measured to fit do fit.
  MessagesBox->setFrameShape(QFrame::NoFrame);
  MessagesBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MessagesBox->setSelectionMode(QAbstractItemView::SingleSelection);
  MessagesBox->viewport()->installEventFilter(this);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(MessagesBox->font());
  Label1->hide();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MessagesBox);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  gotomessage = PopupMenu1->addAction(QStringLiteral("Go To Message"));
  gotomessage->setObjectName(QStringLiteral("gotomessage"));
  PopupMenu1->addSeparator();
  Delete3 = PopupMenu1->addAction(QStringLiteral("Delete Message"));
  Delete3->setObjectName(QStringLiteral("Delete3"));
  Edit3 = PopupMenu1->addAction(QStringLiteral("Edit Message Name"));
  Edit3->setObjectName(QStringLiteral("Edit3"));

  connect(gotomessage, &QAction::triggered, this, [this] { Choose(MessagesBox->currentRow()); });
  connect(Delete3, &QAction::triggered, this,
          [this] { Q_EMIT DeleteRequested(MessagesBox->currentRow()); });
  connect(Edit3, &QAction::triggered, this,
          [this] { Q_EMIT EditNameRequested(MessagesBox->currentRow()); });
  // A left click chooses; the right button never reaches the list (see eventFilter). Enter in the
  // list activates the current line.
  const auto chooseLine = [this](const QModelIndex& index) { Choose(index.row()); };
  connect(MessagesBox, &QListWidget::clicked, this, chooseLine);
  connect(MessagesBox, &QListWidget::activated, this, chooseLine);
}

void TNoteMessage::SetLines(const QStringList& lines) {
  const int kept = MessagesBox->currentRow();
  MessagesBox->clear();
  // A list emptied by deleting its last message keeps the window as it was until the panel
  // closes it, rather than shrinking to nothing.
  if (lines.isEmpty()) return;
  linesWidth_ = 0;
  linesHeight_ = 0;
  for (const QString& line : lines) {
    Label1->setText(line);
    const QSize text = Label1->sizeHint();
    linesWidth_ = std::max(linesWidth_, text.width());
    linesHeight_ += text.height() + kLineSpare;
    auto* item = new QListWidgetItem(line, MessagesBox);
    item->setSizeHint(QSize(text.width(), text.height() + kLineSpare));
  }
  SelectLine(std::clamp(kept, 0, int(lines.size()) - 1));
  FitWindow();
}

void TNoteMessage::SelectLine(int index) {
  if (index < 0 || index >= MessagesBox->count()) return;
  MessagesBox->setCurrentRow(index);
  MessagesBox->scrollToItem(MessagesBox->currentItem());
}

void TNoteMessage::SetCaptionHint(const QString& hint) {
  setWindowTitle(hint.isEmpty() ? QStringLiteral("Messages")
                                : QStringLiteral("Messages (") + hint + u')');
  FitWindow();
}

void TNoteMessage::FitWindow() {
  int width = linesWidth_ + kFittedSpare;
  int height = linesHeight_;
  if (linesHeight_ >= kMaxHeight) {
    width = linesWidth_ + kScrollingSpare;
    height = kMaxHeight;
  }
  // Title bars use a bold font on most desktops; measured that way the caption is never cut.
  QFont captionFont = font();
  captionFont.setBold(true);
  const int captionWidth = QFontMetrics(captionFont).horizontalAdvance(windowTitle());
  width = std::max(width, captionWidth + kCaptionSpare);
  setFixedSize(width, height);
}

void TNoteMessage::Choose(int index) {
  if (index < 0) return;
  result_ = index;
  accept();
}

bool TNoteMessage::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched != MessagesBox->viewport() ||
      (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
       type != QEvent::MouseButtonDblClick)) {
    return QDialog::eventFilter(watched, event);
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::RightButton) return false;
  // The right button selects the line under the mouse and offers what can be done with it; a
  // press beside the lines does nothing. The list never sees it, so it is never taken as a choice.
  const int row = MessagesBox->indexAt(mouse->position().toPoint()).row();
  if (type == QEvent::MouseButtonPress && row >= 0) {
    MessagesBox->setCurrentRow(row);
    PopupMenu1->popup(mouse->globalPosition().toPoint());
  }
  return true;
}

void TNoteMessage::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F11 && !event->isAutoRepeat()) {
    Q_EMIT HelpRequested();
    return;
  }
  QDialog::keyReleaseEvent(event);
}

void TNoteMessage::showEvent(QShowEvent* event) {
  result_ = -1;
  QDialog::showEvent(event);
  MessagesBox->setFocus();
}

}  // namespace kiv
