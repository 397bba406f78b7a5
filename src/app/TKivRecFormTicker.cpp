// The ticker on the panel: the custom text, its speed and direction menus, and when it runs.
#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>

#include "app/TKivRecForm.h"
#include "app/TMessageNameForm.h"
#include "panel/TBMShapedForm.h"
#include "panel/TMarquee.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"

namespace kiv {
namespace {

QString CaptionWord(const QAction* item) {
  QString word = item->text();
  return word.remove(u'&');
}

}  // namespace

void TKivRecForm::WireTicker() {
  mname->installEventFilter(this);
  mname->setMouseTracking(true);
  // The panel's own ticker menu stands in for the ticker's built-in one.
  mname->setContextMenuPolicy(Qt::PreventContextMenu);
  for (MenuItem name : {MenuItem::Slow1, MenuItem::Medium1, MenuItem::Fast1}) {
    QAction* item = menus_->Item(name);
    connect(item, &QAction::triggered, this, [this, item] { Slow1Click(item); });
  }
  for (MenuItem name : {MenuItem::Left1, MenuItem::Right1, MenuItem::None1}) {
    QAction* item = menus_->Item(name);
    connect(item, &QAction::triggered, this, [this, item] { Left1Click(item); });
  }
  connect(menus_->Item(MenuItem::Customtext1), &QAction::triggered, this,
          [this] { Customtext1Click(); });
  connect(menus_->PopupMenu3, &QMenu::aboutToHide, this, [this] { SaveSettings(); });
  connect(&Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
}

void TKivRecForm::SaveSettings() {
  settings_.Save(*services_.settings, pos(), programFolder_, services_.programPath);
}

void TKivRecForm::CheckTickerItems() {
  const QString speed = KivRecSettings::SpeedWord(mname->Speed()) + u'1';
  for (MenuItem name : {MenuItem::Slow1, MenuItem::Medium1, MenuItem::Fast1}) {
    menus_->Item(name)->setChecked(speed == QLatin1String(MenuItemName(name)));
  }
  const QString direction = KivRecSettings::DirectionWord(mname->Direction()) + u'1';
  for (MenuItem name : {MenuItem::Left1, MenuItem::Right1, MenuItem::None1}) {
    menus_->Item(name)->setChecked(direction == QLatin1String(MenuItemName(name)));
  }
}

void TKivRecForm::ApplyTickerDirection() {
  mname->SetDirection(KivRecSettings::ApplyTickerDirection(*services_.settings, mname->Direction()));
  CheckTickerItems();
}

void TKivRecForm::ShowCustomText() {
  QString text = services_.settings->Read(settings::CustomText);
  if (text.isEmpty()) text = KivRecSettings::DefaultCustomText();
  // The home-page address stands off the ticker's edge by two blanks.
  if (text == KivRecSettings::DefaultCustomText()) text = QStringLiteral("  ") + text;
  mname->SetDirection(TDirection::tdNone);
  mname->SetText(tickerColorTags_[0] + text);
  mname->SetActive(true);
  ApplyTickerDirection();
  mname->update();
}

void TKivRecForm::Slow1Click(QAction* item) {
  const QString word = CaptionWord(item);
  mname->SetSpeed(word == QStringLiteral("Fast")     ? TSpeed::tsFast
                  : word == QStringLiteral("Medium") ? TSpeed::tsMedium
                                                     : TSpeed::tsSlow);
  CheckTickerItems();
  services_.settings->Write(settings::TickerSpeed, word);
  if (!mname->Active()) mname->SetActive(true);
}

void TKivRecForm::Left1Click(QAction* item) {
  const QString word = CaptionWord(item);
  mname->SetDirection(word == QStringLiteral("Right")  ? TDirection::tdRight
                      : word == QStringLiteral("None") ? TDirection::tdNone
                                                       : TDirection::tdLeft);
  CheckTickerItems();
  services_.settings->Write(settings::TickerDirection, word);
  if (word == QStringLiteral("None")) ShowCustomText();
  if (!mname->Active()) mname->SetActive(true);
}

void TKivRecForm::Customtext1Click() {
  QString text = services_.settings->Read(settings::CustomText);
  if (text.isEmpty()) text = KivRecSettings::DefaultCustomText();
  TMessageNameForm form(this);
  form.setWindowTitle(QStringLiteral("Custom Text"));
  form.SetPrompt(QStringLiteral("Enter custom text"));
  form.SetText(text);
  if (services_.dialogs->ExecModal(form) == QDialog::Accepted) text = form.Text();
  services_.settings->Write(settings::CustomText, text);
  ShowCustomText();
}

void TKivRecForm::mnameMouseDown(Qt::MouseButton button) {
  const bool idle = TransportController::MayChangeSettings(Transport());
  const bool editable = idle && cassette_->MessageCount() > 0;
  for (MenuItem name : {MenuItem::delMsg, MenuItem::ListNotations1, MenuItem::EnterNote1}) {
    menus_->Item(name)->setEnabled(editable);
  }
  // An inconsistent cassette may hold no usable message at all, and Delete All is the only way
  // back to recording that the refusal names.
  menus_->Item(MenuItem::DeleteCassette1)
      ->setEnabled(editable || (idle && cassette_->CassetteInconsistent()));
  // The settings are saved when the menu closes again.
  if (button == Qt::RightButton) menus_->PopupMenu3->popup(QCursor::pos());
}

void TKivRecForm::mnameMouseMove() { mname->SetActive(false); }

void TKivRecForm::ZvSkin1MouseMove() {
  if (mname->Active()) return;
  mname->SetActive(true);
  ApplyTickerDirection();
}

void TKivRecForm::ZvSkin1DblClick() { mname->SetActive(false); }

void TKivRecForm::Timer3Timer() {
  Timer3.stop();
  ApplyTickerDirection();
  ShowCustomText();
}

bool TKivRecForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Count && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && Count->rect().contains(mouse->position().toPoint())) {
      CountClick();
      return true;
    }
  }
  if (watched == message && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    messageMouseDown();
    return true;
  }
  if (watched == mname) {
    if (event->type() == QEvent::MouseButtonPress) {
      mnameMouseDown(static_cast<QMouseEvent*>(event)->button());
    } else if (event->type() == QEvent::MouseMove) {
      mnameMouseMove();
    } else if (event->type() == QEvent::MouseButtonRelease) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton && mname->rect().contains(mouse->position().toPoint())) {
        mnameClick();
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kiv
