#include "app/ui/RemoteControlMenus.h"

#include "app/ui/RemoteControlActions.h"

#include <QAction>

RemoteControlMenus::RemoteControlMenus(QWidget* owner, RemoteControlActions& actions)
    : systemMenu(owner), trayMenu(owner)
{
    systemMenu.setObjectName("systemMenu");
    systemMenu.addAction(actions[Command::MinimizeRestore]);
    systemMenu.addAction(actions[Command::About]);
    systemMenu.addAction(actions[Command::Help]);
    systemMenu.addSeparator();
    systemMenu.addAction(actions[Command::Close]);

    trayMenu.setObjectName("trayMenu");
    trayMenu.addAction(actions[Command::MinimizeRestore]);
    trayMenu.setDefaultAction(actions[Command::MinimizeRestore]);
    trayMenu.addSeparator();
    for (Command command : {Command::Capture, Command::Print, Command::Edit, Command::Save, Command::Preferences}) {
        trayMenu.addAction(actions[command]);
    }
    trayMenu.addSeparator();
    trayMenu.addAction(actions[Command::About]);
    trayMenu.addAction(actions[Command::Help]);
    trayMenu.addSeparator();
    trayMenu.addAction(actions[Command::Close]);
}
