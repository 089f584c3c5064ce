// The Save As window: four encodings of the captured image side by side with their sizes and
// previews, the settings of the active one, and saving it to a file.
#pragma once

#include "common/Bitmap.h"
#include "common/Color.h"
#include "formats/SavePane.h"
#include "formats/SaveSession.h"

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
struct SaveFormHost {
    const Bitmap& image;    // FImage, copied when the window is created
    int32_t& captureNumber; // FCaptureNumber: the number of the offered file name
    bool& notSaved;         // FNotSaved: cleared by a successful save
    bool showHint = true;   // the Remote Control's "ShowHint"
};

class TSaveForm : public QDialog, public SavePaneHost {
    Q_OBJECT
public:
    TSaveForm(const Platform& platform, SettingsFile& iniFile, const SaveFormHost& host, QWidget* owner = nullptr);
    ~TSaveForm() override;

    // Operations of the window.
    void SetActiveVariant(int n);
    void ShowVariantSettings(int n, ImageFormat format);
    void ShowGIFColorCount(int n);
    void EncodeBMP(int n) { encodeVariant(n, ImageFormat::Bmp); }
    void EncodeJPEG(int n) { encodeVariant(n, ImageFormat::Jpeg); }
    void EncodeGIF(int n) { encodeVariant(n, ImageFormat::Gif); }
    void EncodePNG(int n) { encodeVariant(n, ImageFormat::Png); }
    void EncodeTIFF(int n) { encodeVariant(n, ImageFormat::Tiff); }
    void UpdateLayout();
    void SaveActiveVariant();

    // Read access for the Remote Control and for tests.
    const SaveSession& session() const { return session_; }
    SaveSession& session() { return session_; }
    QString paneTitle(int n) const;
    double gaugeFraction(int n) const;
    TMyPaintBox* paintBox(int n) const;
    ColorRef background() const { return background_; }
    ColorRef transparentSwatch() const { return transparentSwatch_; }
    QPoint scrollOffset() const override { return {FOffsetX, FOffsetY}; }

    // SavePaneHost
    const Bitmap* panePicture(int variant) const override;
    QColor paneBackground() const override;
    void pbPreviewMouseDown(int variant, Qt::MouseButton button, QPoint pos) override;
    void pbPreviewMouseMove(int variant, Qt::MouseButtons buttons, QPoint pos) override;
    void pbPreviewMouseUp(int variant, Qt::MouseButton button, QPoint pos) override;

    // The controls, named as the window's developer refers to them.
    QPushButton* btSave;
    QPushButton* btClose;
    QPushButton* btHelp;
    QComboBox* cbFormat;
    QSlider* slJPEGQuality;
    QLabel* lbJPEGQuality;
    QCheckBox* cbJPEGProgressive;
    QComboBox* cbGIFPalette;
    QComboBox* cbGIFColors;
    QComboBox* cbGIFDither;
    QComboBox* cbGIFCompression;
    QCheckBox* cbTransparent;
    QToolButton* tbPicker;
    QFrame* pnGIFTransparent;
    QFrame* pnBackground;
    QToolButton* tbColorDialog;
    QPushButton* sbDefaults;
    QStackedWidget* pnSettings;
    QStatusBar* sbStatus;

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
    void FormCreate();
    void readPlacement();
    void writeSettings();

    void encodeVariant(int n, ImageFormat format);
    void encodeInFormat(int n, ImageFormat format);
    void refreshPane(int n);
    void setSwatch(QFrame* swatch, ColorRef color);
    void setPickerDown(bool down);
    bool imageScrollsIn(const TMyPaintBox* box) const;
    void updateOffsetsForDrag(const TMyPaintBox* box, QPoint pos);
    void repaintPreviews();

    void cbFormatChange();
    void slJPEGQualityCommit();
    void cbJPEGProgressiveClick();
    void cbGIFPaletteChange();
    void cbGIFColorsChange();
    void cbGIFDitherChange();
    void cbGIFCompressionChange();
    void cbTransparentClick();
    void tbColorDialogClick();
    void sbDefaultsClick();
    void btHelpClick();

    const Platform& platform_;
    SettingsFile& iniFile_;
    SaveFormHost host_;
    SaveSession session_; // FWorkImage and the four variants
    SavePaneCursors cursors_;

    int FOffsetX = 0;
    int FOffsetY = 0;
    int FDragX = 0;
    int FDragY = 0;
    bool FDragging = false;
    bool FUpdating = false;
    bool settingsWritten_ = false;
    QPoint placedAt_; // the window's position as the settings file holds it
    bool mappingReported_ = false;
    ColorRef background_ = kDefaultBackground;
    ColorRef transparentSwatch_ = 0;

    std::array<QLabel*, kVariantCount> titles_{};
    std::array<TMyVar*, kVariantCount> panes_{};
    std::array<QProgressBar*, kVariantCount> gauges_{};
    QTimer tiRelayout_; // one shot, after maximise or restore
};
