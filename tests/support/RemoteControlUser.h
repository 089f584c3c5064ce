// Drives the Remote Control as its user does: controls found by their object names, keys pressed
// on the window, menu items chosen by the texts the menus show; and reads what the user sees.
#pragma once

#include "app/ui/ThumbnailBox.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>

#include <stdexcept>
#include <string>

class RemoteControlUser {
public:
    explicit RemoteControlUser(QWidget& window) : window_(window) {}

    // "captureButton", "fullScreenButton", "timerButton", "saveButton", "printButton",
    // "editButton", "preferencesButton", "menuButton" or "closeButton".
    QToolButton& button(const char* name) const { return found<QToolButton>(name); }
    void click(const char* name) const { button(name).click(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) const
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&window_, &event);
    }

    // The item of "trayMenu" or "systemMenu" that reads `text` when that menu opens.
    QAction& menuItem(const char* menu, const QString& text) const
    {
        if (QAction* item = itemReading(menu, text)) {
            return *item;
        }
        throw std::runtime_error(std::string(menu) + " has no item " + text.toStdString());
    }
    bool hasMenuItem(const char* menu, const QString& text) const { return itemReading(menu, text) != nullptr; }
    void choose(const char* menu, const QString& text) const { menuItem(menu, text).trigger(); }
    bool menuOpen(const char* menu) const { return found<QMenu>(menu).isVisible(); }
    void closeMenu(const char* menu) const { found<QMenu>(menu).hide(); }

    // The thumbnail of the last capture, 80 x 80.
    const QImage& thumbnail() const { return found<ThumbnailBox>("thumbnail").picture(); }
    void doubleClickThumbnail() const
    {
        ThumbnailBox& box = found<ThumbnailBox>("thumbnail");
        const QPointF at(10, 10);
        QMouseEvent event(QEvent::MouseButtonDblClick, at, box.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&box, &event);
    }

private:
    QAction* itemReading(const char* menu, const QString& text) const
    {
        QMenu& shown = found<QMenu>(menu);
        // What opening the menu does first: its items take the texts of that menu.
        Q_EMIT shown.aboutToShow();
        for (QAction* item : shown.actions()) {
            if (item->text() == text) {
                return item;
            }
        }
        return nullptr;
    }
    template <class Control> Control& found(const char* name) const
    {
        auto* control = window_.findChild<Control*>(QString::fromLatin1(name));
        if (control == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *control;
    }

    QWidget& window_;
};
