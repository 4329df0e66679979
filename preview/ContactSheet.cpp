#include "preview/ContactSheet.h"

#include "display/Display.h"
#include "render/MenuBarImage.h"

#include <QFont>
#include <QPainter>
#include <QSaveFile>

#include <array>
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

// The tray picture is 27 x 22 points; the sheet's slot is wider and lower, so the picture is
// fitted into it rather than stretched out of shape.
void drawFitted(QPainter& painter, const QImage& image, const QRectF& slot)
{
    const QSizeF size = image.deviceIndependentSize();
    if (size.isEmpty())
        return;
    const QSizeF fitted = size.scaled(slot.size(), Qt::KeepAspectRatio);
    const QRectF target(slot.x() + (slot.width() - fitted.width()) / 2,
                        slot.y() + (slot.height() - fitted.height()) / 2, fitted.width(),
                        fitted.height());
    painter.drawImage(target, image);
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
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font;
    // Eleven points of the sheet, whatever the DPI of the machine that renders it.
    font.setPixelSize(11);
    painter.setFont(font);

    const QColor lightBand = QColor::fromRgbF(0.96f, 0.96f, 0.96f);
    const QColor darkBand = QColor::fromRgbF(0.16f, 0.16f, 0.16f);
    for (int i = 0; i < kRows; ++i) {
        const SheetRow& row = kSheetRows[size_t(i)];
        const int top = i * kRowHeight;
        const QImage tray = renderMenuBar(buildDisplay(row.status), scale);

        painter.setPen(Qt::black);
        painter.drawText(QRectF(6, top, 84, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf16(row.label));
        painter.fillRect(QRectF(90, top, 109, kRowHeight), lightBand);
        drawFitted(painter, tray, QRectF(99, top + 8, 91, 18));
        painter.fillRect(QRectF(199, top, 109, kRowHeight), darkBand);
        drawFitted(painter, tray, QRectF(208, top + 8, 91, 18));
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
