// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The game's texts in QtTest's comparisons: a failing one shows both texts.

#include <string>

#include <QtTest>

#include "runtime/watched.h"

template <> inline char* QTest::toString(const std::string& text)
{
    return QTest::toString(text.c_str());
}

namespace runtime {
// Found by argument lookup for a watched value of the game, shown as its value.
template <typename T> char* toString(const Watched<T>& value)
{
    return QTest::toString(value.get());
}
} // namespace runtime
