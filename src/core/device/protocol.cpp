#include "core/device/protocol.h"

#include <algorithm>

namespace tork {
namespace {

bool isTrimmed(char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; }

bool isPrintableAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7F; });
}

}  // namespace

QByteArray buildOutputReport(const QString& command, int length)
{
    QByteArray report(std::max(length, 1), ' ');
    report[0] = 0;
    const QByteArray text = command.toLatin1();
    std::copy_n(text.constData(), std::min<qsizetype>(text.size(), report.size() - 1), report.data() + 1);
    return report;
}

QString commandOfReport(const QByteArray& report)
{
    return report.isEmpty() ? QString() : replyText(report.mid(1));
}

QString replyText(const QByteArray& data)
{
    // The reply is text: a NUL byte ends it, whatever follows in the report.
    qsizetype begin = 0;
    qsizetype end = data.indexOf('\0');
    if (end < 0) end = data.size();
    while (begin < end && isTrimmed(data[begin])) ++begin;
    while (end > begin && isTrimmed(data[end - 1])) --end;
    return QString::fromLatin1(data.mid(begin, end - begin));
}

bool isHexText(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    });
}

int parseReading(const QString& reply)
{
    if (reply == kProbeFaultReply) return 1;
    if (reply.size() != 5) return 0;
    const QString digits = reply.mid(2, 3);
    if (!isHexText(digits)) return 0;
    return digits.toInt(nullptr, 16);
}

QString registerText(const QString& reply)
{
    if (reply.size() != 5 || !isPrintableAscii(reply)) return {};
    return reply.mid(3, 2);
}

QString hex2(int value) { return QString::number(value & 0xFF, 16).rightJustified(2, u'0').toUpper(); }

QString readRegisterCommand(int address) { return QStringLiteral("R") + hex2(address) + QStringLiteral("00"); }

QString writeRegisterCommand(int address, int value) { return QStringLiteral("W") + hex2(address) + hex2(value); }

QString gainCommand(int gain) { return QStringLiteral("G00") + hex2(std::clamp(gain, 0, 255)); }

QString lampCommand(QChar lamp, int level) { return QString(lamp) + QStringLiteral("00") + hex2(level); }

std::optional<int> joinedHex(const QStringList& registerTexts)
{
    const QString joined = registerTexts.join(QString());
    if (!isHexText(joined) || joined.size() > 7) return std::nullopt;
    return joined.toInt(nullptr, 16);
}

int fullScaleFromRegisters(const QString& high, const QString& low)
{
    // Both halves must be there: one missing byte would shift the other into the wrong place.
    if (high.size() != 2 || low.size() != 2) return kDefaultFullScaleCount;
    return joinedHex({high, low}).value_or(kDefaultFullScaleCount);
}

QStringList counterWriteCommands(int counter)
{
    const QString digits = QString::number(std::clamp(counter, 0, kMeasurementCounterMax), 16).rightJustified(6, u'0').toUpper();
    return {QStringLiteral("W06") + digits.mid(0, 2), QStringLiteral("W07") + digits.mid(2, 2),
            QStringLiteral("W08") + digits.mid(4, 2)};
}

QStringList toneCommands(int n)
{
    static const QStringList rows[] = {
        {"S8863"}, {"S885E", "S8862"}, {"S5662", "S8960"}, {"SB660"}, {"S6862"}, {"S6864", "S4F62"},
        {"SD05D"}, {"SA060"}, {"SD05D"}, {"SAB5D"}, {"S905D"}, {"S685D"}, {"SC040"},
    };
    if (n < 1 || n > 13) return {};
    return rows[n - 1];
}

}  // namespace tork
