#include "core/app/meridians.h"

#include <algorithm>

namespace tork {

const std::array<MeridianInfo, kMeridianCount>& meridianTable()
{
    static const std::array<MeridianInfo, kMeridianCount> table{{
        {"Lung Meridian", "LU", "Hand-TaiYin", "Metal", "TaiYuan  LU9", "Lung Meridian(LU)", "3am-5am"},
        {"Pericardium Meridian", "PC", "Hand-JueYin", "Mi.Fire", "DaLing   PC7", "Pericardium Meridian(PC)", "7pm-9pm"},
        {"Heart Meridian", "HT", "Hand-Shaoyin", "Mo.Fire", "ShenMen  HT7", "Heart Meridian(HT)", "11am-1pm"},
        {"Small Intestine Meridian", "SI", "Hand-TaiYang", "Mo.Fire", "WanGu    SI4", "Small Intestine Meridian(SI)", "1pm-3pm"},
        {"Triple Energizer Meridian", "TE", "Hand-Shaoyang", "Mi.Fire", "YangChi  TE4", "Triple Energizer Meridian(TE)", "9pm-11pm"},
        {"Large Intestine Meridian", "LI", "Hand-YangMin", "Metal", "YangXi   LI5", "Large Intestine Meridian(LI)", "5am-7am"},
        {"Spleen Meridian", "SP", "Foot-TaiYin", "Earth", "TaiBai   SP3", "Spleen Meridian(SP)", "9am-11am"},
        {"Liver Meridian", "LR", "Foot-JueYin", "Wood", "TaiChong LR3", "Liver Meridian(LR)", "1am-3am"},
        {"Kidney Meridian", "KI", "Foot-ShaoYin", "Water", "DaZhong  KI4", "Kidney Meridian(KI)", "5pm-7pm"},
        {"Bladder Meridian", "BL", "Foot-TaiYang", "Water", "ShuGu    BL65", "Bladder Meridian(BL)", "3pm-5pm"},
        {"Gallbladder Meridian", "GB", "Foot-ShaoYang", "Wood", "QiuXu    GB40", "Gallbladder Meridian(GB)", "11pm-1am"},
        {"Stomach Meridian", "ST", "Foot-YangMing", "Earth", "ChongYang ST42", "Stomach Meridian(ST)", "7am-9am"},
    }};
    return table;
}

const MeridianInfo& meridianInfo(int meridian) { return meridianTable().at(meridian - 1); }

bool isHandMeridian(int meridian) { return meridian >= 1 && meridian <= 6; }
int leftPoint(int meridian) { return meridian <= 6 ? meridian : meridian + 6; }
int rightPoint(int meridian) { return meridian <= 6 ? meridian + 6 : meridian + 12; }

int meridianOfPoint(int me)
{
    if (me <= 6) return me;
    if (me <= 12) return me - 6;
    if (me <= 18) return me - 6;
    return me - 12;
}

bool isLeftPoint(int me) { return me <= 6 || (me >= 13 && me <= 18); }

const std::array<double, kMeridianCount>& builtInCompensationFactors()
{
    static const std::array<double, kMeridianCount> factors{
        0.8541, 0.9318, 1.1081, 0.9318, 0.8039, 0.8039, 1.0, 1.2424, 1.0, 1.0789, 1.2424, 1.1388};
    return factors;
}

const std::array<int, kMeridianCount>& coupledPairOrder()
{
    static const std::array<int, kMeridianCount> order{1, 6, 2, 5, 3, 4, 7, 12, 8, 11, 9, 10};
    return order;
}

const std::array<int, kMeridianCount>& defaultMeridianOrder()
{
    static const std::array<int, kMeridianCount> order{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    return order;
}

bool isMeridianPermutation(const std::array<int, kMeridianCount>& order)
{
    std::array<bool, kMeridianCount> seen{};
    for (int m : order) {
        if (m < 1 || m > kMeridianCount || seen[m - 1]) return false;
        seen[m - 1] = true;
    }
    return true;
}

QString pointPictureName(int me, int style)
{
    const QChar styleLetter = style == 2 ? u'G' : style == 3 ? u'C' : u'P';
    const QChar side = isLeftPoint(me) ? u'L' : u'R';
    const QChar limb = me <= 12 ? u'h' : u'f';
    const int place = (me - 1) % 6 + 1;
    return QString("%1%2%3%4.bmp").arg(styleLetter).arg(side).arg(limb).arg(place);
}

Rgb levelColour(int level)
{
    if (level == 0) return ChartColours::normal;
    if (level == 1 || level == -1) return ChartColours::tolerable;
    return ChartColours::poor;
}

MeridianTables::MeridianTables()
{
    rebuild(0, defaultMeridianOrder(), 0, builtInCompensationFactors());
}

void MeridianTables::rebuild(int orderMode, const std::array<int, kMeridianCount>& customOrder,
                             int factorMode, const std::array<double, kMeridianCount>& customFactors)
{
    if (orderMode == 0)
        order_ = defaultMeridianOrder();
    else if (orderMode == 1)
        order_ = coupledPairOrder();
    else
        order_ = isMeridianPermutation(customOrder) ? customOrder : defaultMeridianOrder();

    if (factorMode == 0)
        factors_ = builtInCompensationFactors();
    else if (factorMode == 1)
        factors_.fill(1.0);
    else
        factors_ = customFactors;

    for (int k = 1; k <= kMeridianCount; ++k) {
        const int m = order_[k - 1];
        const int left = leftPoint(m);
        const int right = rightPoint(m);
        const int leftPosition = k <= 6 ? k : k + 6;
        const int rightPosition = leftPosition + 6;
        positionMeridian_[leftPosition - 1] = m;
        positionMeridian_[rightPosition - 1] = m;
        positionPoint_[leftPosition - 1] = left;
        positionPoint_[rightPosition - 1] = right;
        pairs_[k - 1] = {left, right};
    }
}

int MeridianTables::tablePosition(int column, int row)
{
    const bool right = row == 2;
    if (column <= 6) return right ? column + 6 : column;
    return right ? column + 12 : column + 6;
}

}  // namespace tork
