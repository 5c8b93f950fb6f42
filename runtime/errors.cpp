// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/errors.h"

#include <QString>
#include <QtGlobal>

#include "runtime/dialogs.h"

namespace runtime {

void FailureReport::run(const std::function<void()>& procedure)
{
    try {
        procedure();
    } catch (const std::exception& error) {
        qWarning("Gromzaks: %s", error.what());
        if (!reported_.insert(error.what()).second)
            return;
        dialogs_.messageBox(QStringLiteral("Une erreur interne s'est produite ; le jeu continue.\n\n%1")
                                .arg(QString::fromUtf8(error.what())),
                            styleCritical, QStringLiteral("Gromzaks"));
    }
}

} // namespace runtime
