// Plovana: a video player for people who watch and sort their own video collections.
#include "app/player.h"
#include "app/shutdown_signals.h"
#include "dialogs/dialogs.h"

#include <QApplication>
#include <QTimer>
#include <QTranslator>

#include <clocale>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("plovana"));
    QApplication::setDesktopFileName(QStringLiteral("plovana"));
    // The window speaks Japanese, so Qt's own buttons and dialogs do too, in every locale.
    const std::unique_ptr<QTranslator> qtTexts = installQtTranslations();
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
