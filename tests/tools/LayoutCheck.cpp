// zentrap-layout-check: shows every window of the program that lays itself out (About, View, Save As
// with each of its settings pages, Preferences with both pages, the Image Editor, the Print Preview,
// the exit question, the hotkey failure dialog and the help window) on the current display, with the
// fonts and the pixels per inch in force there, handed to the windows through the platform as the
// program does, and checks what a user would see: every text gets the room it needs, nothing reaches
// beyond the window's edge, no two controls overlap; and the View's status bar runs along the whole
// bottom, the Preferences page pictures and the Image Editor's view border and panel are drawn at the
// screen's density. Prints one line per fault and exits with 1 if there was any, else prints
// "layout ok at N dpi". With a folder as its argument it also saves a picture of each window there.
#include "app/ui/AboutDialog.h"
#include "app/ui/ExitQuestionDialog.h"
#include "app/ui/ViewWindow.h"
#include "common/Bitmap.h"
#include "common/SettingsFile.h"
#include "common/ui/ScreenDensity.h"
#include "editor/ui/EditorView.h"
#include "editor/ui/ImageEditorWindow.h"
#include "help/ui/HelpWindow.h"
#include "hotkeys/GlobalHotkeys.h"
#include "hotkeys/ui/HotkeyFailureDialog.h"
#include "platform/fake/FakePlatform.h"
#include "preferences/ui/PreferencesDialog.h"
#include "print/ui/OpenPrintPreview.h"
#include "save/ui/SaveAsDialog.h"
#include "support/LayoutAudit.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>
#include <string>

namespace {

QStringList faults;

// Where pictures of the audited windows go when asked for (the first argument), to look at them.
QString shotsFolder;

void auditWindow(const QString& name, QWidget* window)
{
    faults << layoutaudit::faults(name, *window);
    if (!shotsFolder.isEmpty()) {
        QString file = name.toLower();
        file.replace(QRegularExpression("[^a-z0-9]+"), "-");
        window->grab().save(QDir(shotsFolder).filePath(file + ".png"));
    }
}

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
    }
}

void checkAbout(const Platform& platform)
{
    AboutDialog about(platform.pixelsPerInch, nullptr);
    about.show();
    settle();
    auditWindow("About", &about);
}

void checkView(const Bitmap& image)
{
    ViewWindow view(image, nullptr);
    view.show();
    settle();
    for (QSize size : {view.size(), QSize(400, 300)}) {
        view.resize(size);
        settle();
        const QString name = QString("View at %1x%2").arg(view.width()).arg(view.height());
        auditWindow(name, &view);
        const QStatusBar* status = view.findChild<QStatusBar*>();
        if (status == nullptr || status->geometry().left() != 0 || status->geometry().right() != view.width() - 1 ||
            status->geometry().bottom() != view.height() - 1) {
            faults << name + ": the status bar does not run along the whole bottom";
        }
    }
}

void checkSaveAs(const Platform& platform, SettingsFile& iniFile, const Bitmap& image)
{
    int32_t captureNumber = 1;
    bool notSaved = true;
    SaveAsDialog save(platform, iniFile, SaveAsDialogHost{image, captureNumber, notSaved, true}, nullptr);
    save.show();
    settle();
    auto* pages = save.findChild<QStackedWidget*>("settingsPages");
    if (pages == nullptr) {
        faults << "Save As: no settings pages";
        return;
    }
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        settle();
        auditWindow(QString("Save As, settings page %1").arg(page), &save);
    }
    save.reject();
}

void checkPreferences(Platform& platform)
{
    PreferencesDialog preferences(platform, {}, PreferencesValues{}, true, nullptr);
    preferences.show();
    settle();
    for (int page : {1, 0}) {
        preferences.selectPage(page);
        settle();
        auditWindow(QString("Preferences, page %1").arg(page), &preferences);
    }
    const int side = scaledDesignLength(48, platform.pixelsPerInch);
    for (const char* name : {"OptionsPicture", "HotkeysPicture"}) {
        const auto* picture = preferences.findChild<QWidget*>(name);
        if (picture == nullptr) {
            faults << QString("Preferences: no %1").arg(name);
        } else if (picture->size() != QSize(side, side)) {
            faults << QString("Preferences: %1 is %2x%3, not %4 pixels a side")
                          .arg(name)
                          .arg(picture->width())
                          .arg(picture->height())
                          .arg(side);
        }
    }
    // The Options page's right-hand column of check boxes starts at one x.
    const auto* cursor = preferences.findChild<QWidget*>("cbCursor");
    const auto* printScreen = preferences.findChild<QWidget*>("cbPrintScreen");
    if (cursor == nullptr || printScreen == nullptr || cursor->x() != printScreen->x()) {
        faults << QString("Preferences: the right-hand check boxes start at %1 and %2")
                      .arg(cursor != nullptr ? cursor->x() : -1)
                      .arg(printScreen != nullptr ? printScreen->x() : -1);
    }
    preferences.reject();
}

// The Image Editor, at its smallest and at its stored size: the view's border and the control panel
// at the screen's density (8 and 154 pixels at 96 dpi; the panel may grow for the fonts elsewhere),
// and the angle menu's icons drawn at their scaled size rather than shrunk to the toolkit's 16 pixels.
void checkEditor(Platform& platform, SettingsFile& iniFile)
{
    const Bitmap image(292, 192, PixelFormat::Bpp24);
    Bitmap edit = image;
    Bitmap undo;
    ImageEditorWindow editor(platform, iniFile, ImageEditorHost{image, edit, undo, true, true}, nullptr);
    editor.show();
    settle();
    auditWindow("Image Editor", &editor);
    const int ppi = platform.pixelsPerInch;
    const int border = scaledDesignLength(8, ppi);
    const auto* view = editor.findChild<EditorViewPanel*>();
    const auto* bevel = view != nullptr ? view->findChild<QFrame*>() : nullptr;
    if (bevel == nullptr || bevel->mapTo(&editor, QPoint(0, 0)) != QPoint(border, border)) {
        faults << QString("Image Editor: the view's bevel is not %1 pixels from the window's corner").arg(border);
    }
    const auto* close = editor.findChild<QPushButton*>("btClose");
    const int panel = close != nullptr ? close->parentWidget()->width() : 0;
    const int designed = scaledDesignLength(154, ppi);
    if (ppi == 96 ? panel != designed : panel < designed) {
        faults << QString("Image Editor: the control panel is %1 pixels wide, designed %2").arg(panel).arg(designed);
    }
    const auto* rotate = editor.findChild<QToolButton*>("sbRotate");
    const QMenu* angles = rotate != nullptr ? rotate->menu() : nullptr;
    const int menuIcon =
        angles != nullptr ? angles->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, angles) : 0;
    if (menuIcon != scaledDesignLength(16, ppi)) {
        faults << QString("Image Editor: the angle menu draws its icons at %1 pixels").arg(menuIcon);
    }
    editor.hide();
}

void checkPrintPreview(const Platform& platform, SettingsFile& iniFile, const Bitmap& image)
{
    bool notSaved = true;
    auto preview = openPrintPreview(platform, iniFile, {image, notSaved, true}, nullptr);
    if (preview == nullptr) {
        faults << "Print Preview: not opened";
        return;
    }
    preview->show();
    settle();
    auditWindow("Print Preview", preview.get());
    preview->hide();
}

void checkExitQuestion(const Platform& platform)
{
    ExitQuestionDialog question(platform, "/nowhere/ztp.chm", nullptr);
    question.show();
    settle();
    auditWindow("Exit question", &question);
}

void checkHotkeyFailure(const Platform& platform)
{
    // The longest message: every hotkey refused, with long key names.
    const std::string message = hotkeyFailureMessage(
        "Ctrl+Alt+Shift+Print, Ctrl+Alt+Shift+Pause, Ctrl+Alt+Shift+Insert, Ctrl+Alt+Shift+Delete, "
        "Ctrl+Alt+Shift+Scroll Lock, ",
        kHotkeyCount);
    HotkeyFailureDialog failure(message, platform, "/nowhere/ztp.chm", nullptr);
    failure.show();
    settle();
    auditWindow("Hotkey failure", &failure);
}

void checkHelp(const Platform& platform)
{
    HelpWindow help(platform.pixelsPerInch);
    help.show();
    settle();
    auditWindow("Help", &help);
    const QSize designed(scaledDesignLength(780, platform.pixelsPerInch),
                         scaledDesignLength(540, platform.pixelsPerInch));
    if (help.size() != designed) {
        faults << QString("Help: the window is %1x%2, designed %3x%4")
                      .arg(help.width())
                      .arg(help.height())
                      .arg(designed.width())
                      .arg(designed.height());
    }
}

} // namespace

int main(int argc, char** argv)
{
    // As in the program: one logical pixel is one screen pixel.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    if (argc > 1) {
        shotsFolder = QString::fromLocal8Bit(argv[1]);
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 2;
    }
    SettingsFile iniFile(QDir(folder.path()).filePath("zentrap.ini").toStdString());
    FakePlatform fake(Bitmap(1920, 1080, PixelFormat::Bpp24), folder.path().toStdString() + "/");
    // The screen's density, handed to the windows through the platform.
    const int dpi = layoutPixelsPerInch(0);
    fake.platform.pixelsPerInch = dpi;
    Platform& platform = fake.platform;

    const Bitmap startImage(80, 80, PixelFormat::Bpp24);
    checkAbout(platform);
    checkView(startImage);
    checkSaveAs(platform, iniFile, startImage);
    checkPreferences(platform);
    checkEditor(platform, iniFile);
    checkPrintPreview(platform, iniFile, startImage);
    checkExitQuestion(platform);
    checkHotkeyFailure(platform);
    checkHelp(platform);

    for (const QString& fault : faults) {
        std::printf("FAIL: %s\n", qPrintable(fault));
    }
    if (!faults.isEmpty()) {
        std::printf("%lld layout faults at %d dpi\n", static_cast<long long>(faults.size()), dpi);
        return 1;
    }
    std::printf("layout ok at %d dpi\n", dpi);
    return 0;
}
