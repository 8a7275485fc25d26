#pragma once
// The settings record: the 78 scrambled lines of "KaDefE6c.ini" in the program folder.

#include <QString>
#include <array>
#include <optional>

namespace tork {

constexpr int kSettingsLineCount = 78;
inline const QString kSettingsFileName = QStringLiteral("KaDefE6c.ini");

// Line numbers of the settings file.
namespace SettingLine {
enum : int {
    FullScaleNormal = 1, FullScaleHigh = 2, FullScaleNormal2 = 3, FullScaleHigh2 = 4,
    PrintOptions = 5, Sensitivity = 6, CalibrationDate = 7, UserName1 = 8,
    ReportTitle = 9, ReportLine2 = 10, ReportLine3 = 11,
    OptionChars = 12, OptionSwitch13 = 13, OptionSwitch14 = 14, OptionNumber15 = 15,
    OptionNumber16 = 16, OptionSwitch17 = 17,
    PictureStyle = 18, MeasureSound = 19, CalibrationSound = 20, OptionNumber21 = 21,
    MeasuringMethod = 22, MeasuringChannel = 23, CustomTiming = 24,
    CustomSettlingMs = 25, CustomAveragingMs = 26, FnVisibility = 27,
    FnCaption1 = 28, FnHint1 = 34, FnProgram1 = 40, FnParameters1 = 46,
    OrderMode = 52, CustomOrder1 = 53, FactorMode = 65, CustomFactor1 = 66,
    IndexSelector = 78,
};
}

enum class SettingType { Int, Real, IntAsReal, Flag, Text };

struct SettingDescription {
    int line;
    QString name;
    SettingType type;
};

// Name and type of a line 1..78.
SettingDescription settingDescription(int line);

struct SettingsLoadResult {
    bool ok = true;
    int failedLine = 0;  // first line that could not be read, 0 when none
    QString message;     // plain text for the operator when not ok
};

class Settings {
public:
    // Every line at its "new" value (the values written when no settings file exists).
    Settings();
    static Settings defaults();

    // Reads the file. A line that is not valid scrambled text stops the load: the lines
    // before it keep what was read, the rest keep their earlier values.
    SettingsLoadResult load(const QString& filePath);
    // Writes all 78 lines to a temporary file and renames it over the old one,
    // so a failed save leaves the earlier file whole. Returns an error text or empty.
    QString save(const QString& filePath) const;

    int intValue(int line) const;
    double realValue(int line) const;
    bool flag(int line) const;
    QString text(int line) const;

    void setInt(int line, int value);
    void setReal(int line, double value);
    void setFlag(int line, bool value);
    void setText(int line, const QString& value);
    // Sets a line from text as an operator would type it, checked against the line's type.
    // Returns an error text, or empty when the value was taken.
    QString setFromText(int line, const QString& value);
    // The value as it is written to the file (before scrambling).
    QString fileText(int line) const;

    // Named access for the settings most windows read.
    std::array<int, 12> customOrder() const;
    std::array<double, 12> customFactors() const;

    bool operator==(const Settings& other) const { return values_ == other.values_; }

private:
    void assignFromFile(int line, const QString& plain);
    std::array<QString, kSettingsLineCount> values_;  // canonical text of each line
};

// Reals are written with '.' whatever the locale; reading also accepts a ',' decimal
// separator as written by programs that followed a local format.
QString formatSettingReal(double value);
std::optional<double> parseSettingReal(const QString& text);

}  // namespace tork
