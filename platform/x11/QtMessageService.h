// Plain message boxes on the desktop: titled "Zentrap", with an OK button or Yes and No.
#pragma once

#include "platform/MessageService.h"

class QWidget;

class QtMessageService : public MessageService {
public:
    static constexpr const char* kTitle = "Zentrap";

    // Boxes are centred on `parent` when one is set, else on the screen.
    explicit QtMessageService(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void showMessage(const std::string& text) override { showMessage(text, parent_); }
    void showMessage(const std::string& text, QWidget* owner) override;
    bool askYesNo(const std::string& text) override;

private:
    QWidget* parent_;
};
