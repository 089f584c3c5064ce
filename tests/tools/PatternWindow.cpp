// zentrap-test-pattern: a frameless window showing the test pattern at an exact geometry, for
// end-to-end tests that grab the screen or click through other windows.
//   --geometry X,Y,W,H   where the window goes (required)
//   --clicks FILE        append "X Y" (screen coordinates) for every mouse press
//   --normal             not always on top
//   --title TEXT         window title (default "zentrap-test-pattern")
//   --ibeam              the window shows the text-beam cursor
// Prints "ready" on stdout once the window shows the pattern at its place.
// Without a display, for checks written in other languages:
//   --write FILE W H     writes window pixels (0,0)-(W-1,H-1) of the pattern as a binary PPM
//   --locate R G B       prints "X Y", the window pixel that shows that colour
#include "Pattern.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class PatternWindow : public QWidget {
public:
    PatternWindow(QRect wanted, std::string clicksFile, bool onTop)
        : wanted_(wanted), clicksFile_(std::move(clicksFile)),
          image_(wanted.width(), wanted.height(), QImage::Format_RGB32)
    {
        Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
        if (onTop) {
            flags |= Qt::WindowStaysOnTopHint;
        }
        setWindowFlags(flags);
        setAttribute(Qt::WA_OpaquePaintEvent);
        for (int y = 0; y < image_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < image_.width(); ++x) {
                test_pattern::Rgb c = test_pattern::colorAt(x, y);
                line[x] = qRgb(c.red, c.green, c.blue);
            }
        }
        setGeometry(wanted_);
        setFixedSize(wanted_.size());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).drawImage(0, 0, image_);
        if (!painted_) {
            painted_ = true;
            QTimer::singleShot(100, this, [this] { announceWhenPlaced(0); });
        }
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (clicksFile_.empty()) {
            return;
        }
        if (FILE* f = std::fopen(clicksFile_.c_str(), "a")) {
            QPoint p = event->globalPosition().toPoint();
            std::fprintf(f, "%d %d\n", p.x(), p.y());
            std::fclose(f);
        }
    }

private:
    // A window manager may place the window elsewhere at first; put it back before saying ready.
    void announceWhenPlaced(int attempt)
    {
        if (geometry() != wanted_ && attempt < 20) {
            setGeometry(wanted_);
            QTimer::singleShot(50, this, [this, attempt] { announceWhenPlaced(attempt + 1); });
            return;
        }
        if (geometry() != wanted_) {
            std::fprintf(stderr, "zentrap-test-pattern: placed at %d,%d instead\n", geometry().x(), geometry().y());
        }
        std::printf("ready\n");
        std::fflush(stdout);
    }

    QRect wanted_;
    std::string clicksFile_;
    QImage image_;
    bool painted_ = false;
};

int fail(const char* message)
{
    std::fprintf(stderr, "zentrap-test-pattern: %s\n", message);
    return 2;
}

int writeReference(const char* path, const char* widthText, const char* heightText)
{
    int width = std::atoi(widthText);
    int height = std::atoi(heightText);
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        return fail("--write FILE W H with a size from 1 to 4096");
    }
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        return fail("cannot write the reference picture");
    }
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    std::vector<uint8_t> line(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            test_pattern::Rgb c = test_pattern::colorAt(x, y);
            line[x * 3] = c.red;
            line[x * 3 + 1] = c.green;
            line[x * 3 + 2] = c.blue;
        }
        std::fwrite(line.data(), 1, line.size(), f);
    }
    return std::fclose(f) == 0 ? 0 : fail("cannot write the reference picture");
}

int locate(const char* red, const char* green, const char* blue)
{
    auto byte = [](const char* text) { return static_cast<uint8_t>(std::atoi(text) & 0xFF); };
    test_pattern::Position p = test_pattern::positionOf({byte(red), byte(green), byte(blue)});
    std::printf("%d %d\n", p.x, p.y);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--write") == 0) {
        return writeReference(argv[2], argv[3], argv[4]);
    }
    if (argc == 5 && std::strcmp(argv[1], "--locate") == 0) {
        return locate(argv[2], argv[3], argv[4]);
    }
    // Parsed before the application object, which would take "--geometry" for itself.
    QRect geometry;
    std::string clicks;
    std::string title = "zentrap-test-pattern";
    bool onTop = true;
    bool ibeam = false;
    for (int i = 1; i < argc; ++i) {
        bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--geometry") == 0 && hasValue) {
            int x, y, w, h;
            if (std::sscanf(argv[++i], "%d,%d,%d,%d", &x, &y, &w, &h) != 4 || w <= 0 || h <= 0 || w > 8192 ||
                h > 8192) {
                return fail("--geometry X,Y,W,H with a positive size");
            }
            geometry = QRect(x, y, w, h);
        } else if (std::strcmp(argv[i], "--clicks") == 0 && hasValue) {
            clicks = argv[++i];
        } else if (std::strcmp(argv[i], "--title") == 0 && hasValue) {
            title = argv[++i];
        } else if (std::strcmp(argv[i], "--normal") == 0) {
            onTop = false;
        } else if (std::strcmp(argv[i], "--ibeam") == 0) {
            ibeam = true;
        } else {
            return fail("usage: zentrap-test-pattern --geometry X,Y,W,H [--clicks FILE] [--normal] [--ibeam] "
                        "[--title TEXT]");
        }
    }
    if (geometry.isEmpty()) {
        return fail("--geometry is required");
    }
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    PatternWindow window(geometry, clicks, onTop);
    window.setWindowTitle(QString::fromStdString(title));
    if (ibeam) {
        window.setCursor(Qt::IBeamCursor);
    }
    window.show();
    return app.exec();
}
