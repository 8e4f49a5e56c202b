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
#include <fcntl.h>
#include <unistd.h>

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

    // Benchmark switch: the count of frames the video surface has put on screen, kept in
    // the named file (a fixed-width decimal number at its start, rewritten per frame), so
    // that a benchmark outside reads frames presented over the same span as its CPU time.
    if (const QByteArray countFile = qgetenv("PLOVANA_FRAME_COUNT_FILE"); !countFile.isEmpty()) {
        const int fd = ::open(countFile.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0) {
            QObject::connect(&player, &Player::framePainted, &player, [fd, frames = quint64(0)]() mutable {
                char text[24];
                const int n = std::snprintf(text, sizeof text, "%20llu\n", static_cast<unsigned long long>(++frames));
                if (::pwrite(fd, text, static_cast<size_t>(n), 0) != n)
                    return;
            });
        }
    }

    if (!player.Form_Load())
        return 0; // another copy runs
    return app.exec();
}
