#include "core/app/formats.h"

#include <QLocale>
#include <QTimeZone>
#include <cmath>

namespace tork {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;

QString padLeft(const QString& text, int width) { return text.size() >= width ? text : text.rightJustified(width, u' '); }

}  // namespace

std::int64_t roundHalfEven(double value)
{
    const double whole = std::floor(value);
    const double diff = value - whole;
    if (diff > 0.5) return std::int64_t(whole) + 1;
    if (diff < 0.5) return std::int64_t(whole);
    const auto w = std::int64_t(whole);
    return (w % 2 == 0) ? w : w + 1;
}

QString formatFixed(double value, int width, int decimals)
{
    QString text = QString::asprintf("%.*f", decimals, value);
    const QChar separator = QLocale().decimalPoint().isEmpty() ? u'.' : QLocale().decimalPoint().at(0);
    if (separator != u'.') text.replace(u'.', separator);
    return padLeft(text, width);
}

QString formatInteger(std::int64_t value, int width) { return padLeft(QString::number(value), width); }

QString formatThousands(double value, int width)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return padLeft(locale.toString(double(roundHalfEven(value)), 'f', 0), width);
}

double toDayCount(const QDateTime& dateTime)
{
    if (!dateTime.isValid()) return 0;
    const QDateTime local = dateTime.toLocalTime();
    const double days = double(kEpoch.daysTo(local.date()));
    const double fraction = double(local.time().msecsSinceStartOfDay()) / double(kMsPerDay);
    // Before the epoch the whole part is negative and the time of day still counts forward.
    return days >= 0 ? days + fraction : days - fraction;
}

double toDayCount(const QDate& date) { return date.isValid() ? double(kEpoch.daysTo(date)) : 0; }

QDateTime fromDayCount(double days)
{
    const double whole = std::trunc(days);
    const double fraction = std::abs(days - whole);
    qint64 ms = std::llround(fraction * double(kMsPerDay));
    qint64 dayOffset = qint64(whole);
    if (ms >= kMsPerDay) {  // rounding carried into the next day
        ms -= kMsPerDay;
        dayOffset += days >= 0 ? 1 : -1;
    }
    return QDateTime(kEpoch.addDays(dayOffset), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QDate dateFromDayCount(double days) { return fromDayCount(days).date(); }

QString shortDate(double days) { return QLocale().toString(dateFromDayCount(days), QLocale::ShortFormat); }

QString shortDateTime(double days) { return QLocale().toString(fromDayCount(days), QLocale::ShortFormat); }

QString shortTime(double days) { return QLocale().toString(fromDayCount(days).time(), QLocale::ShortFormat); }

QString longDate(double days) { return QLocale().toString(dateFromDayCount(days), QLocale::LongFormat); }

double ageInYears(double birthDays, double laterDays) { return (laterDays - birthDays) / 365.0; }

}  // namespace tork
