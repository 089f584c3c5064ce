#include "save/ui/SaveAsDialog.h"

#include "common/SettingsStore.h"
#include "common/WindowPlacement.h"
#include "common/ui/ColorChoice.h"
#include "common/ui/ObjectNames.h"
#include "common/ui/ScreenDensity.h"
#include "platform/Platform.h"
#include "platform/x11/OpeningMonitor.h"
#include "save/SaveDir.h"
#include "save/SaveLayout.h"
#include "save/SaveSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMoveEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <exception>

namespace {

constexpr int kGaugeSteps = 10000;
constexpr int kGaugeWidth = 84; // at 96 pixels per inch
constexpr int kGaugeHeight = 12;
constexpr int kRelayoutDelayMs = 100;
constexpr int kOptimizedPalette = 7;
const char* const kHelpTopic = "HTML/Saving.htm";
constexpr std::string_view kPlacementSection = "Save";

// The "Format: " list: the table's words in the order of the format codes.
QStringList formatItems()
{
    QStringList items;
    for (const OutputFormat& format : outputFormats()) {
        items << QString::fromLatin1(format.word.data(), static_cast<qsizetype>(format.word.size()));
    }
    return items;
}

const QStringList kPaletteItems = {"Windows system", "Windows halftone", "Windows grayscale", "Monochrome",
                                   "Grayscale",      "Netscape",         "Optimized...",      "Optimized Windows"};
// What "Colors:" shows for every palette but "Optimized...".
const QStringList kPaletteCounts = {"20", "256", "4", "b/w", "256", "216", "", "256"};
const QStringList kColorCountItems = {"8", "16", "32", "64", "128", "256"};
const QStringList kDitherItems = {"Nearest color",          "Floyd Steinberg",   "Stucki", "Sierra",
                                  "Jarvis, Judice & Ninke", "Stevenson & Arche", "Burkes"};
const QStringList kCompressionItems = {"LZW", "RLE"};

enum SettingsPage { kPageNone = 0, kPageJpeg = 1, kPageGif = 2, kPageUnknown = 3 };

NumberSeparators userSeparators()
{
    QLocale locale;
    return {locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

// The busy cursor while one variant encodes; restored however the encoding ends.
class BusyCursor {
public:
    explicit BusyCursor(bool show) : shown_(show)
    {
        if (shown_) {
            QApplication::setOverrideCursor(Qt::BusyCursor);
        }
    }
    ~BusyCursor()
    {
        if (shown_) {
            QApplication::restoreOverrideCursor();
        }
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool shown_;
};

// Sets updating_ for a scope and restores the previous state.
class UpdatingScope {
public:
    explicit UpdatingScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~UpdatingScope() { flag_ = previous_; }
    UpdatingScope(const UpdatingScope&) = delete;
    UpdatingScope& operator=(const UpdatingScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

QComboBox* makeList(const QStringList& items, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->addItems(items);
    return box;
}

QFrame* makeSwatch(QWidget* parent)
{
    auto* swatch = new QFrame(parent);
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setFixedSize(24, 20);
    swatch->setAutoFillBackground(true);
    return swatch;
}

std::string saveFolderFallback()
{
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists()) {
        return pictures.toStdString();
    }
    return QDir::homePath().toStdString();
}

} // namespace

SaveAsDialog::SaveAsDialog(const Platform& platform, SettingsFile& iniFile, const SaveAsDialogHost& host,
                           QWidget* owner)
    : QDialog(owner), platform_(platform), pixelsPerInch_(layoutPixelsPerInch(platform.pixelsPerInch)),
      iniFile_(iniFile), host_(host), session_(host.image, userSeparators()), cursors_(SavePaneCursors::load()),
      placement_(*this, [&platform] { return platform.screen.availableAreas(); })
{
    setWindowTitle("Zentrap Save As");
    setSizeGripEnabled(false);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    relayoutTimer_.setSingleShot(true);
    relayoutTimer_.setInterval(kRelayoutDelayMs);
    connect(&relayoutTimer_, &QTimer::timeout, this, &SaveAsDialog::updateLayout);
    buildControls();
    nameControls();
    connectControls();
    loadVariants();
}

// Ended from outside, the window is destroyed without a close: its values are written here then.
SaveAsDialog::~SaveAsDialog()
{
    try {
        writeSettings();
    } catch (const std::exception&) {
        // A failed write is not reported.
    }
}

void SaveAsDialog::buildControls()
{
    buildPanes();

    auto* column = new QWidget(this);
    column->setObjectName("pnControls");
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, kSaveBorder, kSaveBorder, 0);

    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(new QLabel("Format: ", column));
    formatBox_ = makeList(formatItems(), column);
    formatRow->addWidget(formatBox_, 1);
    layout->addLayout(formatRow);

    settingsPages_ = new QStackedWidget(column);
    auto* none = new QLabel("No additional settings", settingsPages_);
    none->setAlignment(Qt::AlignCenter);
    settingsPages_->addWidget(none);
    settingsPages_->addWidget(buildJpegPanel());
    settingsPages_->addWidget(buildGifPanel());
    settingsPages_->addWidget(new QWidget(settingsPages_)); // a stored format code that names no format
    layout->addWidget(settingsPages_);

    defaultsButton_ = new QPushButton("Defaults", column);
    layout->addWidget(defaultsButton_);

    auto* backgroundRow = new QHBoxLayout;
    backgroundRow->addWidget(new QLabel("Background:", column));
    backgroundColorPanel_ = makeSwatch(column);
    backgroundRow->addWidget(backgroundColorPanel_);
    colorDialogButton_ = new QToolButton(column);
    colorDialogButton_->setText("...");
    backgroundRow->addWidget(colorDialogButton_);
    backgroundRow->addStretch(1);
    layout->addLayout(backgroundRow);

    auto* guide = new QGroupBox(" Quick size guide ", column);
    auto* guideLayout = new QGridLayout(guide);
    for (int n = 1; n <= kVariantCount; ++n) {
        guideLayout->addWidget(new QLabel(QString::number(n), guide), n - 1, 0);
        auto* gauge = new QProgressBar(guide);
        gauge->setObjectName(QString("ggSize%1").arg(n));
        gauge->setTextVisible(false);
        gauge->setRange(0, kGaugeSteps);
        gauge->setValue(0);
        gauge->setFixedSize(scaledToScreen(kGaugeWidth), scaledToScreen(kGaugeHeight));
        guideLayout->addWidget(gauge, n - 1, 1);
        gauges_[static_cast<size_t>(n - 1)] = gauge;
    }
    layout->addWidget(guide);
    layout->addStretch(1);

    saveButton_ = new QPushButton("Save...", column);
    saveButton_->setDefault(true);
    closeButton_ = new QPushButton("Close", column);
    helpButton_ = new QPushButton("Help", column);
    layout->addWidget(saveButton_);
    layout->addWidget(closeButton_);
    layout->addWidget(helpButton_);

    statusLine_ = new QStatusBar(this);
    statusLine_->setSizeGripEnabled(true);

    if (host_.showHint) {
        pickerButton_->setToolTip("Pick color");
        colorDialogButton_->setToolTip("Select color");
    }
}

void SaveAsDialog::nameControls()
{
    giveObjectNames({
        {saveButton_, "saveButton"},
        {closeButton_, "closeButton"},
        {helpButton_, "helpButton"},
        {formatBox_, "formatBox"},
        {jpegQualitySlider_, "jpegQualitySlider"},
        {jpegQualityLabel_, "jpegQualityLabel"},
        {jpegProgressiveBox_, "jpegProgressiveBox"},
        {gifPaletteBox_, "gifPaletteBox"},
        {gifColorsBox_, "gifColorsBox"},
        {gifDitherBox_, "gifDitherBox"},
        {gifCompressionBox_, "gifCompressionBox"},
        {transparentBox_, "transparentBox"},
        {pickerButton_, "pickerButton"},
        {transparentColorPanel_, "transparentColorPanel"},
        {backgroundColorPanel_, "backgroundColorPanel"},
        {colorDialogButton_, "colorDialogButton"},
        {defaultsButton_, "defaultsButton"},
        {settingsPages_, "settingsPages"},
        {statusLine_, "statusLine"},
    });
}

void SaveAsDialog::buildPanes()
{
    for (int n = 1; n <= kVariantCount; ++n) {
        auto* title = new QLabel(QString::fromStdString(session_.variant(n).caption), this);
        title->setAutoFillBackground(true);
        title->setContentsMargins(4, 0, 4, 0);
        titles_[static_cast<size_t>(n - 1)] = title;
        panes_[static_cast<size_t>(n - 1)] = new SaveVariantPanel(n, *this, this);
    }
}

QWidget* SaveAsDialog::buildJpegPanel()
{
    auto* panel = new QWidget(settingsPages_);
    auto* layout = new QVBoxLayout(panel);
    jpegQualityLabel_ = new QLabel("Quality: 75", panel);
    layout->addWidget(jpegQualityLabel_);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(new QLabel("min", panel));
    jpegQualitySlider_ = new QSlider(Qt::Horizontal, panel);
    jpegQualitySlider_->setRange(0, 99);
    jpegQualitySlider_->setPageStep(10);
    sliderRow->addWidget(jpegQualitySlider_, 1);
    sliderRow->addWidget(new QLabel("max", panel));
    layout->addLayout(sliderRow);
    jpegProgressiveBox_ = new QCheckBox("Progressive encoding", panel);
    layout->addWidget(jpegProgressiveBox_);
    layout->addStretch(1);
    return panel;
}

QWidget* SaveAsDialog::buildGifPanel()
{
    auto* panel = new QWidget(settingsPages_);
    auto* layout = new QGridLayout(panel);
    layout->addWidget(new QLabel("Palette: ", panel), 0, 0);
    gifPaletteBox_ = makeList(kPaletteItems, panel);
    layout->addWidget(gifPaletteBox_, 0, 1);
    layout->addWidget(new QLabel("Colors:", panel), 1, 0);
    gifColorsBox_ = makeList(kColorCountItems, panel);
    layout->addWidget(gifColorsBox_, 1, 1);
    layout->addWidget(new QLabel("Dithering: ", panel), 2, 0);
    gifDitherBox_ = makeList(kDitherItems, panel);
    layout->addWidget(gifDitherBox_, 2, 1);
    layout->addWidget(new QLabel("Compression algorithm: ", panel), 3, 0, 1, 2);
    gifCompressionBox_ = makeList(kCompressionItems, panel);
    layout->addWidget(gifCompressionBox_, 4, 0, 1, 2);

    auto* transparentRow = new QHBoxLayout;
    transparentBox_ = new QCheckBox("Transparent color", panel);
    transparentRow->addWidget(transparentBox_);
    pickerButton_ = new QToolButton(panel);
    pickerButton_->setCheckable(true);
    pickerButton_->setEnabled(false);
    pickerButton_->setIcon(QIcon(cursors_.picker.pixmap()));
    transparentRow->addWidget(pickerButton_);
    transparentColorPanel_ = makeSwatch(panel);
    transparentRow->addWidget(transparentColorPanel_);
    layout->addLayout(transparentRow, 5, 0, 1, 2);
    layout->setRowStretch(6, 1);
    return panel;
}

void SaveAsDialog::connectControls()
{
    connect(saveButton_, &QPushButton::clicked, this, &SaveAsDialog::saveActiveVariant);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, &SaveAsDialog::helpClicked);
    // `activated` comes from the user only; loading the controls never starts an encoding.
    connect(formatBox_, &QComboBox::activated, this, &SaveAsDialog::formatChanged);
    connect(jpegQualitySlider_, &QSlider::valueChanged, this, [this](int position) {
        jpegQualityLabel_->setText(QString("Quality: %1").arg(position + 1));
        if (!jpegQualitySlider_->isSliderDown()) {
            jpegQualityCommitted(); // a key, the wheel or a click beside the thumb
        }
    });
    connect(jpegQualitySlider_, &QSlider::sliderReleased, this, &SaveAsDialog::jpegQualityCommitted);
    connect(jpegProgressiveBox_, &QCheckBox::clicked, this, &SaveAsDialog::jpegProgressiveClicked);
    connect(gifPaletteBox_, &QComboBox::activated, this, &SaveAsDialog::gifPaletteChanged);
    connect(gifColorsBox_, &QComboBox::activated, this, &SaveAsDialog::gifColorsChanged);
    connect(gifDitherBox_, &QComboBox::activated, this, &SaveAsDialog::gifDitherChanged);
    connect(gifCompressionBox_, &QComboBox::activated, this, &SaveAsDialog::gifCompressionChanged);
    connect(transparentBox_, &QCheckBox::clicked, this, &SaveAsDialog::transparentClicked);
    connect(colorDialogButton_, &QToolButton::clicked, this, &SaveAsDialog::colorDialogClicked);
    connect(defaultsButton_, &QPushButton::clicked, this, &SaveAsDialog::defaultsClicked);
}

void SaveAsDialog::loadVariants()
{
    int activeVar = 1;
    {
        UpdatingScope updating(updating_);
        SettingsStore store(platform_.userHive, platform_.machineHive);
        SettingsKey key = store.open();
        for (int n = 1; n <= kVariantCount; ++n) {
            session_.setVariantSettings(n, readVariantSettings(key, n));
            if (std::optional<ImageFormat> format = session_.variant(n).format()) {
                encodeVariant(n, *format);
            }
        }
        const SaveAsSettings stored = readSaveAsSettings(key);
        SaveDir() = resolveSaveDir(stored.saveDir, SaveDir(), saveFolderFallback());
        activeVar = stored.activeVar;
    }
    setActiveVariant(activeVar);
    readPlacement();
}

void SaveAsDialog::readPlacement()
{
    const Rect home = openingMonitor(platform_.screen, parentWidget());
    const Point centred = saveWindowDefaultPosition({home.width(), home.height()}, pixelsPerInch_);
    const Point defaultTopLeft{home.left + centred.x, home.top + centred.y};
    const WindowPlacement placement =
        readWindowPlacement(iniFile_, kPlacementSection,
                            {defaultTopLeft.x, defaultTopLeft.y, kSaveWindowDesignedSize.width,
                             kSaveWindowDesignedSize.height, kDefaultBackground});
    // An absurd stored size or a place off every screen would put the buttons out of reach.
    placement_.restore(placement, saveWindowMinimumSize(pixelsPerInch_), defaultTopLeft);
    background_ = placement.background;
    setSwatch(backgroundColorPanel_, background_);
}

void SaveAsDialog::writeSettings()
{
    if (settingsWritten_) {
        return;
    }
    settingsWritten_ = true;
    {
        SettingsStore store(platform_.userHive, platform_.machineHive);
        SettingsKey key = store.open();
        for (int n = 1; n <= kVariantCount; ++n) {
            writeVariantSettings(key, session_.variant(n));
        }
        writeSaveAsSettings(key, {session_.activeVariant(), SaveDir()});
    }
    writeWindowPlacement(iniFile_, kPlacementSection, placement_.toStore(background_));
}

void SaveAsDialog::done(int result)
{
    writeSettings();
    QDialog::done(result);
}

void SaveAsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    updateLayout();
    if (!event->spontaneous()) {
        formatBox_->setFocus(); // the keyboard starts on the format of the active variant
    }
}

void SaveAsDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    updateLayout();
}

void SaveAsDialog::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    placement_.moved(*event);
}

void SaveAsDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        relayoutTimer_.start(); // the new size is in place only after the window manager's answer
    }
}

void SaveAsDialog::updateLayout()
{
    int statusHeight = statusLine_->sizeHint().height();
    statusLine_->setGeometry(0, height() - statusHeight, width(), statusHeight);
    // The column and the titles take what their text needs in the font in use, and never less than
    // their designed sizes scaled to the screen's pixels per inch.
    int columnWidth = scaledToScreen(kSaveControlColumnWidth);
    if (QWidget* column = findChild<QWidget*>("pnControls")) {
        columnWidth = std::max(columnWidth, column->sizeHint().width());
        column->setGeometry(width() - columnWidth, 0, columnWidth, height() - statusHeight);
    }
    const int titleHeight = std::max(scaledToScreen(kSavePaneTitleHeight), titles_[0]->sizeHint().height());
    auto areas = savePaneAreas(width(), height(), statusHeight, columnWidth);
    for (size_t i = 0; i < areas.size(); ++i) {
        const Rect& a = areas[i];
        titles_[i]->setGeometry(a.left, a.top, a.width(), titleHeight);
        panes_[i]->setGeometry(a.left, a.top + titleHeight, a.width(), std::max(0, a.height() - titleHeight));
        panes_[i]->paintBox()->setGeometry(panes_[i]->contentsRect());
    }
    const SavePreviewPane* reference = paintBox(1);
    offsetX_ = clampScrollOffset(offsetX_, session_.workImage().width(), reference->width());
    offsetY_ = clampScrollOffset(offsetY_, session_.workImage().height(), reference->height());
    repaintPreviews();
}

void SaveAsDialog::setActiveVariant(int n)
{
    QPalette normal = palette();
    QLabel* previous = titles_[static_cast<size_t>(session_.activeVariant() - 1)];
    normal.setColor(QPalette::Window, palette().color(QPalette::Button));
    normal.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    previous->setPalette(normal);

    session_.setActiveVariant(n);
    QPalette highlighted = palette();
    highlighted.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    highlighted.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
    titles_[static_cast<size_t>(session_.activeVariant() - 1)]->setPalette(highlighted);

    UpdatingScope updating(updating_);
    std::optional<ImageFormat> format = session_.active().format();
    formatBox_->setCurrentIndex(format ? static_cast<int>(*format) : -1);
    formatChanged();
}

void SaveAsDialog::formatChanged()
{
    std::optional<ImageFormat> format = formatFromCode(formatBox_->currentIndex());
    saveButton_->setEnabled(format.has_value());
    if (!format) {
        settingsPages_->setCurrentIndex(kPageUnknown);
        defaultsButton_->setEnabled(false);
        return;
    }
    bool hasSettings = *format == ImageFormat::Jpeg || *format == ImageFormat::Gif;
    settingsPages_->setCurrentIndex(*format == ImageFormat::Jpeg  ? kPageJpeg
                                    : *format == ImageFormat::Gif ? kPageGif
                                                                  : kPageNone);
    defaultsButton_->setEnabled(hasSettings);
    int n = session_.activeVariant();
    showVariantSettings(n, *format);
    if (!updating_) {
        encodeVariant(n, *format);
    }
}

void SaveAsDialog::showVariantSettings(int n, ImageFormat format)
{
    UpdatingScope updating(updating_);
    SaveVariant& v = session_.variant(n);
    if (format == ImageFormat::Jpeg) {
        jpegQualitySlider_->setValue(v.JPEGCompressionQuality - 1);
        jpegQualityLabel_->setText(QString("Quality: %1").arg(v.JPEGCompressionQuality));
        jpegProgressiveBox_->setChecked(v.JPEGProgressiveEncoding);
    } else if (format == ImageFormat::Gif) {
        gifPaletteBox_->setCurrentIndex(v.GIFColorReduction - 1);
        showGifColorCount(n);
        gifDitherBox_->setCurrentIndex(v.GIFDitherMode);
        gifCompressionBox_->setCurrentIndex(v.GIFCompression);
        transparentBox_->setChecked(v.GIFIsTransparent);
        pickerButton_->setEnabled(v.GIFIsTransparent);
        if (!v.GIFIsTransparent) {
            pickerButton_->setChecked(false);
        }
        setSwatch(transparentColorPanel_, session_.pickedColor(n)); // also moves a pick outside back to (0, 0)
    }
}

void SaveAsDialog::showGifColorCount(int n)
{
    UpdatingScope updating(updating_);
    const SaveVariant& v = session_.variant(n);
    gifColorsBox_->clear();
    if (v.GIFColorReduction == kOptimizedPalette) {
        gifColorsBox_->addItems(kColorCountItems);
        gifColorsBox_->setCurrentIndex(kColorCountItems.indexOf(QString::number(v.GIFColorResolution)));
        gifColorsBox_->setEnabled(true);
    } else {
        gifColorsBox_->addItem(kPaletteCounts.value(v.GIFColorReduction - 1));
        gifColorsBox_->setEnabled(false);
    }
}

void SaveAsDialog::encodeVariant(int n, ImageFormat format)
{
    BusyCursor busy(format != ImageFormat::Bmp);
    if (!session_.encode(n, format)) {
        return; // a failed measurement leaves the pane as it was
    }
    refreshPane(n);
    const SaveVariant& v = session_.variant(n);
    if (format == ImageFormat::Gif && v.GIFIsTransparent && n == session_.activeVariant()) {
        setSwatch(transparentColorPanel_, session_.pickedColor(n));
    }
}

void SaveAsDialog::refreshPane(int n)
{
    size_t i = static_cast<size_t>(n - 1);
    titles_[i]->setText(QString::fromStdString(session_.variant(n).caption));
    gauges_[i]->setValue(static_cast<int>(std::lround(session_.gaugeFraction(n) * kGaugeSteps)));
    panes_[i]->paintBox()->update();
}

void SaveAsDialog::repaintPreviews()
{
    for (SaveVariantPanel* pane : panes_) {
        pane->paintBox()->update();
    }
}

void SaveAsDialog::setSwatch(QFrame* swatch, ColorRef color)
{
    if (swatch == transparentColorPanel_) {
        transparentSwatch_ = color;
    }
    showColorSwatch(*swatch, color);
}

void SaveAsDialog::setPickerDown(bool down)
{
    pickerButton_->setChecked(down);
}

void SaveAsDialog::jpegQualityCommitted()
{
    if (updating_) {
        return;
    }
    jpegQualityLabel_->setText(QString("Quality: %1").arg(jpegQualitySlider_->value() + 1));
    session_.active().JPEGCompressionQuality = jpegQualitySlider_->value() + 1;
    encodeJpeg(session_.activeVariant());
}

void SaveAsDialog::jpegProgressiveClicked()
{
    if (updating_) {
        return;
    }
    session_.active().JPEGProgressiveEncoding = jpegProgressiveBox_->isChecked();
    encodeJpeg(session_.activeVariant());
}

void SaveAsDialog::gifPaletteChanged()
{
    if (updating_) {
        return;
    }
    session_.active().GIFColorReduction = gifPaletteBox_->currentIndex() + 1;
    showGifColorCount(session_.activeVariant());
    encodeGif(session_.activeVariant());
}

void SaveAsDialog::gifColorsChanged()
{
    if (updating_ || session_.active().GIFColorReduction != kOptimizedPalette) {
        return;
    }
    session_.active().GIFColorResolution = gifColorsBox_->currentText().toInt();
    encodeGif(session_.activeVariant());
}

void SaveAsDialog::gifDitherChanged()
{
    if (updating_) {
        return;
    }
    session_.active().GIFDitherMode = gifDitherBox_->currentIndex();
    encodeGif(session_.activeVariant());
}

void SaveAsDialog::gifCompressionChanged()
{
    if (updating_) {
        return;
    }
    session_.active().GIFCompression = gifCompressionBox_->currentIndex();
    encodeGif(session_.activeVariant());
}

void SaveAsDialog::transparentClicked()
{
    if (updating_) {
        return;
    }
    bool transparent = transparentBox_->isChecked();
    pickerButton_->setEnabled(transparent);
    if (!transparent) {
        setPickerDown(false);
    }
    session_.active().GIFIsTransparent = transparent;
}

void SaveAsDialog::colorDialogClicked()
{
    if (std::optional<ColorRef> color = chooseColor(background_)) {
        background_ = *color;
        setSwatch(backgroundColorPanel_, background_);
        updateLayout();
    }
}

void SaveAsDialog::defaultsClicked()
{
    int n = session_.activeVariant();
    std::optional<ImageFormat> format = session_.active().format();
    if (format == ImageFormat::Jpeg) {
        session_.active().restoreJpegDefaults();
    } else if (format == ImageFormat::Gif) {
        session_.active().restoreGifDefaults();
    } else {
        return;
    }
    showVariantSettings(n, *format);
    encodeVariant(n, *format);
    paintBox(n)->update();
}

void SaveAsDialog::helpClicked()
{
    platform_.help.displayTopic(platform_.programFolder + "ztp.chm::/" + kHelpTopic);
}

void SaveAsDialog::saveActiveVariant()
{
    std::optional<ImageFormat> format = session_.active().format();
    if (!format) {
        return;
    }
    if (*format == ImageFormat::Gif) {
        encodeGif(session_.activeVariant()); // the stored pixel is current
    }
    std::string name = "Capture" + std::to_string(host_.captureNumber);
    std::optional<std::string> path = chooseSaveFile(SaveDir(), name, saveFileType(*format));
    if (!path) {
        return;
    }
    try {
        session_.saveActive(*path);
    } catch (const std::exception& e) {
        platform_.messages.showMessage(e.what(), this);
        return;
    }
    host_.notSaved = false;
    SaveDir() = folderOfFile(*path);
    ++host_.captureNumber;
}

std::optional<std::string> SaveAsDialog::chooseSaveFile(const std::string& folder, const std::string& name,
                                                        const SaveFileType& type)
{
    // Qt's own dialog, so that the keyboard drives it the same on every desktop.
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromStdString(type.filter));
    dialog.setDefaultSuffix(QString::fromStdString(type.extension));
    dialog.setDirectory(QString::fromStdString(folder));
    dialog.selectFile(QString::fromStdString(name));
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

std::optional<ColorRef> SaveAsDialog::chooseColor(ColorRef initial)
{
    return ::chooseColor(initial, this);
}

int SaveAsDialog::scaledToScreen(int designed) const
{
    return scaledDesignLength(designed, pixelsPerInch_);
}

QString SaveAsDialog::paneTitle(int n) const
{
    return titles_.at(static_cast<size_t>(n - 1))->text();
}

double SaveAsDialog::gaugeFraction(int n) const
{
    return static_cast<double>(gauges_.at(static_cast<size_t>(n - 1))->value()) / kGaugeSteps;
}

SavePreviewPane* SaveAsDialog::paintBox(int n) const
{
    return panes_.at(static_cast<size_t>(n - 1))->paintBox();
}

const Bitmap* SaveAsDialog::panePicture(int variant) const
{
    return session_.variant(variant).picture.get();
}

QColor SaveAsDialog::paneBackground() const
{
    return toQColor(background_);
}

bool SaveAsDialog::imageScrollsIn(const SavePreviewPane* box) const
{
    const Bitmap& image = session_.workImage();
    return image.width() > box->width() || image.height() > box->height();
}

void SaveAsDialog::updateOffsetsForDrag(const SavePreviewPane* box, QPoint pos)
{
    const Bitmap& image = session_.workImage();
    offsetX_ = dragScrollOffset(offsetX_, dragX_, pos.x(), image.width(), box->width());
    offsetY_ = dragScrollOffset(offsetY_, dragY_, pos.y(), image.height(), box->height());
}

void SaveAsDialog::previewMouseDown(int variant, Qt::MouseButton button, QPoint pos)
{
    if (button != Qt::LeftButton) {
        return;
    }
    if (variant != session_.activeVariant()) {
        setActiveVariant(variant);
        setPickerDown(false);
        return;
    }
    SavePreviewPane* box = paintBox(variant);
    if (session_.active().format() == ImageFormat::Gif && pickerButton_->isChecked()) {
        if (session_.pick(variant, pos.x() + offsetX_, pos.y() + offsetY_)) {
            setSwatch(transparentColorPanel_, session_.pickedColor(variant));
            box->update();
        }
        return;
    }
    if (!imageScrollsIn(box)) {
        return;
    }
    box->setCursor(cursors_.handClosed);
    dragging_ = true;
    dragX_ = pos.x() + offsetX_;
    dragY_ = pos.y() + offsetY_;
}

void SaveAsDialog::previewMouseMove(int variant, Qt::MouseButtons buttons, QPoint pos)
{
    SavePreviewPane* box = paintBox(variant);
    if (buttons == Qt::LeftButton && dragging_) {
        updateOffsetsForDrag(box, pos);
        repaintPreviews();
        return;
    }
    if (variant != session_.activeVariant()) {
        return;
    }
    const Bitmap& image = session_.workImage();
    QPoint inImage = pos + QPoint(offsetX_, offsetY_);
    const bool overImage =
        inImage.x() >= 0 && inImage.y() >= 0 && inImage.x() < image.width() && inImage.y() < image.height();
    if (overImage && session_.active().format() == ImageFormat::Gif && pickerButton_->isChecked()) {
        box->setCursor(cursors_.picker);
    } else if (overImage && imageScrollsIn(box)) {
        box->setCursor(cursors_.handOpen);
    } else {
        box->unsetCursor();
    }
}

void SaveAsDialog::previewMouseUp(int variant, Qt::MouseButton button, QPoint pos)
{
    if (button != Qt::LeftButton || !dragging_) {
        return;
    }
    SavePreviewPane* box = paintBox(variant);
    box->setCursor(cursors_.handOpen);
    dragging_ = false;
    updateOffsetsForDrag(box, pos);
    repaintPreviews();
}
