#include "app/mpris_rules.h"

#include <cmath>

namespace mpris {

QString loopStatusOf(PlayMode mode)
{
    switch (mode) {
    case PlayMode::Continuous:
    case PlayMode::Random:
        return QStringLiteral("Playlist");
    case PlayMode::Loop:
        return QStringLiteral("Track");
    default:
        return QStringLiteral("None");
    }
}

bool shuffleOf(PlayMode mode) { return mode == PlayMode::Random; }

std::optional<PlayMode> modeForLoopStatus(const QString &status, PlayMode now)
{
    if (status == u"None")
        return PlayMode::Normal;
    if (status == u"Track")
        return PlayMode::Loop;
    if (status == u"Playlist")
        return now == PlayMode::Random ? PlayMode::Random : PlayMode::Continuous;
    return std::nullopt;
}

PlayMode modeForShuffle(bool shuffle, PlayMode now)
{
    if (shuffle)
        return PlayMode::Random;
    return now == PlayMode::Random ? PlayMode::Continuous : now;
}

std::optional<PlaySpeed> speedForRate(double rate)
{
    if (!(rate > 0))
        return std::nullopt;
    // Nearest of the four; on a tie the one nearer 1.0 wins (listed first).
    const PlaySpeed order[] = {PlaySpeed::Normal, PlaySpeed::OneAndHalf, PlaySpeed::Half, PlaySpeed::Double};
    PlaySpeed best = PlaySpeed::Normal;
    double distance = std::abs(rate - 1.0);
    for (PlaySpeed s : order) {
        const double d = std::abs(rate - speedRate(s));
        if (d < distance - 1e-9) {
            best = s;
            distance = d;
        }
    }
    return best;
}

SeekTarget seekBy(qint64 positionUs, qint64 offsetUs, qint64 lengthUs)
{
    const qint64 to = positionUs + offsetUs;
    if (to > lengthUs)
        return {true, lengthUs};
    return {false, to < 0 ? 0 : to};
}

int volumeSetting(double volume)
{
    if (!std::isfinite(volume))
        return 0;
    const long v = std::lround(volume * 100.0);
    return static_cast<int>(v < 0 ? 0 : v > 100 ? 100 : v);
}

} // namespace mpris
