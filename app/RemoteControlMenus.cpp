#include "app/RemoteControlMenus.h"

#include "app/ButtonIcons.h"

#include <QAction>

RemoteControlMenus::RemoteControlMenus(QWidget* owner) : systemMenu(owner), trayMenu(owner)
{
    miMinimize = systemMenu.addAction(remoteIcon(RemoteIcon::Minimize), "Minimize");
    miAbout = systemMenu.addAction(remoteIcon(RemoteIcon::About), "About");
    miHelp = systemMenu.addAction(remoteIcon(RemoteIcon::Help), "Help");
    systemMenu.addSeparator();
    miExit = systemMenu.addAction(remoteIcon(RemoteIcon::Exit), "Exit");

    miMinimize2 = trayMenu.addAction(remoteIcon(RemoteIcon::Minimize), "Minimize");
    trayMenu.setDefaultAction(miMinimize2);
    trayMenu.addSeparator();
    miCapture = trayMenu.addAction(remoteIcon(RemoteIcon::Capture), "Capture");
    miPrint = trayMenu.addAction(remoteIcon(RemoteIcon::Print), "Print...");
    miEdit = trayMenu.addAction(remoteIcon(RemoteIcon::Edit), "Edit...");
    miSave = trayMenu.addAction(remoteIcon(RemoteIcon::Save), "Save As...");
    miPreferences = trayMenu.addAction(remoteIcon(RemoteIcon::Preferences), "Preferences...");
    trayMenu.addSeparator();
    miAbout2 = trayMenu.addAction(remoteIcon(RemoteIcon::About), "About....");
    miHelp2 = trayMenu.addAction(remoteIcon(RemoteIcon::Help), "Help");
    trayMenu.addSeparator();
    miExit2 = trayMenu.addAction(remoteIcon(RemoteIcon::Exit), "Exit");

    miPrint->setEnabled(false);
    miEdit->setEnabled(false);
    miSave->setEnabled(false);
}

void RemoteControlMenus::DisableTrayMenu()
{
    for (QAction* item : {miMinimize2, miCapture, miPrint, miEdit, miSave, miPreferences, miAbout2, miExit2}) {
        item->setEnabled(false);
    }
}

void RemoteControlMenus::EnableTrayMenu(bool print, bool edit, bool save, bool preferences)
{
    for (QAction* item : {miMinimize2, miCapture, miAbout2, miExit2}) {
        item->setEnabled(true);
    }
    miPreferences->setEnabled(preferences);
    miPrint->setEnabled(print);
    miEdit->setEnabled(edit);
    miSave->setEnabled(save);
}

void RemoteControlMenus::showMinimizeState(bool minimized)
{
    miMinimize2->setText(minimized ? "Restore" : "Minimize");
    miMinimize2->setIcon(remoteIcon(minimized ? RemoteIcon::Restore : RemoteIcon::Minimize));
}
