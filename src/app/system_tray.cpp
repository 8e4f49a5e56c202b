#include "app/system_tray.h"

#include <QIcon>

namespace {

class QtSystemTray final : public SystemTray
{
public:
    bool isAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void showIcon(const QIcon &icon, const QString &tip) override
    {
        if (!m_icon) {
            m_icon = std::make_unique<QSystemTrayIcon>();
            connect(m_icon.get(), &QSystemTrayIcon::activated, this, &SystemTray::activated);
        }
        m_icon->setIcon(icon);
        m_icon->setToolTip(tip);
        m_icon->show();
    }

    void removeIcon() override
    {
        if (m_icon)
            m_icon->hide();
    }

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace

std::shared_ptr<SystemTray> makeQtSystemTray() { return std::make_shared<QtSystemTray>(); }
