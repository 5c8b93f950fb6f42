// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/qt/helpwindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "help/frmhelp.h"
#include "runtime/layout.h"
#include "runtime/qt/pictures.h"

namespace help::qt {

namespace {

using runtime::twipsPerPixel;

QRect pixels(const Control& control)
{
    return {control.left / twipsPerPixel, control.top / twipsPerPixel, control.width / twipsPerPixel,
            control.height / twipsPerPixel};
}

QString objectNameOf(const Control& control)
{
    QString name = QString::fromLatin1(control.name);
    if (control.index >= 0)
        name += QStringLiteral("(%1)").arg(control.index);
    return name;
}

// The artwork as it is, black surround included, at the top-left of a black box the size of
// the control.
QPixmap pictureOf(const Control& control)
{
    const QRect box = pixels(control);
    QPixmap picture(box.size());
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.drawImage(0, 0, runtime::qt::artwork(QString::fromLatin1(control.content)));
    return picture;
}

constexpr int wrapped = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

bool showsWhole(const QFont& font, const Control& control)
{
    const QRect box = pixels(control);
    const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), 10 * box.height()), wrapped,
                                                         QString::fromUtf8(control.content));
    return needed.width() <= box.width() && needed.height() <= box.height();
}

// The window system's font, made smaller when some text would not show whole in its box at
// its size: the boxes keep their places and every word must be read. One size for the whole
// window, so that it does not look patched.
QFont fittingFont(QFont font)
{
    constexpr qreal smallest = 6;
    for (qreal size = font.pointSizeF(); size >= smallest; size -= 0.5) {
        font.setPointSizeF(size);
        const auto controls = frmhelpControls();
        if (std::all_of(controls.begin(), controls.end(), [&font](const Control& control) {
                return control.kind == ControlKind::picture || showsWhole(font, control);
            }))
            break;
    }
    return font;
}

} // namespace

frmhelp::frmhelp() : QWidget(nullptr)
{
    setObjectName(QStringLiteral("frmhelp"));
    setAttribute(Qt::WA_QuitOnClose, false); // closing help never ends the game
    setWindowTitle(QString::fromUtf8(frmhelpCaption));
    setFixedSize(frmhelpWidth / twipsPerPixel, frmhelpHeight / twipsPerPixel);
    setFont(fittingFont(font()));

    for (const Control& control : frmhelpControls()) {
        QWidget* widget = nullptr;
        switch (control.kind) {
        case ControlKind::picture: {
            auto* label = new QLabel(this);
            label->setPixmap(pictureOf(control));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::text: {
            auto* label = new QLabel(QString::fromUtf8(control.content), this);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case ControlKind::button: {
            auto* button = new QPushButton(QString::fromUtf8(control.content), this);
            button->setAutoDefault(true); // Return presses it, as Space does
            connect(button, &QPushButton::clicked, this, &frmhelp::Command1_Click);
            widget = button;
            break;
        }
        }
        widget->setObjectName(objectNameOf(control));
        widget->setGeometry(pixels(control));
    }
}

void frmhelp::Command1_Click()
{
    close();
}

void frmhelp::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

HelpWindowHost::HelpWindowHost(QObject* parent) : QObject(parent) {}

HelpWindowHost::~HelpWindowHost()
{
    delete window_;
}

void HelpWindowHost::show()
{
    if (window_) {
        // Already open: the same window comes to the front, out of the task bar if need be.
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
        window_->show();
        window_->raise();
        window_->activateWindow();
        return;
    }
    window_ = new frmhelp;
    // Forgotten at once, so that "Aide" chosen before the closed window is gone makes a fresh
    // one instead of showing the one on its way out.
    frmhelp* made = window_;
    connect(made, &frmhelp::closed, this, [this, made] {
        made->deleteLater();
        if (window_ == made)
            window_ = nullptr;
    });
    window_->show();
}

} // namespace help::qt
