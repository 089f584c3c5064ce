// Paints the Capture Frame's client area: rulers with ticks and labels, or the grip look.
#pragma once

#include "capture/RulerLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

// The system's button colours that the frame is drawn in.
struct FrameColours {
    QColor face{0xF0, 0xF0, 0xF0};
    QColor highlight{0xFF, 0xFF, 0xFF};
    QColor shadow{0xA0, 0xA0, 0xA0};
};

// Everything one paint depends on.
struct FramePaintInput {
    RulerFrame frame;
    bool showRulers = true;
    QString decimalSeparator = QStringLiteral(".");
};

class FramePainter {
public:
    FramePainter(int pixelsPerInch, const FrameColours& colours);

    // Paints the whole client area into `buffer`, which takes the client size.
    void paint(QImage& buffer, const FramePaintInput& input) const;

    // The 8 x 8 pattern of small raised squares that fills the band when rulers are off.
    const QImage& gripPattern() const { return gripPattern_; }
    const QFont& labelFont() const { return labelFont_; }
    const QFont& captionFont() const { return captionFont_; }
    // Width of a label text in the ruler font.
    int labelWidth(std::string_view text) const;

    static constexpr const char* kCaption = " Drag and resize ";

private:
    void paintRulers(QImage& buffer, const FramePaintInput& input) const;
    void paintGripLook(QImage& buffer, const FramePaintInput& input) const;
    void paintOuterEdge(QImage& buffer, int width, int height) const;

    FrameColours colours_;
    QImage gripPattern_;
    QFont labelFont_;
    QFont captionFont_;
};

// The grip pattern for the given colours (built once per frame).
QImage makeGripPattern(const FrameColours& colours);
