#include "app/player_services.h"

#include "platform/app_dir.h"

#include <QCoreApplication>
#include <QDir>

PlayerServices realServices(const QStringList &arguments)
{
    PlayerServices s;
    s.movieBackend = makeMpvBackend;
    s.realBackend = makeMpvBackend;
    s.dialogs = makeQtDialogs();
    // PLOVANA_MIXER=none keeps the program away from the system mixer (the screenshot
    // tests run the real program).
    if (qEnvironmentVariable("PLOVANA_MIXER") == u"none")
        s.waveOut = platform::makeNullWaveOut();
    else
        s.waveOut = platform::makeAlsaWaveOut();
    s.shell = makeDesktopShell();
    s.appDir = platform::applicationStateDir();
    s.program = QCoreApplication::applicationFilePath();
    s.arguments = arguments;
    s.workingDir = QDir::currentPath();
    return s;
}
