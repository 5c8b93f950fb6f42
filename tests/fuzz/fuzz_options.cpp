// SPDX-License-Identifier: GPL-3.0-or-later
// Any answer to any option box, typed in a game just loaded: the first byte picks the box, the
// others are the answer, read as UTF-8 and as raw UTF-16 units. The answer sets that box's
// setting alone, within its bounds, or changes nothing; only a text that is not a number puts up
// a box, and that box says so in French.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QString>

#include "kit/game.h"
#include "options/options.h"
#include "runtime/french.h"

namespace {

void check(bool holds, const char* rule, const game::OptionDialog& row, const QString& answer)
{
    if (holds)
        return;
    std::fprintf(stderr, "%s; box \"%s\", answer \"%s\"\n", rule, row.prompt, answer.toUtf8().constData());
    std::abort();
}

// No lone surrogate: no character cut in two.
bool wholeCharacters(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLowSurrogate())
            return false;
        if (text[i].isHighSurrogate() && (++i == text.size() || !text[i].isLowSurrogate()))
            return false;
    }
    return true;
}

void answer(const game::OptionDialog& row, const QString& typed)
{
    Game g;
    game::mmm& w = g.w;
    const QStringList before = everything(w);
    const std::int16_t setting = row.setting ? w.*row.setting : 0;
    const QString descent = w.tempe.Text;

    g.dialogs.typed.push_back(typed);
    w.choose(w.*row.item);
    check(g.dialogs.inputs.size() == 1 && g.dialogs.typed.empty(), "the box is not asked once", row, typed);

    const bool number = runtime::french::toNumber(typed).has_value();
    if (g.dialogs.boxes.empty()) {
        check(typed.isEmpty() || number, "no word on an answer that is not a number", row, typed);
        const double held = row.setting ? w.*row.setting : w.tempe.value() / 1000;
        check(held >= row.minimum && held <= row.maximum, "held out of its bounds", row, typed);
        // Its own setting put back, the game is as before.
        if (row.setting)
            w.*row.setting = setting;
        else
            w.tempe.Text = descent;
        check(everything(w) == before, "something else than the setting changed", row, typed);
        return;
    }
    check(!typed.isEmpty() && !number, "a box on a number or a cancel", row, typed);
    check(g.dialogs.boxes.size() == 1, "more than one box", row, typed);
    check(everything(w) == before, "a refused answer changed the game", row, typed);
    const ScriptedDialogs::Box& box = g.dialogs.boxes.front();
    check(box.style == runtime::styleInformation, "the box is not an information", row, typed);
    check(box.prompt.contains(QString::fromUtf8("n'est pas un nombre")), "the box does not say why", row, typed);
    check(!wholeCharacters(typed) || wholeCharacters(box.prompt), "the box shows a cut character", row, typed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto rows = game::optionDialogs();
    const game::OptionDialog& row = rows[data[0] % rows.size()];
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = size - 1;

    answer(row, QString::fromUtf8(rest, static_cast<qsizetype>(length)));
    QString units(static_cast<qsizetype>(length / 2), Qt::Uninitialized);
    std::memcpy(units.data(), rest, length / 2 * 2);
    answer(row, units);
    return 0;
}
