#include "core/app/displaystrings.h"

#include "core/app/scramble.h"

#include <array>

namespace tork {
namespace {

// Product and maker texts, kept scrambled with key index 7 and unscrambled when shown.
// Strings 2, 5, 6 and 11 have no use.
const std::array<const char*, 12> kScrambled{
        "1E0241EA6BE94DCE8B",  // 1
        "",  // 2
        "A185C268E463C44603",  // 3
        "4AED2CE429DE186ECC5FAD75A0369A8BFE15EB16E73CD94EC649E8",  // 4
        "",  // 5
        "",  // 6
        "BE57BA55B77FEC4A0EEC32C6459239569172B068B745DA",  // 7
        "3914342E11121264E378C694CCCAC6C7",  // 8
        "7FDA7DE76FF073C582DE61F36CAAE629",  // 9
        "000319F11AD76E85B24BD425E371E727A667AB6FB07C91",  // 10
        "",  // 11
        "EF4DC34CC778B440D994B744D170EF5852EB39EC36CE32EA2436DD0223E02BF6",  // 12
};

}  // namespace

QString displayString(int number)
{
    if (number < 1 || number > int(kScrambled.size())) return {};
    return unscramble(QString::fromLatin1(kScrambled[number - 1]), 7);
}

QString makerNoticeLine()
{
    return QStringLiteral("Copyright (C) %1. All rights reserved.").arg(displayString(4));
}

}  // namespace tork
