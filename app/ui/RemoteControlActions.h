// One QAction per Remote Control command, made from the command table: the buttons, both menus,
// the keys and the tray use these actions, so a command's caption, picture, tooltip, toggle state
// and enabled state live in one place.
#pragma once

#include "app/CommandTable.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QToolButton;

class RemoteControlActions {
public:
    // `run` is the one entry every action ends in.
    RemoteControlActions(QObject* owner, const std::function<void(Command)>& run);

    QAction* operator[](Command command) const { return actions_[static_cast<size_t>(command)]; }

    // Tooltips from the caption and the key ("Capture (Ctrl+C)"), or none (tooltips off).
    void showTooltips(bool on);
    // The menus' texts and pictures differ from the button's for some commands (About, Exit).
    void useSystemMenuTexts();
    void useTrayMenuTexts(bool minimized);
    // The button shows the action: its picture, tooltip, toggle and enabled state.
    void attachButton(QToolButton& button, Command command) const;

private:
    std::array<QAction*, commandCount()> actions_{};
};
