// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/ScriptedDemo.h"

#include "preview/DemoScene.h"
#include "render/Colors.h"
#include "ui/panel/PanelVC.h"
#include "ui/toolkit/GlassView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QScreen>

namespace {

constexpr int kGap = 20;
constexpr int kCaptionHeight = 26;
constexpr int kCaptionAbove = 6;

QWidget* panelWindow(PanelVC* panel, const QString& caption)
{
    auto* window =
        new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setWindowTitle(caption);
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* glass = new GlassView(window);
    glass->setCornerRadius(0);
    panel->setParent(glass);
    const auto fit = [window, glass, panel] {
        glass->setGeometry(panel->rect());
        window->setFixedSize(panel->size());
    };
    fit();
    QObject::connect(panel, &PanelVC::heightChanged, window, fit);
    QObject::connect(panel, &PanelVC::closeRequested, window, &QWidget::close);
    return window;
}

QWidget* captionWindow(const QString& caption)
{
    auto* label = new QLabel(caption, nullptr,
                             Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint |
                                 Qt::WindowDoesNotAcceptFocus);
    label->setAttribute(Qt::WA_ShowWithoutActivating);
    // Closing the captions alone never ends the demo; closing the panels does.
    label->setAttribute(Qt::WA_QuitOnClose, false);
    label->setAttribute(Qt::WA_DeleteOnClose);
    QFont font = label->font();
    font.setPointSize(15);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    // Over an unknown wallpaper the caption sits on a small piece of the panels' glass (opaque:
    // without a compositor a translucent window shows black).
    const QColor glass = GlassView::fillColor(false);
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; background: rgb(%2, %3, %4); "
                                        "padding: 0 12px; }")
                             .arg(inkColor().name(QColor::HexArgb))
                             .arg(glass.red())
                             .arg(glass.green())
                             .arg(glass.blue()));
    label->setFixedHeight(kCaptionHeight);
    label->adjustSize();
    label->setFixedWidth(label->sizeHint().width());
    return label;
}

} // namespace

ScriptedDemo::ScriptedDemo(QObject* parent) : QObject(parent)
{
    for (int row = 0; row < 4; ++row) {
        QString caption;
        PanelVC* panel = scriptedDemoPanel(row, &caption);
        if (!panel)
            break;
        QWidget* window = panelWindow(panel, caption);
        window->installEventFilter(this);
        panels_.emplace_back(window);
        captions_.emplace_back(captionWindow(caption));
    }

    // The primary screen (this file sees the day's Display, so not Qt's application header).
    QScreen* screen = panels_.empty() ? nullptr : panels_.front()->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    int total = kGap * (int(panels_.size()) - 1);
    for (const QPointer<QWidget>& window : panels_)
        total += window->width();
    int x = area.x() + (area.width() - total) / 2;
    for (size_t i = 0; i < panels_.size(); ++i) {
        QWidget* window = panels_[i];
        const int y = area.y() + (area.height() - window->height()) / 2;
        window->move(x, y);
        window->show();
        captions_[i]->move(x + (window->width() - captions_[i]->width()) / 2,
                           y - kCaptionAbove - captions_[i]->height());
        captions_[i]->show();
        x += window->width() + kGap;
    }
    // The demo ends when its last window closes.
    QCoreApplication::instance()->setProperty("quitOnLastWindowClosed", true);
}

ScriptedDemo::~ScriptedDemo()
{
    for (const QPointer<QWidget>& caption : captions_)
        delete caption.data();
    for (const QPointer<QWidget>& panel : panels_)
        delete panel.data();
}

bool ScriptedDemo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        for (size_t i = 0; i < panels_.size(); ++i)
            if (panels_[i] == watched && captions_[i])
                captions_[i]->close();
    }
    return QObject::eventFilter(watched, event);
}
