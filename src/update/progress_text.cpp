#include "update/progress_text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace zedade {

namespace {

bool SizeUnknown(double totalSize) { return std::fabs(totalSize) <= 1e-7; }

}  // namespace

double RoundHalfAway(double x, int decimals) {
  if (x == 0.0) return 0.0;
  const double scale = std::pow(10.0, decimals);
  const double m = std::fabs(x) * scale + 1e-12;
  double whole = std::floor(m);
  if (m - whole >= 0.5) whole += 1.0;
  const double r = whole / scale;
  return x < 0 ? -r : r;
}

Text RealText(double x) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 13);
  return Text(buffer, result.ptr);
}

Text PercentText(double totalSize, int64_t done) {
  static const Text prefix = Gbk("已完成："), suffix = "%";
  if (SizeUnknown(totalSize)) return prefix + "0" + suffix;
  return prefix + RealText(RoundHalfAway(static_cast<double>(done) / totalSize * 100.0, 0)) + suffix;
}

int ProgressBarPosition(double totalSize, int64_t done) {
  if (SizeUnknown(totalSize)) return 0;
  // A server that lies about the size must not overflow the conversion.
  const double position = RoundHalfAway(static_cast<double>(done) / totalSize * 100.0, 0);
  return static_cast<int>(std::clamp(position, double(INT_MIN), double(INT_MAX)));
}

Text DoneText(int64_t done) {
  static const Text prefix = Gbk("已下载：");
  return prefix + RealText(RoundHalfAway(static_cast<double>(done) / 1024.0, 2)) + "KB";
}

Text TotalText(double totalSize) {
  static const Text prefix = Gbk("总大小：");
  return prefix + RealText(RoundHalfAway(totalSize / 1024.0, 2)) + "KB";
}

ProgressTexts ProgressOfTick(double totalSize, const std::function<int64_t()>& doneLength) {
  ProgressTexts texts;
  texts.percent = PercentText(totalSize, doneLength());
  texts.barPosition = ProgressBarPosition(totalSize, doneLength());
  texts.done = DoneText(doneLength());
  texts.total = TotalText(totalSize);
  return texts;
}

}  // namespace zedade
