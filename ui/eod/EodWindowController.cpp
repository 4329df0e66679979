#include "ui/eod/EodWindowController.h"

#include "ui/eod/EodWindow.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>

EodWindowController::EodWindowController(QObject* parent) : QObject(parent), window_(new EodWindow)
{
    window_->setWindowModality(Qt::ApplicationModal);
    window_->onLeave = [this] { leaveTapped(); };
    window_->onOvertime = [this] { overtimeTapped(); };
}

EodWindowController::~EodWindowController()
{
    delete window_.data();
}

void EodWindowController::setAppearance(std::optional<bool> dark)
{
    if (window_)
        window_->setAppearance(dark);
}

EodWindow* EodWindowController::window() const
{
    return window_.data();
}

bool EodWindowController::isOpen() const
{
    return window_ && window_->isVisible() && !answered_;
}

void EodWindowController::show()
{
    if (!window_)
        return;
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        window_->move(area.center() - QPoint(W / 2, H / 2));
    }
    if (activates_)
        window_->makeKeyAndOrderFront();
    else
        window_->show();
}

bool EodWindowController::run()
{
    if (!answered_) {
        QEventLoop loop;
        connect(this, &EodWindowController::answered, &loop, &QEventLoop::quit);
        show();
        if (!answered_)
            loop.exec();
    }
    return leaving_;
}

void EodWindowController::leaveTapped()
{
    finish(true);
}

void EodWindowController::overtimeTapped()
{
    finish(false);
}

void EodWindowController::finish(bool leaving)
{
    if (answered_)
        return;
    answered_ = true;
    leaving_ = leaving;
    if (window_)
        window_->hide();
    Q_EMIT answered(leaving);
}
