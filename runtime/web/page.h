// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "runtime/artwork.h"
#include "runtime/label.h"
#include "runtime/layout.h"

// What the program asks of the page around it (assets/web/page.js, its object `gromzaks`), and
// the drawing into the page's canvas. Texts are UTF-8.
namespace runtime::web::page {

double now(); // the page's clock, in milliseconds

void caption(const std::string& text);
void menus(const std::string& json);
void showHelp(const std::string& json);
void started();
void ended();

// The page's boxes; the program waits in them (the page's promise, awaited).
std::int16_t messageBox(const std::string& prompt, std::int16_t style, const std::string& title);
std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed);

// The next wake-up, in `ms` (none when negative): at the display's frame when it is near, on a
// plain timer in a hidden page, which shows no frames.
void wakeIn(double ms, bool hidden);

// The canvas: its size in the screen's own pixels; the artwork, once each, by number in the
// order given; and the repaint of one rectangle: black, then what lies over it.
void sizeCanvas(int width, int height);
void addPicture(const std::string& name, const Pixels& pixels);
void beginRepaint(const PixelRect& r);
void drawPicture(int picture, const PixelRect& at);
void drawBanner(const Banner& banner, const Layout& at);
void endRepaint();

} // namespace runtime::web::page
