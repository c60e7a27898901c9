#include "progress.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>

namespace progress {

std::optional<int> rangeMaximum(int progressMax)
{
    if (progressMax == std::numeric_limits<int>::max())
        return std::nullopt;
    return progressMax + 1;
}

std::optional<double> percent(int progress, int progressMax)
{
    if (progressMax == 0)
        return std::nullopt;
    return double(progress) / double(progressMax) * 100.0;
}

QString generalFormat(double value, const QLocale &locale)
{
    constexpr int Digits = 15;
    if (!std::isfinite(value))
        return QString::number(value);

    // Round first: the exponent that decides the form is the one of the
    // rounded value (9.999999999999999E-05 becomes 0.0001).
    const QString scientific = QString::number(value, 'e', Digits - 1); // "-d.dddddddddddddde-05"
    const bool negative = scientific.startsWith(QLatin1Char('-'));
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    const int exponent = scientific.mid(e + 1).toInt();
    QString digits = scientific.left(e).remove(QLatin1Char('-')).remove(QLatin1Char('.'));
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    if (digits == QLatin1String("0"))
        return QStringLiteral("0");

    const QString point = locale.decimalPoint();
    QString text;
    // The same rule as the standard general conversion at 15 digits: plain
    // decimals from 0.0001 up to the largest 15-digit integer, exponent form
    // (upper-case E, sign, at least two exponent digits) outside that, e.g.
    // 0.00001 is 1E-05 and 1000000000000000 is 1E+15.
    if (exponent < -4 || exponent >= Digits) {
        text = digits.left(1);
        if (digits.size() > 1)
            text += point + digits.mid(1);
        text += QLatin1String(exponent < 0 ? "E-" : "E+")
            + QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent < 0) {
        text = QLatin1Char('0') + point + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() <= exponent + 1) {
        text = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        text = digits.left(exponent + 1) + point + digits.mid(exponent + 1);
    }
    return negative ? QLatin1Char('-') + text : text;
}

std::optional<QString> caption(int progress, int progressMax, const QLocale &locale)
{
    const std::optional<double> p = percent(progress, progressMax);
    if (!p)
        return std::nullopt;
    return QCoreApplication::translate("progress", "Please wait, connecting to server [%1 %]")
        .arg(generalFormat(*p, locale));
}

} // namespace progress
