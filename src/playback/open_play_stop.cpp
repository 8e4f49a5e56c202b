// The one road by which a file reaches the screen (openMedia), the play command and the
// stop command.
#include "app/player.h"

#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/path.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "window/controls.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>

#include <cmath>

void Player::checkRealMedia(const QString &extension)
{
    isRealMedia = extension.compare(u"rm", Qt::CaseInsensitive) == 0
                  || extension.compare(u"ram", Qt::CaseInsensitive) == 0
                  || extension.compare(u"ra", Qt::CaseInsensitive) == 0;
}

void Player::openMedia(const QString &path, double pos)
{
    checkRealMedia(path::getextension(path));
    if (Tab1->selectedIndex() == 2)
        movie->okini_index = get_okini_index();

    // The same file, paused: resume it where it stands.
    if (isRealMedia) {
        if (rmovie->invoke(RealControl::PlayStateId).toInt() == RealControl::Paused
            && rmovie->invoke(RealControl::Source).toString() == path) {
            rmovie->invoke(RealControl::Play);
            return;
        }
    } else if (movie->PlayState == 2 && movie->fileName == path) {
        movie->MediaPlay(1);
        return;
    }

    if (isRealMedia) {
        rmovie->setGeometry(display->geometry());
        rmovie->show();
        rmovie->raise();
        movie->MediaClear();
        time->setCaption(QString::number(rmovie->invoke(RealControl::Length).toInt() / 1000.0));
        movie->PlayState = 1;
        rmovie->setProperty(RealControl::Source, path);
    } else {
        rmovie->invoke(RealControl::Stop);
        rmovie->invoke(RealControl::Prepare, true);
        rmovie->hide();
        QCoreApplication::processEvents();
        rmovie->invoke(RealControl::Prepare, false);
        QCoreApplication::processEvents();
        const int result = movie->MediaOpen(path, QString(), display, pos);
        time->setCaption(QString::number(result));
        if (movie->mobjAudio) {
            movie->mobjAudio->setVolume(static_cast<int>(std::lround((vol->value() - 100) * 50.0)));
            if (const auto v = movie->mobjAudio->volume())
                movie->volume = *v;
        }
    }

    // Video size.
    if (movie->DisplaySize == 1 && rmovie->invoke(RealControl::FullScreenQuery).toBool()) {
        fitVideo();
        if (movie->mobjWindow && movie->mobjWindow->window())
            movie->mobjWindow->window()->setCursor(Qt::BlankCursor);
    } else {
        if (original->isChecked()) {
            const bool autoAdjust = check_auto_adjust->isChecked();
            setOptionChecked(check_auto_adjust, false);
            setVideoScale(1.0);
            setOptionChecked(check_auto_adjust, autoAdjust);
        }
        fitVideo();
        if (!original->isChecked() && check_auto_adjust->isChecked())
            optimizeWindowSize();
    }

    // Speed: the checked item, searched from the last one down.
    int speed = -1;
    for (int i = static_cast<int>(bai.size()) - 1; i >= 0; --i) {
        if (bai[std::size_t(i)]->isChecked()) {
            speed = i;
            break;
        }
    }
    bai_Click(speed);

    logo->hide();
    Label_Logo->hide();
    sel->hide();
    SeekBar->setSelLength(0);

    if (isRealMedia) {
        SeekBar->setMax(static_cast<int>(std::lround(time->caption().toDouble())));
    } else {
        const double code = time->caption().toDouble();
        if (code > 0) {
            SeekBar->setMax(static_cast<int>(code));
        } else if (code == 0) {
            return; // the open failed
        } else if (movie->mobjPosition) {
            if (const auto d = movie->mobjPosition->duration())
                SeekBar->setMax(static_cast<int>(std::lround(*d * 100.0)));
        }
    }
    SeekBarForFullscreen->setMaximum(SeekBar->max());
    lblMedia[3]->setCaption(CMovie::secondsToString(SeekBar->max() / 100));
    tmrPosition->setEnabled(true);

    if (movie->DisplaySize == 0 && !smallMode)
        setWindowTitle(path::getfiletitle(isRealMedia ? rmovie->invoke(RealControl::Source).toString()
                                                      : movie->fileName));
    applyClipping();
    load_scene_menus();

    if (display->isVisible())
        display->setFocus();
    else if (rmovie->isVisible())
        rmovie->setFocus();

    if (isRealMedia)
        Timer_adjust_volume->setEnabled(true);
}

void Player::playPause()
{
    QString file;
    switch (Tab1->selectedIndex()) {
    case 2:
        if (List_okini->count() > 0) {
            if (get_okini_index() <= 0)
                List_okini->select(1);
            const int i = get_okini_index();
            file = List_okini->folder(i) + List_okini->text(i);
        }
        break;
    case 3:
        // Search results come with the search page; until then the list stays empty.
        break;
    case 4:
        file = isRealMedia ? rmovie->invoke(RealControl::Source).toString() : movie->fileName;
        break;
    default:
        if (File->listCount() > 0) {
            if (File->listIndex() < 0)
                File->setListIndex(0);
            file = path::addbackslash(File->path()) + File->fileName();
        }
        break;
    }

    if (file.isEmpty()) {
        movie->MediaPlay(3);
        rmovie->invoke(RealControl::Stop);
        return;
    }
    if (!isRealMedia) {
        if (movie->fileName == file) {
            movie->MediaPlay(movie->PlayState == 1 ? 2 : 1);
        } else {
            movie->fileName = file;
            openMedia(file, 0);
        }
        return;
    }
    const QString source = rmovie->invoke(RealControl::Source).toString();
    if (source.compare(file, Qt::CaseInsensitive) == 0
        || source.compare(QStringLiteral("file://") + file, Qt::CaseInsensitive) == 0) {
        if (movie->PlayState == 2) {
            rmovie->invoke(RealControl::Play);
            movie->PlayState = 1;
        } else {
            rmovie->invoke(RealControl::Pause);
            movie->PlayState = 2;
        }
    } else {
        rmovie->setProperty(RealControl::Source, file);
        rmovie->invoke(RealControl::Play);
    }
}

void Player::stop_Click()
{
    movie->MediaPlay(3);
    rmovie->invoke(RealControl::Stop);
    rmovie->setProperty(RealControl::Source, QString());
    rmovie->hide();
    tmrPosition->setEnabled(false);
    logo->show();
    Label_Logo->show();
    if (movie->DisplaySize == 1)
        leaveFullScreen();
    movie->MediaClose();
    SeekBar->setValue(0);
}

void Player::lblMedia_Change(int index)
{
    if (index == 4)
        time_forFullscreen->setCaption(lblMedia[4]->caption());
}
