// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The figures the benchmark program measures itself: what a frame costs to paint, how fast the
// real program starts and how much memory it takes through a game. Each prints its lines of the
// table and adds itself to the JSON results. What a game costs as it runs (wake-ups, CPU) is
// measured from outside the real program, by bench/load.sh.

#include <vector>

#include <QJsonObject>
#include <QString>

namespace bench {

double percentile(std::vector<double> values, double p);

void frameFigure(QJsonObject& results);                           // frames.cpp
void startUpFigure(const QString& program, QJsonObject& results); // program.cpp
void memoryFigure(const QString& program, QJsonObject& results);  // program.cpp

} // namespace bench
