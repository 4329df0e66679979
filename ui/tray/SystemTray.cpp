#include "ui/tray/TrayPlatform.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace {

// StatusNotifierItem hosts fetch the whole pixmap over D-Bus after every change: a tenth of a
// second per picture costs the desktop about 2 % of a core; a quarter, the art's own pace for the
// working ant, stays under 1 %. XEmbed trays only see our own window repaint and take any rate.
constexpr double kStatusNotifierMinInterval = 0.25;

// Qt makes the same decision once per process, when the first icon is created: with a
// StatusNotifierWatcher and a host on the session bus it talks D-Bus, otherwise XEmbed.
bool statusNotifierHostPresent()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")))
        return false;
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                           QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"), bus);
    return watcher.property("IsStatusNotifierHostRegistered").toBool();
}

class SystemTray final : public TrayPlatform
{
public:
    SystemTray()
    {
        QAction* quit = menu_.addAction(QStringLiteral("종료"));
        QObject::connect(quit, &QAction::triggered, [this] {
            if (quit_)
                quit_();
        });
    }

    bool available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void install() override
    {
        // Qt decides once per icon how to reach the tray, so an icon created before any tray
        // existed can stay invisible; a fresh icon finds the tray that is there now.
        if (!decided_) {
            statusNotifier_ = statusNotifierHostPresent();
            decided_ = true;
        }
        icon_ = std::make_unique<QSystemTrayIcon>();
        icon_->setToolTip(QStringLiteral("톡웍"));
        icon_->setContextMenu(&menu_);
        // Shown with its first picture: an icon without one only earns a warning from Qt.
        if (!image_.isNull())
            showWith(image_);
    }

    void setImage(const QImage& image) override
    {
        image_ = image;
        if (icon_)
            showWith(image);
    }

    void setQuitHandler(std::function<void()> quit) override { quit_ = std::move(quit); }

    double minImageIntervalSec() const override
    {
        return statusNotifier_ ? kStatusNotifierMinInterval : 0;
    }

private:
    void showWith(const QImage& image)
    {
        icon_->setIcon(QIcon(QPixmap::fromImage(image)));
        if (!icon_->isVisible())
            icon_->show();
    }

    QMenu menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    QImage image_;
    std::function<void()> quit_;
    bool decided_ = false;
    bool statusNotifier_ = false;
};

} // namespace

std::unique_ptr<TrayPlatform> makeSystemTray()
{
    return std::make_unique<SystemTray>();
}
