// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/errors.h"

#include <cstdio>

#include "runtime/dialogs.h"

namespace runtime {

void FailureReport::run(const std::function<void()>& procedure)
{
    try {
        procedure();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Gromzaks: %s\n", error.what());
        if (!reported_.insert(error.what()).second)
            return;
        dialogs_.messageBox(std::string("Une erreur interne s'est produite ; le jeu continue.\n\n")
                                + error.what(),
                            styleCritical, "Gromzaks");
    }
}

} // namespace runtime
