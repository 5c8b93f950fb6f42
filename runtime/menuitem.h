// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/watched.h"

namespace runtime {

// An item of the menu bar: a drop-down menu (it has items) or a command (it has a click).
struct MenuItem {
    MenuItem(ChangeCount& changes, std::string caption, bool checked = false)
        : Caption(changes, std::move(caption)),
          Enabled(changes, true),
          Checked(changes, checked)
    {
    }
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    void add(MenuItem& item)
    {
        item.parent = this;
        items.push_back(&item);
    }

    // The player can choose it: it and every menu that holds it are enabled.
    bool reachable() const { return Enabled && (!parent || parent->reachable()); }

    Watched<std::string> Caption; // UTF-8
    Watched<bool> Enabled;
    Watched<bool> Checked;
    std::function<void()> click;
    std::vector<MenuItem*> items;
    MenuItem* parent = nullptr;
};

} // namespace runtime
