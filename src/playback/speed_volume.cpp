// The speed menu and the delayed volume of RealMedia files.
#include "app/player.h"

#include "app/images.h"
#include "playback/cmovie.h"
#include "window/controls.h"

#include <QAction>
#include <QWidget>

void Player::bai_Click(int index)
{
    for (int i = 0; i < static_cast<int>(bai.size()); ++i)
        bai[std::size_t(i)]->setChecked(i == index);
    static const float rates[] = {2.0f, 1.5f, 1.0f, 0.5f};
    static const char *const keys[] = {"bai20", "bai15", "bai10", "bai05"};
    if (index < 0 || index > 3)
        return;
    movie->SetRate(rates[index]);
    panelButtons[QStringLiteral("speed")]->setIcon(images::buttonImage(QString::fromLatin1(keys[index])));
}

void Player::applyRealVolume()
{
    // The RealMedia volume through the system mixer comes with the volume commands.
}

void Player::Timer_adjust_volume_Timer()
{
    applyRealVolume();
    applyRealVolume();
    if (display->isVisible())
        display->setFocus();
    Timer_adjust_volume->setEnabled(false);
}
