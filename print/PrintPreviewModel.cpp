#include "print/PrintPreviewModel.h"

#include "platform/PrintService.h"
#include "print/PreviewPainter.h"
#include "print/PrintPlacement.h"

#include <exception>
#include <memory>

PrintPreviewModel::PrintPreviewModel(PrintService& printer, SettingsFile& settingsFile, const Bitmap& image,
                                     bool& notSaved, NumberFormat numbers, int screenPpi)
    : printer_(printer), settingsFile_(settingsFile), image_(image), notSaved_(notSaved), numbers_(std::move(numbers)),
      screenPpi_(screenPpi > 0 ? screenPpi : 96)
{
}

void PrintPreviewModel::create(Size screen, Point screenOrigin)
{
    readPrinterMetrics();
    settings_ = readPrintSettings(settingsFile_, screen, screenPpi_, screenOrigin);
    normalizeOffsetTexts(settings_.layout, numbers_);
    paperSize_ = paperSizeText(metrics_, settings_.layout.inches, numbers_);
}

bool PrintPreviewModel::writeSettings(const Rect& window)
{
    settings_.window = window;
    return writePrintSettings(settingsFile_, settings_);
}

void PrintPreviewModel::readPrinterMetrics()
{
    metrics_ = printer_.metrics();
    // A page without resolution or size cannot be laid out; keep the model's own defaults.
    if (metrics_.dpiX <= 0 || metrics_.dpiY <= 0 || metrics_.paperWidth <= 0 || metrics_.paperHeight <= 0) {
        metrics_ = PrinterMetrics{};
    }
    paperSize_ = paperSizeText(metrics_, settings_.layout.inches, numbers_);
}

PreviewControlStates PrintPreviewModel::controlStates() const
{
    const LayoutSettings& l = settings_.layout;
    if (l.fit) {
        return {false, false, false, false, false};
    }
    return {true, true, true, !l.centerDown, !l.centerAcross};
}

std::string PrintPreviewModel::printerPanelText() const
{
    return "   Printer: " + printer_.currentPrinter();
}

void PrintPreviewModel::updatePreview()
{
    layout_ = computePageLayout(metrics_, settings_.layout, image_.width(), image_.height(), screenPpi_, numbers_);
    laidOut_ = true;
    SheetGeometry sheet = SheetGeometry::of(metrics_);
    PreviewMapping map(box_, sheet.paperWidth, sheet.paperHeight);
    pixelsPerInch_ = map.pixelsPerInch();
    imageOnPreview_ = map.toPreview(layout_.image);
    PreviewOptions options{settings_.showMargins, settings_.showFrame, settings_.background};
    if (image_.pixelFormat() == PixelFormat::Bpp24) {
        paintPreview(preview_, box_, sheet, layout_, image_, screenPpi_, options);
    } else {
        paintPreview(preview_, box_, sheet, layout_, image_.converted(PixelFormat::Bpp24), screenPpi_, options);
    }
}

bool PrintPreviewModel::settingChanged()
{
    if (!active_) {
        return false;
    }
    updatePreview();
    return true;
}

void PrintPreviewModel::unitsChanged(bool inches)
{
    settings_.layout.inches = inches;
    paperSize_ = paperSizeText(metrics_, inches, numbers_);
    if (!laidOut_) {
        layout_ = computePageLayout(metrics_, settings_.layout, image_.width(), image_.height(), screenPpi_, numbers_);
        laidOut_ = true;
    }
    rewriteOffsetsForUnit(settings_.layout, layout_, numbers_);
}

bool PrintPreviewModel::restoreDefaults()
{
    settings_.restoreDefaults();
    updatePreview();
    return true;
}

bool PrintPreviewModel::backgroundChosen(ColorRef color)
{
    settings_.background = color;
    updatePreview();
    return true;
}

bool PrintPreviewModel::printerSetup(QWidget* owner)
{
    if (!printer_.runSetupDialog(owner)) {
        return false;
    }
    readPrinterMetrics();
    updatePreview();
    return true;
}

std::optional<PreviewCursor> PrintPreviewModel::mousePressed(bool leftButton, Point p)
{
    if (!leftButton || !pointerOverImage(imageOnPreview_, p)) {
        return std::nullopt;
    }
    dragging_ = true;
    startLeft_ = numbers_.parseDecimal(settings_.layout.xOffsetText).value_or(0.0);
    startTop_ = numbers_.parseDecimal(settings_.layout.yOffsetText).value_or(0.0);
    dragStart_ = p;
    return PreviewCursor::ClosedHand;
}

void PrintPreviewModel::writeDraggedOffsets(Point p)
{
    double u = unitFactor(settings_.layout.inches);
    settings_.layout.yOffsetText = numbers_.formatFixed(startTop_ + (p.y - dragStart_.y) / pixelsPerInch_ * u, 2);
    settings_.layout.xOffsetText = numbers_.formatFixed(startLeft_ + (p.x - dragStart_.x) / pixelsPerInch_ * u, 2);
}

PrintPreviewModel::PointerResult PrintPreviewModel::mouseMoved(bool anyButtonHeld, Point p)
{
    if (dragging_) {
        writeDraggedOffsets(p);
        updatePreview();
        return {std::nullopt, true};
    }
    bool over = !anyButtonHeld && pointerOverImage(imageOnPreview_, p);
    return {over ? PreviewCursor::OpenHand : PreviewCursor::Arrow, false};
}

PrintPreviewModel::PointerResult PrintPreviewModel::mouseReleased(Point p)
{
    PointerResult result;
    if (pointerOverImage(imageOnPreview_, p)) {
        result.cursor = PreviewCursor::OpenHand;
        if (dragging_) {
            writeDraggedOffsets(p);
            result.fieldsChanged = true;
            settingChanged();
        }
    } else {
        result.cursor = PreviewCursor::Arrow;
    }
    dragging_ = false;
    return result;
}

std::optional<std::string> PrintPreviewModel::print(const JobRunner& runJob)
{
    int copies = copiesFromText(settings_.copiesText, numbers_);
    if (numbers_.parseInteger(settings_.copiesText) != copies) {
        settings_.copiesText = std::to_string(copies);
    }
    if (!laidOut_) {
        layout_ = computePageLayout(metrics_, settings_.layout, image_.width(), image_.height(), screenPpi_, numbers_);
        laidOut_ = true;
    }
    const Bitmap copy = image_.converted(PixelFormat::Bpp24);
    const Rect destination = printDestination(metrics_, layout_, copy.width(), copy.height(), screenPpi_);

    std::optional<std::string> error;
    std::atomic<bool> abandon{false};
    auto work = [&] {
        std::unique_ptr<PrintJob> job;
        bool endTried = false;
        try {
            job = printer_.startJob("Zentrap");
            for (int i = 0; i < copies && !abandon; ++i) {
                if (i > 0) {
                    job->newPage();
                }
                job->drawImage(copy, destination);
            }
            if (abandon) {
                return; // the job goes without being handed over
            }
            endTried = true;
            job->end();
        } catch (const std::exception& e) {
            error = e.what();
        }
        if (error && job && !endTried) {
            // The job is ended also after a failure; its own failure is the one already reported.
            try {
                job->end();
            } catch (const std::exception&) {
            }
        }
    };
    if (runJob) {
        runJob(work, abandon);
    } else {
        work();
    }
    if (abandon) {
        return std::nullopt;
    }
    // A capture that did not reach the printer is still unsaved: the exit question must protect it.
    if (!error) {
        notSaved_ = false;
    }
    return error;
}
