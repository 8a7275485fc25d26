#pragma once
#include <QString>

namespace tork {

// Display strings 1..12: 1 product name, 3 short name, 4 maker's company name,
// 7 web address, 8 telephone, 9 fax, 10 e-mail, 12 product long name.
QString displayString(int number);

// The maker's notice line shown under the version line and in the about box.
QString makerNoticeLine();

namespace DisplayString {
enum : int { ProductName = 1, ShortName = 3, CompanyName = 4, WebAddress = 7, Telephone = 8, Fax = 9, Email = 10, LongName = 12 };
}

}  // namespace tork
