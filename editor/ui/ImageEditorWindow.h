// The Image Editor: a modal window on the captured image with the view, the tool bar (scroll,
// select, crop, rotate, undo), the " Image size  " group and the background colour. However it
// closes, the working image stays with the Remote Control, free of the selection marks.
#pragma once

#include "common/Bitmap.h"
#include "common/Color.h"
#include "common/OpenWindowSettings.h"
#include "common/ui/StoredWindowPlacement.h"
#include "editor/EditorResult.h"
#include "editor/ImageEditorModel.h"
#include "editor/ui/EditorCursors.h"

#include <QDialog>
#include <QTimer>

#include <memory>
#include <optional>

class EditorPaintArea;
class EditorStatusBar;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class SettingsFile;
struct Platform;

// What the window works on and reads from the Remote Control.
struct ImageEditorHost {
    const Bitmap& image;        // the captured image, read only (Undo All)
    Bitmap& editImage;          // the working copy made just before the window opens
    Bitmap& undoImage;          // the one-step undo copy, empty at open
    bool showHint = true;       // the Remote Control's tooltip setting
    bool printAvailable = true; // "Print..." is offered only when the Remote Control can print
};

class ImageEditorWindow : public QDialog {
    Q_OBJECT
public:
    ImageEditorWindow(const Platform& platform, SettingsFile& iniFile, const ImageEditorHost& host,
                      QWidget* owner = nullptr);
    // Writes the placement and the background colour to the "Edit" section.
    ~ImageEditorWindow() override;

    const ImageEditorModel& model() const { return *model_; }
    ColorRef background() const;
    EditorTool tool() const;
    const EditorCursors& cursors() const { return cursors_; }

    // Commands.
    void Undo();
    void UndoAll();
    void Crop();
    void Rotate(RotationAngle angle);
    void Apply();
    // One step of the mark timer: the marks move by one pixel and the view repaints.
    void MarkTimerStep();

protected:
    // Seam for the colour dialog, so that tests can answer it.
    virtual std::optional<ColorRef> chooseColor(ColorRef initial);

    void done(int result) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* buildControlPanel();
    QWidget* buildToolBar();
    QGroupBox* buildSizeGroup();
    void connectControls();
    void applyHints();
    void readSettings();
    void writeSettings();

    // Brings the controls in line with the model after a command.
    void showState();
    void showSizeFields();
    void showOutcome(const EditOutcome& outcome);
    void fieldEdited(SizeField field, const QString& text);
    void selectColorClick();
    void helpClick();
    int scaled(int pixels) const;
    void nameControls();

    // The controls. Each has its member's name without the underscore as its object name, by which
    // tests and tools find it.
    QPushButton* btSaveAs_;
    QPushButton* btPrint_;
    QPushButton* btHelp_;
    QPushButton* btClose_;
    QToolButton* sbScroll_;
    QToolButton* sbSelect_;
    QToolButton* sbCrop_;
    QToolButton* sbRotate_;
    QToolButton* sbUndo_;
    QAction* miUndo_;
    QAction* miUndoAll_;
    QAction* miRotate90_;
    QAction* miRotate180_;
    QAction* miRotate270_;
    QGroupBox* gbImageSize_;
    QComboBox* cbUnits_;
    QLineEdit* edHeight_;
    QLineEdit* edWidth_;
    QCheckBox* cbKeepRatio_;
    QCheckBox* cbSmooth_;
    QPushButton* btApply_;
    QFrame* pnBackground_;
    QToolButton* sbSelectColor_;
    EditorPaintArea* paintArea_;
    EditorStatusBar* statusBar_;

    const Platform& platform_;
    SettingsFile& iniFile_;
    ImageEditorHost host_;
    int pixelsPerInch_ = 96;
    EditorCursors cursors_;
    std::unique_ptr<ImageEditorModel> model_;
    QButtonGroup* toolGroup_ = nullptr;
    QTimer markTimer_;
    ColorRef background_ = kDefaultBackground;
    StoredWindowPlacement placement_;
    // Last, so that it is forgotten before anything it writes goes.
    OpenWindowSettings settingsAtEnd_{[this] { writeSettings(); }};
};
