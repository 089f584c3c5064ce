// zentrap-layout-check: shows the About box, the View, Save As (with each of its settings pages) and
// Preferences (both pages) and the Image Editor on the current display, with the fonts and the pixels per inch in force
// there, and checks that every text they hold gets the room it needs: no label, check box, list or
// button smaller than its text asks for, nothing beyond the window's edge, the View's status bar along
// the whole bottom, the Preferences page pictures drawn at the screen's density (48 pixels a side at 96
// dpi). Prints one line per fault and exits with 1 if there was any, else prints "layout ok at N dpi".
#include "app/ui/AboutDialog.h"
#include "app/ui/ViewWindow.h"
#include "common/Bitmap.h"
#include "common/SettingsFile.h"
#include "editor/ui/EditorView.h"
#include "editor/ui/ImageEditorWindow.h"
#include "platform/FileRegistryHive.h"
#include "platform/Platform.h"
#include "platform/fake/FakeClipboard.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeHelpService.h"
#include "platform/fake/FakeMessageService.h"
#include "platform/fake/FakeScreenSource.h"
#include "preferences/ui/PreferencesDialog.h"
#include "save/ui/SaveAsDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>

#include <cmath>
#include <cstdio>

namespace {

QStringList faults;

QString describe(const QWidget* widget)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text().section('\n', 0, 0);
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text = button->text();
    } else if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
        text = list->currentText();
    } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        text = group->title();
    }
    return QString("%1 \"%2\"").arg(widget->metaObject()->className(), text);
}

// What the widget's text needs; an empty size for widgets without text of their own.
QSize neededSize(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->text().isEmpty()) {
            return {};
        }
        if (label->wordWrap()) {
            return {0, label->heightForWidth(label->width())};
        }
        return label->sizeHint();
    }
    if (qobject_cast<const QCheckBox*>(widget) != nullptr || qobject_cast<const QComboBox*>(widget) != nullptr) {
        return widget->sizeHint();
    }
    if (const auto* push = qobject_cast<const QPushButton*>(widget)) {
        if (push->text().isEmpty()) {
            return {};
        }
        // The text with the style's margins and frame; the style's wish for buttons of at least 80
        // pixels is no need of the text's.
        const QStyle* style = push->style();
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push) +
                           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push);
        return push->fontMetrics().size(Qt::TextShowMnemonic, push->text()) + QSize(margin, margin);
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text().isEmpty() ? QSize() : button->minimumSizeHint();
    }
    if (qobject_cast<const QGroupBox*>(widget) != nullptr) {
        return widget->minimumSizeHint();
    }
    return {};
}

void auditWindow(const QString& name, QWidget* window)
{
    const QRect area = window->rect();
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || widget->isWindow()) {
            continue;
        }
        const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
        if (!area.contains(inWindow)) {
            faults << QString("%1: %2 at %3,%4 %5x%6 reaches beyond the window (%7x%8)")
                          .arg(name, describe(widget))
                          .arg(inWindow.x())
                          .arg(inWindow.y())
                          .arg(inWindow.width())
                          .arg(inWindow.height())
                          .arg(area.width())
                          .arg(area.height());
        }
        const QSize needed = neededSize(widget);
        if (widget->width() < needed.width() || widget->height() < needed.height()) {
            faults << QString("%1: %2 is %3x%4, its text needs %5x%6")
                          .arg(name, describe(widget))
                          .arg(widget->width())
                          .arg(widget->height())
                          .arg(needed.width())
                          .arg(needed.height());
        }
    }
}

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
    }
}

void checkAbout()
{
    AboutDialog about(nullptr);
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
    for (int page = 0; page < save.settingsPages->count(); ++page) {
        save.settingsPages->setCurrentIndex(page);
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
    const double scale = std::max(1.0, preferences.logicalDpiY() / 96.0);
    const int side = static_cast<int>(std::lround(48 * scale));
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

// The Image Editor: the view's border and the control panel at the screen's density (8 and 154
// pixels at 96 dpi; the panel may grow for the fonts elsewhere), and the angle menu's icons drawn
// at their scaled size rather than shrunk to the toolkit's 16 pixels.
void checkEditor(Platform& platform, SettingsFile& iniFile)
{
    const Bitmap image(292, 192, PixelFormat::Bpp24);
    Bitmap edit = image;
    Bitmap undo;
    ImageEditorWindow editor(platform, iniFile, ImageEditorHost{image, edit, undo, true, true}, nullptr);
    editor.show();
    settle();
    const double scale = editor.logicalDpiY() / 96.0;
    const int border = static_cast<int>(std::lround(8 * scale));
    const auto* view = editor.findChild<EditorViewPanel*>();
    const auto* bevel = view != nullptr ? view->findChild<QFrame*>() : nullptr;
    if (bevel == nullptr || bevel->mapTo(&editor, QPoint(0, 0)) != QPoint(border, border)) {
        faults << QString("Image Editor: the view's bevel is not %1 pixels from the window's corner").arg(border);
    }
    const int panel = editor.btClose->parentWidget()->width();
    const int designed = static_cast<int>(std::lround(154 * scale));
    if (scale == 1.0 ? panel != designed : panel < designed) {
        faults << QString("Image Editor: the control panel is %1 pixels wide, designed %2").arg(panel).arg(designed);
    }
    const QMenu* angles = editor.sbRotate->menu();
    const int menuIcon =
        angles != nullptr ? angles->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, angles) : 0;
    if (menuIcon != static_cast<int>(std::lround(16 * scale))) {
        faults << QString("Image Editor: the angle menu draws its icons at %1 pixels").arg(menuIcon);
    }
    editor.hide();
}

} // namespace

int main(int argc, char** argv)
{
    // As in the program: one logical pixel is one screen pixel.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 2;
    }
    FileRegistryHive userHive(QDir(folder.path()).filePath("user.reg").toStdString(), "HKEY_CURRENT_USER",
                              FileRegistryHive::Access::ReadWrite);
    SettingsFile iniFile(QDir(folder.path()).filePath("zentrap.ini").toStdString());
    FakeScreenSource screen(Bitmap(1920, 1080, PixelFormat::Bpp24));
    FakeClipboard clipboard;
    FakeHelpService help;
    FakeMessageService messages;
    FakeClock clock;
    Platform platform{userHive, nullptr, screen, clipboard, help, messages, clock, folder.path().toStdString() + "/"};

    const Bitmap startImage(80, 80, PixelFormat::Bpp24);
    checkAbout();
    checkView(startImage);
    checkSaveAs(platform, iniFile, startImage);
    checkPreferences(platform);
    checkEditor(platform, iniFile);

    for (const QString& fault : faults) {
        std::printf("FAIL: %s\n", qPrintable(fault));
    }
    const int dpi = QApplication::primaryScreen() != nullptr
                        ? static_cast<int>(QApplication::primaryScreen()->logicalDotsPerInch())
                        : 0;
    if (!faults.isEmpty()) {
        std::printf("%lld layout faults at %d dpi\n", static_cast<long long>(faults.size()), dpi);
        return 1;
    }
    std::printf("layout ok at %d dpi\n", dpi);
    return 0;
}
