#pragma once

#include <QObject>
#include <QPointer>

class DesktopEvents;
class QWidget;

// Tells when the user clicks outside TockWork while the unpinned panel is open: a mouse press
// anywhere but on one of the application's own windows (the panel, its menu, the settings
// window, a dialog), or the application losing the keyboard to another one after the user had
// clicked into the panel.
class OutsideClickMonitor final : public QObject
{
    Q_OBJECT
public:
    // `desktop` reports the presses; it stays the caller's.
    explicit OutsideClickMonitor(DesktopEvents* desktop, QObject* parent = nullptr);

    void install();
    void remove();
    bool installed() const { return installed_; }

    // Whether a press at `globalPos` (Qt's screen coordinates) landed outside every visible
    // window and open menu of this application.
    static bool isOutside(const QPoint& globalPos);

Q_SIGNALS:
    void outsideClick();

private:
    void pressed();

    QPointer<DesktopEvents> desktop_;
    bool installed_ = false;
};
