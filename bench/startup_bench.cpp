// Whole process, from start to the first frame painted in the window, against the mpv
// command-line player showing one frame of the same clip under the same Xvfb. Both decode
// the clip's audio into a null output; the runs alternate.
#include "bench_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double runMs(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return -1;
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    bench::Xvfb x;
    if (x.display.isEmpty()) {
        std::fprintf(stderr, "Xvfb could not be started\n");
        return 1;
    }
    const QString file = bench::clip(QStringLiteral("clip.avi"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("PLOVANA_MIXER", "none");
    env.insert("PLOVANA_MPV_AO", "null");
    env.insert("PLOVANA_EXIT_AFTER_FIRST_FRAME", "1");

    std::vector<double> ours, theirs, silent;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir state;
        env.insert("PLOVANA_APPDIR", state.path());
        ours.push_back(runMs(QStringLiteral(PLOVANA_EXE_PATH), {file}, env));
        theirs.push_back(runMs(QStringLiteral("mpv"),
                               {"--no-config", "--ao=null", "--vo=x11", "--frames=1", "--really-quiet", file}, env));
        // For reference only: mpv without its audio, as this benchmark used to run it.
        silent.push_back(runMs(QStringLiteral("mpv"),
                               {"--no-config", "--no-audio", "--vo=x11", "--frames=1", "--really-quiet", file}, env));
    }
    const double a = bench::median(ours), b = bench::median(theirs);
    std::printf("start to first frame, median (min-max) of %d on display %s: plovana %s ms, mpv %s ms, ratio %.2f\n",
                runs, qPrintable(x.display), qPrintable(bench::spread(ours, 1)), qPrintable(bench::spread(theirs, 1)),
                b > 0 ? a / b : 0.0);
    std::printf("for reference, mpv --no-audio: %s ms\n", qPrintable(bench::spread(silent, 1)));
    return 0;
}
