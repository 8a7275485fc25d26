#include "core/device/reportdescriptor.h"

#include <map>
#include <vector>

namespace tork {
namespace {

struct Globals {
    quint32 reportSize = 0;
    quint32 reportCount = 0;
    quint32 reportId = 0;
};

}  // namespace

int outputReportLengthFromDescriptor(const QByteArray& descriptor)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(descriptor.constData());
    const qsizetype size = descriptor.size();
    Globals globals;
    std::vector<Globals> stack;
    std::map<quint32, quint64> outputBits;  // by report ID
    qsizetype i = 0;
    while (i < size) {
        const unsigned char prefix = bytes[i];
        if (prefix == 0xFE) {  // long item: size byte, tag byte, data
            if (i + 1 >= size) return 0;
            i += 3 + bytes[i + 1];
            continue;
        }
        const int dataSize = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
        if (i + 1 + dataSize > size) return 0;
        quint32 value = 0;
        for (int k = 0; k < dataSize; ++k) value |= static_cast<quint32>(bytes[i + 1 + k]) << (8 * k);
        const int type = (prefix >> 2) & 0x03;
        const int tag = prefix >> 4;
        if (type == 1) {  // global items
            switch (tag) {
            case 0x7: globals.reportSize = value; break;
            case 0x8: globals.reportId = value; break;
            case 0x9: globals.reportCount = value; break;
            case 0xA: stack.push_back(globals); break;
            case 0xB:
                if (!stack.empty()) {
                    globals = stack.back();
                    stack.pop_back();
                }
                break;
            default: break;
            }
        } else if (type == 0 && tag == 0x9) {  // main item Output
            outputBits[globals.reportId] += static_cast<quint64>(globals.reportSize) * globals.reportCount;
        }
        i += 1 + dataSize;
    }
    quint64 longest = 0;
    for (const auto& [id, bits] : outputBits) longest = std::max(longest, (bits + 7) / 8);
    if (longest == 0 || longest > 4096) return 0;
    return static_cast<int>(longest) + 1;
}

}  // namespace tork
