// The Preferences window: the Remote Control's options on one page and its hotkeys on another.
// It shows a copy of the options and hands back what the user set; it keeps only the page shown
// last and the skin picker's filter (read when made, written when destroyed).
#pragma once

#include "common/OpenWindowSettings.h"
#include "preferences/PreferencesCommand.h"
#include "preferences/PreferencesPages.h"

#include <QDialog>

#include <array>
#include <string>

struct Platform;
class AnimatedPicture;
class HotkeyField;
class QCheckBox;
class QRadioButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;

class PreferencesDialog : public QDialog {
public:
    PreferencesDialog(Platform& platform, const std::string& helpFilePath, const PreferencesValues& values,
                      bool showHints, QWidget* owner);
    ~PreferencesDialog() override;

    // The controls' state as options for the Remote Control.
    PreferencesValues values() const;

    int page() const { return pages_.page(); }
    // A click on a page picture.
    void selectPage(int page);
    void help();

private:
    void writeSettings();
    void createPageSelector(QWidget* column);
    QWidget* createOptionsPage();
    // "Full screen: this monitor / all monitors", the last row of the Options page.
    void createFullScreenChoice(QWidget* page);
    QWidget* createHotkeysPage();
    QLabel* pageTitle(QWidget* page, const char* text);
    void markPageLabels();
    void chooseSkin();
    QRect scaled(int left, int top, int width, int height) const;
    void fitInsidePage(QWidget* control) const;

    Platform& platform_;
    int pixelsPerInch_;
    std::string helpFilePath_;
    PreferencesValues initial_;
    PreferencesPages pages_;

    QStackedWidget* stack_ = nullptr;
    std::array<QLabel*, 2> pageLabels_{};
    std::array<AnimatedPicture*, 2> pagePictures_{};
    QCheckBox* showRulers_ = nullptr;
    QComboBox* units_ = nullptr;
    QCheckBox* updateRulers_ = nullptr;
    QCheckBox* hide_ = nullptr;
    QCheckBox* hints_ = nullptr;
    QCheckBox* cursor_ = nullptr;
    QCheckBox* trayMinimize_ = nullptr;
    QCheckBox* printScreen_ = nullptr;
    QCheckBox* exit_ = nullptr;
    QRadioButton* thisMonitor_ = nullptr;
    QRadioButton* allMonitors_ = nullptr;
    QLineEdit* skin_ = nullptr;
    std::array<HotkeyField*, kHotkeyCount> hotkeyFields_{};
    QCheckBox* enableHotkeys_ = nullptr;
    // Last, so that it is forgotten before anything it writes goes.
    OpenWindowSettings settingsAtEnd_{[this] { writeSettings(); }};
};
