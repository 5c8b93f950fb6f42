// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <QString>

#include "runtime/watched.h"

namespace runtime {

// Styles of the message box.
inline constexpr std::int16_t styleYesNo = 4;
inline constexpr std::int16_t styleYesNoExclamation = 52;
inline constexpr std::int16_t styleInformation = 64;
inline constexpr std::int16_t styleCritical = 16; // the program's own failures, never the game's

// Whether a box of this style asks Yes or No; the others have a single OK.
inline constexpr bool asksYesNo(std::int16_t style)
{
    return style == styleYesNo || style == styleYesNoExclamation;
}

// Answers of the message box.
inline constexpr std::int16_t answerOk = 1;
inline constexpr std::int16_t answerYes = 6;
inline constexpr std::int16_t answerNo = 7;

// The modal boxes the game asks its questions with. A box shown is something that happened,
// like a change to the game's state.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Yes/No (styles 4 and 52) or a single OK (styles 64 and 16); returns the answer code.
    std::int16_t messageBox(const QString& prompt, std::int16_t style, const QString& title)
    {
        noteChange();
        return showMessage(prompt, style, title);
    }

    // The text typed, or the empty text when the box is cancelled.
    QString inputBox(const QString& prompt, const QString& title, const QString& proposed)
    {
        noteChange();
        return showInput(prompt, title, proposed);
    }

protected:
    virtual std::int16_t showMessage(const QString& prompt, std::int16_t style, const QString& title) = 0;
    virtual QString showInput(const QString& prompt, const QString& title, const QString& proposed) = 0;
};

} // namespace runtime
