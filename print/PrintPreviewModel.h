// The Print Preview's behaviour without its widgets: the printer's page, the settings and the
// fields' texts, which controls are enabled, the layout and the preview picture, dragging the
// image, and the print job. The window forwards its events here and shows the results.
#pragma once

#include "common/Bitmap.h"
#include "common/Geometry.h"
#include "common/PrinterMetrics.h"
#include "print/NumberFormat.h"
#include "print/PageLayout.h"
#include "print/PreviewMapping.h"
#include "print/PrintSettings.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>

class PrintService;
class SettingsFile;
class QWidget;

enum class PreviewCursor { Arrow, OpenHand, ClosedHand };

// Which of the settings' controls accept input.
struct PreviewControlStates {
    bool zoom = true; // the Zoom label and field
    bool centerDown = true;
    bool centerAcross = true;
    bool top = false; // the Top label and field
    bool left = false;
};

class PrintPreviewModel {
public:
    // `image` is the captured image, read when the preview is drawn and when printing;
    // `notSaved` is cleared by a print job that reached the printer.
    PrintPreviewModel(PrintService& printer, SettingsFile& settingsFile, const Bitmap& image, bool& notSaved,
                      NumberFormat numbers, int screenPpi);

    // The creation steps: the printer's page, the stored settings (the window centred on
    // `screen` by default) and the offsets written back with two decimals.
    void create(Size screen, Point screenOrigin = {});
    // Writes the settings with the window's placement.
    bool writeSettings(const Rect& window);

    // The controls' values. The window writes the user's edits here before calling the matching
    // event, and shows them again after each event.
    PrintSettings& settings() { return settings_; }
    const PrintSettings& settings() const { return settings_; }
    PreviewControlStates controlStates() const;
    std::string printerPanelText() const;
    const std::string& paperSize() const { return paperSize_; }

    // Layout and drawing run only while the window is active, as for the user's own edits.
    void setActive(bool active) { active_ = active; }
    void setPreviewSize(Size box) { box_ = box; }
    // Computes the layout from the controls and redraws the preview picture.
    void updatePreview();

    // Events. Each returns true when the preview was redrawn.
    // An offset, zoom, centring, fit or show setting changed.
    bool settingChanged();
    // The unit list changed: paper-size text and offset fields in the new unit, no layout.
    void unitsChanged(bool inches);
    bool restoreDefaults();
    bool backgroundChosen(ColorRef color);
    // Runs the printer setup dialog; when accepted, reads the page again and redraws.
    bool printerSetup(QWidget* owner);

    // Dragging, in preview pixels. A press returns the cursor to show, or null when it does not
    // start a drag; moves and releases return the cursor and whether the offset fields changed.
    std::optional<PreviewCursor> mousePressed(bool leftButton, Point p);
    struct PointerResult {
        std::optional<PreviewCursor> cursor;
        bool fieldsChanged = false;
    };
    PointerResult mouseMoved(bool anyButtonHeld, Point p);
    PointerResult mouseReleased(Point p);
    bool dragging() const { return dragging_; }

    // Runs a print job's work (drawing the pages, handing them over). A runner may run it on
    // another thread; it sets `abandon` when the work must stop early (the program ends), and
    // returns once the work has stopped.
    using JobRunner = std::function<void(const std::function<void()>& work, std::atomic<bool>& abandon)>;

    // The print job: "Zentrap", one page per copy. Returns the print system's error, if any,
    // once the job has ended. The Copies field is rewritten to the number printed. The job's
    // work touches nothing of the model, so `runJob` may run it anywhere; by default it runs here.
    // An abandoned job prints nothing and reports nothing.
    std::optional<std::string> print(const JobRunner& runJob = {});

    const Bitmap& preview() const { return preview_; }
    const PageLayout& layout() const { return layout_; }
    const PrinterMetrics& metrics() const { return metrics_; }
    Rect imageOnPreview() const { return imageOnPreview_; }
    double previewPixelsPerInch() const { return pixelsPerInch_; }

private:
    void readPrinterMetrics();
    void writeDraggedOffsets(Point p);

    PrintService& printer_;
    SettingsFile& settingsFile_;
    const Bitmap& image_;
    bool& notSaved_;
    NumberFormat numbers_;
    int screenPpi_;

    PrinterMetrics metrics_;
    PrintSettings settings_;
    std::string paperSize_;
    PageLayout layout_;
    bool laidOut_ = false;
    Bitmap preview_;
    Size box_;
    Rect imageOnPreview_;
    double pixelsPerInch_ = 1;
    bool active_ = false;

    bool dragging_ = false;
    Point dragStart_;
    double startLeft_ = 0;
    double startTop_ = 0;
};
