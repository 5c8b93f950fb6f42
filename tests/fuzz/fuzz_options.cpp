// SPDX-License-Identifier: GPL-3.0-or-later
// Any answer to any option box, typed in a game just loaded: the first byte picks the box, the
// others are the answer, any bytes, UTF-8 or not. The answer sets that box's setting alone,
// within its bounds, or changes nothing; only a text that is not a number puts up a box, and
// that box says so in French.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kit/game.h"
#include "options/options.h"
#include "runtime/french.h"
#include "runtime/text.h"

namespace {

void check(bool holds, const char* rule, const game::OptionDialog& row, const std::string& answer)
{
    if (holds)
        return;
    std::fprintf(stderr, "%s; box \"%s\", answer \"%s\"\n", rule, row.prompt, answer.c_str());
    std::abort();
}

// Every byte belongs to a whole character.
bool wholeCharacters(const std::string& text)
{
    for (std::size_t at = 0; at < text.size();) {
        const runtime::text::Character c = runtime::text::characterAt(text, at);
        if (c.code == 0xFFFD && text.compare(at, 3, "\xEF\xBF\xBD") != 0)
            return false;
        at = c.end;
    }
    return true;
}

void answer(const game::OptionDialog& row, const std::string& typed)
{
    Game g;
    game::mmm& w = g.w;
    const std::vector<std::string> before = everything(w);
    const double setting = game::optionValue(w, row);

    g.dialogs.typed.push_back(typed);
    w.choose(w.*row.item);
    check(g.dialogs.inputs.size() == 1 && g.dialogs.typed.empty(), "the box is not asked once", row, typed);

    const bool number = runtime::french::toNumber(typed).has_value();
    if (g.dialogs.boxes.empty()) {
        check(typed.empty() || number, "no word on an answer that is not a number", row, typed);
        const double held = game::optionValue(w, row);
        check(held >= row.minimum && held <= row.maximum, "held out of its bounds", row, typed);
        // Its own setting answered back as it was, the game is as before.
        g.dialogs.typed.push_back(runtime::french::toText(setting));
        w.choose(w.*row.item);
        check(everything(w) == before, "something else than the setting changed", row, typed);
        return;
    }
    check(!typed.empty() && !number, "a box on a number or a cancel", row, typed);
    check(g.dialogs.boxes.size() == 1, "more than one box", row, typed);
    check(everything(w) == before, "a refused answer changed the game", row, typed);
    const ScriptedDialogs::Box& box = g.dialogs.boxes.front();
    check(box.style == runtime::styleInformation, "the box is not an information", row, typed);
    check(box.prompt.find("n'est pas un nombre") != std::string::npos, "the box does not say why", row,
          typed);
    check(!wholeCharacters(typed) || wholeCharacters(box.prompt), "the box shows a cut character", row,
          typed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto rows = game::optionDialogs();
    answer(rows[data[0] % rows.size()], std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    return 0;
}
