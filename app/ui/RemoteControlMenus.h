// The Remote Control's two pop-up menus, the system menu and the tray menu, laid out from the
// command actions.
#pragma once

#include <QMenu>

class RemoteControlActions;

class RemoteControlMenus {
public:
    RemoteControlMenus(QWidget* owner, RemoteControlActions& actions);

    QMenu systemMenu;
    QMenu trayMenu;
};
