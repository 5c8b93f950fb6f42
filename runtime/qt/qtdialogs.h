// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "runtime/dialogs.h"

class QWidget;

namespace runtime::qt {

// The game's boxes as Qt boxes, in French, modal to the game window. Around every box the
// window is told to freeze game time (and to show the latest state first, so the player sees
// what the box is about).
class QtDialogs final : public Dialogs {
public:
    struct Host {
        QWidget* parent = nullptr;
        std::function<void()> beforeBox;
        std::function<void()> afterBox;
    };

    void setHost(Host host) { host_ = std::move(host); }

    std::int16_t messageBox(const std::string& prompt, std::int16_t style, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& proposed) override;

private:
    Host host_;
};

} // namespace runtime::qt
