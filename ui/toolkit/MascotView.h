// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

// The mascot as pixel art: fitted into the view keeping its proportions, enlarged with
// nearest-neighbour sampling so pixels stay square, and animated when its picture is a GIF. The
// animation runs only while the view is on screen.
class MascotView final : public QWidget
{
    Q_OBJECT
public:
    explicit MascotView(QWidget* parent = nullptr);

    // Loads the art `name` (its GIF frames, else its still picture); an empty view when missing.
    void setArt(const QString& name);
    void setFrames(QList<QImage> frames, QList<double> durations);

    int frameCount() const { return int(frames_.size()); }
    int frameIndex() const { return index_; }
    bool animating() const { return timer_.isActive(); }
    // Frames are shown faded when below 1 (the panel of a finished day).
    void setOpacity(double opacity);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void scheduleNext();
    void advance();

    QList<QImage> frames_;
    QList<double> durations_;
    int index_ = 0;
    double opacity_ = 1;
    QTimer timer_;
};
