#pragma once
// The instrument's command and reply formats as pure functions: report layout, reply
// trimming, readings, registers, the tone table. Every reply the instrument could send,
// however malformed, converts to a value or to the documented default.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace tork {

// Hardware version of the instruments that hold their own full-scale counts and take "G00" gains.
inline constexpr char kRegisterCalibrationVersion[] = "TORK6-20051706-A02";

inline const QString kRefusedReply = QStringLiteral("Z0000");
inline const QString kProbeFaultReply = QStringLiteral("Z0001");

constexpr int kDefaultFullScaleCount = 4060;
constexpr int kMaxReading = 4095;
constexpr int kMeasurementCounterMax = 0xFFFFFF;

namespace Register {
enum : int {
    Serial0 = 0x00,           // $00..$05 serial number
    CounterHigh = 0x06,       // $06..$08 measurement counter
    FullScaleHighHi = 0x09,   // $09/$0A full-scale count, high potential
    FullScaleNormalHi = 0x0B, // $0B/$0C full-scale count, normal potential
    CrgH = 0x0D, CrgL = 0x0E, MrgH = 0x0F, MrgL = 0x10,
};
}

// Report ID 0, the command's characters, blanks up to `length` bytes in all.
QByteArray buildOutputReport(const QString& command, int length);
// The command carried by an output report (what an instrument reads from it).
QString commandOfReport(const QByteArray& report);
// The data bytes of an input report as reply text up to the first NUL byte, trimmed of
// blanks and control characters.
QString replyText(const QByteArray& data);

bool isHexText(const QString& text);
// Reading of a "D0000" reply: characters 3 to 5 as hexadecimal, "Z0001" as 1, anything else 0.
int parseReading(const QString& reply);
// Characters 4 and 5 of a register reply; empty unless the reply is five printable characters.
QString registerText(const QString& reply);

QString readRegisterCommand(int address);
QString writeRegisterCommand(int address, int value);
QString gainCommand(int gain);          // "G00" + two hexadecimal digits
QString lampCommand(QChar lamp, int level);
QString hex2(int value);                // two upper-case hexadecimal digits

// Joins register texts in address order and reads them as one hexadecimal number.
std::optional<int> joinedHex(const QStringList& registerTexts);
// Full-scale count from its two registers, 4060 when the digits do not convert.
int fullScaleFromRegisters(const QString& high, const QString& low);
// The three register writes that store `counter` (six hexadecimal digits, $06 high byte).
QStringList counterWriteCommands(int counter);

// The "S" commands of tone table row n; empty for any other n.
QStringList toneCommands(int n);

}  // namespace tork
