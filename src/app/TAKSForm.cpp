// The shortcut window. The pages are built from one table of texts, so a key that changes is
// changed in one place.
#include "app/TAKSForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <initializer_list>

namespace kiv {
namespace {

// One line of a page: two pairs of a key and what it does; a pair with no key leaves its place
// empty.
struct ShortcutLine {
  const char* key1;
  const char* function1;
  const char* key2;
  const char* function2;
};

struct ShortcutPageTexts {
  const char* title;
  const char* name;
  std::initializer_list<ShortcutLine> lines;
};

const std::array<ShortcutPageTexts, 3> kPages{{
    {"Stop Mode",
     "StopPage",
     {{"Enter", "PLAY", "Insert", "RECORD"},
      {"Alt+M", "MESSAGES", "Alt+S", "SETTINGS"},
      {"Page Up", "NEXT MESSAGE", "Page Down", "PREVIOUS MESSAGE"},
      {"Right Arrow", "FORWARD", "Left Arrow", "REWIND"},
      {"Ctr+[Alt]+Left Arrow", "ETP REWIND", "Ctr+[Alt]+Right Arrow", "ETP FORWARD"},
      {"Del", "DELETE MESSAGE", "Alt+V", "VOLUME CONTROLS (PLAYBACK)"},
      {"Up Arrow", "INCREASE VOLUME", "Down Arrow", "DECREASE VOLUME"},
      {"Esc", "OFF", "Alt+X", "EXIT PROGRAM"},
      {"F1", "HELP", "Alt+H", "HELP"},
      {"F11", "HELP", "F12", "THIS WINDOW"}}},
    {"Playing Mode",
     "PlayingPage",
     {{"Enter", "PLAY/PAUSE", "Backspace", "STOP"},
      {"Right Arrow", "FORWARD", "Left Arrow", "REWIND"},
      {"Page Up", "FAST PLAY", "Page Down", "SLOW PLAY"},
      {"Ctr+[Alt]+Left Arrow", "ETP REWIND", "Ctr+[Alt]+Right Arrow", "ETP FORWARD"},
      {"Alt+E", "SHOW ETP", "Alt+V", "VOLUME CONTROLS (PLAYBACK)"},
      {"Up Arrow", "INCREASE VOLUME", "Down Arrow", "DECREASE VOLUME"},
      {"Esc", "OFF", "Alt+X", "EXIT PROGRAM"},
      {"F1", "HELP", "Alt+H", "HELP"},
      {"F11", "HELP", "F12", "THIS WINDOW"}}},
    {"Recording Mode",
     "RecordingPage",
     {{"Insert", "RECORD/PAUSE", "Backspace", "STOP"},
      {nullptr, nullptr, "Alt+V", "VOLUME CONTROLS (RECORDING)"},
      {"Up Arrow", "INCREASE VOLUME", "Down Arrow", "DECREASE VOLUME"},
      {"Esc", "OFF", "Alt+X", "EXIT PROGRAM"},
      {"F1", "HELP", "Alt+H", "HELP"},
      {"F11", "HELP", "F12", "THIS WINDOW"}}},
}};

const QColor kKeyColour(0, 0, 128);  // navy
constexpr int kTextPixels = 11;

QLabel* PairLabel(const char* text, bool isKey, QWidget* page) {
  auto* label = new QLabel(QString::fromLatin1(text), page);
  label->setTextFormat(Qt::PlainText);
  if (isKey) {
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette navy = label->palette();
    navy.setColor(QPalette::WindowText, kKeyColour);
    label->setPalette(navy);
  }
  return label;
}

// A line holds its two pairs in halves of the page, each key followed by its function: the
// longest keys and the longest functions are on different lines, so columns of keys and columns
// of functions would not fit the window's width.
QWidget* BuildPage(const ShortcutPageTexts& texts) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(texts.name));
  // The window has a fixed size in pixels, so the texts do too, at the size they were laid out for.
  QFont font = page->font();
  font.setPixelSize(kTextPixels);
  page->setFont(font);
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(10, 6, 10, 6);
  grid->setVerticalSpacing(4);
  grid->setHorizontalSpacing(10);
  int row = 0;
  for (const ShortcutLine& line : texts.lines) {
    const std::array<std::array<const char*, 2>, 2> pairs{{{line.key1, line.function1},
                                                            {line.key2, line.function2}}};
    for (int half = 0; half < 2; ++half) {
      if (pairs[half][0] == nullptr) continue;
      auto* pair = new QHBoxLayout;
      pair->setSpacing(6);
      pair->addWidget(PairLabel(pairs[half][0], true, page));
      pair->addWidget(PairLabel(pairs[half][1], false, page));
      pair->addStretch();
      grid->addLayout(pair, row, half);
    }
    ++row;
  }
  // The lines stay together at the top of a page that has few of them.
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

}  // namespace

TAKSForm::TAKSForm(QWidget* parent) : QDialog(parent, Qt::Tool) {
  setObjectName(QStringLiteral("AKSForm"));
  setWindowTitle(QStringLiteral("Available Keyboard Shortcuts"));
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  for (const ShortcutPageTexts& texts : kPages) {
    PageControl1->addTab(BuildPage(texts), QString::fromLatin1(texts.title));
  }

  Button1 = new QPushButton(QStringLiteral("Close"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TAKSForm::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);
  layout->addWidget(PageControl1);
  layout->addLayout(buttons);
}

void TAKSForm::SelectPage(ShortcutPage page) {
  PageControl1->setCurrentIndex(static_cast<int>(page));
}

void TAKSForm::setVisible(bool visible) {
  // Centred on the screen rather than over the panel, which may sit in a corner. The frame is not
  // known before the window first shows, so the inside is what is centred.
  if (visible && !isVisible()) {
    if (QScreen* shownOn = screen()) {
      QRect inside(QPoint(), size());
      inside.moveCenter(shownOn->geometry().center());
      setGeometry(inside);
    }
    Button1->setFocus();
  }
  QDialog::setVisible(visible);
}

void TAKSForm::keyReleaseEvent(QKeyEvent* event) {
  // On the key's release, as the panel's own help keys act.
  if (event->key() == Qt::Key_F11 && !event->isAutoRepeat()) {
    Q_EMIT HelpRequested();
    return;
  }
  QDialog::keyReleaseEvent(event);
}

}  // namespace kiv
