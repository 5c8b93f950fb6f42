// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/web/page.h"

#include <cmath>
#include <cstdlib>

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(double, jsNow, (), { return performance.now(); });
EM_JS(void, jsCaption, (const char* text), { gromzaks.caption(UTF8ToString(text)); });
EM_JS(void, jsMenus, (const char* json), { gromzaks.menus(UTF8ToString(json)); });
EM_JS(void, jsShowHelp, (const char* json), { gromzaks.showHelp(UTF8ToString(json)); });
EM_JS(void, jsStarted, (), { gromzaks.started(); });
EM_JS(void, jsEnded, (), {
    clearTimeout(Module.wakeTimer);
    cancelAnimationFrame(Module.wakeFrame);
    gromzaks.ended();
});

EM_ASYNC_JS(int, jsMessageBox, (const char* prompt, int style, const char* title), {
    return await gromzaks.messageBox(UTF8ToString(prompt), style, UTF8ToString(title));
});
EM_ASYNC_JS(char*, jsInputBox, (const char* prompt, const char* title, const char* proposed), {
    const text = String(await gromzaks.inputBox(UTF8ToString(prompt), UTF8ToString(title),
                                                UTF8ToString(proposed)) ?? "");
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});

EM_JS(void, jsWakeIn, (double ms, bool hidden), {
    clearTimeout(Module.wakeTimer);
    cancelAnimationFrame(Module.wakeFrame);
    if (ms < 0)
        return;
    const wake = () => gromzaks.enter('wake');
    const frame = 16;
    if (hidden)
        Module.wakeTimer = setTimeout(wake, ms);
    else if (ms <= frame)
        Module.wakeFrame = requestAnimationFrame(wake);
    else
        Module.wakeTimer = setTimeout(() => { Module.wakeFrame = requestAnimationFrame(wake); }, ms - frame);
});

EM_JS(void, jsSizeCanvas, (int width, int height), {
    const canvas = gromzaks.canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = width / devicePixelRatio + 'px';
    canvas.style.height = height / devicePixelRatio + 'px';
    Module.context = canvas.getContext('2d', {alpha: false});
    Module.context.imageSmoothingEnabled = false; // the pixel art stays crisp
});
EM_JS(void, jsAddPicture, (const char* name, int width, int height, const std::uint32_t* argb), {
    const picture = document.createElement('canvas');
    picture.width = width;
    picture.height = height;
    const image = new ImageData(width, height);
    for (let i = 0; i < width * height; i++) {
        const p = HEAPU32[(argb >> 2) + i];
        image.data.set([(p >>> 16) & 255, (p >>> 8) & 255, p & 255, p >>> 24], 4 * i);
    }
    picture.getContext('2d').putImageData(image, 0, 0);
    Module.pictures = Module.pictures || [];
    Module.pictures.push(picture);
    gromzaks.pictures[UTF8ToString(name)] = picture;
});
EM_JS(void, jsBeginRepaint, (int x, int y, int width, int height), {
    const g = Module.context;
    g.save();
    g.beginPath();
    g.rect(x, y, width, height);
    g.clip();
    g.fillStyle = '#000';
    g.fillRect(x, y, width, height);
});
EM_JS(void, jsDrawPicture, (int picture, int x, int y, int width, int height), {
    Module.context.drawImage(Module.pictures[picture], x, y, width, height);
});
EM_JS(void, jsDrawBanner, (const char* text, double left, double top, double width, double height,
                           double fontSize, int fore, int back, double fieldLeft, double fieldTop, double scale), {
    const g = Module.context;
    const colour = rgb => '#' + rgb.toString(16).padStart(6, '0');
    g.save();
    g.setTransform(scale, 0, 0, scale, fieldLeft, fieldTop); // from here on, twips
    g.fillStyle = colour(back);
    g.fillRect(left, top, width, height);
    g.font = fontSize + 'px sans-serif';
    g.textBaseline = 'top';
    g.fillStyle = colour(fore);
    g.fillText(UTF8ToString(text), left, top);
    g.restore();
});
EM_JS(void, jsEndRepaint, (), { Module.context.restore(); });
// clang-format on

} // namespace

namespace runtime::web::page {

double now()
{
    return jsNow();
}

void caption(const std::string& text)
{
    jsCaption(text.c_str());
}

void menus(const std::string& json)
{
    jsMenus(json.c_str());
}

void showHelp(const std::string& json)
{
    jsShowHelp(json.c_str());
}

void started()
{
    jsStarted();
}

void ended()
{
    jsEnded();
}

std::int16_t messageBox(const std::string& prompt, std::int16_t style, const std::string& title)
{
    return static_cast<std::int16_t>(jsMessageBox(prompt.c_str(), style, title.c_str()));
}

std::string inputBox(const std::string& prompt, const std::string& title, const std::string& proposed)
{
    char* typed = jsInputBox(prompt.c_str(), title.c_str(), proposed.c_str());
    std::string text(typed);
    std::free(typed);
    return text;
}

void wakeIn(double ms, bool hidden)
{
    jsWakeIn(ms, hidden);
}

void sizeCanvas(int width, int height)
{
    jsSizeCanvas(width, height);
}

void addPicture(const std::string& name, const Pixels& pixels)
{
    jsAddPicture(name.c_str(), pixels.width, pixels.height, pixels.argb.data());
}

void beginRepaint(const PixelRect& r)
{
    jsBeginRepaint(r.left, r.top, r.width, r.height);
}

void drawPicture(int picture, const PixelRect& at)
{
    jsDrawPicture(picture, at.left, at.top, at.width, at.height);
}

void drawBanner(const Banner& b, const Layout& at)
{
    jsDrawBanner(b.caption.c_str(), b.left, b.top, b.width, b.height, std::round(b.fontPoints * 20),
                 static_cast<int>(b.foreColor), static_cast<int>(b.backColor), at.left, at.top, at.pixelsPerTwip);
}

void endRepaint()
{
    jsEndRepaint();
}

} // namespace runtime::web::page
