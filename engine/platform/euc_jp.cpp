#include "engine/platform/euc_jp.h"

namespace kl {

bool AppendEucJpCode(unsigned code, std::string& out)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
        return true;
    }
    if (code >= 0xA1 && code <= 0xDF) {  // half-width katakana
        out.push_back('\x8E');
        out.push_back(static_cast<char>(code));
        return true;
    }
    const unsigned lead = code >> 8;
    const unsigned trail = code & 0xFF;
    if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF)))
        return false;
    // A lead byte holds two rows: trail bytes up to 0x9E are the odd row, the rest the even one.
    unsigned row;
    unsigned cell;
    if (trail >= 0x40 && trail <= 0x7E) {
        row = 2 * (lead <= 0x9F ? lead - 0x31 : lead - 0x71) + 1;
        cell = trail + 0x61;
    } else if (trail >= 0x80 && trail <= 0x9E) {
        row = 2 * (lead <= 0x9F ? lead - 0x31 : lead - 0x71) + 1;
        cell = trail + 0x60;
    } else if (trail >= 0x9F && trail <= 0xFC) {
        row = 2 * (lead <= 0x9F ? lead - 0x30 : lead - 0x70);
        cell = trail + 2;
    } else {
        return false;
    }
    out.push_back(static_cast<char>(row));
    out.push_back(static_cast<char>(cell));
    return true;
}

}  // namespace kl
