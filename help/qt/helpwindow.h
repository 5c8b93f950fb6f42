// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

namespace help::qt {

// The help window, built from the layout of help/frmhelp.h. A window of its own beside the
// game window, never modal; closing it discards it.
class frmhelp final : public QWidget {
    Q_OBJECT
public:
    frmhelp();

public slots:
    void Command1_Click();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// The game's one help window: made when it is asked for and there is none, shown again when
// it is open, and discarded when closed or when the host goes.
class HelpWindowHost final : public QObject {
    Q_OBJECT
public:
    explicit HelpWindowHost(QObject* parent = nullptr);
    ~HelpWindowHost() override;

    void show();
    frmhelp* window() const { return window_; }

private:
    QPointer<frmhelp> window_;
};

} // namespace help::qt
