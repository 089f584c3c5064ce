#include "editor/ui/ImageEditorWindow.h"

#include "common/SettingsFile.h"
#include "common/WindowPlacement.h"
#include "common/ui/ColorChoice.h"
#include "common/ui/ObjectNames.h"
#include "common/ui/ScreenDensity.h"
#include "editor/ui/EditorIcons.h"
#include "editor/ui/EditorStatusBar.h"
#include "editor/ui/EditorView.h"
#include "editor/ui/MenuIconStyle.h"
#include "platform/Platform.h"
#include "platform/ShowHelpTopic.h"
#include "platform/x11/OpeningMonitor.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr std::string_view kSection = "Edit";
constexpr Size kDesignedSize{516, 400};
constexpr int kControlPanelWidth = 154;
constexpr int kToolButtonSize = 24;
constexpr int kToolIconSize = 20;
constexpr int kViewBorder = 8;
constexpr int kMenuIconSize = 16;
constexpr int kMarkInterval = 100;

char userDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? static_cast<char>(point.at(0).unicode()) : '.';
}

} // namespace

ImageEditorWindow::ImageEditorWindow(const Platform& platform, SettingsFile& iniFile, const ImageEditorHost& host,
                                     QWidget* owner)
    : QDialog(owner), platform_(platform), iniFile_(iniFile), host_(host),
      pixelsPerInch_(layoutPixelsPerInch(platform.pixelsPerInch)), cursors_(EditorCursors::forDensity(pixelsPerInch_)),
      placement_(*this, [&platform] { return platform.screen.availableAreas(); })
{
    setWindowTitle("Image Editor");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    model_ = std::make_unique<ImageEditorModel>(EditorImages{host_.image, host_.editImage, host_.undoImage},
                                                userDecimalSeparator());

    paintArea_ = new EditorPaintArea(
        *model_, cursors_, [this] { return tool(); }, [this] { showState(); });
    statusBar_ = new EditorStatusBar(scaled(100), scaled(50));
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(new EditorViewPanel(paintArea_, scaled(kViewBorder)), 1);
    top->addWidget(buildControlPanel());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top, 1);
    layout->addWidget(statusBar_);

    // The dialog knows its default button only once the button is inside it: Enter (also in a
    // field) and Esc close the window.
    btClose_->setDefault(true);
    nameControls();
    connectControls();
    applyHints();
    readSettings();
    showState();
    btClose_->setFocus();

    markTimer_.setInterval(kMarkInterval);
    connect(&markTimer_, &QTimer::timeout, this, &ImageEditorWindow::MarkTimerStep);
    markTimer_.start();
    // The window sees Ctrl+Z before its controls, wherever the focus is.
    qApp->installEventFilter(this);
}

ImageEditorWindow::~ImageEditorWindow()
{
    qApp->removeEventFilter(this);
    markTimer_.stop();
    model_->finish();
    writeSettings();
}

int ImageEditorWindow::scaled(int pixels) const
{
    return scaledDesignLength(pixels, pixelsPerInch_);
}

void ImageEditorWindow::nameControls()
{
    giveObjectNames({
        {btSaveAs_, "btSaveAs"},
        {btPrint_, "btPrint"},
        {btHelp_, "btHelp"},
        {btClose_, "btClose"},
        {sbScroll_, "sbScroll"},
        {sbSelect_, "sbSelect"},
        {sbCrop_, "sbCrop"},
        {sbRotate_, "sbRotate"},
        {sbUndo_, "sbUndo"},
        {miUndo_, "miUndo"},
        {miUndoAll_, "miUndoAll"},
        {miRotate90_, "miRotate90"},
        {miRotate180_, "miRotate180"},
        {miRotate270_, "miRotate270"},
        {gbImageSize_, "gbImageSize"},
        {cbUnits_, "cbUnits"},
        {edHeight_, "edHeight"},
        {edWidth_, "edWidth"},
        {cbKeepRatio_, "cbKeepRatio"},
        {cbSmooth_, "cbSmooth"},
        {btApply_, "btApply"},
        {pnBackground_, "pnBackground"},
        {sbSelectColor_, "sbSelectColor"},
        {paintArea_, "paintArea"},
        {statusBar_, "statusBar"},
    });
}

QWidget* ImageEditorWindow::buildControlPanel()
{
    auto* panel = new QWidget;
    // 154 pixels at 96 dpi, wider when the user's fonts need it.
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(scaled(4), scaled(8), scaled(6), scaled(8));
    // Close enough that the controls get their full height in the designed 400 pixels.
    column->setSpacing(scaled(4));
    btSaveAs_ = new QPushButton("Save As...");
    btPrint_ = new QPushButton("Print...");
    btHelp_ = new QPushButton("Help");
    btClose_ = new QPushButton("Close");
    btPrint_->setEnabled(host_.printAvailable);
    column->addWidget(btSaveAs_);
    column->addWidget(btPrint_);
    column->addSpacing(scaled(6));
    column->addWidget(btHelp_);
    column->addWidget(btClose_);
    column->addSpacing(scaled(8));
    column->addWidget(buildToolBar());
    column->addSpacing(scaled(4));
    column->addWidget(buildSizeGroup());
    column->addStretch(1);
    // The designed width unless the contents need more: the controls' preferred widths would make
    // it wider than they need.
    panel->setFixedWidth(std::max(scaled(kControlPanelWidth), panel->minimumSizeHint().width()));
    return panel;
}

QWidget* ImageEditorWindow::buildToolBar()
{
    auto* bar = new QFrame;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const int buttonSize = scaled(kToolButtonSize);
    const int iconSize = scaled(kToolIconSize);
    auto makeButton = [&](const char* name, EditorIcon icon) {
        auto* button = new QToolButton;
        button->setObjectName(name);
        button->setAutoRaise(true);
        button->setIcon(editorIcon(icon, iconSize));
        button->setIconSize(QSize(iconSize, iconSize));
        button->setMinimumSize(buttonSize, buttonSize);
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
        return button;
    };
    sbScroll_ = makeButton("sbScroll", EditorIcon::Scroll);
    sbSelect_ = makeButton("sbSelect", EditorIcon::Select);
    sbScroll_->setCheckable(true);
    sbSelect_->setCheckable(true);
    sbScroll_->setChecked(true);
    toolGroup_ = new QButtonGroup(this);
    toolGroup_->setExclusive(true);
    toolGroup_->addButton(sbScroll_);
    toolGroup_->addButton(sbSelect_);

    auto* separator = new QFrame;
    separator->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    separator->setFixedWidth(scaled(8));
    row->addWidget(separator);

    sbCrop_ = makeButton("sbCrop", EditorIcon::Crop);
    sbRotate_ = makeButton("sbRotate", EditorIcon::Rotate);
    sbUndo_ = makeButton("sbUndo", EditorIcon::Undo);
    // The menus drop down from their buttons, whose icons carry the arrow beside the picture; the
    // style's own arrow would be drawn over it.
    for (QToolButton* button : {sbRotate_, sbUndo_}) {
        const QSize withArrow = menuButtonIconSize(iconSize);
        button->setIcon(editorMenuButtonIcon(button == sbRotate_ ? EditorIcon::Rotate : EditorIcon::Undo, iconSize));
        button->setIconSize(withArrow);
        button->setMinimumSize(buttonSize + withArrow.width() - iconSize, buttonSize);
        button->setStyleSheet("QToolButton::menu-indicator { image: none; width: 0px; }");
    }
    auto* rotateMenu = new QMenu(sbRotate_);
    auto* menuStyle = new MenuIconStyle(scaled(kMenuIconSize));
    menuStyle->setParent(rotateMenu); // deleted after the menu that uses it
    rotateMenu->setStyle(menuStyle);
    const int menuIcon = scaled(kMenuIconSize);
    miRotate90_ = rotateMenu->addAction(editorIcon(EditorIcon::Rotate90, menuIcon), QString::fromUtf8("90°"));
    miRotate180_ = rotateMenu->addAction(editorIcon(EditorIcon::Rotate180, menuIcon), QString::fromUtf8("180°"));
    miRotate270_ = rotateMenu->addAction(editorIcon(EditorIcon::Rotate270, menuIcon), QString::fromUtf8("270°"));
    sbRotate_->setMenu(rotateMenu);
    sbRotate_->setPopupMode(QToolButton::InstantPopup);
    auto* undoMenu = new QMenu(sbUndo_);
    miUndo_ = undoMenu->addAction("&Undo");
    undoMenu->addSeparator();
    miUndoAll_ = undoMenu->addAction("Undo &All");
    sbUndo_->setMenu(undoMenu);
    sbUndo_->setPopupMode(QToolButton::InstantPopup);
    row->addStretch(1);
    return bar;
}

QGroupBox* ImageEditorWindow::buildSizeGroup()
{
    gbImageSize_ = new QGroupBox(" Image size  ");
    auto* grid = new QGridLayout(gbImageSize_);
    grid->setContentsMargins(scaled(4), scaled(6), scaled(4), scaled(6));
    grid->setVerticalSpacing(scaled(4));
    cbUnits_ = new QComboBox;
    cbUnits_->addItems({"pixels", "percent"});
    edHeight_ = new QLineEdit("0");
    edWidth_ = new QLineEdit("0");
    cbKeepRatio_ = new QCheckBox("Keep ratio");
    cbKeepRatio_->setChecked(true);
    cbSmooth_ = new QCheckBox("Smooth");
    cbSmooth_->setChecked(true);
    btApply_ = new QPushButton("Apply");
    pnBackground_ = new QFrame;
    pnBackground_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnBackground_->setLineWidth(1);
    pnBackground_->setAutoFillBackground(true);
    pnBackground_->setFixedSize(scaled(24), scaled(20));
    sbSelectColor_ = new QToolButton;
    sbSelectColor_->setAutoRaise(true);
    sbSelectColor_->setIcon(editorIcon(EditorIcon::SelectColor, scaled(16)));
    sbSelectColor_->setIconSize(QSize(scaled(16), scaled(16)));
    sbSelectColor_->setFocusPolicy(Qt::NoFocus);
    sbSelectColor_->setFixedSize(scaled(20), scaled(20));

    // The fields take the width the labels leave; they do not widen the panel.
    for (QWidget* field : std::initializer_list<QWidget*>{cbUnits_, edHeight_, edWidth_}) {
        field->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        field->setMinimumWidth(scaled(40));
    }
    grid->addWidget(new QLabel("Units:"), 0, 0);
    grid->addWidget(cbUnits_, 0, 1);
    grid->addWidget(new QLabel("Height:"), 1, 0);
    grid->addWidget(edHeight_, 1, 1);
    grid->addWidget(new QLabel("Width:"), 2, 0);
    grid->addWidget(edWidth_, 2, 1);
    grid->addWidget(cbKeepRatio_, 3, 0, 1, 2);
    grid->addWidget(cbSmooth_, 4, 0, 1, 2);
    grid->addWidget(btApply_, 5, 0, 1, 2);
    auto* backgroundRow = new QHBoxLayout;
    backgroundRow->setSpacing(scaled(3));
    backgroundRow->addWidget(new QLabel("Background:"));
    backgroundRow->addWidget(pnBackground_);
    backgroundRow->addWidget(sbSelectColor_);
    backgroundRow->addStretch(1);
    grid->addLayout(backgroundRow, 6, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return gbImageSize_;
}

void ImageEditorWindow::connectControls()
{
    connect(btSaveAs_, &QPushButton::clicked, this, [this] { done(kEditResultSave); });
    connect(btPrint_, &QPushButton::clicked, this, [this] { done(kEditResultPrint); });
    connect(btHelp_, &QPushButton::clicked, this, &ImageEditorWindow::helpClick);
    connect(btClose_, &QPushButton::clicked, this, [this] { done(kEditResultClose); });
    connect(sbCrop_, &QToolButton::clicked, this, &ImageEditorWindow::Crop);
    connect(miRotate90_, &QAction::triggered, this, [this] { Rotate(RotationAngle::Rotate90); });
    connect(miRotate180_, &QAction::triggered, this, [this] { Rotate(RotationAngle::Rotate180); });
    connect(miRotate270_, &QAction::triggered, this, [this] { Rotate(RotationAngle::Rotate270); });
    connect(miUndo_, &QAction::triggered, this, &ImageEditorWindow::Undo);
    connect(miUndoAll_, &QAction::triggered, this, &ImageEditorWindow::UndoAll);
    connect(btApply_, &QPushButton::clicked, this, &ImageEditorWindow::Apply);
    connect(sbSelectColor_, &QToolButton::clicked, this, &ImageEditorWindow::selectColorClick);
    // Only the user's typing runs the handlers; the window's own writes go through the model.
    connect(edWidth_, &QLineEdit::textEdited, this, [this](const QString& t) { fieldEdited(SizeField::Width, t); });
    connect(edHeight_, &QLineEdit::textEdited, this, [this](const QString& t) { fieldEdited(SizeField::Height, t); });
    connect(cbUnits_, &QComboBox::activated, this, [this](int index) {
        model_->setUnit(index == 1 ? SizeUnit::Percent : SizeUnit::Pixels);
        showSizeFields();
    });
    connect(cbKeepRatio_, &QCheckBox::clicked, this, [this](bool ticked) {
        model_->setKeepRatio(ticked);
        showSizeFields();
    });
    connect(cbSmooth_, &QCheckBox::toggled, this, [this](bool ticked) { model_->setSmooth(ticked); });
}

void ImageEditorWindow::applyHints()
{
    if (!host_.showHint) {
        return;
    }
    sbScroll_->setToolTip("Scroll");
    sbSelect_->setToolTip("Select");
    sbCrop_->setToolTip("Crop");
    sbRotate_->setToolTip("Rotate");
    sbUndo_->setToolTip("Undo");
    sbSelectColor_->setToolTip("Select color");
}

void ImageEditorWindow::readSettings()
{
    const Rect home = openingMonitor(platform_.screen, parentWidget());
    // The designed minimum, or more where this desktop's fonts need it: no control cuts its text.
    const Size designed = scaledDesignSize(kDesignedSize, pixelsPerInch_);
    const QSize needed = layout()->minimumSize();
    const Size minimum{std::max(designed.width, needed.width()), std::max(designed.height, needed.height())};
    const WindowPlacement defaults{home.left + (home.width() - kDesignedSize.width) / 2,
                                   home.top + (home.height() - kDesignedSize.height) / 2, kDesignedSize.width,
                                   kDesignedSize.height, kDefaultBackground};
    const WindowPlacement placement = readWindowPlacement(iniFile_, kSection, defaults);
    placement_.restore(placement, minimum, {defaults.left, defaults.top});
    background_ = placement.background;
    paintArea_->setBackground(background_);
    showColorSwatch(*pnBackground_, background_);
}

void ImageEditorWindow::writeSettings()
{
    writeWindowPlacement(iniFile_, kSection, placement_.toStore(background_));
}

void ImageEditorWindow::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    placement_.moved(*event);
}

ColorRef ImageEditorWindow::background() const
{
    return background_;
}

EditorTool ImageEditorWindow::tool() const
{
    return sbSelect_->isChecked() ? EditorTool::Select : EditorTool::Scroll;
}

void ImageEditorWindow::showSizeFields()
{
    const QString width = QString::fromStdString(model_->sizeFields().text(SizeField::Width));
    const QString height = QString::fromStdString(model_->sizeFields().text(SizeField::Height));
    if (edWidth_->text() != width) {
        edWidth_->setText(width);
    }
    if (edHeight_->text() != height) {
        edHeight_->setText(height);
    }
}

void ImageEditorWindow::showState()
{
    const UndoState& undo = model_->undoState();
    miUndo_->setEnabled(undo.undo);
    miUndoAll_->setEnabled(undo.undoAll);
    sbUndo_->setEnabled(undo.toolButton);
    sbCrop_->setEnabled(model_->cropEnabled());
    showSizeFields();
    paintArea_->update();
}

void ImageEditorWindow::showOutcome(const EditOutcome& outcome)
{
    showState();
    if (outcome.kind != EditOutcome::Kind::Refused && outcome.kind != EditOutcome::Kind::Failed) {
        return;
    }
    platform_.messages.showMessage(outcome.message, this);
    if (outcome.kind == EditOutcome::Kind::Refused) {
        (outcome.focus == SizeField::Width ? edWidth_ : edHeight_)->setFocus();
    }
}

void ImageEditorWindow::fieldEdited(SizeField field, const QString& text)
{
    model_->setFieldText(field, text.toStdString());
    showSizeFields();
}

void ImageEditorWindow::MarkTimerStep()
{
    if (model_->stepMarks()) {
        paintArea_->repaintMarks();
    }
}

void ImageEditorWindow::Undo()
{
    model_->undo();
    showState();
}

void ImageEditorWindow::UndoAll()
{
    model_->undoAll();
    showState();
}

void ImageEditorWindow::Crop()
{
    showOutcome(model_->crop());
}

void ImageEditorWindow::Rotate(RotationAngle angle)
{
    EditOutcome outcome = model_->rotate(angle, statusBar_->progress());
    statusBar_->clearProgress();
    showOutcome(outcome);
}

void ImageEditorWindow::Apply()
{
    EditOutcome outcome = model_->apply(statusBar_->progress());
    statusBar_->clearProgress();
    showOutcome(outcome);
}

std::optional<ColorRef> ImageEditorWindow::chooseColor(ColorRef initial)
{
    return ::chooseColor(initial, this);
}

void ImageEditorWindow::selectColorClick()
{
    std::optional<ColorRef> chosen = chooseColor(background_);
    if (!chosen) {
        return;
    }
    background_ = *chosen;
    showColorSwatch(*pnBackground_, background_);
    paintArea_->setBackground(background_);
}

void ImageEditorWindow::helpClick()
{
    showHelpTopic(platform_.help, helpFileBesideProgram(platform_.programFolder), "HTML/Editing.htm");
}

void ImageEditorWindow::done(int result)
{
    // The working image goes back without marks, the selection and the scroll position cleared.
    markTimer_.stop();
    model_->finish();
    QDialog::done(result);
}

void ImageEditorWindow::reject()
{
    done(kEditResultClose);
}

bool ImageEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyRelease) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // The filter sees the event again at each parent it propagates to: act at its first receiver.
    QWidget* first = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : this;
    if (widget == nullptr || widget != first || widget->window() != this || key->isAutoRepeat()) {
        return false;
    }
    const Qt::KeyboardModifiers held =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key->key() == Qt::Key_Z && held == Qt::ControlModifier) {
        Undo();
    }
    return false;
}
