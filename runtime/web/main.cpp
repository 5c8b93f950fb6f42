// SPDX-License-Identifier: GPL-3.0-or-later
// The game in a web page: the page (assets/web/page.js) calls these, one at a time.
#include <memory>

#include <emscripten.h>

#include "game/mmm.h"
#include "help/frmhelp.h"
#include "runtime/random.h"
#include "runtime/web/json.h"
#include "runtime/web/page.h"
#include "runtime/web/webwindow.h"

namespace {

using runtime::web::WebWindow;

// The help window as the page lays it out, from its table.
std::string helpJson()
{
    runtime::web::json::Writer out;
    out.beginObject();
    out.field("caption", help::frmhelpCaption);
    out.field("width", help::frmhelpWidth);
    out.field("height", help::frmhelpHeight);
    out.key("controls");
    out.beginArray();
    for (const help::Control& c : help::frmhelpControls()) {
        out.beginObject();
        out.field("name", c.name);
        out.field("index", static_cast<int>(c.index));
        out.field("kind", c.kind == help::ControlKind::picture ? "picture"
                          : c.kind == help::ControlKind::text  ? "text"
                                                               : "button");
        out.field("left", c.left);
        out.field("top", c.top);
        out.field("width", c.width);
        out.field("height", c.height);
        out.field("content", c.content);
        out.endObject();
    }
    out.endArray();
    out.endObject();
    return out.text();
}

struct Program {
    runtime::SeededRandom random;
    runtime::web::WebDialogs dialogs;
    std::unique_ptr<game::mmm> form;
    std::unique_ptr<WebWindow> window;
};
Program* program = nullptr;

void act(void (*what)(game::mmm&, int, int), int a = 0, int b = 0)
{
    if (program)
        program->window->act([=] { what(*program->form, a, b); });
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void start(int width, int height)
{
    if (program)
        return;
    program = new Program; // lives as long as the page
    program->form = std::make_unique<game::mmm>(game::mmm::Outside{
        program->dialogs, program->random, [] { program->window->end(); },
        [] { runtime::web::page::showHelp(helpJson()); }});
    program->window = std::make_unique<WebWindow>(*program->form, program->dialogs);
    program->window->resize(width, height);
}

EMSCRIPTEN_KEEPALIVE void resize(int width, int height)
{
    if (program)
        program->window->resize(width, height);
}

EMSCRIPTEN_KEEPALIVE void wake()
{
    if (program)
        program->window->frame();
}

EMSCRIPTEN_KEEPALIVE void visibility(int hidden)
{
    if (program)
        program->window->setHidden(hidden != 0);
}

// The game reads no Shift state.
EMSCRIPTEN_KEEPALIVE void keyDown(int code)
{
    act([](game::mmm& g, int c, int) { g.Form_KeyDown(static_cast<std::int16_t>(c), 0); }, code);
}

EMSCRIPTEN_KEEPALIVE void keyUp(int code)
{
    act([](game::mmm& g, int c, int) { g.Form_KeyUp(static_cast<std::int16_t>(c), 0); }, code);
}

// A menu item by its place in the menu bar: a command of the bar itself when `item` is -1.
// One that is not there, or cannot be reached, does nothing.
EMSCRIPTEN_KEEPALIVE void choose(int top, int item)
{
    act(
        [](game::mmm& g, int t, int i) {
            if (t < 0 || static_cast<std::size_t>(t) >= g.menuBar.size())
                return;
            runtime::MenuItem* chosen = g.menuBar[static_cast<std::size_t>(t)];
            if (i >= 0) {
                if (static_cast<std::size_t>(i) >= chosen->items.size())
                    return;
                chosen = chosen->items[static_cast<std::size_t>(i)];
            }
            g.choose(*chosen);
        },
        top, item);
}

} // extern "C"
