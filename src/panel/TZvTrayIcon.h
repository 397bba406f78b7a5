// The recorder's icon in the system tray: its picture, its tool tip, the menu it opens, the
// clicks it reports and the main form it shows and hides.
//
// The component belongs to the main form it is made for (its QObject parent) and owns the
// QSystemTrayIcon underneath. It never owns the pop-up menu: the menu belongs to the form, and
// the component forgets it when it is destroyed. The icon goes into the tray when the owner
// calls Loaded() after setting the properties, and leaves it with the component.
//
// The tray host reports clicks as QSystemTrayIcon::activated reasons; HandleActivation turns
// each into the button presses and releases it stands for and HandleIconMessage acts on those,
// so what a click does is the same whether a real tray host or a test delivered it. No tray
// reports bare pointer moves or separate presses and releases to Qt, so MouseMove only comes
// from a caller of HandleIconMessage.
#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>

class QMenu;
class QWidget;

namespace kiv {

class TZvTrayIcon : public QObject {
  Q_OBJECT

 public:
  // The mouse messages a tray icon receives, one per pointer action over it.
  enum class IconMessage {
    MouseMove,
    LeftButtonDown,
    LeftButtonUp,
    LeftButtonDblClk,
    RightButtonDown,
    RightButtonUp,
    RightButtonDblClk,
    MiddleButtonDown,
    MiddleButtonUp,
  };

  // The tool tip holds at most this many characters; a longer hint is cut.
  static constexpr int kMaxTipLength = 63;

  // `mainForm` is shown and hidden by the component and watched for being minimised.
  explicit TZvTrayIcon(QWidget* mainForm);
  ~TZvTrayIcon() override;
  Q_DISABLE_COPY_MOVE(TZvTrayIcon)

  // The 16 by 16 picture the icon has until the owner gives it another.
  static QIcon BuiltInIcon();

  QWidget* MainForm() const { return mainForm_; }

  // Puts the main form out of sight when StartMinimized is set, then puts the icon into the tray
  // if IconVisible. The owner calls it once, when its own construction is done; an owner that
  // shows its form after that asks StartMinimized first.
  void Loaded();

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  QString Hint() const { return hint_; }
  void SetHint(const QString& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool showHint);
  // The tool tip the tray has: Hint cut to kMaxTipLength characters, or empty while ShowHint is
  // off or there is no hint.
  QString TipText() const { return tray_.toolTip(); }

  QIcon Icon() const { return icon_; }
  void SetIcon(const QIcon& icon);
  // Every picture in the file becomes one size of the icon. A file that is missing or holds no
  // readable picture changes nothing and gives false.
  bool LoadIconFromFile(const QString& fileName);
  // The file the current icon was loaded from; empty when it was set any other way.
  QString IconFile() const { return iconFile_; }

  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool visible);
  // Both report whether a tray host took the change; without one they still record IconVisible.
  bool ShowIcon();
  bool HideIcon();
  // Hands the current icon and tool tip to the tray.
  void ModifyIcon();
  void Refresh() { ModifyIcon(); }

  QMenu* PopupMenu() const;
  void SetPopupMenu(QMenu* menu);
  // The menu opens on the left button instead of the right.
  bool LeftPopup() const { return leftPopup_; }
  void SetLeftPopup(bool leftPopup) { leftPopup_ = leftPopup; }
  // Opens PopupMenu at the pointer; nothing without a menu.
  void PopupAtCursor();

  bool StartMinimized() const { return startMinimized_; }
  void SetStartMinimized(bool startMinimized) { startMinimized_ = startMinimized; }
  // While on, a minimised main form is hidden as soon as the event loop comes round, and only
  // the icon remains.
  bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool minimizeToTray) { minimizeToTray_ = minimizeToTray; }

  QList<QIcon> IconList() const { return iconList_; }
  void SetIconList(const QList<QIcon>& icons) { iconList_ = icons; }
  bool CycleIcons() const { return cycleIcons_; }
  // Switching cycling on starts again at the first icon of the list.
  void SetCycleIcons(bool cycleIcons);
  unsigned CycleInterval() const { return cycleInterval_; }
  void SetCycleInterval(unsigned milliseconds);
  const QTimer& CycleTimer() const { return cycleTimer_; }
  // One step of the cycle: the next icon of IconList is shown, announced by Cycle.
  void TimerCycle();

  // Shows the main form, brought back from minimised, in front and active.
  void ShowMainForm();
  void HideMainForm();
  // What minimising the main form does while MinimizeToTray is on: only the icon remains.
  void DoMinimizeToTray();

  // Acts on one mouse message from the icon, with the keyboard modifiers and the pointer
  // position of the moment. Nothing at all happens while Enabled is false.
  void HandleIconMessage(IconMessage message);
  // Acts on what the tray host reported, as the presses and releases that make it up.
  void HandleActivation(QSystemTrayIcon::ActivationReason reason);

 Q_SIGNALS:
  void Click();
  void DblClick();
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint globalPos);
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint globalPos);
  void MouseMove(Qt::KeyboardModifiers modifiers, QPoint globalPos);
  // The icon at `index` of IconList is about to be shown.
  void Cycle(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateCycleTimer();
  void MinimizedMainForm();

  QPointer<QWidget> mainForm_;
  QSystemTrayIcon tray_;
  bool enabled_ = true;
  QString hint_;
  bool showHint_ = true;
  QIcon icon_;
  QString iconFile_;
  bool iconVisible_ = true;
  QPointer<QMenu> popupMenu_;
  bool leftPopup_ = false;
  bool startMinimized_ = false;
  bool minimizeToTray_ = false;
  QList<QIcon> iconList_;
  bool cycleIcons_ = false;
  unsigned cycleInterval_ = 0;
  QTimer cycleTimer_;
  int nextCycleIndex_ = 0;
  bool leftButtonDown_ = false;  // a left press on the icon that a release turns into a click
};

}  // namespace kiv
