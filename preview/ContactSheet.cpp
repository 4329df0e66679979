// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/ContactSheet.h"

#include "display/Display.h"
#include "render/TrayImage.h"

#include <QFont>
#include <QPainter>
#include <QSaveFile>

#include <array>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kWidth = 308;
constexpr int kRowHeight = 34;
constexpr int kRows = 7;

struct SheetRow
{
    const char16_t* label;
    Status status;
};

const std::array<SheetRow, kRows> kSheetRows{{
    {u"출근 전", {DayState::before, 0, 0, 480, 0}},
    {u"근무 35%", {DayState::working, 0.35, 168, 312, 0}},
    {u"근무 70%", {DayState::working, 0.7, 336, 144, 0}},
    {u"점심", {DayState::lunch, 0.4, 180, 300, 0}},
    {u"야근", {DayState::overtime, 1, 480, 0, 65}},
    {u"퇴근", {DayState::done, 1, 480, 0, 0}},
    {u"휴일", {DayState::off, 0, 0, 480, 0}},
}};

// The tray picture as a 22-point tray slot shows it at `scale`: the hand-drawn tray art, enlarged
// by whole numbers only.
void drawTrayPicture(QPainter& painter, const Status& status, const QRectF& slot, qreal scale)
{
    constexpr qreal kTraySlot = 22;
    TraySprite sprite = loadTraySprite(buildDisplay(status).mascot);
    sprite.bar = trayBarFor(status);
    QImage picture = renderTrayImage(sprite, qRound(kTraySlot * scale));
    picture.setDevicePixelRatio(scale);
    painter.drawImage(QPointF(slot.x() + std::floor((slot.width() - kTraySlot) / 2),
                              slot.y() + std::floor((slot.height() - kTraySlot) / 2)),
                      picture);
}

} // namespace

QImage renderContactSheet(qreal scale)
{
    const int height = kRowHeight * kRows;
    QImage sheet(qRound(kWidth * scale), qRound(height * scale),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(scale);
    sheet.fill(Qt::white);

    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font;
    // Eleven points of the sheet, whatever the DPI of the machine that renders it.
    font.setPixelSize(11);
    painter.setFont(font);

    const QColor lightBand = QColor::fromRgbF(0.96f, 0.96f, 0.96f);
    const QColor darkBand = QColor::fromRgbF(0.16f, 0.16f, 0.16f);
    for (int i = 0; i < kRows; ++i) {
        const SheetRow& row = kSheetRows[size_t(i)];
        const int top = i * kRowHeight;

        painter.setPen(Qt::black);
        painter.drawText(QRectF(6, top, 84, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf16(row.label));
        painter.fillRect(QRectF(90, top, 109, kRowHeight), lightBand);
        drawTrayPicture(painter, row.status, QRectF(99, top, 91, kRowHeight), scale);
        painter.fillRect(QRectF(199, top, 109, kRowHeight), darkBand);
        drawTrayPicture(painter, row.status, QRectF(208, top, 91, kRowHeight), scale);
    }
    painter.end();
    return sheet;
}

bool runContactSheet(const QString& path)
{
    const QImage sheet = renderContactSheet();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !sheet.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "tockwork: could not write the contact sheet to %s\n",
                     qPrintable(path));
        return false;
    }
    return true;
}
