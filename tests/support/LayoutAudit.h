// What a user would see wrong in a shown window's layout: a text cut off by its control, a control
// beyond the window's edge, two controls lying over each other. Used by the window tests and by
// zentrap-layout-check, which shows the windows in the fonts and density of a real desktop.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QWidget>

#include <vector>

namespace layoutaudit {

inline QString describe(const QWidget* widget)
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
    const QString name = widget->objectName().isEmpty() ? QString() : " (" + widget->objectName() + ")";
    return QString("%1 \"%2\"%3").arg(widget->metaObject()->className(), text, name);
}

// What the widget's text needs; an empty size for widgets without text of their own.
inline QSize neededSize(const QWidget* widget)
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
    if (qobject_cast<const QComboBox*>(widget) != nullptr) {
        return widget->sizeHint();
    }
    if (const auto* field = qobject_cast<const QLineEdit*>(widget)) {
        // The text's height with the field's frame; its width scrolls.
        return {0, field->minimumSizeHint().height()};
    }
    if (qobject_cast<const QGroupBox*>(widget) != nullptr) {
        return widget->minimumSizeHint();
    }
    return {};
}

// Controls a user reads or clicks: the ones whose places must not overlap.
inline bool isControl(const QWidget* widget)
{
    return qobject_cast<const QLabel*>(widget) != nullptr || qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr || qobject_cast<const QLineEdit*>(widget) != nullptr;
}

// One line per fault of the shown `window`, each starting with `name`.
inline QStringList faults(const QString& name, const QWidget& window)
{
    QStringList found;
    const QRect area = window.rect();
    struct Placed {
        const QWidget* widget;
        QRect rect;
    };
    std::vector<Placed> controls;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window) || widget->isWindow()) {
            continue;
        }
        const QRect inWindow(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        if (!area.contains(inWindow)) {
            found << QString("%1: %2 at %3,%4 %5x%6 reaches beyond the window (%7x%8)")
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
            found << QString("%1: %2 is %3x%4, its text needs %5x%6")
                         .arg(name, describe(widget))
                         .arg(widget->width())
                         .arg(widget->height())
                         .arg(needed.width())
                         .arg(needed.height());
        }
        if (isControl(widget) && !inWindow.isEmpty()) {
            controls.push_back({widget, inWindow});
        }
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const QWidget* a = controls[i].widget;
            const QWidget* b = controls[j].widget;
            // A control's own parts (a list's field) lie inside it by design.
            if (a->isAncestorOf(b) || b->isAncestorOf(a) || !controls[i].rect.intersects(controls[j].rect)) {
                continue;
            }
            found << QString("%1: %2 and %3 overlap").arg(name, describe(a), describe(b));
        }
    }
    return found;
}

} // namespace layoutaudit
