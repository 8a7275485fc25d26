#include "core/app/settings.h"

#include "core/app/displaystrings.h"
#include "core/app/formats.h"
#include "core/app/scramble.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <cmath>

namespace tork {
namespace {

struct LineRule {
    const char* name;
    SettingType type;
};

// Names as shown by the companion tool, in file order.
const LineRule& rule(int line)
{
    static const std::array<LineRule, kSettingsLineCount> rules = [] {
        std::array<LineRule, kSettingsLineCount> r{};
        auto set = [&](int line, const char* name, SettingType type) { r[line - 1] = {name, type}; };
        set(1, "full-scale count normal", SettingType::Int);
        set(2, "full-scale count high", SettingType::Int);
        set(3, "full-scale count normal (second set)", SettingType::Int);
        set(4, "full-scale count high (second set)", SettingType::Int);
        set(5, "print options", SettingType::Text);
        set(6, "measurement sensitivity", SettingType::Real);
        set(7, "last calibration date", SettingType::Text);
        set(8, "User Name 1", SettingType::Text);
        set(9, "User Name 2 (report title)", SettingType::Text);
        set(10, "User Data 1 (report line 2)", SettingType::Text);
        set(11, "User Data 2 (report line 3)", SettingType::Text);
        set(12, "option characters", SettingType::Text);
        set(13, "option switch 13", SettingType::Flag);
        set(14, "option switch 14", SettingType::Flag);
        set(15, "option number 15", SettingType::Int);
        set(16, "option number 16", SettingType::Real);
        set(17, "option switch 17", SettingType::Flag);
        set(18, "point picture style", SettingType::Int);
        set(19, "measurement sound", SettingType::Int);
        set(20, "calibration sound", SettingType::Int);
        set(21, "option number 21", SettingType::Int);
        set(22, "measuring method", SettingType::Int);
        set(23, "measuring channel", SettingType::Int);
        set(24, "custom timing", SettingType::Int);
        set(25, "custom settling time ms", SettingType::IntAsReal);
        set(26, "custom averaging window ms", SettingType::IntAsReal);
        set(27, "Fn visibility", SettingType::Text);
        static const char* fnNames[4][6] = {
            {"Fn1 caption", "Fn2 caption", "Fn3 caption", "Fn4 caption", "Fn5 caption", "Fn6 caption"},
            {"Fn1 hint", "Fn2 hint", "Fn3 hint", "Fn4 hint", "Fn5 hint", "Fn6 hint"},
            {"Fn1 program", "Fn2 program", "Fn3 program", "Fn4 program", "Fn5 program", "Fn6 program"},
            {"Fn1 parameters", "Fn2 parameters", "Fn3 parameters", "Fn4 parameters", "Fn5 parameters", "Fn6 parameters"}};
        for (int g = 0; g < 4; ++g)
            for (int n = 0; n < 6; ++n) set(28 + g * 6 + n, fnNames[g][n], SettingType::Text);
        set(52, "meridian order mode", SettingType::Int);
        static const char* orderNames[12] = {"custom order 1", "custom order 2", "custom order 3", "custom order 4",
                                             "custom order 5", "custom order 6", "custom order 7", "custom order 8",
                                             "custom order 9", "custom order 10", "custom order 11", "custom order 12"};
        for (int n = 0; n < 12; ++n) set(53 + n, orderNames[n], SettingType::Int);
        set(65, "compensation factor mode", SettingType::Int);
        static const char* factorNames[12] = {"custom factor LU", "custom factor PC", "custom factor HT", "custom factor SI",
                                              "custom factor TE", "custom factor LI", "custom factor SP", "custom factor LR",
                                              "custom factor KI", "custom factor BL", "custom factor GB", "custom factor ST"};
        for (int n = 0; n < 12; ++n) set(66 + n, factorNames[n], SettingType::Real);
        set(78, "analysis index selector", SettingType::Int);
        return r;
    }();
    return rules.at(line - 1);
}

bool keepsTextAsRead(int line) { return line >= 28 && line <= 51; }

QString todayShortDate() { return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat); }

// The value a line takes when no settings file exists.
QString newValue(int line)
{
    using namespace SettingLine;
    if (line >= 1 && line <= 4) return "4000";
    if (line >= FnCaption1 && line < FnCaption1 + 6) return QString("Fn%1").arg(line - FnCaption1 + 1);
    if (line >= CustomOrder1 && line < CustomOrder1 + 12) return QString::number(line - CustomOrder1 + 1);
    if (line >= CustomFactor1 && line < CustomFactor1 + 12) return "1";
    switch (line) {
    case PrintOptions: return "011100000000000000000000000000100010201111";
    case Sensitivity: return "1";
    case CalibrationDate: return todayShortDate();
    case UserName1: return displayString(DisplayString::LongName);
    case ReportTitle: return "T.O.R.K Analysis Data Report";
    case ReportLine2: return displayString(DisplayString::CompanyName);
    case ReportLine3: return "Medical R&D Center";
    case OptionChars: return "11000";
    case OptionSwitch13: return "1";
    case OptionSwitch14: return "0";
    case OptionNumber15: return "2";
    case OptionNumber16: return "0";
    case OptionSwitch17: return "0";
    case PictureStyle: return "1";
    case MeasureSound: return "1";
    case CalibrationSound: return "1";
    case OptionNumber21: return "1";
    case MeasuringMethod: return "1";
    case MeasuringChannel: return "0";
    case CustomTiming: return "0";
    case CustomSettlingMs: return "2000";
    case CustomAveragingMs: return "500";
    case FnVisibility: return "111000";
    case FnHint1: return "Sorvan Internet Web Site";
    case FnHint1 + 1: return "Start Up MediaPlayer";
    case FnHint1 + 2: return "Word Processor";
    case FnProgram1 + 1: return "vlc";
    case FnProgram1 + 2: return "lowriter";
    case FnParameters1: return displayString(DisplayString::WebAddress);
    case OrderMode: return "0";
    case FactorMode: return "0";
    case IndexSelector: return "1";
    default: return {};
    }
}

// The value a line takes when it is read empty or does not convert.
QString blankValue(int line)
{
    using namespace SettingLine;
    if (line >= 1 && line <= 4) return "4000";
    if (line == OptionSwitch13) return "0";
    if (line == CalibrationDate) return todayShortDate();
    if (line == FnVisibility) return "000000";
    if (keepsTextAsRead(line)) return {};
    return newValue(line);
}

std::optional<int> parseInt(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

}  // namespace

QString formatSettingReal(double value) { return QString::number(value, 'g', 15); }

std::optional<double> parseSettingReal(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    double v = QLocale::c().toDouble(t, &ok);
    if (!ok && t.count(u',') == 1 && !t.contains(u'.')) v = QLocale::c().toDouble(QString(t).replace(u',', u'.'), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

SettingDescription settingDescription(int line)
{
    const LineRule& r = rule(line);
    return {line, QString::fromLatin1(r.name), r.type};
}

Settings::Settings()
{
    for (int line = 1; line <= kSettingsLineCount; ++line) values_[line - 1] = newValue(line);
}

Settings Settings::defaults() { return Settings(); }

void Settings::assignFromFile(int line, const QString& plain)
{
    QString& value = values_[line - 1];
    switch (rule(line).type) {
    case SettingType::Int: {
        auto v = parseInt(plain);
        if (v && line <= 4 && *v < 2000) v.reset();
        value = v ? QString::number(*v) : blankValue(line);
        break;
    }
    case SettingType::IntAsReal: {
        const auto v = parseSettingReal(plain);
        value = v && std::abs(*v) < 2e9 ? QString::number(roundHalfEven(*v)) : blankValue(line);
        break;
    }
    case SettingType::Real: {
        const auto v = parseSettingReal(plain);
        value = v ? formatSettingReal(*v) : blankValue(line);
        break;
    }
    case SettingType::Flag: value = plain == QLatin1String("1") ? "1" : "0"; break;
    case SettingType::Text:
        value = keepsTextAsRead(line) || !plain.trimmed().isEmpty() ? plain : blankValue(line);
        break;
    }
}

SettingsLoadResult Settings::load(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {false, 1, QString("The settings file %1 cannot be read: %2").arg(filePath, file.errorString())};
    const QByteArray content = file.readAll();
    QList<QByteArray> lines = content.split('\n');
    for (int line = 1; line <= kSettingsLineCount; ++line) {
        QString raw = line <= lines.size() ? QString::fromLatin1(lines[line - 1]).trimmed() : QString();
        if (!isScrambledText(raw))
            return {false, line,
                    QString("Line %1 of the settings file %2 is not valid; the settings from line %1 on were not loaded.")
                        .arg(line)
                        .arg(filePath)};
        assignFromFile(line, unscramble(raw, 5));
    }
    return {};
}

QString Settings::save(const QString& filePath) const
{
    QSaveFile file(filePath);
    // Unbuffered, so a short write (full disk, size limit) is seen here and the old file stays.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QString("The settings file %1 cannot be written: %2").arg(filePath, file.errorString());
    QByteArray out;
    for (int line = 1; line <= kSettingsLineCount; ++line) {
        out += scramble(fileText(line), 5).toLatin1();
        out += "\r\n";
    }
    // Without commit() the temporary file is discarded and the old file stays as it was.
    if (file.write(out) != out.size())
        return QString("The settings file %1 cannot be written (is the disk full?): %2").arg(filePath, file.errorString());
    if (!file.commit())
        return QString("The settings file %1 cannot be written: %2").arg(filePath, file.errorString());
    return {};
}

int Settings::intValue(int line) const { return values_.at(line - 1).toInt(); }

double Settings::realValue(int line) const { return parseSettingReal(values_.at(line - 1)).value_or(0.0); }

bool Settings::flag(int line) const { return values_.at(line - 1) == QLatin1String("1"); }

QString Settings::text(int line) const { return values_.at(line - 1); }

void Settings::setInt(int line, int value) { values_.at(line - 1) = QString::number(value); }

void Settings::setReal(int line, double value) { values_.at(line - 1) = formatSettingReal(value); }

void Settings::setFlag(int line, bool value) { values_.at(line - 1) = value ? "1" : "0"; }

void Settings::setText(int line, const QString& value) { values_.at(line - 1) = value; }

QString Settings::setFromText(int line, const QString& value)
{
    if (line < 1 || line > kSettingsLineCount) return QString("There is no settings line %1 (lines run from 1 to 78).").arg(line);
    switch (rule(line).type) {
    case SettingType::Int:
    case SettingType::IntAsReal: {
        const auto v = parseInt(value);
        if (!v) return QString("Line %1 (%2) takes a whole number, not \"%3\".").arg(line).arg(rule(line).name, value);
        if (line <= 4 && *v < 2000) return QString("Line %1 (%2) takes a count of 2000 or more.").arg(line).arg(rule(line).name);
        setInt(line, *v);
        return {};
    }
    case SettingType::Real: {
        const auto v = parseSettingReal(value);
        if (!v) return QString("Line %1 (%2) takes a number, not \"%3\".").arg(line).arg(rule(line).name, value);
        setReal(line, *v);
        return {};
    }
    case SettingType::Flag:
        if (value != "0" && value != "1") return QString("Line %1 (%2) takes 1 or 0.").arg(line).arg(rule(line).name);
        setFlag(line, value == "1");
        return {};
    case SettingType::Text: setText(line, value); return {};
    }
    return {};
}

QString Settings::fileText(int line) const
{
    if (rule(line).type == SettingType::IntAsReal) return formatSettingReal(intValue(line));
    return values_.at(line - 1);
}

std::array<int, 12> Settings::customOrder() const
{
    std::array<int, 12> order{};
    for (int i = 0; i < 12; ++i) order[i] = intValue(SettingLine::CustomOrder1 + i);
    return order;
}

std::array<double, 12> Settings::customFactors() const
{
    std::array<double, 12> factors{};
    for (int i = 0; i < 12; ++i) factors[i] = realValue(SettingLine::CustomFactor1 + i);
    return factors;
}

}  // namespace tork
