#include "core/app/scramble.h"

#include <QRandomGenerator>
#include <stdexcept>

namespace tork {
namespace {

QByteArray keyText(int keyIndex)
{
    switch (keyIndex) {
    case 1:
    case 6: return QByteArrayLiteral("QuorPlintVax7");
    case 2: return QByteArrayLiteral("Wp3RtYq72mZxVbnCfLoPiUeAs");
    case 3: return QByteArrayLiteral("Tq5vBnmWerXcuIopLkGhfdSaZy");
    case 4: return QByteArrayLiteral("Rpoe*Lkq7vBzWnx2Mcyga");
    case 5: return QByteArrayLiteral("9Ytu6wPoNbzErmfio");
    case 7: return QByteArrayLiteral("pqzrTUVwmnbx481*xcvoa");
    default: throw std::invalid_argument("scrambling key index must be 1 to 7");
    }
}

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

void appendHex(QString& out, int value)
{
    static const char digits[] = "0123456789ABCDEF";
    out.append(QChar(digits[(value >> 4) & 0xF]));
    out.append(QChar(digits[value & 0xF]));
}

}  // namespace

bool isScrambledText(const QString& hex)
{
    if (hex.size() % 2 != 0) return false;
    for (QChar c : hex)
        if (hexDigit(c) < 0) return false;
    return true;
}

QString scrambleBytes(const QByteArray& bytes, int keyIndex)
{
    const QByteArray key = keyText(keyIndex);
    if (bytes.isEmpty()) return {};
    int a = int(QRandomGenerator::global()->bounded(256));
    QString out;
    out.reserve(2 * (bytes.size() + 1));
    appendHex(out, a);
    int i = 0;
    for (char ch : bytes) {
        const int b = static_cast<unsigned char>(ch);
        a = ((a + b) % 255) ^ static_cast<unsigned char>(key[i]);
        i = (i + 1) % key.size();
        appendHex(out, a);
    }
    return out;
}

QByteArray unscrambleBytes(const QString& hex, int keyIndex)
{
    const QByteArray key = keyText(keyIndex);
    if (hex.isEmpty()) return {};
    if (!isScrambledText(hex)) throw std::invalid_argument("scrambled text is not hexadecimal");
    auto valueAt = [&](int pos) { return hexDigit(hex[pos]) * 16 + hexDigit(hex[pos + 1]); };
    int prev = valueAt(0);
    QByteArray out;
    out.reserve(hex.size() / 2);
    int i = 0;
    for (int pos = 2; pos + 1 < hex.size(); pos += 2) {
        const int cur = valueAt(pos);
        const int s = static_cast<unsigned char>(key[i]) ^ cur;
        i = (i + 1) % key.size();
        out.append(char(s > prev ? s - prev : s + 255 - prev));
        prev = cur;
    }
    return out;
}

QString scramble(const QString& text, int keyIndex) { return scrambleBytes(text.toUtf8(), keyIndex); }

QString unscramble(const QString& hex, int keyIndex) { return QString::fromUtf8(unscrambleBytes(hex, keyIndex)); }

}  // namespace tork
