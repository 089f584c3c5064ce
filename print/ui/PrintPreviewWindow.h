// The Print Preview: the sheet with the printer's printable area and the captured image placed
// on it, the settings panel, printer setup and printing. Its behaviour is PrintPreviewModel.
#pragma once

#include "common/Bitmap.h"
#include "common/Color.h"
#include "common/OpenWindowSettings.h"
#include "common/ui/StoredWindowPlacement.h"
#include "print/PrintPreviewModel.h"
#include "print/ui/PreviewHandCursors.h"

#include <QDialog>

#include <optional>

class PreviewPaintBox;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolButton;
class SettingsFile;
struct Platform;

// What the window reads from and gives back to the Remote Control.
struct PrintPreviewHost {
    const Bitmap& image; // the captured image
    bool& notSaved;      // cleared once the image has been printed
    bool showHint = true;
};

class PrintPreviewWindow : public QDialog {
public:
    static constexpr const char* kCaption = "Zentrap Print Preview";

    // The platform's print service must have made a printer current (see openPrintPreview).
    PrintPreviewWindow(const Platform& platform, SettingsFile& settingsFile, const PrintPreviewHost& host,
                       QWidget* owner = nullptr);
    // Writes the settings.
    ~PrintPreviewWindow() override;

    PrintPreviewModel& model() { return model_; }

protected:
    // The colour dialog, a seam for tests.
    virtual std::optional<ColorRef> chooseColor(ColorRef initial);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildSettingsGroup();
    void connectControls();
    // Shows the model's values in the controls without running their change events.
    void showSettings();
    void showControlStates();
    void showStatus();
    void showBackground();
    void refreshPreview();
    void takeEdits();
    void writeSettings();
    void setPreviewCursor(std::optional<PreviewCursor> cursor);

    void printClick();
    void setupClick();
    void colorDialogClick();
    void helpClick();

    const Platform& platform_;
    PrintPreviewHost host_;
    PrintPreviewModel model_;
    PreviewHandCursors cursors_;
    StoredWindowPlacement placement_;
    bool showingSettings_ = false; // the window writes its own fields: no layout from their events
    bool printing_ = false;

    PreviewPaintBox* paintBox_ = nullptr;
    QPushButton* setupButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QComboBox* unitsList_ = nullptr;
    QLabel* topLabel_ = nullptr;
    QLineEdit* topField_ = nullptr;
    QCheckBox* centerDownBox_ = nullptr;
    QLabel* leftLabel_ = nullptr;
    QLineEdit* leftField_ = nullptr;
    QCheckBox* centerAcrossBox_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QLineEdit* zoomField_ = nullptr;
    QCheckBox* fitBox_ = nullptr;
    QLineEdit* copiesField_ = nullptr;
    QCheckBox* marginsBox_ = nullptr;
    QCheckBox* frameBox_ = nullptr;
    QFrame* backgroundSwatch_ = nullptr;
    QToolButton* colorDialogButton_ = nullptr;
    QPushButton* defaultsButton_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* printerPanel_ = nullptr;
    QLabel* paperPanel_ = nullptr;
    // Last, so that it is forgotten before anything it writes goes.
    OpenWindowSettings settingsAtEnd_{[this] { writeSettings(); }};
};
