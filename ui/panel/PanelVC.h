// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/panel/PanelLayout.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class BarView;
class ChipButton;
class HistoryStrip;
class MascotView;
class PixelImageView;
class QLabel;
struct Display;

// The drop-down panel's content: the mascot, title and mood, the progress bar, four rows of
// figures, the slacking band, the history strip under it and the buttons, all filled from the day's
// Display. It keeps almost no state of its own; what it cannot do itself (recompute the day, resize
// its window, open the settings, close) it asks for by signal.
class PanelVC final : public QWidget
{
    Q_OBJECT
public:
    explicit PanelVC(QWidget* parent = nullptr);
    ~PanelVC() override;

    // apply() of the display source: the day as it is now, unless set otherwise.
    void refresh();
    // Where refresh() takes its Display from (a fixed scene in demos); empty: currentDisplay().
    void setDisplaySource(std::function<Display()> source) { source_ = std::move(source); }
    // Fills and lays out the panel for `d`.
    void apply(const Display& d);

    // Light or dark regardless of the desktop (previews); none follows the desktop.
    void setAppearance(std::optional<bool> dark) { appearance_ = dark; }
    // Pixels per point of the text pictures; 0 follows the screen the panel is on.
    void setPixelRatio(qreal ratio);

    // The button actions.
    void toggleWollu();
    void toggleDinner();
    // "다시 일하기": ends the user's break.
    void backToWork();
    void leaveNow();
    void openSettings();
    void closePanel();

    // The height of the chip buttons, from the pixel font's line.
    double btnH() const { return btnH_; }
    // The strip of past days, whose rows a preview supplies itself.
    HistoryStrip* historyStrip() const { return history_; }
    // The parts carry object names, by which tests and accessibility tools find them: "mascot",
    // "title", "mood", "leave", "bar", "rowTitle0".."rowTitle3", "rowValue0".."rowValue3",
    // "slackingBand", "slacking", "slackingMoney", "slackingShare", "slackingEye", "history",
    // "dinner", "backToWork" (shown during a break, where the dinner button sits in overtime),
    // "settings" and "close".
    // How often the mascot's picture was loaded.
    int mascotLoads() const { return mascotLoads_; }

    // A child's frame measured from the bottom-left corner of its parent, as the layout is.
    static QRectF designFrame(const QWidget* child);

Q_SIGNALS:
    // The day changed by a button: recompute and push it everywhere.
    void updateRequested();
    // The panel's height may have changed: resize and re-place the window.
    void heightChanged();
    void settingsRequested();
    void closeRequested();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void loadView();
    qreal ratio() const;
    void place(QWidget* widget, const QRectF& designRect, double containerHeight);
    void setValue(int row, const QString& text, const std::optional<QColor>& amountColour);

    std::optional<bool> appearance_;
    std::function<Display()> source_;
    qreal ratio_ = 0;
    PanelLayout layout_;
    double btnH_ = 0;
    int mascotLoads_ = 0;
    QString lastMascot_;
    bool lastMascotSet_ = false;
    QList<QString> valueKeys_;
    QList<QString> rowKeys_;

    MascotView* mascotView_ = nullptr;
    PixelImageView* titleView_ = nullptr;
    PixelImageView* moodView_ = nullptr;
    BarView* bar_ = nullptr;
    QList<QLabel*> valueLbls_;
    QList<QLabel*> rowLabels_;
    QWidget* wolluBand_ = nullptr;
    PixelImageView* wolluView_ = nullptr;
    PixelImageView* wolluMoneyView_ = nullptr;
    PixelImageView* wolluPctView_ = nullptr;
    ChipButton* wolluEye_ = nullptr;
    ChipButton* leaveBtn_ = nullptr;
    ChipButton* dinnerBtn_ = nullptr;
    ChipButton* backBtn_ = nullptr;
    std::array<ChipButton*, 2> chipBtns_{};
    HistoryStrip* history_ = nullptr;
};
