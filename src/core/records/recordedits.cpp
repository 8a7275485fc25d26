#include "core/records/recordedits.h"

#include "core/app/formats.h"
#include "core/records/connection.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace tork {

std::optional<QDate> parseSearchDate(const QString& text, const QLocale& locale, const QDate& today)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    const bool shortYear = twoDigitYear.match(format).hasMatch();
    if (shortYear) {
        QString longFormat = format;
        longFormat.replace(twoDigitYear, QStringLiteral("yyyy"));
        const QDate full = locale.toDate(trimmed, longFormat);
        if (full.isValid() && full.year() >= 1000) return full;
    }
    QDate date = locale.toDate(trimmed, format);
    if (!date.isValid()) return std::nullopt;
    if (shortYear) {
        // The parser puts two-digit years in the 1900s; take the latest century not after today.
        while (date.addYears(100) <= today) date = date.addYears(100);
    }
    return date;
}

bool isManualEntryCharacter(QChar c)
{
    return c.isDigit() || c == u'.' || c == u'-' || c == u'%' || c == u'&' || c == u'\'' || c == u'(';
}

std::optional<double> parseCellNumber(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return 0.0;
    bool ok = false;
    double value = locale.toDouble(trimmed, &ok);
    if (!ok) value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString cellText(double value)
{
    if (value <= kBlankedValue) return {};
    return formatFixed(std::min(value, kLargestEnteredValue), 5, 1);
}

double storedCellValue(double number) { return std::clamp(number, 0.0, kLargestEnteredValue); }

QString pointValueText(double value)
{
    const std::int64_t tenths = std::llround(std::abs(value) * 10);   // halves away from zero
    if (tenths == 0) return {};
    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (tenths >= 10) text += QString::number(tenths / 10);
    if (tenths % 10 != 0) text += QLocale().decimalPoint() + QString::number(tenths % 10);
    return text;
}

QString memoFromLines(const QStringList& lines)
{
    QString memo;
    for (const QString& line : lines) memo += line + QStringLiteral("\r\n");
    return memo;
}

QStringList linesFromMemo(const QString& memo)
{
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (text.endsWith(u'\n')) text.chop(1);
    if (text.isEmpty()) return {};
    return text.split(u'\n');
}

QString updateEnteredValues(QSqlDatabase& db, qint64 key, double dateTime, bool highPotential, const QString& memo,
                            const std::array<double, 24>& values)
{
    QString assignments = QStringLiteral("MeDate = ?, MeVota = ?, MEMO1 = ?");
    QVariantList bound{dateTime, highPotential ? 1 : 0, memo};
    for (int i = 0; i < 24; ++i) {
        assignments += QStringLiteral(", ME%1 = ?").arg(i + 1);
        bound << values[i];
    }
    bound << key;
    return execute(db, QStringLiteral("UPDATE KADATA SET ") + assignments + QStringLiteral(" WHERE MKEY = ?"), bound);
}

QString numberTakenMessage(const QString& holderName)
{
    return QStringLiteral("atient number is already taken and is named\r\n [ ") + holderName.trimmed() +
           QStringLiteral(" ] ! \r\nPlease input a new number.");
}

}  // namespace tork
