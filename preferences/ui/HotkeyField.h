// A hotkey field: takes one key combination typed into it (a key with Ctrl or Alt) and shows it as
// the shortcut text of the messages; plain keys pass on to the dialog (Tab, Enter, Esc), and
// Backspace or Delete alone clear it to no key ("None").
#pragma once

#include "platform/Shortcut.h"
#include "platform/ShortcutText.h"

#include <QLineEdit>

class HotkeyField : public QLineEdit {
public:
    HotkeyField(KeyNameLookup keyName, QWidget* parent = nullptr);

    Shortcut shortcut() const { return shortcut_; }
    void setShortcut(Shortcut shortcut);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyNameLookup keyName_;
    Shortcut shortcut_ = 0;
};
