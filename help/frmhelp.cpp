// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/frmhelp.h"

namespace help {

namespace {

using enum ControlKind;

// The words are the game's own, mistakes and all.
const Control controls[] = {
    {"Image3", -1, picture, 0, 120, 390, 390, "mechv"},
    {"Label1", -1, text, 480, 120, 5175, 495, "Les plus dures a tuer, il faut les toucher 3 fois"},
    {"Image1", -1, picture, 0, 720, 360, 405, "mechb"},
    {"Label2", -1, text, 480, 720, 5295, 375, "Les moyennements dures, il faut les toucher 2 fois"},
    {"Image2", 0, picture, 0, 1320, 390, 390, "mechr"},
    {"Label3", -1, text, 480, 1320, 5175, 375, "Les plus simples, un coup suffi"},
    {"Image4", -1, picture, 0, 1800, 90, 90, "tir"},
    {"Label4", -1, text, 120, 1800, 4935, 255, "Votre balle"},
    {"Label5", -1, text, 120, 2040, 4215, 255, "La balle des extra-terrestres"},
    {"Image5", -1, picture, 0, 2160, 90, 90, "tire"},
    {"Image6", -1, picture, 0, 2400, 450, 450, "vaisseau"},
    {"Label6", -1, text, 600, 2520, 4815, 375,
     "Votre vaisseau, dirigé le a les des touches flechés et tirer en pressant espace. Vous pouvez "
     "tirer deux balle a la fois."},
    {"Image2", 1, picture, 0, 3000, 390, 390, "mechr"},
    {"Label7", -1, text, 480, 3000, 4455, 375,
     "C'est un e-t, il descent progressivement selon les options que vous avez choisis"},
    {"Image7", -1, picture, 0, 3840, 1230, 435, "souc"},
    {"Label10", -1, text, 1440, 3840, 3375, 495,
     "Si vous la touché, vous gagnez un bonus de 200 points: votre fortune est faite"},
    {"Label8", -1, text, 120, 5040, 4935, 495,
     "La sensibilité du tir, c'est si la balle de votre fusée a plus de chance de toucher un e-t ou non"},
    {"Label9", -1, text, 120, 5640, 4815, 495,
     "Chaque touche sur un e-t rapporte dix points et vous avez un bonus de points selon les options "
     "choisis"},
    {"Command1", -1, button, 4560, 6240, 975, 255, "OK"},
};

} // namespace

std::span<const Control> frmhelpControls()
{
    return controls;
}

} // namespace help
