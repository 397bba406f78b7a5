// Menu items and their order.
#include "app/KivRecMenus.h"

namespace kiv {

QAction* KivRecMenus::Add(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

KivRecMenus::KivRecMenus(QWidget* owner) {
  PopupMenu1 = new QMenu(owner);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  Add(PopupMenu1, "TellAFriend1", "Tell a friend");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, "ShowDictaphen1", "Show Kiv Sound Recorder");
  Add(PopupMenu1, "AlwaysonTop2", "Always on Top")->setCheckable(true);
  PopupMenu1->addSeparator();
  Add(PopupMenu1, "Record1", "Start Recording");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, "Play1", "Play Message");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, "Settings1", "Settings/Options");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, "Help1", "Help");
  Add(PopupMenu1, "About1", "About Kiv Sound Recorder");
  Add(PopupMenu1, "ShowInfo1", "Show Startup Dialog");
  PopupMenu1->addSeparator();
  Add(PopupMenu1, "Exit1", "Exit");

  PopupMenu2 = new QMenu(owner);
  PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
  Add(PopupMenu2, "TellAFriend2", "Tell a friend");
  PopupMenu2->addSeparator();
  Add(PopupMenu2, "ExportMessage1", "Export Message to WAV");
  QAction* import = Add(PopupMenu2, "ImportWAVMP31", "Import WAV");
  import->setEnabled(false);
  import->setVisible(false);
  PopupMenu2->addSeparator();
  Add(PopupMenu2, "ShowInfo2", "Show Startup Dialog");
  Add(PopupMenu2, "About2", "About Kiv Sound Recorder");
  Add(PopupMenu2, "Help2", "Help");
  PopupMenu2->addSeparator();
  Volumes1 = PopupMenu2->addMenu(QStringLiteral("Volume Controls"));
  Volumes1->setObjectName(QStringLiteral("Volumes1"));
  Volumes1->menuAction()->setObjectName(QStringLiteral("Volumes1"));
  Add(PopupMenu2, "AlwaysonTop1", "Always on Top")->setCheckable(true);
  PopupMenu2->addSeparator();
  Add(PopupMenu2, "Shortcuts1", "Available Shortcuts (F12)");
  PopupMenu2->addSeparator();
  Add(PopupMenu2, "Settings2", "Options");

  PopupMenu3 = new QMenu(owner);
  PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
  Add(PopupMenu3, "delMsg", "Delete Message");
  Add(PopupMenu3, "DeleteCassette1", "Delete All Messages");
  PopupMenu3->addSeparator();
  Add(PopupMenu3, "ListNotations1", "Direct Message Selector");
  Add(PopupMenu3, "EnterNote1", "Edit Message Name");
  PopupMenu3->addSeparator();
  Add(PopupMenu3, "Customtext1", "Custom Text");
  QMenu* speed = PopupMenu3->addMenu(QStringLiteral("Speed"));
  speed->menuAction()->setObjectName(QStringLiteral("Speed1"));
  for (auto [name, caption] : {std::pair{"Slow1", "Slow"}, {"Medium1", "Medium"}, {"Fast1", "Fast"}}) {
    Add(speed, name, caption)->setCheckable(true);
  }
  QMenu* direction = PopupMenu3->addMenu(QStringLiteral("Direction"));
  direction->menuAction()->setObjectName(QStringLiteral("Direction1"));
  for (auto [name, caption] : {std::pair{"Left1", "Left"}, {"Right1", "Right"}, {"None1", "None"}}) {
    Add(direction, name, caption)->setCheckable(true);
  }
}

QAction* KivRecMenus::Item(const QString& name) const {
  // Items, submenus and their items are all descendants of the three menus.
  for (QMenu* menu : {PopupMenu1, PopupMenu2, PopupMenu3}) {
    if (QAction* action = menu->findChild<QAction*>(name)) return action;
  }
  return nullptr;
}

}  // namespace kiv
