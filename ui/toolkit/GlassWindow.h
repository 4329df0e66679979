// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/toolkit/KeyableWindow.h"
#include "ui/toolkit/ReactiveVFX.h"

#include <optional>

// The chrome the settings window, its dialogs and the end-of-day prompt share: a frameless,
// rounded, translucent window above other windows, movable by dragging its background, whose
// content view is a glass surface that reports appearance changes. Where no compositor runs, the
// window is cut to its rounded shape, so the corners never show black. The settings' windows are
// tool windows; the prompt is a window of its own (`flags`).
class GlassWindow : public KeyableWindow
{
    Q_OBJECT
public:
    explicit GlassWindow(QWidget* parent = nullptr,
                         Qt::WindowFlags flags = Qt::Tool | Qt::WindowStaysOnTopHint);
    ~GlassWindow() override;

    ReactiveVFX* content() const { return content_; }

    // Resizes the window keeping its top edge where it is (the window grows downwards).
    void setContentSize(const QSize& size);
    // Whether the window is drawn dark: the pinned colour functions follow this while it lays out.
    // Its own pin first, then the desktop's preference, then the palette's lightness.
    bool isDark() const;
    // Light or dark whatever the desktop says (previews); none follows the desktop.
    void setAppearance(std::optional<bool> dark);

    // The desktop's light or dark preference where it states one (the desktop portal), as the
    // panel follows it: every such window, open or opened later, is drawn the same. Open windows
    // lay themselves out again.
    static void followDesktop(std::optional<bool> dark);

Q_SIGNALS:
    // The window was closed or hidden by the program or the window manager.
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateShape();
    void appearanceChanged();

    ReactiveVFX* content_;
    std::optional<bool> appearance_;
};
