// Program entry: the application object, the platform, the two permanent windows.
#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // One logical pixel must be one screen pixel: the windows' geometry relies on it.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentrap");
    std::fprintf(stderr, "zentrap: the windows are not built yet\n");
    return 1;
}
