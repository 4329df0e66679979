// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/AddWolluWindowController.h"

#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/toolkit/CenteredTextField.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassWindow.h"
#include "ui/toolkit/MascotView.h"
#include "ui/toolkit/PixelImageView.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QScreen>
#include <QShortcut>

namespace {

AddWolluWindowController* g_running = nullptr;

struct NextAnswer
{
    bool set = false;
    std::optional<QString> typed;
};

NextAnswer& nextAnswer()
{
    static NextAnswer answer;
    return answer;
}

} // namespace

AddWolluWindowController::AddWolluWindowController(QObject* parent)
    : QObject(parent), window_(std::make_unique<GlassWindow>())
{
    window_->setWindowTitle(QStringLiteral("딴짓 추가"));
    window_->setWindowModality(Qt::ApplicationModal);
    QWidget* content = window_->content();

    picture_ = new MascotView(content);
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture_->setArt(QStringLiteral("ant_work"));

    field_ = new CenteredTextField(content);
    field_->setObjectName(QStringLiteral("entry"));
    field_->setHorizontalAlignment(Qt::AlignHCenter);
    field_->setPlaceholderText(placeholder());
    field_->setMaxLength(200);
    field_->setAccessibleName(QStringLiteral("이름이나 주소"));

    cancelBtn_ = SettingsStyle::chipButton(content, QStringLiteral("취소"));
    addBtn_ = SettingsStyle::chipButton(content, QStringLiteral("추가"));
    connect(cancelBtn_, &QAbstractButton::clicked, this, &AddWolluWindowController::cancelTapped);
    connect(addBtn_, &QAbstractButton::clicked, this, &AddWolluWindowController::addTapped);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), window_.get());
        connect(shortcut, &QShortcut::activated, this, &AddWolluWindowController::addTapped);
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window_.get());
    connect(escape, &QShortcut::activated, this, &AddWolluWindowController::cancelTapped);
    // Closed by the window manager: as good as cancelled.
    connect(window_.get(), &GlassWindow::hidden, this, [this] {
        if (loop_)
            stop(std::nullopt);
    });

    window_->content()->onAppearanceChange = [this] { relayout(); };
    relayout();
}

AddWolluWindowController::~AddWolluWindowController()
{
    if (g_running == this)
        g_running = nullptr;
}

GlassWindow* AddWolluWindowController::window() const
{
    return window_.get();
}

QString AddWolluWindowController::placeholder()
{
    return QStringLiteral("예: 유튜브, reddit.com");
}

AddWolluWindowController* AddWolluWindowController::running()
{
    return g_running;
}

void AddWolluWindowController::answerNextRun(std::optional<QString> typed)
{
    nextAnswer() = {true, std::move(typed)};
}

void AddWolluWindowController::relayout()
{
    const AppearancePin pin(window_->isDark());
    for (QWidget* w : std::as_const(transient_)) {
        w->hide();
        w->deleteLater();
    }
    transient_.clear();
    window_->setContentSize(QSize(W, H));
    QWidget* content = window_->content();
    const int b = SettingsStyle::chipButtonHeight();

    // Measured from the top: the picture, the title and two lines of explanation, the field,
    // then the buttons along the bottom edge.
    picture_->setGeometry(82, 16, 92, 78);
    auto* title = SettingsStyle::label(content, QStringLiteral("딴짓 추가"), monaBold(12),
                                       inkColor(), Qt::AlignHCenter | Qt::AlignVCenter);
    title->setGeometry(16, 108, 224, 20);
    transient_ << title;
    const QString lines[] = {QStringLiteral("내가 딴짓할 때 쓰는 앱, 사이트"),
                             QStringLiteral("이름이나 주소를 넣으세요")};
    for (int i = 0; i < 2; ++i) {
        PixelImageView* line =
            SettingsStyle::textPicture(content, lines[i], mona(10), mutedInk(), Qt::AlignHCenter);
        line->setGeometry(16, 134 + 15 * i, 224, 15);
        transient_ << line;
    }

    field_->setGeometry(16, H - (b + 32) - 32, 224, 32);
    field_->setFont(mona(12));
    SettingsStyle::applyPalette(field_);
    SettingsStyle::keepPlaceholderVisible(field_);
    cancelBtn_->setGeometry(16, H - 16 - b, 106, b);
    addBtn_->setGeometry(134, H - 16 - b, 106, b);
    SettingsStyle::restyleChip(cancelBtn_);
    SettingsStyle::restyleChip(addBtn_);
    for (QWidget* w : std::as_const(transient_))
        w->show();
}

std::optional<QString> AddWolluWindowController::run()
{
    if (nextAnswer().set) {
        const std::optional<QString> answer = nextAnswer().typed;
        nextAnswer() = {};
        return answer;
    }
    result_.reset();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window_->move(area.center() - QPoint(W / 2, H / 2));
    }
    window_->makeKeyAndOrderFront();
    field_->setFocus(Qt::ActiveWindowFocusReason);

    QEventLoop loop;
    loop_ = &loop;
    AddWolluWindowController* outer = g_running;
    g_running = this;
    loop.exec(QEventLoop::DialogExec);
    g_running = outer;
    loop_ = nullptr;
    window_->hide();
    return result_;
}

void AddWolluWindowController::addTapped()
{
    stop(field_->text());
}

void AddWolluWindowController::cancelTapped()
{
    stop(std::nullopt);
}

void AddWolluWindowController::stop(std::optional<QString> result)
{
    if (!loop_)
        return;
    result_ = std::move(result);
    loop_->quit();
}
