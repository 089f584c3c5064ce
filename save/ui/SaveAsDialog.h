// The Save As window: four encodings of the captured image side by side with their sizes and
// previews, the settings of the active one, and saving it to a file.
#pragma once

#include "common/Bitmap.h"
#include "common/Color.h"
#include "common/OpenWindowSettings.h"
#include "common/ui/StoredWindowPlacement.h"
#include "save/SaveSession.h"
#include "save/ui/SavePreviewPane.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QStackedWidget;
class QStatusBar;
class QToolButton;
class SettingsFile;
struct Platform;

// What the window reads from and gives back to the Remote Control.
struct SaveAsDialogHost {
    const Bitmap& image;    // image, copied when the window is created
    int32_t& captureNumber; // captureNumber: the number of the offered file name
    bool& notSaved;         // notSaved: cleared by a successful save
    bool showHint = true;   // the Remote Control's tooltips option
};

class SaveAsDialog : public QDialog, public SavePaneHost {
    Q_OBJECT
public:
    SaveAsDialog(const Platform& platform, SettingsFile& iniFile, const SaveAsDialogHost& host,
                 QWidget* owner = nullptr);
    ~SaveAsDialog() override;

    // Operations of the window.
    void setActiveVariant(int n);
    void showVariantSettings(int n, ImageFormat format);
    void showGifColorCount(int n);
    void encodeJpeg(int n) { encodeVariant(n, ImageFormat::Jpeg); }
    void encodeGif(int n) { encodeVariant(n, ImageFormat::Gif); }
    void updateLayout();
    void saveActiveVariant();

    // Read access for the Remote Control and for tests.
    const SaveSession& session() const { return session_; }
    SaveSession& session() { return session_; }
    QString paneTitle(int n) const;
    double gaugeFraction(int n) const;
    ColorRef background() const { return background_; }
    ColorRef transparentSwatch() const { return transparentSwatch_; }
    QPoint scrollOffset() const override { return {offsetX_, offsetY_}; }

    // SavePaneHost
    const Bitmap* panePicture(int variant) const override;
    QColor paneBackground() const override;
    void previewMouseDown(int variant, Qt::MouseButton button, QPoint pos) override;
    void previewMouseMove(int variant, Qt::MouseButtons buttons, QPoint pos) override;
    void previewMouseUp(int variant, Qt::MouseButton button, QPoint pos) override;

protected:
    // Seams for the two dialogs, so that tests can answer them.
    virtual std::optional<std::string> chooseSaveFile(const std::string& folder, const std::string& name,
                                                      const SaveFileType& type);
    virtual std::optional<ColorRef> chooseColor(ColorRef initial);

    void done(int result) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    QWidget* buildJpegPanel();
    QWidget* buildGifPanel();
    void buildPanes();
    void connectControls();
    void loadVariants();
    void readPlacement();
    void writeSettings();

    void encodeVariant(int n, ImageFormat format);
    void encodeInFormat(int n, ImageFormat format);
    void refreshPane(int n);
    void setSwatch(QFrame* swatch, ColorRef color);
    void setPickerDown(bool down);
    bool imageScrollsIn(const SavePreviewPane* box) const;
    void updateOffsetsForDrag(const SavePreviewPane* box, QPoint pos);
    void repaintPreviews();
    // A length designed at 96 pixels per inch, at the screen's pixels per inch.
    int scaledToScreen(int designed) const;
    void nameControls();
    // The preview of variant n, named "paintBox<n>".
    SavePreviewPane* paintBox(int n) const;

    // The controls. Each has its member's name without the underscore as its object name, by which
    // tests and tools find it.
    QPushButton* saveButton_;
    QPushButton* closeButton_;
    QPushButton* helpButton_;
    QComboBox* formatBox_;
    QSlider* jpegQualitySlider_;
    QLabel* jpegQualityLabel_;
    QCheckBox* jpegProgressiveBox_;
    QComboBox* gifPaletteBox_;
    QComboBox* gifColorsBox_;
    QComboBox* gifDitherBox_;
    QComboBox* gifCompressionBox_;
    QCheckBox* transparentBox_;
    QToolButton* pickerButton_;
    QFrame* transparentColorPanel_;
    QFrame* backgroundColorPanel_;
    QToolButton* colorDialogButton_;
    QPushButton* defaultsButton_;
    QStackedWidget* settingsPages_;
    QStatusBar* statusLine_;

    void formatChanged();
    void jpegQualityCommitted();
    void jpegProgressiveClicked();
    void gifPaletteChanged();
    void gifColorsChanged();
    void gifDitherChanged();
    void gifCompressionChanged();
    void transparentClicked();
    void colorDialogClicked();
    void defaultsClicked();
    void helpClicked();

    const Platform& platform_;
    int pixelsPerInch_;
    SettingsFile& iniFile_;
    SaveAsDialogHost host_;
    SaveSession session_; // workImage and the four variants
    SavePaneCursors cursors_;
    StoredWindowPlacement placement_;

    int offsetX_ = 0;
    int offsetY_ = 0;
    int dragX_ = 0;
    int dragY_ = 0;
    bool dragging_ = false;
    bool updating_ = false;
    bool settingsWritten_ = false;
    ColorRef background_ = kDefaultBackground;
    ColorRef transparentSwatch_ = 0;

    std::array<QLabel*, kVariantCount> titles_{};
    std::array<SaveVariantPanel*, kVariantCount> panes_{};
    std::array<QProgressBar*, kVariantCount> gauges_{};
    QTimer relayoutTimer_; // one shot, after maximise or restore
    // Last, so that it is forgotten before anything it writes goes.
    OpenWindowSettings settingsAtEnd_{[this] { writeSettings(); }};
};
