#include "preferences/ui/PreferencesDialog.h"

#include "common/SettingsStore.h"
#include "common/ui/ScreenDensity.h"
#include "platform/Platform.h"
#include "platform/ShowHelpTopic.h"
#include "preferences/ui/AnimatedPicture.h"
#include "preferences/ui/HotkeyField.h"
#include "preferences/ui/PreferencesPictures.h"
#include "preferences/ui/SkinPickerDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <exception>

namespace {

constexpr int kClientWidth = 480;
constexpr int kClientHeight = 301;
constexpr int kColumnWidth = 88;
constexpr int kPageWidth = 304;
constexpr int kPageHeight = 282;

QCheckBox* checkBox(QWidget* page, const char* name, const char* caption, QRect geometry)
{
    auto* box = new QCheckBox(QString::fromLatin1(caption), page);
    box->setObjectName(QString::fromLatin1(name));
    box->move(geometry.topLeft());
    box->adjustSize();
    return box;
}

// A folder drawn for the "Select skin" button.
QIcon folderIcon(int side)
{
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = side / 16.0;
    p.setPen(QPen(QColor(120, 84, 20), s));
    p.setBrush(QColor(236, 190, 80));
    p.drawRoundedRect(QRectF(1.5 * s, 3.5 * s, 6 * s, 3 * s), s, s);
    p.setBrush(QColor(248, 210, 110));
    p.drawRoundedRect(QRectF(1.5 * s, 5.5 * s, 13 * s, 8.5 * s), s, s);
    return QIcon(picture);
}

} // namespace

PreferencesDialog::PreferencesDialog(Platform& platform, const std::string& helpFilePath,
                                     const PreferencesValues& values, bool showHints, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), platform_(platform),
      pixelsPerInch_(layoutPixelsPerInch(platform.pixelsPerInch)), helpFilePath_(helpFilePath), initial_(values)
{
    setObjectName(QStringLiteral("PreferencesDialog"));
    setWindowTitle(QStringLiteral("Zentrap Preferences"));
    // The layout's pixel positions were made for a small sans-serif face; Arial's metrics keep the
    // captions inside them (points, so the text grows with the screen's dots per inch).
    setFont(QFont(QStringLiteral("Arial"), 8));
    // Laid out in pixels at 96 dots per inch; larger text on a denser screen gets room in proportion.
    setFixedSize(scaled(0, 0, kClientWidth, kClientHeight).size());

    auto* column = new QFrame(this);
    column->setObjectName(QStringLiteral("PageSelector"));
    column->setGeometry(scaled(0, 0, kColumnWidth, kPageHeight));
    column->setFrameShape(QFrame::Box);
    column->setAutoFillBackground(true);
    QPalette columnColours = column->palette();
    columnColours.setColor(QPalette::Window, palette().color(QPalette::Dark));
    column->setPalette(columnColours);

    stack_ = new QStackedWidget(this);
    stack_->setGeometry(scaled(kColumnWidth, 0, kPageWidth, kPageHeight));
    stack_->addWidget(createOptionsPage());
    stack_->addWidget(createHotkeysPage());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setGeometry(scaled(kColumnWidth + kPageWidth + 12, 12, 69, 25));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    cancel->setGeometry(scaled(kColumnWidth + kPageWidth + 12, 44, 69, 25));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* helpButton = new QPushButton(QStringLiteral("Help"), this);
    helpButton->setObjectName(QStringLiteral("Help"));
    helpButton->setGeometry(scaled(kColumnWidth + kPageWidth + 12, 76, 69, 25));
    helpButton->setAutoDefault(false);
    connect(helpButton, &QPushButton::clicked, this, &PreferencesDialog::help);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    // To the window's bottom edge, whatever the rounding of the scaled sizes.
    const int statusTop = scaled(0, kPageHeight, 0, 0).top();
    status->setGeometry(0, statusTop, width(), height() - statusTop);

    createPageSelector(column);

    // Creation: the Options page first, then the stored page and filter.
    try {
        SettingsStore store(platform_.userHive, platform_.machineHive);
        SettingsKey key = store.open();
        pages_.read(key);
    } catch (const std::exception&) {
        // Settings never show a message; the defaults stand.
    }
    stack_->setCurrentIndex(pages_.page());
    markPageLabels();

    if (!showHints) {
        for (QWidget* child : findChildren<QWidget*>()) {
            child->setToolTip({});
        }
    }
}

PreferencesDialog::~PreferencesDialog()
{
    writeSettings();
}

void PreferencesDialog::writeSettings()
{
    try {
        SettingsStore store(platform_.userHive, platform_.machineHive);
        SettingsKey key = store.open();
        pages_.write(key);
    } catch (const std::exception&) {
        // A failed write is not reported.
    }
}

void PreferencesDialog::fitInsidePage(QWidget* control) const
{
    // A caption wider than the designed column moves its box left rather than being cut off.
    const int right = scaled(0, 0, kPageWidth - 4, 0).width();
    if (control->x() + control->width() > right) {
        control->move(std::max(0, right - control->width()), control->y());
    }
}

QRect PreferencesDialog::scaled(int left, int top, int width, int height) const
{
    const auto s = [this](int v) { return scaledDesignLength(v, pixelsPerInch_); };
    return {s(left), s(top), s(width), s(height)};
}

void PreferencesDialog::createPageSelector(QWidget* column)
{
    struct Picture {
        QPixmap strip;
        int frames, interval, resting, top;
        const char* label;
        int labelLeft, labelTop;
    };
    const int side = scaled(0, 0, 48, 48).width();
    const Picture pictures[] = {
        {optionsPictureStrip(side), kOptionsPictureFrames, 150, 8, 12, "Options", 24, 64},
        {hotkeysPictureStrip(side), kHotkeysPictureFrames, 200, 10, 92, "Hotkeys", 22, 148},
    };
    for (int page = 0; page < 2; ++page) {
        const Picture& p = pictures[page];
        auto* picture = new AnimatedPicture(p.strip, p.frames, p.interval, p.resting, column);
        picture->setObjectName(page == 0 ? QStringLiteral("OptionsPicture") : QStringLiteral("HotkeysPicture"));
        const QRect box = scaled(18, p.top, 48, 48);
        picture->move(box.left() + (box.width() - picture->width()) / 2,
                      box.top() + (box.height() - picture->height()) / 2);
        picture->onClick = [this, page] { selectPage(page); };
        pagePictures_[page] = picture;
        auto* label = new QLabel(QString::fromLatin1(p.label), column);
        label->setObjectName(page == 0 ? QStringLiteral("OptionsLabel") : QStringLiteral("HotkeysLabel"));
        label->setAutoFillBackground(true);
        label->adjustSize();
        // Centred under the picture whatever the font's width.
        const int centre = scaled(42, 0, 0, 0).left();
        label->move(centre - label->width() / 2, scaled(p.labelLeft, p.labelTop, 0, 0).top());
        pageLabels_[page] = label;
    }
}

QLabel* PreferencesDialog::pageTitle(QWidget* page, const char* text)
{
    auto* title = new QLabel(QString::fromLatin1(text), page);
    title->setGeometry(
        scaled(3, 2, 298, 13).adjusted(0, 0, 0, std::max(0, fontMetrics().height() - scaled(0, 0, 0, 13).height())));
    title->setAutoFillBackground(true);
    QPalette colours = title->palette();
    colours.setColor(QPalette::Window, palette().color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::WindowText, palette().color(QPalette::Active, QPalette::HighlightedText));
    title->setPalette(colours);
    return title;
}

QWidget* PreferencesDialog::createOptionsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("OptionsPage"));
    pageTitle(page, " Options ");
    const RemoteControlSettings& o = initial_.options;
    showRulers_ = checkBox(page, "cbShowRulers", "Show rulers", scaled(16, 26, 0, 0));
    showRulers_->setChecked(o.showRulers);
    auto* unitsLabel = new QLabel(QStringLiteral("Units:"), page);
    unitsLabel->move(scaled(32, 54, 0, 0).topLeft());
    units_ = new QComboBox(page);
    units_->setObjectName(QStringLiteral("cbUnits"));
    units_->addItems({QStringLiteral("Pixels"), QStringLiteral("Inches"), QStringLiteral("Centimetres")});
    units_->setGeometry(
        scaled(64, 50, 121, 21)
            .adjusted(0, 0, 0, std::max(0, units_->sizeHint().height() - scaled(0, 0, 0, 21).height())));
    units_->setCurrentIndex(initial_.unit.value_or(-1));
    unitsLabel->setBuddy(units_);
    // Right-aligned against the list, however wide the caption's font makes it.
    unitsLabel->adjustSize();
    unitsLabel->move(std::min(unitsLabel->x(), units_->x() - unitsLabel->width() - 3),
                     units_->y() + (units_->height() - unitsLabel->height()) / 2);
    updateRulers_ = checkBox(page, "cbUpdateRulers", "Update rulers while dragging", scaled(32, 80, 0, 0));
    updateRulers_->setChecked(o.updateRulers);
    updateRulers_->setEnabled(!initial_.updateRulersLocked);
    hide_ = checkBox(page, "cbHide", "Hide Remote Control while capture", scaled(16, 108, 0, 0));
    hide_->setChecked(o.hideRemote);
    hints_ = checkBox(page, "cbHints", "Show hints", scaled(16, 136, 0, 0));
    hints_->setChecked(o.showHint);
    cursor_ = checkBox(page, "cbCursor", "Capture cursor", scaled(168, 136, 0, 0));
    fitInsidePage(cursor_);
    cursor_->setChecked(o.captureCursor);
    trayMinimize_ = checkBox(page, "cbTrayMinimize", "Minimize to tray", scaled(16, 164, 0, 0));
    trayMinimize_->setChecked(o.trayMinimize);
    printScreen_ = checkBox(page, "cbPrintScreen", "Use PrintScreen key", scaled(168, 164, 0, 0));
    printScreen_->setChecked(o.usePrintScreen);
    if (platform_.keyWatcher != nullptr) {
        printScreen_->setToolTip(QString::fromStdString(platform_.keyWatcher->limitation()));
    }
    fitInsidePage(printScreen_);
    // The right-hand column stays one column when the page's edge moves one of its boxes left.
    const int rightColumn = std::min(cursor_->x(), printScreen_->x());
    cursor_->move(rightColumn, cursor_->y());
    printScreen_->move(rightColumn, printScreen_->y());
    exit_ = checkBox(page, "cbExit", "Show exit confirmation", scaled(16, 192, 0, 0));
    exit_->setChecked(o.exitConfirmation);
    auto* skinLabel = new QLabel(QStringLiteral("Skin:"), page);
    skinLabel->move(scaled(16, 222, 0, 0).topLeft());
    skin_ = new QLineEdit(QString::fromStdString(o.skin), page);
    skin_->setObjectName(QStringLiteral("edSkin"));
    skin_->setGeometry(scaled(48, 218, 209, 21));
    skinLabel->setBuddy(skin_);
    auto* pick = new QToolButton(page);
    pick->setObjectName(QStringLiteral("tbSkin"));
    pick->setGeometry(scaled(264, 216, 25, 25));
    pick->setIcon(folderIcon(scaled(0, 0, 16, 16).width()));
    pick->setIconSize(scaled(0, 0, 16, 16).size());
    pick->setToolTip(QStringLiteral("Select skin"));
    connect(pick, &QToolButton::clicked, this, &PreferencesDialog::chooseSkin);
    createFullScreenChoice(page);
    return page;
}

void PreferencesDialog::createFullScreenChoice(QWidget* page)
{
    auto* label = new QLabel(QStringLiteral("Full screen:"), page);
    label->move(scaled(16, 252, 0, 0).topLeft());
    label->adjustSize();
    auto radio = [&](const char* name, const char* caption, int left) {
        auto* button = new QRadioButton(QString::fromLatin1(caption), page);
        button->setObjectName(QString::fromLatin1(name));
        // After the caption, however wide its font makes it.
        button->move(std::max(scaled(left, 0, 0, 0).left(), label->x() + label->width() + scaled(6, 0, 0, 0).left()),
                     scaled(0, 250, 0, 0).top());
        button->adjustSize();
        return button;
    };
    thisMonitor_ = radio("rbThisMonitor", "this monitor", 88);
    allMonitors_ = radio("rbAllMonitors", "all monitors", 184);
    allMonitors_->move(
        std::max(allMonitors_->x(), thisMonitor_->x() + thisMonitor_->width() + scaled(8, 0, 0, 0).left()),
        allMonitors_->y());
    fitInsidePage(allMonitors_);
    const bool all = initial_.options.fullScreenAllMonitors;
    (all ? allMonitors_ : thisMonitor_)->setChecked(true);
}

QWidget* PreferencesDialog::createHotkeysPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("HotkeysPage"));
    pageTitle(page, " Hotkeys ");
    struct Row {
        const char* label;
        const char* field;
    };
    // In identifier order, as the settings keep the shortcuts.
    const Row rows[kHotkeyCount] = {{"Capture:", "HotKeyCapture"},
                                    {"Toggle full-screen mode:", "HotKeyFullScreen"},
                                    {"Edit:", "HotKeyEdit"},
                                    {"Save:", "HotKeySave"},
                                    {"Print:", "HotKeyPrint"}};
    std::array<QLabel*, kHotkeyCount> labels{};
    for (size_t i = 0; i < std::size(rows); ++i) {
        labels[i] = new QLabel(QString::fromLatin1(rows[i].label), page);
        labels[i]->adjustSize();
    }
    // The fields start after the widest caption when this desktop's font makes it wider than
    // designed, and keep their designed right edge.
    int fieldLeft = scaled(156, 0, 0, 0).left();
    for (const QLabel* label : labels) {
        fieldLeft = std::max(fieldLeft, scaled(20, 0, 0, 0).left() + label->width() + scaled(6, 0, 0, 0).left());
    }
    const int fieldRight = scaled(156 + 132, 0, 0, 0).left();
    QFont bold = font();
    bold.setBold(true);
    for (auto [text, left] : {std::pair{"Action", scaled(20, 0, 0, 0).left()}, std::pair{"Hotkey", fieldLeft}}) {
        auto* heading = new QLabel(QString::fromLatin1(text), page);
        heading->setFont(bold);
        heading->move(left, scaled(0, 24, 0, 0).top());
    }
    HotkeyService* service = platform_.hotkeys;
    const KeyNameLookup keyName = [service](int key) { return service ? service->keyName(key) : std::string(); };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const QRect designed = scaled(156, 44 + 24 * static_cast<int>(i), 132, 21);
        auto* field = new HotkeyField(keyName, page);
        field->setObjectName(QString::fromLatin1(rows[i].field));
        field->setGeometry(fieldLeft, designed.top(), std::max(fieldRight - fieldLeft, designed.width() / 2),
                           designed.height());
        field->setShortcut(initial_.options.hotkeys[i]);
        labels[i]->move(scaled(20, 0, 0, 0).left(), field->y() + (field->height() - labels[i]->height()) / 2);
        labels[i]->setBuddy(field);
        hotkeyFields_[i] = field;
    }
    enableHotkeys_ = checkBox(page, "cbEnableHotkeys", "Enable hotkeys", scaled(16, 176, 0, 0));
    enableHotkeys_->setChecked(initial_.options.globalHotkeys);
    if (service != nullptr) {
        enableHotkeys_->setToolTip(QString::fromStdString(service->limitation()));
    }
    return page;
}

void PreferencesDialog::markPageLabels()
{
    for (int page = 0; page < 2; ++page) {
        QPalette colours = pageLabels_[page]->palette();
        colours.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
        colours.setColor(QPalette::Window, page == pages_.page() ? palette().color(QPalette::Highlight)
                                                                 : palette().color(QPalette::Dark));
        pageLabels_[page]->setPalette(colours);
    }
}

void PreferencesDialog::selectPage(int page)
{
    if (pages_.select(page)) {
        stack_->setCurrentIndex(pages_.page());
        markPageLabels();
    }
}

void PreferencesDialog::help()
{
    showHelpTopic(platform_.help, helpFilePath_, pages_.helpTopic());
}

void PreferencesDialog::chooseSkin()
{
    if (const auto chosen = pickSkin(this, skin_->text().toStdString(), platform_.programFolder, pixelsPerInch_)) {
        skin_->setText(QString::fromStdString(*chosen));
    }
}

PreferencesValues PreferencesDialog::values() const
{
    PreferencesValues v = initial_;
    RemoteControlSettings& o = v.options;
    v.unit = units_->currentIndex() >= 0 ? std::optional(units_->currentIndex()) : std::nullopt;
    o.showRulers = showRulers_->isChecked();
    o.updateRulers = updateRulers_->isChecked();
    o.hideRemote = hide_->isChecked();
    o.showHint = hints_->isChecked();
    o.captureCursor = cursor_->isChecked();
    o.trayMinimize = trayMinimize_->isChecked();
    o.usePrintScreen = printScreen_->isChecked();
    o.exitConfirmation = exit_->isChecked();
    o.fullScreenAllMonitors = allMonitors_->isChecked();
    o.skin = skin_->text().toStdString();
    for (size_t slot = 0; slot < o.hotkeys.size(); ++slot) {
        o.hotkeys[slot] = hotkeyFields_[slot]->shortcut();
    }
    o.globalHotkeys = enableHotkeys_->isChecked();
    return v;
}
