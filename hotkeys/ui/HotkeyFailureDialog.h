// The hotkey failure dialog: which hotkeys the desktop refused, with a way to switch all of them
// off ("Disable hotkeys") and the Hotkeys help page.
#pragma once

#include <QDialog>

#include <string>

class HelpService;
class QCheckBox;
class QLabel;
class QPushButton;
struct Platform;

class HotkeyFailureDialog : public QDialog {
public:
    // `message` as built for the refusals (CR LF line breaks); `helpFile` is the help file's path,
    // shown through the platform's help.
    HotkeyFailureDialog(const std::string& message, const Platform& platform, std::string helpFile, QWidget* owner);

    bool disableHotkeys() const;
    QString messageText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeControls();

    HelpService& help_;
    int pixelsPerInch_;
    std::string helpFile_;
    QLabel* icon_;
    QLabel* message_;
    QCheckBox* disableHotkeys_;
    QPushButton* ok_;
    QPushButton* helpButton_;
    QWidget* frame_;
};
