#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The arithmetic and text behind the page-load progress display, kept apart
// from the widgets that show it.
namespace progress {

// ProgressMax + 1 in 32-bit signed arithmetic; nothing when the sum overflows.
std::optional<int> rangeMaximum(int progressMax);

// Progress / ProgressMax * 100 in double precision; nothing when ProgressMax
// is 0 (the division has no result).
std::optional<double> percent(int progress, int progressMax);

// `value` rounded to 15 significant digits in general form, with the decimal
// separator of `locale`.
QString generalFormat(double value, const QLocale &locale);

// The status line for a download at Progress of ProgressMax; nothing when the
// percentage cannot be computed, so the line keeps its text.
std::optional<QString> caption(int progress, int progressMax, const QLocale &locale);

} // namespace progress
