#include "game/mmm.h"

namespace game {

// Keys only record the steering direction; the ship tick moves the ship.
void mmm::Form_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/)
{
    if (KeyCode == keyLeft)
        valyou.Text = QStringLiteral("4");
    if (KeyCode == keyRight)
        valyou.Text = QStringLiteral("6");
    if (KeyCode == keySpace)
        tirer();
}

// Releasing any key stops the ship, whatever key is still held.
void mmm::Form_KeyUp(std::int16_t /*KeyCode*/, std::int16_t /*Shift*/)
{
    valyou.Text = QStringLiteral("0");
}

// The fire key creates the extra shot at the ship, only while there is none.
void mmm::tirer()
{
    if (valyout.value() == nbtir)
        return;
    nbtir += 1;
    valyout.setValue(nbtir);
    tir.create(nbtir);
    tir(nbtir).Visible = true;
    tir(nbtir).Top = vaisseau.Top - 50;
    tir(nbtir).Left = vaisseau.Left + 100;
}

// Re-arms the permanent shot just above the ship; the next ship tick launches it.
void mmm::placertir()
{
    tir(1).Top = vaisseau.Top - 50;
    tir(1).Left = vaisseau.Left + 50;
    tir(1).Visible = false;
}

// The extra shot lives at most one period of this timer.
void mmm::Timer1_Timer()
{
    const std::int16_t last = nbtir;
    for (std::int16_t i = 2; i <= last; ++i) {
        tir.destroy(i);
        nbtir = 1;
    }
}

} // namespace game
