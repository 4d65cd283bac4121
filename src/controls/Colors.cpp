#include "controls/Colors.h"

namespace Colors {

std::optional<TColor> presetColor(int ordinal)
{
    static constexpr TColor kPresets[18] = {
        0x2F454F, 0x417787, 0x0090C8, 0x3C601E, 0x609830, 0x8ECC5B, 0x4F452F, 0x6F6042, 0x9D805E,
        0x602C1E, 0x985030, 0xCC7E5B, 0x4F2F45, 0x6F4260, 0x9D5E89, 0x3C1E60, 0x603098, 0x8E5BCC,
    };
    if (ordinal < 0 || ordinal >= 18)
        return std::nullopt;
    return kPresets[ordinal];
}

} // namespace Colors
