// Plain message boxes titled with the application's name.
#pragma once

#include <string>

class MessageService {
public:
    virtual ~MessageService() = default;

    // A message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
};
