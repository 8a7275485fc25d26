#pragma once
// The twelve meridians, the 24 measuring points (ME numbers) and the tables derived
// from the settings: display order, measuring positions and compensation factors.

#include <QString>
#include <array>
#include <cstdint>
#include <utility>

namespace tork {

constexpr int kMeridianCount = 12;
constexpr int kPointCount = 24;

// Meridian numbers 1..12 in this fixed order.
enum Meridian : int { LU = 1, PC, HT, SI, TE, LI, SP, LR, KI, BL, GB, ST };

struct MeridianInfo {
    QString name;
    QString abbreviation;
    QString channelName;
    QString element;
    QString sourcePoint;
    QString nameWithAbbreviation;
    QString timeWindow;
};

// Fixed reference table; index 0 is meridian 1.
const std::array<MeridianInfo, kMeridianCount>& meridianTable();
const MeridianInfo& meridianInfo(int meridian);

bool isHandMeridian(int meridian);
int leftPoint(int meridian);   // ME number of the left-side point
int rightPoint(int meridian);  // ME number of the right-side point
int meridianOfPoint(int me);   // 1..12 for ME 1..24
bool isLeftPoint(int me);

// Built-in factors of factor mode 0, by meridian number (index 0 = meridian 1).
const std::array<double, kMeridianCount>& builtInCompensationFactors();
// Meridian order of order mode 1: each yin meridian followed by its coupled yang meridian.
const std::array<int, kMeridianCount>& coupledPairOrder();
const std::array<int, kMeridianCount>& defaultMeridianOrder();

// True when the twelve entries are a permutation of 1..12.
bool isMeridianPermutation(const std::array<int, kMeridianCount>& order);

// Point picture styles: 1 Picture, 2 Outline, 3 Combined.
// File name such as "PLh1.bmp" for ME1 in style 1; other styles than 2 and 3 use style 1's letter.
QString pointPictureName(int me, int style);

struct Rgb {
    int r, g, b;
    // Windows colour value, blue in the high byte ($BBGGRR).
    std::uint32_t windowsValue() const { return std::uint32_t(b) << 16 | std::uint32_t(g) << 8 | std::uint32_t(r); }
    bool operator==(const Rgb&) const = default;
};

// The program-wide chart colour set.
struct ChartColours {
    static constexpr Rgb normal{145, 255, 113};
    static constexpr Rgb tolerable{254, 249, 141};
    static constexpr Rgb poor{255, 70, 70};
    static constexpr Rgb fourth{62, 62, 255};
    static constexpr Rgb fifth{255, 146, 64};
    // Charts fill bars solid (the program never hatches them).
    static constexpr bool solidScreenBars = true;
    static constexpr bool solidPrintBars = true;
};

// Colour of a level: 0 normal, +-1 tolerable, anything else poor.
Rgb levelColour(int level);

// The derived tables, rebuilt from the settings after every load and save.
class MeridianTables {
public:
    MeridianTables();  // order mode 0, factor mode 0

    // orderMode 0 default, 1 coupled pairs, other: customOrder (falling back to the
    // default order when it is not a permutation of 1..12).
    // factorMode 0 built in, 1 all 1.0, other: customFactors.
    void rebuild(int orderMode, const std::array<int, kMeridianCount>& customOrder,
                 int factorMode, const std::array<double, kMeridianCount>& customFactors);

    // All indices are 1-based as everywhere in the program.
    int meridianOrder(int k) const { return order_[k - 1]; }
    const std::array<int, kMeridianCount>& meridianOrder() const { return order_; }
    int positionMeridian(int position) const { return positionMeridian_[position - 1]; }
    int positionPoint(int position) const { return positionPoint_[position - 1]; }
    std::pair<int, int> orderedPointPair(int k) const { return pairs_[k - 1]; }
    double compensationFactor(int meridian) const { return factors_[meridian - 1]; }
    const std::array<double, kMeridianCount>& compensationFactors() const { return factors_; }
    // Measuring position shown in the value table cell (column 1..12, row 1 Left / 2 Right).
    static int tablePosition(int column, int row);

private:
    std::array<int, kMeridianCount> order_{};
    std::array<int, kPointCount> positionMeridian_{};
    std::array<int, kPointCount> positionPoint_{};
    std::array<std::pair<int, int>, kMeridianCount> pairs_{};
    std::array<double, kMeridianCount> factors_{};
};

}  // namespace tork
