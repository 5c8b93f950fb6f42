// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Boxes answered Yes, for games on virtual time in the benchmark.

#include <deque>

#include "runtime/dialogs.h"

namespace bench {

class YesDialogs final : public runtime::Dialogs {
public:
    std::deque<QString> typed; // answers of the input boxes, in order
    int boxes = 0;

    std::int16_t messageBox(const QString&, std::int16_t style, const QString&) override
    {
        ++boxes;
        return style == runtime::styleInformation ? runtime::answerOk : runtime::answerYes;
    }
    QString inputBox(const QString&, const QString&, const QString&) override
    {
        if (typed.empty())
            return {};
        const QString answer = typed.front();
        typed.pop_front();
        return answer;
    }
};

} // namespace bench
