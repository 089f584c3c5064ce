#include "common/ui/ColorChoice.h"

#include <QColorDialog>
#include <QWidget>

QColor toQColor(ColorRef color)
{
    return QColor(redOf(color), greenOf(color), blueOf(color));
}

std::optional<ColorRef> chooseColor(ColorRef initial, QWidget* owner)
{
    // The toolkit's own dialog: a desktop's dialog would differ from window to window.
    const QColor chosen =
        QColorDialog::getColor(toQColor(initial), owner, QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return makeColor(static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                     static_cast<uint8_t>(chosen.blue()));
}

void showColorSwatch(QWidget& swatch, ColorRef color)
{
    QPalette palette = swatch.palette();
    palette.setColor(QPalette::Window, toQColor(color));
    swatch.setPalette(palette);
}
