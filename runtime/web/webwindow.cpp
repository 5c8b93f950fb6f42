// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/web/webwindow.h"

#include <algorithm>
#include <cmath>

#include "runtime/artwork.h"
#include "runtime/web/json.h"
#include "runtime/web/page.h"

namespace runtime::web {

namespace {

int pictureNumber(const std::string& name)
{
    const auto all = artworks();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Artwork& a) { return a.name == name; });
    return found == all.end() ? -1 : static_cast<int>(found - all.begin());
}

} // namespace

WebWindow::WebWindow(Form& form, WebDialogs& dialogs) : form_(form), pacer_(form.clock), failures_(dialogs)
{
    dialogs.setHost(*this);
    for (const Artwork& art : artworks())
        page::addPicture(std::string(art.name), spritePixels(art));
}

void WebWindow::resize(int width, int height)
{
    // The largest whole factor that fits; on a screen too small for the field's own size, the
    // largest factor that fits at all.
    Layout fits = layOut(form_.clientWidth, form_.clientHeight, width, height, true);
    const bool whole = fits.width <= width && fits.height <= height;
    if (!whole)
        fits = layOut(form_.clientWidth, form_.clientHeight, width, height);
    const int w = std::max(1, static_cast<int>(std::floor(fits.width)));
    const int h = std::max(1, static_cast<int>(std::floor(fits.height)));
    page::sizeCanvas(w, h);
    layout_ = layOut(form_.clientWidth, form_.clientHeight, w, h, whole);
    shownChanges_.reset();
    refresh();
    repaint(layout_.field());
    if (!pacer_.running()) {
        pacer_.start(static_cast<std::int64_t>(page::now()));
        schedule();
        page::started();
    }
}

void WebWindow::frame()
{
    failures_.run([this] { pacer_.catchUp(static_cast<std::int64_t>(page::now())); });
    refresh();
    schedule();
}

void WebWindow::act(const std::function<void()>& procedure)
{
    if (ended_)
        return;
    // Apart: a tick that fails on the way to the action's moment must not swallow the action,
    // and what a failing procedure changed before it failed is still shown.
    failures_.run([this] { pacer_.keepUp(static_cast<std::int64_t>(page::now())); });
    const std::uint64_t before = form_.clock.countChanges();
    failures_.run(procedure);
    if (form_.clock.countChanges() == before)
        return; // a held key's repeats cost nothing
    pacer_.shown(static_cast<std::int64_t>(page::now()));
    if (!pacer_.frameComing())
        refresh();
    schedule(); // the player may have woken a timer
}

void WebWindow::setHidden(bool hidden)
{
    if (hidden == hidden_)
        return;
    hidden_ = hidden;
    if (hidden) {
        pacer_.setLateWakesExpected(true);
        schedule();
        return;
    }
    // Seen again: the present picture at once, however late the slowed timer is.
    frame();
    pacer_.setLateWakesExpected(false);
}

void WebWindow::end()
{
    ended_ = true;
    pacer_.stop();
    page::ended();
}

void WebWindow::schedule()
{
    if (ended_)
        return;
    const auto wait = pacer_.schedule(static_cast<std::int64_t>(page::now()));
    page::wakeIn(wait ? static_cast<double>(*wait) : -1, hidden_);
}

void WebWindow::refresh()
{
    if (ended_ || layout_.width <= 0)
        return;
    const std::uint64_t changes = form_.clock.countChanges();
    if (shownChanges_ == changes)
        return;
    shownChanges_ = changes;
    bool changed = false;
    if (caption_ != form_.Caption.get()) {
        caption_ = form_.Caption;
        page::caption(caption_);
        changed = true;
    }
    if (std::string menus = menuJson(); menus != menus_) {
        menus_ = std::move(menus);
        page::menus(menus_);
        changed = true;
    }
    form_.scene(scene_);
    const auto rects = changedPixels(shown_, scene_, layout_);
    std::swap(shown_, scene_);
    for (const PixelRect& r : rects)
        repaint(r);
    if (changed || !rects.empty())
        pacer_.shown(static_cast<std::int64_t>(page::now()));
}

void WebWindow::repaint(const PixelRect& r)
{
    page::beginRepaint(r);
    for (const ScenePicture& picture : shown_.pictures) {
        const PixelRect at = layout_.pixels(picture);
        if (!at.empty() && at.overlaps(r))
            page::drawPicture(pictureNumber(picture.picture), at);
    }
    for (const Banner& banner : shown_.banners)
        if (layout_.pixels(banner).overlaps(r))
            page::drawBanner(banner, layout_);
    page::endRepaint();
}

std::string WebWindow::menuJson() const
{
    json::Writer out;
    const auto item = [&out](const MenuItem& m) {
        out.field("caption", m.Caption.get());
        out.field("enabled", m.Enabled.get());
        out.field("checked", m.Checked.get());
    };
    out.beginArray();
    for (const MenuItem* top : form_.menuBar) {
        out.beginObject();
        item(*top);
        out.key("items");
        out.beginArray();
        for (const MenuItem* sub : top->items) {
            out.beginObject();
            item(*sub);
            out.endObject();
        }
        out.endArray();
        out.endObject();
    }
    out.endArray();
    return out.text();
}

void WebWindow::beforeBox()
{
    refresh();
    if (pacer_.pause(static_cast<std::int64_t>(page::now())))
        page::wakeIn(-1, hidden_);
}

void WebWindow::afterBox()
{
    if (pacer_.resume(static_cast<std::int64_t>(page::now())))
        schedule();
}

std::int16_t WebDialogs::messageBox(const std::string& prompt, std::int16_t style, const std::string& title)
{
    host_->beforeBox();
    const std::int16_t answer = page::messageBox(prompt, style, title);
    host_->afterBox();
    return answer;
}

std::string WebDialogs::inputBox(const std::string& prompt, const std::string& title, const std::string& proposed)
{
    host_->beforeBox();
    std::string answer = page::inputBox(prompt, title, proposed);
    host_->afterBox();
    return answer;
}

} // namespace runtime::web
