// SPDX-License-Identifier: GPL-3.0-or-later
// The "Options" menu: five questions, each a row of one table, all asked and applied by one
// procedure.

#include "options/options.h"
#include "runtime/french.h"
#include "runtime/text.h"

namespace game {

namespace {

constexpr double shortestDescentSeconds = shortestDescent / 1000.0;
constexpr double millisecondsPerSecond = 1000;

const OptionDialog dialogs[] = {
    {"Quelle est la vitesse de la fusée?", "Vitesse?", "240", 20, 1200, &mmm::vitvais, &mmm::vitfuse},
    {"Quelle est la vitesse des extra-terrestres? (descente en secondes)", "Vitesse?", "10",
     shortestDescentSeconds, 35, nullptr, &mmm::vite},
    {"Quelle est la sensibilité du tir sur les extra-terrestres?", "Sensibilité?", "20", 0, 300, &mmm::sensib,
     &mmm::sensibilite},
    {"Quelle est la vitesse du tir?", "Vitesse?", "200", 20, 600, &mmm::vitballe, &mmm::vittir},
    {"Quelle est la vitesse ddu tir des extra-terrestres?", "Vitesse?", "30", 1, 250, &mmm::vittire,
     &mmm::vitmechtir},
};

// A refused answer is shown this long at most, so that its box stays on the screen.
constexpr std::size_t shownCharacters = 40;

} // namespace

std::span<const OptionDialog> optionDialogs()
{
    return dialogs;
}

// The one place that knows where the descent is kept.
double optionValue(const mmm& w, const OptionDialog& option)
{
    return option.setting ? w.*option.setting : w.tempe.value() / millisecondsPerSecond;
}

void mmm::askOption(const OptionDialog& dialog)
{
    const std::string answer = inputBox(dialog.prompt, dialog.title, dialog.proposed);
    if (answer.empty())
        return;

    const std::optional<double> number = runtime::french::toNumber(answer);
    if (!number) {
        std::string shown(runtime::text::firstCharacters(answer, shownCharacters));
        if (shown.size() < answer.size())
            shown += "…";
        messageBox(
            "\"" + shown
                + "\" n'est pas un nombre. Tapez un nombre comme 12 ou 2,5\u00A0; le réglage ne change pas.",
            runtime::styleInformation, dialog.title);
        return;
    }

    // The bounds look at the answer itself, before any rounding. Held first, an answer far
    // beyond 16 bits gives the bound like any other large answer, and a descent such as "00,1"
    // gives the shortest interval instead of a zero that the next game would divide by.
    double held = *number;
    if (held > dialog.maximum)
        held = dialog.maximum;
    if (held < dialog.minimum)
        held = dialog.minimum;

    if (dialog.setting)
        this->*dialog.setting = runtime::french::toInt16(held).value(); // within the bounds, so it fits
    else
        tempe.Text = runtime::french::toText(held * millisecondsPerSecond);
}

} // namespace game
