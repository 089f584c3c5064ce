// The question asked before the program ends while the last capture is neither saved nor printed.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
struct Platform;

class ExitQuestionDialog : public QDialog {
public:
    static constexpr const char* kHelpTopic = "HTML/Exit confirmation.htm";

    // exec() gives Accepted for "&Yes" and Rejected for "&No", Esc and the close box. "&Help"
    // opens the dialog's topic of `helpFile` through the platform's help and leaves the dialog open.
    ExitQuestionDialog(const Platform& platform, std::string helpFile, QWidget* parent);

    bool doNotShowAgain() const;

private:
    int scaled(int pixels) const;

    const Platform& platform_;
    int pixelsPerInch_;
    std::string helpFile_;
    QCheckBox* doNotShowAgain_ = nullptr;
};
