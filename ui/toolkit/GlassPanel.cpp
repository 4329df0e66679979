#include "GlassPanel.h"

#include "WindowHints.h"

#include <QEvent>
#include <QGuiApplication>

GlassPanel::GlassPanel(QWidget* hosting, bool hidesOnDeactivate)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::NoDropShadowWindowHint),
      glass_(new GlassView(this)), hosted_(hosting), hidesOnDeactivate_(hidesOnDeactivate)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    const QSize size = hosting ? hosting->size() : QSize();
    resize(size);
    glass_->setGeometry(0, 0, size.width(), size.height());
    if (hosting) {
        hosting->setParent(glass_);
        hosting->move(0, 0);
        hosting->installEventFilter(this);
        hosting->show();
    }
    if (hidesOnDeactivate) {
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state != Qt::ApplicationActive)
                        hide();
                });
    }
}

void GlassPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    WindowHints::showOnAllDesktops(this);
    WindowHints::requestBlurBehind(this);
}

bool GlassPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == hosted_ && event->type() == QEvent::Resize) {
        const QSize size = hosted_->size();
        glass_->resize(size);
        resize(size);
    }
    return QWidget::eventFilter(watched, event);
}

GlassPanel* makeGlassPanel(QWidget* hosting, bool hidesOnDeactivate)
{
    return new GlassPanel(hosting, hidesOnDeactivate);
}
