// Menu items and their order.
#include "app/KivRecMenus.h"

namespace kiv {

QAction* KivRecMenus::Add(QMenu* menu, MenuItem item, const char* caption) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  action->setObjectName(QString::fromLatin1(MenuItemName(item)));
  items_[size_t(item)] = action;
  return action;
}

QMenu* KivRecMenus::AddSubmenu(QMenu* menu, MenuItem item, const char* caption) {
  QMenu* submenu = menu->addMenu(QString::fromLatin1(caption));
  submenu->setObjectName(QString::fromLatin1(MenuItemName(item)));
  submenu->menuAction()->setObjectName(QString::fromLatin1(MenuItemName(item)));
  items_[size_t(item)] = submenu->menuAction();
  return submenu;
}

KivRecMenus::KivRecMenus(QWidget* owner) {
  using M = MenuItem;
  PopupMenu1 = new QMenu(owner);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  Add(PopupMenu1, M::TellAFriend1, "Tell a friend");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, M::ShowDictaphen1, "Show Kiv Sound Recorder");
  Add(PopupMenu1, M::AlwaysonTop2, "Always on Top")->setCheckable(true);
  PopupMenu1->addSeparator();
  Add(PopupMenu1, M::Record1, "Start Recording");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, M::Play1, "Play Message");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, M::Settings1, "Settings/Options");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, M::Help1, "Help");
  Add(PopupMenu1, M::About1, "About Kiv Sound Recorder");
  Add(PopupMenu1, M::ShowInfo1, "Show Startup Dialog");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, M::Exit1, "Exit");

  PopupMenu2 = new QMenu(owner);
  PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
  Add(PopupMenu2, M::TellAFriend2, "Tell a friend");
  PopupMenu2->addSeparator();
  Add(PopupMenu2, M::ExportMessage1, "Export Message to WAV");
  QAction* import = Add(PopupMenu2, M::ImportWAVMP31, "Import WAV");
  import->setEnabled(false);
  import->setVisible(false);
  PopupMenu2->addSeparator();
  Add(PopupMenu2, M::ShowInfo2, "Show Startup Dialog");
  Add(PopupMenu2, M::About2, "About Kiv Sound Recorder");
  Add(PopupMenu2, M::Help2, "Help");
  PopupMenu2->addSeparator();
  Volumes1 = AddSubmenu(PopupMenu2, M::Volumes1, "Volume Controls");
  Add(PopupMenu2, M::AlwaysonTop1, "Always on Top")->setCheckable(true);
  PopupMenu2->addSeparator();
  Add(PopupMenu2, M::Shortcuts1, "Available Shortcuts (F12)");
  PopupMenu2->addSeparator();
  Add(PopupMenu2, M::Settings2, "Options");

  PopupMenu3 = new QMenu(owner);
  PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
  Add(PopupMenu3, M::delMsg, "Delete Message");
  Add(PopupMenu3, M::DeleteCassette1, "Delete All Messages");
  PopupMenu3->addSeparator();
  Add(PopupMenu3, M::ListNotations1, "Direct Message Selector");
  Add(PopupMenu3, M::EnterNote1, "Edit Message Name");
  PopupMenu3->addSeparator();
  Add(PopupMenu3, M::Customtext1, "Custom Text");
  QMenu* speed = AddSubmenu(PopupMenu3, M::Speed1, "Speed");
  for (auto [item, caption] : {std::pair{M::Slow1, "Slow"}, {M::Medium1, "Medium"}, {M::Fast1, "Fast"}}) {
    Add(speed, item, caption)->setCheckable(true);
  }
  QMenu* direction = AddSubmenu(PopupMenu3, M::Direction1, "Direction");
  for (auto [item, caption] : {std::pair{M::Left1, "Left"}, {M::Right1, "Right"}, {M::None1, "None"}}) {
    Add(direction, item, caption)->setCheckable(true);
  }
}

}  // namespace kiv
