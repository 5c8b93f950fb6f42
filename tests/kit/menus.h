// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The menu bar of a shown game window, for the tests that link the Qt side.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>

inline QStringList texts(const QList<QAction*>& actions)
{
    QStringList all;
    for (const QAction* action : actions)
        all << action->text();
    return all;
}

// A menu of the bar, or an item of one; null when there is none.
inline QAction* actionNamed(const QMenuBar* bar, const QString& text)
{
    for (QAction* top : bar->actions()) {
        if (top->text() == text)
            return top;
        if (top->menu())
            for (QAction* item : top->menu()->actions())
                if (item->text() == text)
                    return item;
    }
    return nullptr;
}
