// Plovana: a video player for people who watch and sort their own video collections.
#include <QApplication>
#include <QWidget>

#include <clocale>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("plovana"));
    // libmpv refuses to start under a locale whose decimal point is not ".".
    std::setlocale(LC_NUMERIC, "C");
    QWidget window;
    window.setWindowTitle(QStringLiteral("Plovana"));
    window.resize(760, 520);
    window.show();
    return app.exec();
}
