// The question asked before the program ends while the last capture is neither saved nor printed.
#pragma once

#include <QDialog>

#include <string>

class HelpService;
class QCheckBox;

class ExitQuestionDialog : public QDialog {
public:
    static constexpr const char* kHelpTopic = "HTML/Exit confirmation.htm";

    // exec() gives Accepted for "&Yes" and Rejected for "&No", Esc and the close box. "&Help"
    // opens the dialog's topic of `helpFile` and leaves the dialog open.
    ExitQuestionDialog(HelpService& help, std::string helpFile, QWidget* parent);

    bool doNotShowAgain() const;

private:
    int scaled(int pixels) const;

    HelpService& help_;
    std::string helpFile_;
    QCheckBox* doNotShowAgain_ = nullptr;
};
