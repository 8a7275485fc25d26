#pragma once
#include <QByteArray>

namespace tork {

// Bytes of the device's longest output report including the report ID byte, from its HID
// report descriptor; 0 when the descriptor declares no output report or does not parse.
int outputReportLengthFromDescriptor(const QByteArray& descriptor);

}  // namespace tork
