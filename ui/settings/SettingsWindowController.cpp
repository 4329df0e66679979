// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsWindowController.h"

#include "analytics/Analytics.h"
#include "analytics/Labels.h"
#include "engine/Cfg.h"
#include "engine/Store.h"
#include "platform/WindowHints.h"
#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "slacking/Hosts.h"
#include "slacking/KnownServices.h"
#include "slacking/Wollu.h"
#include "ui/settings/AddWolluWindowController.h"
#include "ui/settings/AppMeta.h"
#include "ui/settings/DaysOffEditor.h"
#include "ui/settings/DistractionEntries.h"
#include "ui/settings/FaviconLoader.h"
#include "ui/settings/InfoBlock.h"
#include "ui/settings/SalaryText.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/settings/TimePicker.h"
#include "ui/toolkit/CenteredTextField.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassWindow.h"
#include "ui/toolkit/PixelImageView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <QShortcut>
#include <QTimeEdit>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace {

struct TimeSetting
{
    const char16_t* label; // the picker's name
    qint64 (*stored)();
    qint64 def;
};

// Work start, work end, lunch start, lunch end.
const std::array<TimeSetting, 4> kTimes{{
    {u"출근", &Cfg::workStart, 540},
    {u"퇴근", &Cfg::workEnd, 1080},
    {u"점심 시작", &Cfg::lunchStart, 720},
    {u"점심 끝", &Cfg::lunchEnd, 780},
}};
// The pickers' object names, in the same order (tests and accessibility tools find them so).
constexpr std::array<const char*, 4> kPickerNames{"workStart", "workEnd", "lunchStart", "lunchEnd"};

constexpr int kCollapsedHeight = 544;
constexpr int kEmptyListHeight = 574;
constexpr int kListBaseHeight = 546;
constexpr int kListTop = 322;
constexpr int kEmptyHintHeight = 30;
constexpr int kDisclosureBottom = 294 + 24;

// Minutes after midnight as a time of day; a stored value outside one day shows the default.
QTime timeOf(qint64 minutes, qint64 def)
{
    if (minutes < 0 || minutes >= 24 * 60)
        minutes = def;
    return QTime(int(minutes / 60), int(minutes % 60));
}

qint64 minutesOf(const QTimeEdit* picker)
{
    const QTime t = picker->time();
    return qint64(t.hour()) * 60 + t.minute();
}

QString disclosureTitle(bool expanded, qsizetype count)
{
    return (expanded ? QStringLiteral("▾") : QStringLiteral("▸")) + QStringLiteral(" 딴짓 앱 ") +
           QString::number(count) + QStringLiteral("개");
}

QPixmap iconPixmap(const QIcon& icon, int points, qreal dpr)
{
    const int side = int(std::ceil(points * dpr));
    QPixmap pixmap = icon.pixmap(QSize(side, side), 1.0);
    if (pixmap.width() != side && !pixmap.isNull())
        pixmap = pixmap.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

} // namespace

SettingsWindowController::SettingsWindowController(InfoBlock::LinesProvider infoLines,
                                                   QObject* parent)
    : QObject(parent), infoLines_(std::move(infoLines)), window_(std::make_unique<GlassWindow>())
{
    window_->setWindowTitle(QStringLiteral("톡웍 설정"));
    apps_ = DistractionEntries::fromStored(Wollu::appsRaw());
    buildPersistent();
    fillFromStores();
    window_->content()->onAppearanceChange = [this] { relayout(); };
    connect(window_.get(), &GlassWindow::hidden, this, &SettingsWindowController::closed);
    relayout();
}

SettingsWindowController::~SettingsWindowController() = default;

GlassWindow* SettingsWindowController::window() const
{
    return window_.get();
}

void SettingsWindowController::buildPersistent()
{
    QWidget* content = window_->content();
    for (int i = 0; i < 4; ++i) {
        auto* picker = new TimePicker(content);
        picker->setAccessibleName(QString::fromUtf16(kTimes[i].label));
        picker->setObjectName(QLatin1String(kPickerNames[i]));
        pickers_[i] = picker;
    }
    salaryField_ = new CenteredTextField(content);
    salaryField_->setObjectName(QStringLiteral("salary"));
    static_cast<CenteredTextField*>(salaryField_)->setHorizontalAlignment(Qt::AlignHCenter);
    salaryField_->setPlaceholderText(QStringLiteral("예: 300"));
    salaryField_->setMaxLength(40);
    salaryField_->setAccessibleName(QStringLiteral("월급 (만원)"));

    salaryTypePopup_ = new QComboBox(content);
    salaryTypePopup_->setObjectName(QStringLiteral("salaryType"));
    salaryTypePopup_->addItems({QStringLiteral("세전"), QStringLiteral("세후")});
    salaryTypePopup_->setAccessibleName(QStringLiteral("월급 종류"));
    salaryTypePopup_->view()->window()->installEventFilter(this);

    pretaxTagCheck_ = new QCheckBox(QStringLiteral("패널에 '세전' 표기"), content);
    weekendCheck_ = new QCheckBox(QStringLiteral("주말·공휴일 제외"), content);
    wolluOffCheck_ = new QCheckBox(QStringLiteral("월루(딴짓) 추적 중단"), content);
    analyticsCheck_ = new QCheckBox(QStringLiteral("익명 사용 통계 보내기"), content);
    pretaxTagCheck_->setObjectName(QStringLiteral("pretaxTag"));
    weekendCheck_->setObjectName(QStringLiteral("skipDaysOff"));
    wolluOffCheck_->setObjectName(QStringLiteral("slackingOff"));
    analyticsCheck_->setObjectName(QStringLiteral("analytics"));
    daysOffEditor_ = new DaysOffEditor(content);
    daysOffEditor_->setObjectName(QStringLiteral("daysOff"));
    connect(daysOffEditor_, &DaysOffEditor::heightChanged, this, [this] { relayout(); });

    disclosureBtn_ = new QPushButton(content);
    disclosureBtn_->setObjectName(QStringLiteral("disclosure"));
    disclosureBtn_->setFlat(true);
    disclosureBtn_->setCursor(Qt::PointingHandCursor);
    connect(disclosureBtn_, &QPushButton::clicked, this, &SettingsWindowController::toggleExpand);
    addBtn_ = new QPushButton(QStringLiteral("+ 추가"), content);
    addBtn_->setObjectName(QStringLiteral("addDistraction"));
    addBtn_->setCursor(Qt::PointingHandCursor);
    connect(addBtn_, &QPushButton::clicked, this, &SettingsWindowController::addTapped);

    cancelBtn_ = SettingsStyle::chipButton(content, QStringLiteral("취소"));
    saveBtn_ = SettingsStyle::chipButton(content, QStringLiteral("저장"));
    connect(cancelBtn_, &QAbstractButton::clicked, this, &SettingsWindowController::cancelTapped);
    connect(saveBtn_, &QAbstractButton::clicked, this, &SettingsWindowController::saveTapped);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), window_.get());
        connect(shortcut, &QShortcut::activated, this, [this] {
            // Return in the open 세전/세후 list picks the item; the window is not done yet. The
            // list closes on the key before the key itself arrives here.
            if (salaryTypePopup_->view()->isVisible() || QApplication::activePopupWidget() ||
                salaryListJustClosed_)
                return;
            saveTapped();
        });
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window_.get());
    connect(escape, &QShortcut::activated, this, &SettingsWindowController::cancelTapped);
}

void SettingsWindowController::fillFromStores()
{
    for (int i = 0; i < 4; ++i)
        pickers_[i]->setTime(timeOf(kTimes[i].stored(), kTimes[i].def));
    filledSalaryWon_ = Cfg::monthlySalaryWon();
    filledSalaryText_ = SalaryText::display(filledSalaryWon_);
    salaryField_->setText(filledSalaryText_);
    salaryTypePopup_->setCurrentIndex(Cfg::salaryPretax() ? 0 : 1);
    pretaxTagCheck_->setChecked(Cfg::showPretaxTag());
    weekendCheck_->setChecked(Cfg::excludeWeekend());
    wolluOffCheck_->setChecked(Wollu::disabled());
    analyticsCheck_->setChecked(!Analytics::optOut());
}

int SettingsWindowController::heightFor(bool expanded, int entries, int infoLines)
{
    int h = kCollapsedHeight;
    if (expanded)
        h = entries == 0 ? kEmptyListHeight : kListBaseHeight + kRowHeight * entries;
    return h + InfoBlock::kLineStep * infoLines;
}

void SettingsWindowController::relayout()
{
    const AppearancePin pin(window_->isDark());
    for (QWidget* w : std::as_const(transient_)) {
        // Deleted later: the button whose click led here may be among them.
        w->hide();
        w->deleteLater();
    }
    transient_.clear();

    const QStringList browserLines = InfoBlock::browserAddressLines(infoLines_);
    const int infoLines = int(browserLines.size());
    const int shownRows = std::min(int(apps_.size()), rowCapacity(infoLines));
    // The days-off list sits between the switches and the distraction list; what lies below
    // it moves down by its height.
    const int daysOff = daysOffEditor_->height() + 8;
    const int h =
        heightFor(expanded_, shownRows, infoLines) + daysOff + (warningText_ ? kWarningHeight : 0);
    window_->setContentSize(QSize(W, h));
    QWidget* content = window_->content();
    const qreal dpr = window_->devicePixelRatioF();
    const QColor ink = inkColor();
    const auto place = [&](QWidget* w, int x, int top, int width, int height) {
        w->setGeometry(x, top, width, height);
        w->show();
    };
    const auto addLabel = [&](const QString& text, const QFont& font, const QColor& colour,
                              Qt::Alignment alignment, int x, int top, int width, int height) {
        QLabel* l = SettingsStyle::label(content, text, font, colour, alignment);
        transient_ << l;
        place(l, x, top, width, height);
        return l;
    };
    const auto addPicture = [&](const QString& text, const QFont& font, const QColor& colour, int x,
                                int top, int width, int height) {
        PixelImageView* l = SettingsStyle::textPicture(content, text, font, colour, Qt::AlignLeft);
        transient_ << l;
        place(l, x, top, width, height);
        return l;
    };

    addLabel(QStringLiteral("톡웍 설정"), monaBold(12), ink, Qt::AlignLeft | Qt::AlignVCenter, 16,
             16, 200, 22);

    // The two time rows: "근무 [09:00] 부터 [18:00] 까지", then lunch the same way.
    const QString rowNames[] = {QStringLiteral("근무"), QStringLiteral("점심")};
    for (int row = 0; row < 2; ++row) {
        const int top = 50 + 32 * row;
        addLabel(rowNames[row], mona(12), ink, Qt::AlignCenter, 16, top, 30, 24);
        place(pickers_[2 * row], 48, top, 50, 24);
        addLabel(QStringLiteral("부터"), mona(12), ink, Qt::AlignCenter, 106, top, 26, 24);
        place(pickers_[2 * row + 1], 140, top, 50, 24);
        addLabel(QStringLiteral("까지"), mona(12), ink, Qt::AlignCenter, 196, top, 30, 24);
    }
    // "월급 [세전▾] [   ] 만원": the row is named like the two time rows above it.
    addLabel(QStringLiteral("월급"), mona(12), ink, Qt::AlignCenter, 16, 114, 30, 24);
    place(salaryTypePopup_, 48, 113, 60, 26);
    place(salaryField_, 112, 114, 62, 24);
    addLabel(QStringLiteral("만원"), mona(12), ink, Qt::AlignCenter, 180, 114, 44, 24);
    place(pretaxTagCheck_, 16, 146, 240, 22);
    place(weekendCheck_, 16, 172, 240, 22);

    auto* separator = new QWidget(content);
    separator->setAutoFillBackground(true);
    QPalette separatorPalette = separator->palette();
    separatorPalette.setColor(QPalette::Window, faintColor());
    separator->setPalette(separatorPalette);
    transient_ << separator;
    place(separator, 16, 201, 224, 1);

    place(wolluOffCheck_, 16, 212, 240, 22);
    addPicture(QStringLiteral("추적된 월루 시간이 초기화되고,"), mona(10), mutedInk(), 16, 233, 224,
               15);
    addPicture(QStringLiteral("체크를 해제할 때까지 추적하지 않아요."), mona(10), mutedInk(), 16,
               247, 224, 15);
    place(analyticsCheck_, 16, 268, 240, 22);
    place(daysOffEditor_, 16, 294, DaysOffEditor::kWidth, daysOffEditor_->height());
    daysOffEditor_->restyle();
    disclosureBtn_->setText(disclosureTitle(expanded_, apps_.size()));
    place(disclosureBtn_, 16, 294 + daysOff, 150, 24);
    place(addBtn_, 178, 293 + daysOff, 62, 26);

    const int listTop = kListTop + daysOff;
    int listBottom = kDisclosureBottom + daysOff;
    if (expanded_ && apps_.isEmpty()) {
        addLabel(QStringLiteral("'추가'로 딴짓 앱, 사이트를 넣어보세요"), mona(12), mutedInk(),
                 Qt::AlignLeft | Qt::AlignVCenter, 30, listTop + 4, 210, 20);
        listBottom = listTop + kEmptyHintHeight;
    } else if (expanded_) {
        auto* rows = new QWidget;
        rows->resize(210, kRowHeight * int(apps_.size()));
        const QList<RunningApp> running = runningApps();
        for (qsizetype i = 0; i < apps_.size(); ++i)
            buildRow(rows, apps_.at(i), int(i), dpr, running);
        if (shownRows < apps_.size()) {
            // Beyond what the screen can hold, the rows scroll inside a list of fixed height.
            auto* scroll = new QScrollArea(content);
            scroll->setFrameShape(QFrame::NoFrame);
            scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            rows->setObjectName(QStringLiteral("rows"));
            scroll->setStyleSheet(SettingsStyle::scrollAreaStyle(rows->objectName()));
            scroll->setWidget(rows);
            transient_ << scroll;
            place(scroll, 30, listTop, 218, kRowHeight * shownRows);
        } else {
            rows->setParent(content);
            transient_ << rows;
            place(rows, 30, listTop, 210, kRowHeight * shownRows);
        }
        listBottom = listTop + kRowHeight * shownRows;
    }

    // The information block: what counts as slacking, and how overtime is paid.
    int y = listBottom + 12;
    for (const InfoBlock::Section& section :
         {InfoBlock::slackingCriteria(browserLines), InfoBlock::overtimeAllowance()}) {
        addPicture(section.heading, mona(10), hintInk(), 16, y + 1, 240, 15);
        y += 14;
        for (const QString& line : section.lines) {
            addPicture(line, mona(10), hintInk(), 16, y, 224, 18);
            y += InfoBlock::kLineStep;
        }
        y += 13;
    }

    const int b = SettingsStyle::chipButtonHeight();
    place(cancelBtn_, 16, h - 16 - b, 106, b);
    place(saveBtn_, 134, h - 16 - b, 106, b);
    if (warningText_)
        addPicture(*warningText_, mona(10), wolluRedColor(), 16, h - (b + 24) - 15, 224, 15);

    // Colours and fonts of the controls that outlive a relayout.
    for (QWidget* w : std::initializer_list<QWidget*>{
             pickers_[0], pickers_[1], pickers_[2], pickers_[3], salaryField_, salaryTypePopup_,
             pretaxTagCheck_, weekendCheck_, wolluOffCheck_, analyticsCheck_, addBtn_}) {
        w->setFont(mona(12));
        SettingsStyle::applyPalette(w);
    }
    SettingsStyle::keepPlaceholderVisible(salaryField_);
    disclosureBtn_->setFont(mona(12));
    disclosureBtn_->setStyleSheet(
        QStringLiteral("QPushButton { text-align: left; border: none; padding: 0 2px;"
                       " background: transparent; color: %1; }"
                       "QPushButton:focus { border: 1px solid %2; border-radius: 4px; }")
            .arg(SettingsStyle::colourCss(SettingsStyle::onGlass(ink)),
                 SettingsStyle::colourCss(faintColor())));
    SettingsStyle::restyleChip(saveBtn_);
    SettingsStyle::restyleChip(cancelBtn_);
    // Every label here is one line centred in a fixed frame; a 1.4 line height would only lift
    // its text off the centre line of the field beside it.

    // Tab follows the order the fields are seen in.
    QList<QWidget*> chain{pickers_[0],
                          pickers_[1],
                          pickers_[2],
                          pickers_[3],
                          salaryTypePopup_,
                          salaryField_,
                          pretaxTagCheck_,
                          weekendCheck_,
                          wolluOffCheck_,
                          analyticsCheck_,
                          daysOffEditor_->addButton(),
                          disclosureBtn_,
                          addBtn_};
    for (QWidget* w : std::as_const(transient_))
        for (auto* remove : w->findChildren<QPushButton*>())
            chain << remove;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

void SettingsWindowController::buildRow(QWidget* parent, const QString& entry, int index, qreal dpr,
                                        const QList<RunningApp>& running)
{
    const QFont nameFont = mona(12);
    const QFont detailFont = mona(10);
    const AppMeta meta = appMeta(entry, running);
    const bool site = meta.kind.contains(QStringLiteral("사이트"));
    auto* row = new QWidget(parent);
    row->setGeometry(0, kRowHeight * index, 210, kRowHeight);

    auto* icon = new QLabel(row);
    icon->setAlignment(Qt::AlignCenter);
    icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    const int side = site ? 18 : 22;
    icon->setGeometry(site ? 6 : 4, site ? 7 : 5, side, side);
    icon->setPixmap(iconPixmap(meta.icon, side, dpr));
    if (site)
        FaviconLoader::shared().load(meta.detail, icon, side);

    auto* name =
        SettingsStyle::label(row, QFontMetrics(nameFont).elidedText(entry, Qt::ElideRight, 80),
                             nameFont, inkColor(), Qt::AlignLeft | Qt::AlignVCenter);
    name->setToolTip(entry);
    name->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    name->setGeometry(30, 4, 80, 22);
    auto* detail = SettingsStyle::label(
        row, QFontMetrics(detailFont).elidedText(meta.detail, Qt::ElideRight, 68), detailFont,
        mutedInk(), Qt::AlignRight | Qt::AlignVCenter);
    detail->setGeometry(114, 5, 68, 18);

    QPushButton* remove =
        SettingsStyle::removeButton(row, QStringLiteral("삭제: ") + entry, 12, 24);
    remove->setProperty("entry", entry);
    remove->setGeometry(184, 4, 24, 24);
    connect(remove, &QPushButton::clicked, this, [this, entry] { deleteApp(entry); });
}

int SettingsWindowController::rowCapacity(int infoLines) const
{
    const QScreen* screen =
        window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return std::numeric_limits<int>::max();
    const int fixed = heightFor(true, 0, infoLines) - kEmptyHintHeight + daysOffEditor_->height() +
                      8 + (warningText_ ? kWarningHeight : 0);
    return std::max(3, (screen->availableGeometry().height() - 16 - fixed) / kRowHeight);
}

void SettingsWindowController::showCentered()
{
    QPoint topLeft = window_->pos();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QPoint centred = area.center() - QPoint(window_->width() / 2, window_->height() / 2);
        topLeft = QPoint(centred.x(), std::max(area.top(), centred.y()));
    }
    showAt(topLeft);
}

void SettingsWindowController::showAt(const QPoint& topLeft)
{
    // Days off added from the terminal while the window was closed; edits not yet saved stay.
    if (!daysOffEditor_->hasChanges())
        daysOffEditor_->reload();
    window_->move(topLeft);
    window_->makeKeyAndOrderFront();
    // sway centres every floating window it maps: beside the panel only when asked itself.
    WindowHints::askCompositorToPlace(window_.get(), topLeft);
    // A new user comes for the salary; everyone else starts at the top.
    QWidget* first =
        salaryField_->text().isEmpty() ? static_cast<QWidget*>(salaryField_) : pickers_[0];
    first->setFocus(Qt::ActiveWindowFocusReason);
}

bool SettingsWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched == salaryTypePopup_->view()->window()) {
        // Until the events of the key that closed the list have been handled.
        salaryListJustClosed_ = true;
        QTimer::singleShot(0, this, [this] { salaryListJustClosed_ = false; });
    }
    return QObject::eventFilter(watched, event);
}

void SettingsWindowController::closeWindow()
{
    window_->hide();
}

void SettingsWindowController::dispose()
{
    closeWindow();
    if (inDialog_) {
        disposeWhenIdle_ = true;
        if (dialog_)
            dialog_->cancelTapped();
        return;
    }
    deleteLater();
}

std::optional<qint64> SettingsWindowController::salaryWon(QString* problem) const
{
    // Untouched, the field shows whole 만원 of the stored salary; the stored won are kept.
    if (salaryField_->text() == filledSalaryText_)
        return filledSalaryWon_;
    const SalaryText::Reading reading = SalaryText::read(salaryField_->text());
    switch (reading.kind) {
    case SalaryText::Reading::Kind::empty:
        return 0;
    case SalaryText::Reading::Kind::won:
        return reading.won;
    case SalaryText::Reading::Kind::tooLarge:
        *problem = SettingsSave::salaryTooLarge;
        return std::nullopt;
    case SalaryText::Reading::Kind::notANumber:
        *problem = SettingsSave::salaryNotANumber;
        return std::nullopt;
    }
    return std::nullopt;
}

SettingsForm SettingsWindowController::form() const
{
    SettingsForm f;
    f.workStart = minutesOf(pickers_[0]);
    f.workEnd = minutesOf(pickers_[1]);
    f.lunchStart = minutesOf(pickers_[2]);
    f.lunchEnd = minutesOf(pickers_[3]);
    QString ignored;
    f.salaryWon = salaryWon(&ignored).value_or(0);
    f.salaryPretax = salaryTypePopup_->currentIndex() == 0;
    f.showPretaxTag = pretaxTagCheck_->isChecked();
    f.excludeWeekend = weekendCheck_->isChecked();
    f.wolluDisabled = wolluOffCheck_->isChecked();
    f.analyticsAllowed = analyticsCheck_->isChecked();
    f.apps = apps_;
    f.daysOffChanged = daysOffEditor_->hasChanges();
    return f;
}

void SettingsWindowController::saveTapped()
{
    // A time typed but not yet committed (no Tab, no Return into the field) counts too.
    for (QTimeEdit* picker : pickers_)
        picker->interpretText();
    const SettingsForm f = form();
    std::optional<QString> problem = SettingsSave::scheduleProblem(f);
    if (!problem) {
        QString salaryProblem;
        if (!salaryWon(&salaryProblem))
            problem = salaryProblem;
    }
    if (problem) {
        warningText_ = problem;
        SettingsSave::reportRejected(*problem);
        relayout();
        return;
    }
    const bool hadWarning = warningText_.has_value();
    warningText_.reset();
    Q_EMIT aboutToStore();
    SettingsSave::store(f);
    daysOffEditor_->store();
    // A file that cannot be written keeps the new values for this run only: the user must know
    // before the window goes, or the next start silently brings the old ones back.
    const bool written = Store::standard().persistent();
    filledSalaryWon_ = f.salaryWon;
    filledSalaryText_ = salaryField_->text();
    Q_EMIT saved();
    if (!written) {
        warningText_ = QStringLiteral("설정 파일에 쓰지 못했어요 (이번 실행에만 적용)");
        relayout();
        return;
    }
    if (hadWarning)
        relayout();
    closeWindow();
}

void SettingsWindowController::cancelTapped()
{
    Analytics::track(Analytics::Event::settingsCancelled,
                     {{QStringLiteral("had_warning"), warningText_.has_value()}});
    if (warningText_) {
        warningText_.reset();
        relayout();
    }
    closeWindow();
}

void SettingsWindowController::toggleExpand()
{
    expanded_ = !expanded_;
    Analytics::track(Analytics::Event::distractionListToggled,
                     {{QStringLiteral("expanded"), expanded_},
                      {QStringLiteral("distraction_count"), apps_.size()}});
    relayout();
}

void SettingsWindowController::addTapped()
{
    delete addMenu_;
    auto* menu = new QMenu(window_.get());
    menu->setObjectName(QStringLiteral("runningApps"));
    addMenu_ = menu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setFont(mona(12));
    {
        const AppearancePin pin(window_->isDark());
        SettingsStyle::applyPalette(menu);
        // The platform style draws a disabled item in full ink; "실행 중인 앱 없음" must read as
        // an answer, not as a choice.
        menu->setStyleSheet(QStringLiteral("QMenu::item:disabled { color: %1; }")
                                .arg(SettingsStyle::colourCss(SettingsStyle::onGlass(mutedInk()))));
    }
    QStringList offered;
    for (const RunningApp& app : runningApps()) {
        const QString& name = app.name;
        if (name.trimmed().isEmpty() || offered.contains(name) ||
            DistractionEntries::contains(apps_, name))
            continue;
        offered << name;
        QAction* item = menu->addAction(app.icon, name);
        item->setData(name);
        connect(item, &QAction::triggered, this, [this, item] { addFromMenu(item); });
    }
    if (offered.isEmpty())
        menu->addAction(QStringLiteral("실행 중인 앱 없음"))->setEnabled(false);
    menu->addSeparator();
    QAction* manual = menu->addAction(QStringLiteral("직접 입력…"));
    // After the menu has closed, so the dialog does not open under a menu still on screen.
    connect(manual, &QAction::triggered, this, &SettingsWindowController::addManual,
            Qt::QueuedConnection);
    menu->popup(addBtn_->mapToGlobal(QPoint(0, addBtn_->height() + 2)));
}

void SettingsWindowController::addFromMenu(QAction* item)
{
    const QString name = item ? item->data().toString() : QString();
    if (name.isEmpty() || DistractionEntries::contains(apps_, name))
        return;
    apps_.append(name);
    trackDistractionAdded(name, QStringLiteral("running_app_menu"));
    relayout();
}

void SettingsWindowController::addManual()
{
    if (inDialog_)
        return;
    inDialog_ = true;
    auto* dialog = new AddWolluWindowController(this);
    dialog_ = dialog;
    const std::optional<QString> typed = dialog->run();
    delete dialog;
    inDialog_ = false;
    if (disposeWhenIdle_) {
        deleteLater();
        return;
    }
    if (!typed) {
        Analytics::track(Analytics::Event::distractionAddCancelled);
        return;
    }
    const QStringList added = DistractionEntries::typedEntries(*typed, apps_);
    if (added.isEmpty())
        return;
    for (const QString& entry : added) {
        apps_.append(entry);
        trackDistractionAdded(entry, QStringLiteral("manual_input"));
    }
    relayout();
}

void SettingsWindowController::deleteApp(const QString& entry)
{
    if (entry.isEmpty()) {
        relayout();
        return;
    }
    apps_.removeAll(entry);
    Analytics::track(Analytics::Event::distractionRemoved,
                     {{QStringLiteral("target"), Analytics::distractionLabel(entry)},
                      {QStringLiteral("remaining_count"), apps_.size()}});
    relayout();
}

void SettingsWindowController::trackDistractionAdded(const QString& name, const QString& source)
{
    const auto& known = KNOWN_SERVICES();
    const auto record = known.constFind(serviceKey(name));
    const bool found = record != known.constEnd();
    const QString kind = found                 ? record->kind
                         : name.contains(u'.') ? QStringLiteral("사이트")
                                               : QStringLiteral("앱");
    Analytics::track(Analytics::Event::distractionAdded,
                     {{QStringLiteral("target"), Analytics::distractionLabel(name)},
                      {QStringLiteral("is_known_service"), found},
                      {QStringLiteral("kind"), kind},
                      {QStringLiteral("source"), source},
                      {QStringLiteral("total_count"), apps_.size()}});
}
