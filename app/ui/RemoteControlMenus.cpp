#include "app/ui/RemoteControlMenus.h"

#include "app/ui/ButtonIcons.h"

#include <QAction>

RemoteControlMenus::RemoteControlMenus(QWidget* owner) : systemMenu(owner), trayMenu(owner)
{
    minimizeItem = systemMenu.addAction(remoteIcon(RemoteIcon::Minimize), "Minimize");
    aboutItem = systemMenu.addAction(remoteIcon(RemoteIcon::About), "About");
    helpItem = systemMenu.addAction(remoteIcon(RemoteIcon::Help), "Help");
    systemMenu.addSeparator();
    exitItem = systemMenu.addAction(remoteIcon(RemoteIcon::Exit), "Exit");

    trayMinimizeItem = trayMenu.addAction(remoteIcon(RemoteIcon::Minimize), "Minimize");
    trayMenu.setDefaultAction(trayMinimizeItem);
    trayMenu.addSeparator();
    captureItem = trayMenu.addAction(remoteIcon(RemoteIcon::Capture), "Capture");
    printItem = trayMenu.addAction(remoteIcon(RemoteIcon::Print), "Print...");
    editItem = trayMenu.addAction(remoteIcon(RemoteIcon::Edit), "Edit...");
    saveItem = trayMenu.addAction(remoteIcon(RemoteIcon::Save), "Save As...");
    preferencesItem = trayMenu.addAction(remoteIcon(RemoteIcon::Preferences), "Preferences...");
    trayMenu.addSeparator();
    trayAboutItem = trayMenu.addAction(remoteIcon(RemoteIcon::About), "About....");
    trayHelpItem = trayMenu.addAction(remoteIcon(RemoteIcon::Help), "Help");
    trayMenu.addSeparator();
    trayExitItem = trayMenu.addAction(remoteIcon(RemoteIcon::Exit), "Exit");

    printItem->setEnabled(false);
    editItem->setEnabled(false);
    saveItem->setEnabled(false);
}

void RemoteControlMenus::disableTrayMenu()
{
    for (QAction* item :
         {trayMinimizeItem, captureItem, printItem, editItem, saveItem, preferencesItem, trayAboutItem, trayExitItem}) {
        item->setEnabled(false);
    }
}

void RemoteControlMenus::enableTrayMenu(bool print, bool edit, bool save, bool preferences)
{
    for (QAction* item : {trayMinimizeItem, captureItem, trayAboutItem, trayExitItem}) {
        item->setEnabled(true);
    }
    preferencesItem->setEnabled(preferences);
    printItem->setEnabled(print);
    editItem->setEnabled(edit);
    saveItem->setEnabled(save);
}

void RemoteControlMenus::showMinimizeState(bool minimized)
{
    trayMinimizeItem->setText(minimized ? "Restore" : "Minimize");
    trayMinimizeItem->setIcon(remoteIcon(minimized ? RemoteIcon::Restore : RemoteIcon::Minimize));
}
