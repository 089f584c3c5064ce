// The Remote Control's two pop-up menus: the system menu and the tray menu.
#pragma once

#include <QMenu>

class QAction;

class RemoteControlMenus {
public:
    explicit RemoteControlMenus(QWidget* owner);

    QMenu systemMenu;
    QMenu trayMenu;

    QAction* minimizeItem;
    QAction* aboutItem;
    QAction* helpItem;
    QAction* exitItem;

    QAction* trayMinimizeItem;
    QAction* captureItem;
    QAction* printItem;
    QAction* editItem;
    QAction* saveItem;
    QAction* preferencesItem;
    QAction* trayAboutItem;
    QAction* trayHelpItem;
    QAction* trayExitItem;

    // Everything but "Help" off while a window that changes the image is open.
    void disableTrayMenu();
    // Turns the tray menu's items back on: "Print...", "Edit..." and "Save As..." as their buttons are.
    void enableTrayMenu(bool print, bool edit, bool save, bool preferences);
    // The default item reads "Minimize", or "Restore" while the application is minimised.
    void showMinimizeState(bool minimized);
};
