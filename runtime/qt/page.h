// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QMainWindow;

// The web page around the game, when it plays in a browser; on the desktop these do nothing,
// or give back what they are given.
namespace runtime::qt::page {

#ifdef __EMSCRIPTEN__
// The playfield in the page, which the window fills: at the largest whole factor that fits,
// centred on black. The widget to make the window's central one.
QWidget* framed(QWidget* playfield);
// The window's caption, which no title bar shows there: in the page and in its tab.
void showCaption(const QString& caption);
// A box has closed: no window is active then, and keys would reach none until a click.
void boxClosed(QMainWindow& window, QWidget& playfield);
// The game has ended ("Quitter"): the page says so, and how to play again.
void ended();
// Another window (the help window): at its own size in the middle of the page, where Qt would
// make it fill the page.
void showWindow(QWidget& window);
#else
inline QWidget* framed(QWidget* playfield) { return playfield; }
inline void showCaption(const QString&) {}
inline void boxClosed(QMainWindow&, QWidget&) {}
inline void ended() {}
inline void showWindow(QWidget& window) { window.show(); }
#endif

} // namespace runtime::qt::page
