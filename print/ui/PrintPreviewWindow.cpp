#include "print/ui/PrintPreviewWindow.h"

#include "common/WindowPlacement.h"
#include "common/ui/AnsweringRun.h"
#include "common/ui/ColorChoice.h"
#include "common/ui/ScreenDensity.h"
#include "platform/Platform.h"
#include "platform/PrintService.h"
#include "platform/ShowHelpTopic.h"
#include "platform/x11/OpeningMonitor.h"
#include "print/ui/PreviewPaintBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kPanelWidth = 162;
constexpr int kPreviewBorder = 8;

NumberFormat userNumbers()
{
    QLocale locale;
    return NumberFormat(locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString());
}

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

PrintPreviewWindow::PrintPreviewWindow(const Platform& platform, SettingsFile& settingsFile,
                                       const PrintPreviewHost& host, QWidget* owner)
    : QDialog(owner), platform_(platform), host_(host),
      model_(*platform.printing, settingsFile, host.image, host.notSaved, userNumbers(),
             layoutPixelsPerInch(platform.pixelsPerInch)),
      cursors_(PreviewHandCursors::load()), placement_(*this, [&platform] { return platform.screen.availableAreas(); })
{
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    buildControls();
    const Rect monitor = openingMonitor(platform_.screen, owner);
    const Size screen{monitor.width(), monitor.height()};
    model_.create(screen, {monitor.left, monitor.top});
    const Rect& stored = model_.settings().window;
    const int ppi = layoutPixelsPerInch(platform.pixelsPerInch);
    const WindowPlacement home = defaultPreviewPlacement(screen, ppi, {monitor.left, monitor.top});
    placement_.restore({stored.left, stored.top, stored.width(), stored.height()}, minimumPreviewSize(ppi),
                       {home.left, home.top});
    showSettings();
    showStatus();
    connectControls();
}

PrintPreviewWindow::~PrintPreviewWindow()
{
    writeSettings();
}

void PrintPreviewWindow::writeSettings()
{
    takeEdits();
    const WindowPlacement placed = placement_.toStore(model_.settings().background);
    model_.writeSettings(Rect::fromSize(placed.left, placed.top, placed.width, placed.height));
}

void PrintPreviewWindow::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    outer->addLayout(body, 1);

    // The preview box: a border (8 pixels at 96 dpi), a lowered bevel, and the paint box filling the rest.
    auto* previewPanel = new QWidget(this);
    auto* panelLayout = new QVBoxLayout(previewPanel);
    const int border = scaledDesignLength(kPreviewBorder, layoutPixelsPerInch(platform_.pixelsPerInch));
    panelLayout->setContentsMargins(border, border, border, border);
    auto* bevel = new QFrame(previewPanel);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setLineWidth(1);
    auto* bevelLayout = new QVBoxLayout(bevel);
    bevelLayout->setContentsMargins(1, 1, 1, 1);
    paintBox_ = new PreviewPaintBox(bevel);
    paintBox_->setPicture(&model_.preview());
    bevelLayout->addWidget(paintBox_);
    panelLayout->addWidget(bevel);
    body->addWidget(previewPanel, 1);

    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 8, 4, 8);
    setupButton_ = new QPushButton("Setup...", panel);
    printButton_ = new QPushButton("Print", panel);
    closeButton_ = new QPushButton("Close", panel);
    helpButton_ = new QPushButton("Help", panel);
    printButton_->setDefault(true);
    printButton_->setAutoDefault(true);
    for (QPushButton* b : {setupButton_, printButton_, closeButton_, helpButton_}) {
        column->addWidget(b);
    }
    column->addSpacing(6);
    column->addWidget(buildSettingsGroup());
    defaultsButton_ = new QPushButton("Defaults", panel);
    // Enter prints after Defaults too: the button never takes the focus from the Print button.
    defaultsButton_->setFocusPolicy(Qt::NoFocus);
    defaultsButton_->setAutoDefault(false);
    column->addWidget(defaultsButton_);
    column->addStretch(1);
    // The panel is 162 pixels at 96 pixels per inch; larger fonts widen it rather than clip.
    const int width = scaledDesignLength(kPanelWidth, layoutPixelsPerInch(platform_.pixelsPerInch));
    panel->setFixedWidth(std::max(width, panel->minimumSizeHint().width()));
    body->addWidget(panel);

    statusBar_ = new QStatusBar(this);
    statusBar_->setSizeGripEnabled(true);
    printerPanel_ = new QLabel(statusBar_);
    paperPanel_ = new QLabel(statusBar_);
    statusBar_->addWidget(printerPanel_);
    statusBar_->addWidget(paperPanel_, 1);
    outer->addWidget(statusBar_);
    for (QWidget* w : {static_cast<QWidget*>(statusBar_), static_cast<QWidget*>(printerPanel_),
                       static_cast<QWidget*>(paperPanel_)}) {
        w->installEventFilter(this);
    }

    if (host_.showHint) {
        colorDialogButton_->setToolTip("Select color");
    }
}

QWidget* PrintPreviewWindow::buildSettingsGroup()
{
    auto* group = new QGroupBox(" Settings ", this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(2, 4, 2, 4);
    grid->setHorizontalSpacing(2);
    int row = 0;
    auto addRow = [&](const char* label, QWidget* field, QWidget* extra) {
        auto* l = new QLabel(label, group);
        grid->addWidget(l, row, 0);
        grid->addWidget(field, row, 1);
        if (extra != nullptr) {
            grid->addWidget(extra, row, 2);
        }
        ++row;
        return l;
    };
    unitsList_ = new QComboBox(group);
    unitsList_->addItems({"inches", "mm"});
    addRow("Units:", unitsList_, nullptr);
    grid->addWidget(unitsList_, 0, 1, 1, 2);
    topField_ = new QLineEdit(group);
    centerDownBox_ = new QCheckBox("center", group);
    topLabel_ = addRow("Top:", topField_, centerDownBox_);
    leftField_ = new QLineEdit(group);
    centerAcrossBox_ = new QCheckBox("center", group);
    leftLabel_ = addRow("Left:", leftField_, centerAcrossBox_);
    zoomField_ = new QLineEdit(group);
    fitBox_ = new QCheckBox("fit", group);
    zoomLabel_ = addRow("Zoom:", zoomField_, fitBox_);
    copiesField_ = new QLineEdit(group);
    addRow("Copies:", copiesField_, nullptr);
    marginsBox_ = new QCheckBox("printer margins", group);
    frameBox_ = new QCheckBox("image frame", group);
    // The two boxes go under their label: beside it they would widen the panel past its width.
    grid->addWidget(new QLabel("Show:", group), row++, 0, 1, 3);
    auto* showBoxes = new QVBoxLayout;
    showBoxes->setContentsMargins(QFontMetrics(group->font()).horizontalAdvance("Sh"), 0, 0, 0);
    showBoxes->addWidget(marginsBox_);
    showBoxes->addWidget(frameBox_);
    grid->addLayout(showBoxes, row++, 0, 1, 3);
    grid->addWidget(new QLabel("Background:", group), row++, 0, 1, 3);
    auto* swatchRow = new QHBoxLayout;
    backgroundSwatch_ = new QFrame(group);
    backgroundSwatch_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    backgroundSwatch_->setAutoFillBackground(true);
    backgroundSwatch_->setMinimumHeight(22);
    colorDialogButton_ = new QToolButton(group);
    colorDialogButton_->setText("...");
    swatchRow->addWidget(backgroundSwatch_, 1);
    swatchRow->addWidget(colorDialogButton_);
    grid->addLayout(swatchRow, row++, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return group;
}

void PrintPreviewWindow::connectControls()
{
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(printButton_, &QPushButton::clicked, this, [this] { printClick(); });
    connect(setupButton_, &QPushButton::clicked, this, [this] { setupClick(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] { helpClick(); });
    connect(colorDialogButton_, &QToolButton::clicked, this, [this] { colorDialogClick(); });
    connect(defaultsButton_, &QPushButton::clicked, this, [this] {
        takeEdits();
        model_.restoreDefaults();
        showSettings();
        refreshPreview();
    });

    // The user changed a setting of the layout or the drawing.
    auto settingEdited = [this] {
        if (showingSettings_) {
            return;
        }
        takeEdits();
        model_.setActive(isActiveWindow());
        if (model_.settingChanged()) {
            refreshPreview();
        }
        showControlStates();
    };
    for (QLineEdit* field : {topField_, leftField_, zoomField_}) {
        connect(field, &QLineEdit::textChanged, this, settingEdited);
    }
    for (QCheckBox* box : {centerDownBox_, centerAcrossBox_, fitBox_, marginsBox_, frameBox_}) {
        connect(box, &QCheckBox::clicked, this, settingEdited);
    }
    connect(copiesField_, &QLineEdit::textChanged, this, [this] {
        if (!showingSettings_) {
            takeEdits();
        }
    });

    connect(unitsList_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (showingSettings_) {
            return;
        }
        takeEdits();
        model_.unitsChanged(unitsList_->itemText(index) != "mm");
        showSettings();
        showStatus();
    });

    paintBox_->resized = [this](QSize size) {
        model_.setPreviewSize({size.width(), size.height()});
        model_.updatePreview();
        paintBox_->update();
    };
    paintBox_->pressed = [this](Qt::MouseButton button, QPoint p) {
        setPreviewCursor(model_.mousePressed(button == Qt::LeftButton, {p.x(), p.y()}));
    };
    paintBox_->moved = [this](Qt::MouseButtons buttons, QPoint p) {
        auto result = model_.mouseMoved(buttons != Qt::NoButton, {p.x(), p.y()});
        setPreviewCursor(result.cursor);
        if (result.fieldsChanged) {
            showSettings();
            // Both fields show the new offsets at once, then the preview.
            topField_->repaint();
            leftField_->repaint();
            paintBox_->update();
        }
    };
    paintBox_->released = [this](Qt::MouseButton, QPoint p) {
        model_.setActive(isActiveWindow());
        auto result = model_.mouseReleased({p.x(), p.y()});
        setPreviewCursor(result.cursor);
        if (result.fieldsChanged) {
            showSettings();
            paintBox_->update();
        }
    };
}

void PrintPreviewWindow::takeEdits()
{
    PrintSettings& s = model_.settings();
    s.layout.yOffsetText = topField_->text().toStdString();
    s.layout.xOffsetText = leftField_->text().toStdString();
    s.layout.zoomText = zoomField_->text().toStdString();
    s.copiesText = copiesField_->text().toStdString();
    s.layout.centerDown = centerDownBox_->isChecked();
    s.layout.centerAcross = centerAcrossBox_->isChecked();
    s.layout.fit = fitBox_->isChecked();
    s.showMargins = marginsBox_->isChecked();
    s.showFrame = frameBox_->isChecked();
}

void PrintPreviewWindow::showSettings()
{
    showingSettings_ = true;
    const PrintSettings& s = model_.settings();
    auto setText = [](QLineEdit* field, const std::string& text) {
        QString value = fromStd(text);
        if (field->text() != value) {
            field->setText(value);
        }
    };
    setText(topField_, s.layout.yOffsetText);
    setText(leftField_, s.layout.xOffsetText);
    setText(zoomField_, s.layout.zoomText);
    setText(copiesField_, s.copiesText);
    centerDownBox_->setChecked(s.layout.centerDown);
    centerAcrossBox_->setChecked(s.layout.centerAcross);
    fitBox_->setChecked(s.layout.fit);
    marginsBox_->setChecked(s.showMargins);
    frameBox_->setChecked(s.showFrame);
    unitsList_->setCurrentIndex(s.layout.inches ? 0 : 1);
    showBackground();
    showControlStates();
    showingSettings_ = false;
}

void PrintPreviewWindow::showControlStates()
{
    PreviewControlStates states = model_.controlStates();
    zoomLabel_->setEnabled(states.zoom);
    zoomField_->setEnabled(states.zoom);
    centerDownBox_->setEnabled(states.centerDown);
    centerAcrossBox_->setEnabled(states.centerAcross);
    topLabel_->setEnabled(states.top);
    topField_->setEnabled(states.top);
    leftLabel_->setEnabled(states.left);
    leftField_->setEnabled(states.left);
}

void PrintPreviewWindow::showStatus()
{
    QString printer = fromStd(model_.printerPanelText());
    printerPanel_->setText(printer);
    printerPanel_->setFixedWidth(
        static_cast<int>(std::lround(1.1 * QFontMetrics(printerPanel_->font()).horizontalAdvance(printer))));
    paperPanel_->setText(fromStd(model_.paperSize()));
}

void PrintPreviewWindow::showBackground()
{
    showColorSwatch(*backgroundSwatch_, model_.settings().background);
}

void PrintPreviewWindow::refreshPreview()
{
    paintBox_->update();
}

void PrintPreviewWindow::setPreviewCursor(std::optional<PreviewCursor> cursor)
{
    if (!cursor) {
        return;
    }
    switch (*cursor) {
    case PreviewCursor::Arrow:
        paintBox_->setCursor(Qt::ArrowCursor);
        break;
    case PreviewCursor::OpenHand:
        paintBox_->setCursor(cursors_.open);
        break;
    case PreviewCursor::ClosedHand:
        paintBox_->setCursor(cursors_.closed);
        break;
    }
}

void PrintPreviewWindow::printClick()
{
    takeEdits();
    // A long job (many copies) runs beside the window: it goes on repainting and moving, and an
    // end signal ends the program at once, abandoning the job. It takes no input meanwhile.
    printing_ = true;
    setEnabled(false);
    std::optional<std::string> error = model_.print(runAnswering);
    setEnabled(true);
    printing_ = false;
    printButton_->setFocus();
    showSettings();
    if (error) {
        platform_.messages.showMessage(*error, this);
    }
}

void PrintPreviewWindow::setupClick()
{
    takeEdits();
    if (model_.printerSetup(this)) {
        showStatus();
        refreshPreview();
    }
}

void PrintPreviewWindow::colorDialogClick()
{
    if (std::optional<ColorRef> color = chooseColor(model_.settings().background)) {
        takeEdits();
        model_.backgroundChosen(*color);
        showBackground();
        refreshPreview();
    }
}

void PrintPreviewWindow::helpClick()
{
    showHelpTopic(platform_.help, helpFileBesideProgram(platform_.programFolder), "HTML/Printing.htm");
}

std::optional<ColorRef> PrintPreviewWindow::chooseColor(ColorRef initial)
{
    return ::chooseColor(initial, this);
}

void PrintPreviewWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    model_.setActive(isActiveWindow());
}

void PrintPreviewWindow::closeEvent(QCloseEvent* event)
{
    if (printing_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PrintPreviewWindow::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    placement_.moved(*event);
}

void PrintPreviewWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        model_.setActive(isActiveWindow());
    }
}

bool PrintPreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        setupClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
