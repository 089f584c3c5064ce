#include "app/ui/DialogModality.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

DialogModality::DialogModality(QObject* application) : QObject(application)
{
    application->installEventFilter(this);
}

bool DialogModality::eventFilter(QObject* watched, QEvent* event)
{
    // The show event comes before the window is mapped, which is when its modality takes effect;
    // exec() and the static dialog functions ask for application modality unless told otherwise.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->windowModality() == Qt::ApplicationModal &&
            widget->parentWidget() != nullptr) {
            widget->setWindowModality(Qt::WindowModal);
            // The widget hands its new modality to a native window it already has only when shown.
            if (QWindow* window = widget->windowHandle()) {
                window->setModality(Qt::WindowModal);
            }
        }
    }
    return false;
}
