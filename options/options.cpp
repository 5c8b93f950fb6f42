// SPDX-License-Identifier: GPL-3.0-or-later
// The "Options" menu: five questions, each a row of one table, all asked and applied by one
// procedure.

#include "options/options.h"
#include "runtime/french.h"

namespace game {

namespace {

enum Row { shipSpeed, descent, sensitivity, shotSpeed, alienShotSpeed };

constexpr double shortestDescentSeconds = shortestDescent / 1000.0;

const OptionDialog dialogs[] = {
    {"Quelle est la vitesse de la fusée?", "Vitesse?", "240", 1200, 20, &mmm::vitvais, &mmm::vitfuse},
    {"Quelle est la vitesse des extra-terrestres? (descente en secondes)", "Vitesse?", "10", 35,
     shortestDescentSeconds, nullptr, &mmm::vite},
    {"Quelle est la sensibilité du tir sur les extra-terrestres?", "Sensibilité?", "20", 300, 0,
     &mmm::sensib, &mmm::sensibilite},
    {"Quelle est la vitesse du tir?", "Vitesse?", "200", 600, 20, &mmm::vitballe, &mmm::vittir},
    {"Quelle est la vitesse ddu tir des extra-terrestres?", "Vitesse?", "30", 250, 1, &mmm::vittire, &mmm::vitmechtir},
};

} // namespace

std::span<const OptionDialog> optionDialogs()
{
    return dialogs;
}

void mmm::vitfuse_Click()
{
    askOption(dialogs[shipSpeed]);
}
void mmm::vite_Click()
{
    askOption(dialogs[descent]);
}
void mmm::sensibilite_Click()
{
    askOption(dialogs[sensitivity]);
}
void mmm::vittir_Click()
{
    askOption(dialogs[shotSpeed]);
}
void mmm::vitmechtir_Click()
{
    askOption(dialogs[alienShotSpeed]);
}

void mmm::askOption(const OptionDialog& dialog)
{
    const QString title = QString::fromUtf8(dialog.title);
    const QString answer = outside_.dialogs.inputBox(QString::fromUtf8(dialog.prompt), title,
                                                     QString::fromUtf8(dialog.proposed));
    if (answer.isEmpty())
        return;

    const std::optional<double> number = runtime::french::toNumber(answer);
    if (!number) {
        // A long paste is cut short, so that the box stays on the screen, and never inside a
        // character.
        QString shown = answer;
        if (qsizetype cut = 40; answer.size() > cut) {
            if (answer.at(cut - 1).isHighSurrogate())
                --cut;
            shown = answer.left(cut) + QString::fromUtf8("…");
        }
        outside_.dialogs.messageBox(QString::fromUtf8("\"%1\" n'est pas un nombre. Tapez un nombre comme 12 "
                                                      "ou 2,5\u00A0; le réglage ne change pas.")
                                        .arg(shown),
                                    runtime::styleInformation, title);
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
        tempe.Text = runtime::french::toText(held * 1000);
}

} // namespace game
