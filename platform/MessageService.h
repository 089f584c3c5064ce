// Plain message boxes titled with the application's name.
#pragma once

#include <string>

class QWidget;

class MessageService {
public:
    virtual ~MessageService() = default;

    // A message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
    // The same box, transient for and centred on `owner`, the window that raised it.
    virtual void showMessage(const std::string& text, QWidget* owner)
    {
        (void)owner;
        showMessage(text);
    }
    // The same box, not waiting for its OK: the program goes on (hotkeys, ending) while it is open.
    virtual void showNotice(const std::string& text, QWidget* owner) { showMessage(text, owner); }
    // A box with a warning icon, its own caption and an OK button, transient for `owner`.
    virtual void showWarning(const std::string& caption, const std::string& text, QWidget* owner) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
};
