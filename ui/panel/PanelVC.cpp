// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/PanelVC.h"

#include "analytics/Analytics.h"
#include "analytics/Derived.h"
#include "display/Display.h"
#include "display/Format.h"
#include "engine/Clock.h"
#include "engine/Dinner.h"
#include "engine/Eod.h"
#include "engine/Pause.h"
#include "engine/Preview.h"
#include "platform/WindowHints.h"
#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/LineHeight.h"
#include "render/MonaFont.h"
#include "render/TextImage.h"
#include "slacking/Wollu.h"
#include "ui/panel/BarView.h"
#include "ui/panel/HistoryStrip.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassView.h"
#include "ui/toolkit/MascotView.h"
#include "ui/toolkit/PixelImageView.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>

#include <cmath>

namespace {

// Points a value keeps free of its right edge: the label's own rounding of the text's width.
constexpr double kValueSlack = 2;

const QString kRowTitles[4] = {QStringLiteral("오늘 열일"), QStringLiteral("지금까지"),
                               QStringLiteral("남은 열일"), QStringLiteral("퇴근까지")};
const QString kLateRowTitles[2] = {QStringLiteral("추가 열일"), QStringLiteral("추가 수당")};

// The rounded band behind the slacking figures.
class FillView final : public QWidget
{
public:
    explicit FillView(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    void setFill(const QColor& fill)
    {
        if (fill_ == fill)
            return;
        fill_ = fill;
        update();
    }
    QColor fill() const { return fill_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill_);
        painter.drawRoundedRect(QRectF(rect()), 9, 9);
    }

private:
    QColor fill_;
};

QString colourKey(const QColor& colour)
{
    return QString::number(quint64(colour.rgba64()), 16);
}

// Without a compositor the panel is drawn on an opaque surface, where Qt draws the pixel font's
// bitmap glyphs after the first of a line without the pen's alpha: muted ink turned black from the
// second character on. The same colour blended with the glass beforehand looks the same and draws
// the same for every glyph.
QColor solidOnGlass(const QColor& colour)
{
    if (colour.alpha() == 255 || WindowHints::compositing())
        return colour;
    const QColor glass = GlassView::fillColor(uiIsDark());
    const float a = colour.alphaF();
    const auto mixed = [a](float under, float over) { return under * (1 - a) + over * a; };
    return QColor::fromRgbF(mixed(glass.redF(), colour.redF()),
                            mixed(glass.greenF(), colour.greenF()),
                            mixed(glass.blueF(), colour.blueF()));
}

void setTextColour(QLabel* label, const QColor& ink)
{
    const QColor colour = solidOnGlass(ink);
    QPalette palette = label->palette();
    if (palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const QColor& colour, Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    label->setFont(mona(12));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setWordWrap(false);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    setTextColour(label, colour);
    return label;
}

bool isLate(DayState state)
{
    return state == DayState::overtime || state == DayState::dinner;
}

// A break of the user's own ("잠깐 쉴게요", "자리 비움") in the phases that have one; a fixed
// scene has none, whatever the user's own day is doing.
bool isOnBreak(DayState state)
{
    return !Preview::demoState && (state == DayState::before || state == DayState::working) &&
           Pause::state() != ManualState::work;
}

// Width of `text` as the value labels draw it: the pixel font's own glyph widths, emoji from the
// emoji font.
double lineWidth(const QString& text, const QFont& font)
{
    double width = 0;
    for (const LineSegment& segment : monaLineSegments(text, font))
        width += segment.width;
    return width;
}

} // namespace

PanelVC::PanelVC(QWidget* parent) : QWidget(parent)
{
    loadView();
}

PanelVC::~PanelVC() = default;

void PanelVC::loadView()
{
    setAttribute(Qt::WA_TranslucentBackground);
    btnH_ = std::ceil(QFontMetricsF(mona(12)).size(0, QStringLiteral("설정")).height()) + 16;
    layout_ = panelLayout(false, false, btnH_, true);
    resize(int(PanelLayout::width), int(std::lround(layout_.height)));

    mascotView_ = new MascotView(this);
    moodView_ = new PixelImageView(this);
    titleView_ = new PixelImageView(this);
    leaveBtn_ = new ChipButton(QString(), this);
    mascotView_->setObjectName(QStringLiteral("mascot"));
    moodView_->setObjectName(QStringLiteral("mood"));
    titleView_->setObjectName(QStringLiteral("title"));
    leaveBtn_->setObjectName(QStringLiteral("leave"));
    leaveBtn_->hide();
    connect(leaveBtn_, &ChipButton::clicked, this, &PanelVC::leaveNow);
    bar_ = new BarView(this);
    bar_->setObjectName(QStringLiteral("bar"));
    for (int i = 0; i < 4; ++i) {
        QLabel* title = makeLabel(this, mutedInk(), Qt::AlignLeft);
        title->setText(kRowTitles[i]);
        title->setObjectName(QStringLiteral("rowTitle%1").arg(i));
        rowLabels_.append(title);
        QLabel* value = makeLabel(this, inkColor(), Qt::AlignRight);
        value->setObjectName(QStringLiteral("rowValue%1").arg(i));
        valueLbls_.append(value);
    }
    rowKeys_.resize(4);
    valueKeys_.resize(4);

    auto* band = new FillView(this);
    wolluBand_ = band;
    wolluView_ = new PixelImageView(band);
    wolluMoneyView_ = new PixelImageView(band);
    wolluPctView_ = new PixelImageView(band);
    wolluEye_ = new ChipButton(QString(), band);
    band->setObjectName(QStringLiteral("slackingBand"));
    wolluView_->setObjectName(QStringLiteral("slacking"));
    wolluMoneyView_->setObjectName(QStringLiteral("slackingMoney"));
    wolluPctView_->setObjectName(QStringLiteral("slackingShare"));
    wolluEye_->setObjectName(QStringLiteral("slackingEye"));
    connect(wolluEye_, &ChipButton::clicked, this, &PanelVC::toggleWollu);

    history_ = new HistoryStrip(this);
    history_->setObjectName(QStringLiteral("history"));

    dinnerBtn_ = new ChipButton(QString(), this);
    dinnerBtn_->setObjectName(QStringLiteral("dinner"));
    dinnerBtn_->hide();
    connect(dinnerBtn_, &ChipButton::clicked, this, &PanelVC::toggleDinner);
    backBtn_ = new ChipButton(QStringLiteral("다시 일하기"), this);
    backBtn_->setObjectName(QStringLiteral("backToWork"));
    backBtn_->hide();
    connect(backBtn_, &ChipButton::clicked, this, &PanelVC::backToWork);

    chipBtns_ = {new ChipButton(QStringLiteral("설정"), this),
                 new ChipButton(QStringLiteral("닫기"), this)};
    chipBtns_[0]->setObjectName(QStringLiteral("settings"));
    chipBtns_[1]->setObjectName(QStringLiteral("close"));
    connect(chipBtns_[0], &ChipButton::clicked, this, &PanelVC::openSettings);
    connect(chipBtns_[1], &ChipButton::clicked, this, &PanelVC::closePanel);

    const double h = layout_.height;
    place(mascotView_, layout_.mascot, h);
    place(moodView_, layout_.mood, h);
    place(titleView_, layout_.title, h);
    place(bar_, layout_.bar, h);
    for (int i = 0; i < 4; ++i) {
        place(rowLabels_[i], layout_.rowTitles[i], h);
        place(valueLbls_[i], layout_.values[i], h);
    }
    place(wolluBand_, layout_.band, h);
    place(history_, layout_.history, h);
    for (int i = 0; i < 2; ++i)
        place(chipBtns_[i], layout_.chips[i], h);
    applyLineHeightToLabels(this);
}

void PanelVC::setPixelRatio(qreal ratio)
{
    ratio_ = ratio;
    for (PixelImageView* view : {titleView_, moodView_, wolluView_, wolluMoneyView_, wolluPctView_})
        view->setPixelRatio(ratio);
    history_->setPixelRatio(ratio);
}

qreal PanelVC::ratio() const
{
    return ratio_ > 0 ? ratio_ : devicePixelRatioF();
}

void PanelVC::place(QWidget* widget, const QRectF& designRect, double containerHeight)
{
    const QRect frame = flipped(designRect, containerHeight).toAlignedRect();
    if (widget->geometry() != frame)
        widget->setGeometry(frame);
}

QRectF PanelVC::designFrame(const QWidget* child)
{
    const QWidget* parent = child->parentWidget();
    return flipped(QRectF(child->geometry()), parent ? parent->height() : 0);
}

void PanelVC::refresh()
{
    apply(source_ ? source_() : currentDisplay());
}

void PanelVC::setValue(int row, const QString& text, const std::optional<QColor>& amountColour)
{
    // Re-setting a label's rich text lays out a text document; an unchanged figure skips that.
    const QColor ink = inkColor();
    const QString key = text + QChar(0) + colourKey(ink) + QChar(0) +
                        (amountColour ? colourKey(*amountColour) : "");
    if (valueKeys_[row] == key)
        return;
    valueKeys_[row] = key;
    QLabel* label = valueLbls_[row];
    setTextColour(label, ink);
    if (amountColour) {
        // An amount is never clipped: the first form that fits, the tag of the row going first.
        const QFont font = mona(12);
        const double room = layout_.values[row].width() - kValueSlack;
        const QStringList forms = moneyLineForms(text);
        QString shown = forms.last();
        for (const QString& form : forms) {
            if (lineWidth(form, font) <= room) {
                shown = form;
                break;
            }
        }
        label->setToolTip(shown == text ? QString() : text);
        setAttributedText(label, coloredAmount(shown, *amountColour, font));
    } else {
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        applyLineHeight(label);
    }
}

void PanelVC::apply(const Display& d)
{
    const AppearancePin pin(appearance_.value_or(systemIsDark()));
    const qreal r = ratio();

    const QFont font12 = mona(12);
    const QColor ink = inkColor();
    const QColor muted = mutedInk();
    const QColor chip = chipFill();
    for (ChipButton* button : chipBtns_) {
        button->setFill(chip);
        button->setImage(renderMonaLine(button->text(), font12, ink, r));
    }

    if (!lastMascotSet_ || d.mascot != lastMascot_) {
        mascotView_->setArt(d.mascot);
        lastMascot_ = d.mascot;
        lastMascotSet_ = true;
        ++mascotLoads_;
    }

    titleView_->setLine(d.title, monaBold(12), ink);
    moodView_->setLine(d.mood, mona(10), muted);

    const DayState state = d.status.state;
    const bool late = isLate(state);
    bar_->progress = d.status.progress;
    bar_->alpha2 = (state == DayState::done || state == DayState::off) ? 0.4 : 1.0;
    bar_->overtime = late;
    bar_->update();

    for (int i = 0; i < 4; ++i) {
        const QString title = (late && i >= 2) ? kLateRowTitles[i - 2] : kRowTitles[i];
        const QString key = title + QChar(0) + colourKey(muted);
        if (rowKeys_[i] == key)
            continue;
        rowKeys_[i] = key;
        QLabel* label = rowLabels_[i];
        setTextColour(label, muted);
        label->setTextFormat(Qt::PlainText);
        label->setText(title);
        applyLineHeight(label);
    }
    setValue(0, d.workedText, std::nullopt);
    setValue(1, d.earnedText, moneyGreenColor());
    setValue(2, d.remainWorkText, std::nullopt);
    // After overtime the done phase shows what it added, in the money colour of overtime.
    setValue(3, d.remainText,
             (late || state == DayState::done) ? moneyGreenColor() : wolluRedColor());

    wolluView_->setLine(d.wolluText, font12, d.wolluHot ? wolluRedColor() : muted);
    if (d.wolluMoneyText.isEmpty())
        wolluMoneyView_->clear();
    else
        wolluMoneyView_->setLine(d.wolluMoneyText, font12, wolluRedColor());
    if (d.wolluPctText.isEmpty())
        wolluPctView_->clear();
    else
        wolluPctView_->setLine(d.wolluPctText, mona(11), muted);

    const bool compact = d.wolluMoneyText.isEmpty();
    // A break's way back sits where the dinner button does, with the same room made for it.
    const bool onBreak = !late && isOnBreak(state);
    layout_ = panelLayout(late || onBreak, compact, btnH_, true);
    const double h = layout_.height;

    place(mascotView_, layout_.mascot, h);
    place(moodView_, layout_.mood, h);
    place(titleView_, layout_.title, h);
    place(bar_, layout_.bar, h);

    leaveBtn_->setVisible(late);
    if (late) {
        AttributedText leave = AttributedText::plain(QStringLiteral("퇴근하기"), mona(10), muted);
        leave.runs.first().underline = true;
        leaveBtn_->setImage(renderAttr(leave, r));
        leaveBtn_->setFill(std::nullopt);
        place(leaveBtn_,
              leaveFrame(layout_, titleView_->imageSize().width(), moodView_->imageSize().width(),
                         leaveBtn_->imageSize()),
              h);
    }

    for (int i = 0; i < 4; ++i) {
        place(rowLabels_[i], layout_.rowTitles[i], h);
        place(valueLbls_[i], layout_.values[i], h);
    }

    dinnerBtn_->setVisible(late);
    if (late) {
        place(dinnerBtn_, layout_.dinner, h);
        dinnerBtn_->setFill(chip);
        dinnerBtn_->setImage(renderMonaLine(state == DayState::dinner
                                                ? QStringLiteral("저녁 식사 완료!")
                                                : QStringLiteral("저녁 먹고 올게요"),
                                            font12, ink, r));
    }
    backBtn_->setVisible(onBreak);
    if (onBreak) {
        place(backBtn_, layout_.dinner, h);
        backBtn_->setFill(chip);
        backBtn_->setImage(renderMonaLine(QStringLiteral("다시 일하기"), font12, ink, r));
    }

    place(wolluBand_, layout_.band, h);
    const double bandH = layout_.band.height();
    place(wolluView_, layout_.wolluLine, bandH);
    place(wolluMoneyView_, layout_.wolluMoney, bandH);
    place(wolluPctView_, layout_.wolluPct, bandH);
    wolluMoneyView_->setVisible(!compact);
    wolluPctView_->setVisible(!compact);
    static_cast<FillView*>(wolluBand_)->setFill(d.wolluHot ? wolluCardFill() : bandFill());

    const bool wolluHidden = Wollu::hidden();
    wolluEye_->setImage(renderMonaLine(
        wolluHidden ? QStringLiteral("표시") : QStringLiteral("숨김"), mona(11), muted, r));
    wolluEye_->setFill(std::nullopt);
    place(wolluEye_, eyeFrame(layout_, wolluEye_->imageSize()), bandH);
    wolluEye_->setVisible(!Wollu::disabled());

    // Still under the pin above: the strip takes its light or dark from it.
    history_->refresh();
    place(history_, layout_.history, h);

    for (int i = 0; i < 2; ++i)
        place(chipBtns_[i], layout_.chips[i], h);

    if (std::abs(height() - h) > 0.5) {
        resize(width(), int(std::lround(h)));
        Q_EMIT heightChanged();
    }
}

void PanelVC::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Without the desktop portal's answer, a switch between light and dark reaches the panel as a
    // new palette or theme: its pictures were drawn in the old colours.
    const bool schemeChanged =
        event->type() == QEvent::PaletteChange || event->type() == QEvent::ThemeChange;
    if (schemeChanged && isVisible() && !appearance_)
        QMetaObject::invokeMethod(this, &PanelVC::refresh, Qt::QueuedConnection);
}

void PanelVC::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The strip otherwise waits up to a minute: an opened panel shows today's figures at once.
    history_->reload();
}

void PanelVC::toggleWollu()
{
    Wollu::toggleHidden();
    Analytics::track(Analytics::Event::wolluVisibilityToggled,
                     {{QStringLiteral("hidden"), Wollu::hidden()},
                      {QStringLiteral("wollu_min"), Analytics::Derived::wolluMin()}});
    Q_EMIT updateRequested();
    refresh();
}

void PanelVC::toggleDinner()
{
    const double now = Clock::now();
    if (Dinner::eating()) {
        const qint64 minutes = Analytics::Derived::rounded(Dinner::seconds(now) / 60.0);
        Dinner::end(now);
        Analytics::track(Analytics::Event::dinnerEnded, {{QStringLiteral("dinner_min"), minutes}});
    } else {
        Dinner::begin(now);
        Analytics::track(Analytics::Event::dinnerStarted,
                         {{QStringLiteral("overtime_min"),
                           Analytics::Derived::overtimeMin(computeStatus(now))}});
    }
    Q_EMIT updateRequested();
    refresh();
}

void PanelVC::backToWork()
{
    // Fixed scenes keep their break; the application reports the change when it recomputes.
    if (!Preview::demoState)
        Pause::set(ManualState::work, Clock::now());
    Q_EMIT updateRequested();
    refresh();
}

void PanelVC::leaveNow()
{
    const Status before = computeStatus(Clock::now());
    Eod::choose(QStringLiteral("left"));
    Analytics::track(
        Analytics::Event::eodChoiceMade,
        {{QStringLiteral("choice"), QStringLiteral("left")},
         {QStringLiteral("source"), QStringLiteral("panel_leave_button")},
         {QStringLiteral("worked_min"), Analytics::Derived::workedMin(before)},
         {QStringLiteral("overtime_min"), Analytics::Derived::overtimeMin(before)},
         {QStringLiteral("wollu_min"), Analytics::Derived::wolluMin()},
         {QStringLiteral("minutes_past_work_end"), Analytics::Derived::minutesPastWorkEnd()}});
    Q_EMIT updateRequested();
}

void PanelVC::openSettings()
{
    Q_EMIT settingsRequested();
}

void PanelVC::closePanel()
{
    Q_EMIT closeRequested();
}
