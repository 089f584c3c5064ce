// The Remote Control's two pop-up menus: the system menu and the tray menu.
#pragma once

#include <QMenu>

class QAction;

class RemoteControlMenus {
public:
    explicit RemoteControlMenus(QWidget* owner);

    QMenu systemMenu;
    QMenu trayMenu;

    QAction* miMinimize;
    QAction* miAbout;
    QAction* miHelp;
    QAction* miExit;

    QAction* miMinimize2;
    QAction* miCapture;
    QAction* miPrint;
    QAction* miEdit;
    QAction* miSave;
    QAction* miPreferences;
    QAction* miAbout2;
    QAction* miHelp2;
    QAction* miExit2;

    // Everything but "Help" off while a window that changes the image is open.
    void DisableTrayMenu();
    // "Print...", "Edit..." and "Save As..." follow their buttons; "Preferences..." follows whether
    // its window exists in this build.
    void EnableTrayMenu(bool print, bool edit, bool save, bool preferences);
    // The default item reads "Minimize", or "Restore" while the application is minimised.
    void showMinimizeState(bool minimized);
};
