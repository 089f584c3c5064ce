#include "formats/SaveUnit.h"

#include "common/SettingsStore.h"
#include "formats/SaveDir.h"
#include "formats/SaveLayout.h"
#include "formats/SavePlacement.h"
#include "formats/SaveSettings.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
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
#include <QScreen>
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
constexpr int kRelayoutDelayMs = 100;
constexpr int kOptimizedPalette = 7;
const char* const kHelpTopic = "HTML/Saving.htm";

const QStringList kFormatItems = {"BMP", "JPEG", "GIF", "PNG", "TIFF"};
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

QColor toQColor(ColorRef c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
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

// Sets FUpdating for a scope and restores the previous state.
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

TSaveForm::TSaveForm(const Platform& platform, SettingsFile& iniFile, const SaveFormHost& host, QWidget* owner)
    : QDialog(owner), platform_(platform), iniFile_(iniFile), host_(host), session_(host.image, userSeparators()),
      cursors_(SavePaneCursors::load())
{
    setWindowTitle("Zentrap Save As");
    setSizeGripEnabled(false);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    tiRelayout_.setSingleShot(true);
    tiRelayout_.setInterval(kRelayoutDelayMs);
    connect(&tiRelayout_, &QTimer::timeout, this, &TSaveForm::UpdateLayout);
    buildControls();
    connectControls();
    FormCreate();
}

TSaveForm::~TSaveForm() = default;

void TSaveForm::buildControls()
{
    buildPanes();

    auto* column = new QWidget(this);
    column->setObjectName("pnControls");
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, kSaveBorder, kSaveBorder, 0);

    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(new QLabel("Format: ", column));
    cbFormat = makeList(kFormatItems, column);
    formatRow->addWidget(cbFormat, 1);
    layout->addLayout(formatRow);

    pnSettings = new QStackedWidget(column);
    auto* none = new QLabel("No additional settings", pnSettings);
    none->setAlignment(Qt::AlignCenter);
    pnSettings->addWidget(none);
    pnSettings->addWidget(buildJpegPanel());
    pnSettings->addWidget(buildGifPanel());
    pnSettings->addWidget(new QWidget(pnSettings)); // a stored format code that names no format
    layout->addWidget(pnSettings);

    sbDefaults = new QPushButton("Defaults", column);
    layout->addWidget(sbDefaults);

    auto* backgroundRow = new QHBoxLayout;
    backgroundRow->addWidget(new QLabel("Background:", column));
    pnBackground = makeSwatch(column);
    backgroundRow->addWidget(pnBackground);
    tbColorDialog = new QToolButton(column);
    tbColorDialog->setText("...");
    backgroundRow->addWidget(tbColorDialog);
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
        gauge->setFixedSize(84, 12);
        guideLayout->addWidget(gauge, n - 1, 1);
        gauges_[static_cast<size_t>(n - 1)] = gauge;
    }
    layout->addWidget(guide);
    layout->addStretch(1);

    btSave = new QPushButton("Save...", column);
    btSave->setDefault(true);
    btClose = new QPushButton("Close", column);
    btHelp = new QPushButton("Help", column);
    layout->addWidget(btSave);
    layout->addWidget(btClose);
    layout->addWidget(btHelp);

    sbStatus = new QStatusBar(this);
    sbStatus->setSizeGripEnabled(true);

    if (host_.showHint) {
        tbPicker->setToolTip("Pick color");
        tbColorDialog->setToolTip("Select color");
    }
}

void TSaveForm::buildPanes()
{
    for (int n = 1; n <= kVariantCount; ++n) {
        auto* title = new QLabel(QString::fromStdString(session_.variant(n).caption), this);
        title->setAutoFillBackground(true);
        title->setContentsMargins(4, 0, 4, 0);
        titles_[static_cast<size_t>(n - 1)] = title;
        panes_[static_cast<size_t>(n - 1)] = new TMyVar(n, *this, this);
    }
}

QWidget* TSaveForm::buildJpegPanel()
{
    auto* panel = new QWidget(pnSettings);
    auto* layout = new QVBoxLayout(panel);
    lbJPEGQuality = new QLabel("Quality: 75", panel);
    layout->addWidget(lbJPEGQuality);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(new QLabel("min", panel));
    slJPEGQuality = new QSlider(Qt::Horizontal, panel);
    slJPEGQuality->setRange(0, 99);
    slJPEGQuality->setPageStep(10);
    sliderRow->addWidget(slJPEGQuality, 1);
    sliderRow->addWidget(new QLabel("max", panel));
    layout->addLayout(sliderRow);
    cbJPEGProgressive = new QCheckBox("Progressive encoding", panel);
    layout->addWidget(cbJPEGProgressive);
    layout->addStretch(1);
    return panel;
}

QWidget* TSaveForm::buildGifPanel()
{
    auto* panel = new QWidget(pnSettings);
    auto* layout = new QGridLayout(panel);
    layout->addWidget(new QLabel("Palette: ", panel), 0, 0);
    cbGIFPalette = makeList(kPaletteItems, panel);
    layout->addWidget(cbGIFPalette, 0, 1);
    layout->addWidget(new QLabel("Colors:", panel), 1, 0);
    cbGIFColors = makeList(kColorCountItems, panel);
    layout->addWidget(cbGIFColors, 1, 1);
    layout->addWidget(new QLabel("Dithering: ", panel), 2, 0);
    cbGIFDither = makeList(kDitherItems, panel);
    layout->addWidget(cbGIFDither, 2, 1);
    layout->addWidget(new QLabel("Compression algorithm: ", panel), 3, 0, 1, 2);
    cbGIFCompression = makeList(kCompressionItems, panel);
    layout->addWidget(cbGIFCompression, 4, 0, 1, 2);

    auto* transparentRow = new QHBoxLayout;
    cbTransparent = new QCheckBox("Transparent color", panel);
    transparentRow->addWidget(cbTransparent);
    tbPicker = new QToolButton(panel);
    tbPicker->setCheckable(true);
    tbPicker->setEnabled(false);
    tbPicker->setIcon(QIcon(cursors_.picker.pixmap()));
    transparentRow->addWidget(tbPicker);
    pnGIFTransparent = makeSwatch(panel);
    transparentRow->addWidget(pnGIFTransparent);
    layout->addLayout(transparentRow, 5, 0, 1, 2);
    layout->setRowStretch(6, 1);
    return panel;
}

void TSaveForm::connectControls()
{
    connect(btSave, &QPushButton::clicked, this, &TSaveForm::SaveActiveVariant);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btHelp, &QPushButton::clicked, this, &TSaveForm::btHelpClick);
    // `activated` comes from the user only; loading the controls never starts an encoding.
    connect(cbFormat, &QComboBox::activated, this, &TSaveForm::cbFormatChange);
    connect(slJPEGQuality, &QSlider::valueChanged, this, [this](int position) {
        lbJPEGQuality->setText(QString("Quality: %1").arg(position + 1));
        if (!slJPEGQuality->isSliderDown()) {
            slJPEGQualityCommit(); // a key, the wheel or a click beside the thumb
        }
    });
    connect(slJPEGQuality, &QSlider::sliderReleased, this, &TSaveForm::slJPEGQualityCommit);
    connect(cbJPEGProgressive, &QCheckBox::clicked, this, &TSaveForm::cbJPEGProgressiveClick);
    connect(cbGIFPalette, &QComboBox::activated, this, &TSaveForm::cbGIFPaletteChange);
    connect(cbGIFColors, &QComboBox::activated, this, &TSaveForm::cbGIFColorsChange);
    connect(cbGIFDither, &QComboBox::activated, this, &TSaveForm::cbGIFDitherChange);
    connect(cbGIFCompression, &QComboBox::activated, this, &TSaveForm::cbGIFCompressionChange);
    connect(cbTransparent, &QCheckBox::clicked, this, &TSaveForm::cbTransparentClick);
    connect(tbColorDialog, &QToolButton::clicked, this, &TSaveForm::tbColorDialogClick);
    connect(sbDefaults, &QPushButton::clicked, this, &TSaveForm::sbDefaultsClick);
}

void TSaveForm::FormCreate()
{
    int activeVar = 1;
    {
        UpdatingScope updating(FUpdating);
        SettingsStore store(platform_.userHive, platform_.machineHive);
        SettingsKey key = store.open();
        for (int n = 1; n <= kVariantCount; ++n) {
            session_.setVariantSettings(n, readVariantSettings(key, n));
            if (std::optional<ImageFormat> format = session_.variant(n).format()) {
                encodeVariant(n, *format);
            }
        }
        SaveDir() = resolveSaveDir(readStoredSaveDir(key), SaveDir(), saveFolderFallback());
        activeVar = readActiveVar(key);
    }
    SetActiveVariant(activeVar);
    readPlacement();
}

void TSaveForm::readPlacement()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    Size screenSize{1920, 1080};
    int pixelsPerInch = 96;
    if (screen != nullptr) {
        screenSize = {screen->size().width(), screen->size().height()};
        pixelsPerInch = static_cast<int>(std::lround(screen->logicalDotsPerInch()));
    }
    SaveWindowPlacement placement = readSavePlacement(iniFile_, saveWindowDefaultPosition(screenSize, pixelsPerInch));
    Size minimum = saveWindowMinimumSize(pixelsPerInch);
    setMinimumSize(minimum.width, minimum.height);
    placedAt_ = QPoint(placement.left, placement.top);
    move(placedAt_);
    resize(std::max(placement.width, minimum.width), std::max(placement.height, minimum.height));
    background_ = placement.background;
    setSwatch(pnBackground, background_);
}

void TSaveForm::writeSettings()
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
        writeActiveVar(key, session_.activeVariant());
        writeSaveDir(key, SaveDir());
    }
    writeSavePlacement(iniFile_, {placedAt_.x(), placedAt_.y(), width(), height(), background_});
}

void TSaveForm::done(int result)
{
    writeSettings();
    QDialog::done(result);
}

void TSaveForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UpdateLayout();
    if (!event->spontaneous()) {
        cbFormat->setFocus(); // the keyboard starts on the format of the active variant
    }
}

void TSaveForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    UpdateLayout();
}

void TSaveForm::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (!event->spontaneous() || !isVisible()) {
        return;
    }
    // The report that follows mapping is where the window was placed, as the window manager saw
    // it, and some managers are a few pixels off there; taking it would make the window creep at
    // each opening. Later reports are the user's moves.
    if (!mappingReported_) {
        mappingReported_ = true;
    } else {
        placedAt_ = pos();
    }
}

void TSaveForm::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        tiRelayout_.start(); // the new size is in place only after the window manager's answer
    }
}

void TSaveForm::UpdateLayout()
{
    int statusHeight = sbStatus->sizeHint().height();
    sbStatus->setGeometry(0, height() - statusHeight, width(), statusHeight);
    if (QWidget* column = findChild<QWidget*>("pnControls")) {
        column->setGeometry(width() - kSaveControlColumnWidth, 0, kSaveControlColumnWidth, height() - statusHeight);
    }
    auto areas = savePaneAreas(width(), height(), statusHeight);
    for (size_t i = 0; i < areas.size(); ++i) {
        const Rect& a = areas[i];
        titles_[i]->setGeometry(a.left, a.top, a.width(), kSavePaneTitleHeight);
        panes_[i]->setGeometry(a.left, a.top + kSavePaneTitleHeight, a.width(),
                               std::max(0, a.height() - kSavePaneTitleHeight));
        panes_[i]->paintBox()->setGeometry(panes_[i]->contentsRect());
    }
    const TMyPaintBox* reference = paintBox(1);
    FOffsetX = clampScrollOffset(FOffsetX, session_.workImage().width(), reference->width());
    FOffsetY = clampScrollOffset(FOffsetY, session_.workImage().height(), reference->height());
    repaintPreviews();
}

void TSaveForm::SetActiveVariant(int n)
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

    UpdatingScope updating(FUpdating);
    std::optional<ImageFormat> format = session_.active().format();
    cbFormat->setCurrentIndex(format ? static_cast<int>(*format) : -1);
    cbFormatChange();
}

void TSaveForm::cbFormatChange()
{
    std::optional<ImageFormat> format = formatFromCode(cbFormat->currentIndex());
    btSave->setEnabled(format.has_value());
    if (!format) {
        pnSettings->setCurrentIndex(kPageUnknown);
        sbDefaults->setEnabled(false);
        return;
    }
    bool hasSettings = *format == ImageFormat::Jpeg || *format == ImageFormat::Gif;
    pnSettings->setCurrentIndex(*format == ImageFormat::Jpeg  ? kPageJpeg
                                : *format == ImageFormat::Gif ? kPageGif
                                                              : kPageNone);
    sbDefaults->setEnabled(hasSettings);
    int n = session_.activeVariant();
    ShowVariantSettings(n, *format);
    if (!FUpdating) {
        encodeVariant(n, *format);
    }
}

void TSaveForm::ShowVariantSettings(int n, ImageFormat format)
{
    UpdatingScope updating(FUpdating);
    SaveVariant& v = session_.variant(n);
    if (format == ImageFormat::Jpeg) {
        slJPEGQuality->setValue(v.JPEGCompressionQuality - 1);
        lbJPEGQuality->setText(QString("Quality: %1").arg(v.JPEGCompressionQuality));
        cbJPEGProgressive->setChecked(v.JPEGProgressiveEncoding);
    } else if (format == ImageFormat::Gif) {
        cbGIFPalette->setCurrentIndex(v.GIFColorReduction - 1);
        ShowGIFColorCount(n);
        cbGIFDither->setCurrentIndex(v.GIFDitherMode);
        cbGIFCompression->setCurrentIndex(v.GIFCompression);
        cbTransparent->setChecked(v.GIFIsTransparent);
        tbPicker->setEnabled(v.GIFIsTransparent);
        if (!v.GIFIsTransparent) {
            tbPicker->setChecked(false);
        }
        setSwatch(pnGIFTransparent, session_.pickedColor(n)); // also moves a pick outside back to (0, 0)
    }
}

void TSaveForm::ShowGIFColorCount(int n)
{
    UpdatingScope updating(FUpdating);
    const SaveVariant& v = session_.variant(n);
    cbGIFColors->clear();
    if (v.GIFColorReduction == kOptimizedPalette) {
        cbGIFColors->addItems(kColorCountItems);
        cbGIFColors->setCurrentIndex(kColorCountItems.indexOf(QString::number(v.GIFColorResolution)));
        cbGIFColors->setEnabled(true);
    } else {
        cbGIFColors->addItem(kPaletteCounts.value(v.GIFColorReduction - 1));
        cbGIFColors->setEnabled(false);
    }
}

void TSaveForm::encodeVariant(int n, ImageFormat format)
{
    BusyCursor busy(format != ImageFormat::Bmp);
    if (!session_.encode(n, format)) {
        return; // a failed measurement leaves the pane as it was
    }
    refreshPane(n);
    const SaveVariant& v = session_.variant(n);
    if (format == ImageFormat::Gif && v.GIFIsTransparent && n == session_.activeVariant()) {
        setSwatch(pnGIFTransparent, session_.pickedColor(n));
    }
}

void TSaveForm::refreshPane(int n)
{
    size_t i = static_cast<size_t>(n - 1);
    titles_[i]->setText(QString::fromStdString(session_.variant(n).caption));
    gauges_[i]->setValue(static_cast<int>(std::lround(session_.gaugeFraction(n) * kGaugeSteps)));
    panes_[i]->paintBox()->update();
}

void TSaveForm::repaintPreviews()
{
    for (TMyVar* pane : panes_) {
        pane->paintBox()->update();
    }
}

void TSaveForm::setSwatch(QFrame* swatch, ColorRef color)
{
    if (swatch == pnGIFTransparent) {
        transparentSwatch_ = color;
    }
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, toQColor(color));
    swatch->setPalette(p);
}

void TSaveForm::setPickerDown(bool down)
{
    tbPicker->setChecked(down);
}

void TSaveForm::slJPEGQualityCommit()
{
    if (FUpdating) {
        return;
    }
    lbJPEGQuality->setText(QString("Quality: %1").arg(slJPEGQuality->value() + 1));
    session_.active().JPEGCompressionQuality = slJPEGQuality->value() + 1;
    EncodeJPEG(session_.activeVariant());
}

void TSaveForm::cbJPEGProgressiveClick()
{
    if (FUpdating) {
        return;
    }
    session_.active().JPEGProgressiveEncoding = cbJPEGProgressive->isChecked();
    EncodeJPEG(session_.activeVariant());
}

void TSaveForm::cbGIFPaletteChange()
{
    if (FUpdating) {
        return;
    }
    session_.active().GIFColorReduction = cbGIFPalette->currentIndex() + 1;
    ShowGIFColorCount(session_.activeVariant());
    EncodeGIF(session_.activeVariant());
}

void TSaveForm::cbGIFColorsChange()
{
    if (FUpdating || session_.active().GIFColorReduction != kOptimizedPalette) {
        return;
    }
    session_.active().GIFColorResolution = cbGIFColors->currentText().toInt();
    EncodeGIF(session_.activeVariant());
}

void TSaveForm::cbGIFDitherChange()
{
    if (FUpdating) {
        return;
    }
    session_.active().GIFDitherMode = cbGIFDither->currentIndex();
    EncodeGIF(session_.activeVariant());
}

void TSaveForm::cbGIFCompressionChange()
{
    if (FUpdating) {
        return;
    }
    session_.active().GIFCompression = cbGIFCompression->currentIndex();
    EncodeGIF(session_.activeVariant());
}

void TSaveForm::cbTransparentClick()
{
    if (FUpdating) {
        return;
    }
    bool transparent = cbTransparent->isChecked();
    tbPicker->setEnabled(transparent);
    if (!transparent) {
        setPickerDown(false);
    }
    session_.active().GIFIsTransparent = transparent;
}

void TSaveForm::tbColorDialogClick()
{
    if (std::optional<ColorRef> color = chooseColor(background_)) {
        background_ = *color;
        setSwatch(pnBackground, background_);
        UpdateLayout();
    }
}

void TSaveForm::sbDefaultsClick()
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
    ShowVariantSettings(n, *format);
    encodeVariant(n, *format);
    paintBox(n)->update();
}

void TSaveForm::btHelpClick()
{
    platform_.help.displayTopic(platform_.programFolder + "ztp.chm::/" + kHelpTopic);
}

void TSaveForm::SaveActiveVariant()
{
    std::optional<ImageFormat> format = session_.active().format();
    if (!format) {
        return;
    }
    if (*format == ImageFormat::Gif) {
        EncodeGIF(session_.activeVariant()); // the stored pixel and the encoder's defaults are current
    }
    std::string name = "Capture" + std::to_string(host_.captureNumber);
    std::optional<std::string> path = chooseSaveFile(SaveDir(), name, saveFileType(*format));
    if (!path) {
        return;
    }
    try {
        session_.saveActive(*path);
    } catch (const std::exception& e) {
        platform_.messages.showMessage(e.what());
        return;
    }
    host_.notSaved = false;
    SaveDir() = folderOfFile(*path);
    ++host_.captureNumber;
}

std::optional<std::string> TSaveForm::chooseSaveFile(const std::string& folder, const std::string& name,
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

std::optional<ColorRef> TSaveForm::chooseColor(ColorRef initial)
{
    QColor color = QColorDialog::getColor(toQColor(initial), this, QString(), QColorDialog::DontUseNativeDialog);
    if (!color.isValid()) {
        return std::nullopt;
    }
    return makeColor(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                     static_cast<uint8_t>(color.blue()));
}

QString TSaveForm::paneTitle(int n) const
{
    return titles_.at(static_cast<size_t>(n - 1))->text();
}

double TSaveForm::gaugeFraction(int n) const
{
    return static_cast<double>(gauges_.at(static_cast<size_t>(n - 1))->value()) / kGaugeSteps;
}

TMyPaintBox* TSaveForm::paintBox(int n) const
{
    return panes_.at(static_cast<size_t>(n - 1))->paintBox();
}

const Bitmap* TSaveForm::panePicture(int variant) const
{
    return session_.variant(variant).picture.get();
}

QColor TSaveForm::paneBackground() const
{
    return toQColor(background_);
}

bool TSaveForm::imageScrollsIn(const TMyPaintBox* box) const
{
    const Bitmap& image = session_.workImage();
    return image.width() > box->width() || image.height() > box->height();
}

void TSaveForm::updateOffsetsForDrag(const TMyPaintBox* box, QPoint pos)
{
    const Bitmap& image = session_.workImage();
    FOffsetX = dragScrollOffset(FOffsetX, FDragX, pos.x(), image.width(), box->width());
    FOffsetY = dragScrollOffset(FOffsetY, FDragY, pos.y(), image.height(), box->height());
}

void TSaveForm::pbPreviewMouseDown(int variant, Qt::MouseButton button, QPoint pos)
{
    if (button != Qt::LeftButton) {
        return;
    }
    if (variant != session_.activeVariant()) {
        SetActiveVariant(variant);
        setPickerDown(false);
        return;
    }
    TMyPaintBox* box = paintBox(variant);
    if (session_.active().format() == ImageFormat::Gif && tbPicker->isChecked()) {
        if (session_.pick(variant, pos.x() + FOffsetX, pos.y() + FOffsetY)) {
            setSwatch(pnGIFTransparent, session_.pickedColor(variant));
            box->update();
        }
        return;
    }
    if (!imageScrollsIn(box)) {
        return;
    }
    box->setCursor(cursors_.handClosed);
    FDragging = true;
    FDragX = pos.x() + FOffsetX;
    FDragY = pos.y() + FOffsetY;
}

void TSaveForm::pbPreviewMouseMove(int variant, Qt::MouseButtons buttons, QPoint pos)
{
    TMyPaintBox* box = paintBox(variant);
    if (buttons == Qt::LeftButton && FDragging) {
        updateOffsetsForDrag(box, pos);
        repaintPreviews();
        return;
    }
    if (variant != session_.activeVariant()) {
        return;
    }
    const Bitmap& image = session_.workImage();
    QPoint inImage = pos + QPoint(FOffsetX, FOffsetY);
    if (inImage.x() < 0 || inImage.y() < 0 || inImage.x() >= image.width() || inImage.y() >= image.height()) {
        box->unsetCursor();
    } else if (session_.active().format() == ImageFormat::Gif && tbPicker->isChecked()) {
        box->setCursor(cursors_.picker);
    } else if (imageScrollsIn(box)) {
        box->setCursor(cursors_.handOpen);
    } else {
        box->unsetCursor();
    }
}

void TSaveForm::pbPreviewMouseUp(int variant, Qt::MouseButton button, QPoint pos)
{
    if (button != Qt::LeftButton || !FDragging) {
        return;
    }
    TMyPaintBox* box = paintBox(variant);
    box->setCursor(cursors_.handOpen);
    FDragging = false;
    updateOffsetsForDrag(box, pos);
    repaintPreviews();
}
