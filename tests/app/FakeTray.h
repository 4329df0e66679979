#pragma once

#include "TrayPlatform.h"

#include <QList>

// A tray that records what the application hands it.
class FakeTray final : public TrayPlatform
{
public:
    struct Record
    {
        bool available = true;
        int installs = 0;
        double minInterval = 0;
        QList<QImage> images;
    };

    explicit FakeTray(Record& record) : record_(record) {}

    bool available() const override { return record_.available; }
    void install() override { ++record_.installs; }
    void setImage(const QImage& image) override { record_.images.append(image); }
    void setQuitHandler(std::function<void()>) override {}
    double minImageIntervalSec() const override { return record_.minInterval; }

private:
    Record& record_;
};
