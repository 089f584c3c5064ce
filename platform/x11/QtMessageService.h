// Plain message boxes on the desktop: titled "Zentrap", with an OK button or Yes and No.
#pragma once

#include "platform/MessageService.h"

class QWidget;

class QtMessageService : public MessageService {
public:
    static constexpr const char* kTitle = "Zentrap";

    // A box without a named owner belongs to the modal window that is open, else to `parent` (the
    // main window) when one is set; it is centred on its owner, or on the screen without one.
    explicit QtMessageService(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void showMessage(const std::string& text) override;
    void showMessage(const std::string& text, QWidget* owner) override;
    void showNotice(const std::string& text, QWidget* owner) override;
    void showWarning(const std::string& caption, const std::string& text, QWidget* owner) override;
    bool askYesNo(const std::string& text) override;

private:
    QWidget* parent_;
};
