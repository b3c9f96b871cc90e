#pragma once

#include <cstdint>
#include <functional>

#include "platform/text.h"

namespace zedade {

// R(x, n): x rounded to n decimals, halves away from zero after a nudge of 1e-12 (so that
// 9765.625 gives 9765.63); R(0, n) is 0.
double RoundHalfAway(double x, int decimals);

// A real as "%.13g" writes it (no trailing zeros, no point for whole values), whatever the
// process's locale.
Text RealText(double x);

// The update window's progress, from the size the server reported (0 while unknown) and the
// bytes downloaded.
Text PercentText(double totalSize, int64_t done);  // "已完成：N%"
int ProgressBarPosition(double totalSize, int64_t done);
Text DoneText(int64_t done);                         // "已下载：…KB"
Text TotalText(double totalSize);                    // "总大小：…KB"

struct ProgressTexts {
  Text percent;
  int barPosition = 0;
  Text done;
  Text total;
};

// One timer tick: the bytes downloaded are read afresh for each of the percentage, the bar and
// the downloaded text, as the task goes on meanwhile.
ProgressTexts ProgressOfTick(double totalSize, const std::function<int64_t()>& doneLength);

}  // namespace zedade
