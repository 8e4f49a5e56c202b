// The position timer: follows playback, repeats a selected section, handles the end of a
// file by the play mode, and carries out the skip that a held key asks for.
#include "app/player.h"

#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "window/controls.h"

#include <QProgressBar>

#include <cfenv>
#include <cmath>

namespace {

// Rounds to the nearest integer, halves to even.
int roundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

void Player::tmrPosition_Timer()
{
    tmrPosition->setEnabled(false); // a tick never overlaps another

    // Position.
    std::optional<double> value;
    QString text;
    if (isRealMedia) {
        const int length = rmovie->invoke(RealControl::Length).toInt();
        SeekBar->setMax(length);
        SeekBarForFullscreen->setMaximum(SeekBar->max());
        lblMedia[3]->setCaption(CMovie::secondsToString(SeekBar->max() / 1000));
        const int p = rmovie->invoke(RealControl::Position).toInt();
        value = p;
        text = CMovie::secondsToString(p / 1000);
    } else {
        movie->mblnInCommand = true;
        const auto p = movie->mobjPosition ? movie->mobjPosition->currentPosition() : std::nullopt;
        if (p) {
            value = *p * 100.0;
            text = CMovie::secondsToString(static_cast<int>(std::floor(*value / 100.0)));
        }
    }
    if (value)
        SeekBar->setValue(roundHalfEven(*value));
    if (movie->DisplaySize == 1)
        SeekBarForFullscreen->setValue(SeekBar->value());

    // Section repeat.
    if (SeekBar->selLength() != 0) {
        const int end = SeekBar->selStart() + SeekBar->selLength();
        bool past = SeekBar->value() > end;
        if (isRealMedia) {
            past = past || rmovie->invoke(RealControl::Position).toInt() > rmovie->invoke(RealControl::Length).toInt();
        } else if (movie->mobjPosition) {
            const auto p = movie->mobjPosition->currentPosition();
            const auto d = movie->mobjPosition->duration();
            past = past || (p && d && *p > *d);
        }
        if (past) {
            SeekBar->setValue(SeekBar->selStart());
            if (isRealMedia)
                rmovie->invoke(RealControl::Seek, SeekBar->selStart());
            else if (movie->mobjPosition)
                movie->mobjPosition->setCurrentPosition(SeekBar->selStart() / 100.0);
        }
    }

    // End of the file. A position or a duration that cannot be read is no end.
    bool atEnd = false;
    if (isRealMedia) {
        const int p = rmovie->invoke(RealControl::Position).toInt();
        const int length = rmovie->invoke(RealControl::Length).toInt();
        atEnd = p > 0 && p >= length - 500;
    } else if (movie->mobjPosition) {
        const auto p = movie->mobjPosition->currentPosition();
        const auto d = movie->mobjPosition->duration();
        atEnd = p && d && *p >= *d;
    }
    if (atEnd) {
        switch (getPlayMode()) {
        case 1:
        case 3:
            playNext();
            break;
        case 2:
            SeekBar->setValue(0);
            if (isRealMedia) {
                rmovie->invoke(RealControl::Seek, 0);
                rmovie->invoke(RealControl::Play);
            } else if (movie->mobjPosition) {
                movie->mobjPosition->setCurrentPosition(0);
                movie->MediaPlay(1);
            }
            break;
        default:
            if (isRealMedia) {
                rmovie->invoke(RealControl::Stop);
                movie->PlayState = 3;
            } else {
                movie->MediaPlay(3);
            }
            break;
        }
    }

    if (!text.isEmpty())
        lblMedia[4]->setCaption(u' ' + text + u' ');
    movie->mblnInCommand = false;

    // A skip asked for by a held key.
    const double step = tmrPosition->Tag.toDouble();
    if (step != 0) {
        if (isRealMedia) {
            tmrPosition->setInterval(1000);
            rmovie->invoke(RealControl::Seek,
                           static_cast<int>(std::lround(step * 3000 + rmovie->invoke(RealControl::Position).toInt())));
            tmrPosition->Tag = QStringLiteral("0");
        } else if (movie->mobjPosition) {
            tmrPosition->setInterval(100);
            if (const auto p = movie->mobjPosition->currentPosition())
                movie->mobjPosition->setCurrentPosition(*p + step);
        }
    }
    tmrPosition->setEnabled(true);
}
