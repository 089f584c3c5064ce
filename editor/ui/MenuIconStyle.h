// The desktop's style with menu icons of a chosen size: without the toolkit's own scaling a menu
// draws its icons at 16 pixels whatever the screen's density, shrunk and blurred at 144 dpi.
#pragma once

#include <QProxyStyle>

class MenuIconStyle : public QProxyStyle {
public:
    explicit MenuIconStyle(int iconSize);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

private:
    int iconSize_;
};
