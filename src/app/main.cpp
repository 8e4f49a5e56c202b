// Plovana: a video player for people who watch and sort their own video collections.
#include "app/command_line.h"
#include "widgets/images.h"
#include "app/player.h"
#include "app/shutdown_signals.h"
#include "dialogs/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QTranslator>

#include <clocale>
#include <cstdio>

int main(int argc, char **argv)
{
    // --version and --help are answered before the application exists: no display, no window.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    switch (commandLineRequest(arguments, QDir::currentPath())) {
    case CommandLineRequest::Version:
        std::fputs(versionText(QStringLiteral(PLOVANA_VERSION)).toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLineRequest::Help:
        std::fputs(usageText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLineRequest::Start:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("plovana"));
    QApplication::setDesktopFileName(QStringLiteral("plovana"));
    // The window speaks Japanese, so Qt's own buttons and dialogs do too, in every locale.
    const std::unique_ptr<QTranslator> qtTexts = installQtTranslations();
    QApplication::setWindowIcon(images::appIcon());
    // libmpv refuses to start under a locale whose decimal point is not ".".
    std::setlocale(LC_NUMERIC, "C");

    Player player(realServices(QApplication::arguments().mid(1)));
    endOnSignals(&player);

    // Benchmark switch: end the program (with its whole shutdown) after the first frame
    // has been painted.
    if (qEnvironmentVariable("PLOVANA_EXIT_AFTER_FIRST_FRAME") == u"1") {
        QObject::connect(&player, &Player::framePainted, &player, [&player] {
            QTimer::singleShot(0, &player, &QWidget::close);
        });
    }

    if (!player.Form_Load())
        return 0; // another copy runs
    return app.exec();
}
