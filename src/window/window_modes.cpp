#include "window/window_modes.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

WindowModes::WindowModes(QWidget *window, QAction *original) : QObject(window), m_windowWidget(window)
{
    m_size = new QMenu(QStringLiteral("再生サイズ"), window);
    m_size->addAction(original);
    const char *sizes[] = {"フルスクリーン(Alt+Enter)", "２００％", "１５０％", "１００％(Home)", "７５％", "５０％"};
    for (std::size_t i = 0; i < size.size(); ++i) {
        size[i] = m_size->addAction(QString::fromUtf8(sizes[i]));
        size[i]->setEnabled(false);
    }

    m_window = new QMenu(QStringLiteral("ウィンドウ操作"), window);
    m_temae = m_window->addAction(QStringLiteral("常に手前表示(Ctrl+T)"));
    m_temae->setCheckable(true);
    m_saiteki = m_window->addAction(QStringLiteral("ｳｨﾝﾄﾞｳｻｲｽﾞ最適化(F8)"));
    m_saiteki->setEnabled(false);
    m_small = m_window->addAction(QStringLiteral("最小表示(Ctrl+M)"));
    m_small->setEnabled(false);
}

void WindowModes::enterSmallMode()
{
}

void WindowModes::leaveSmallMode()
{
}

void WindowModes::leaveFullScreen()
{
}

void WindowModes::setTopmost()
{
}

void WindowModes::clearTopmost()
{
}

void WindowModes::applyWindowRegion()
{
}

void WindowModes::followTopmostOption(bool on)
{
    m_temae->setChecked(on);
    if (on)
        setTopmost();
    else
        clearTopmost();
}

void WindowModes::beginRename()
{
    clearTopmost();
    isRenaming = true;
}

void WindowModes::endRename()
{
    isRenaming = false;
    if (m_temae->isChecked())
        setTopmost();
    else
        clearTopmost();
}
