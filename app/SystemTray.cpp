#include "TrayPlatform.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace {

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
        icon_ = std::make_unique<QSystemTrayIcon>();
        icon_->setToolTip(QStringLiteral("톡웍"));
        icon_->setContextMenu(&menu_);
        if (!image_.isNull())
            icon_->setIcon(QIcon(QPixmap::fromImage(image_)));
        icon_->show();
    }

    void setImage(const QImage& image) override
    {
        image_ = image;
        if (icon_)
            icon_->setIcon(QIcon(QPixmap::fromImage(image)));
    }

    void setQuitHandler(std::function<void()> quit) override { quit_ = std::move(quit); }

private:
    QMenu menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    QImage image_;
    std::function<void()> quit_;
};

} // namespace

std::unique_ptr<TrayPlatform> makeSystemTray()
{
    return std::make_unique<SystemTray>();
}
