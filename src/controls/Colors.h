#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

// Colour arithmetic of the custom controls. A colour is laid out 0x00BBGGRR (red in the low
// byte); 0xFF000000 + n names the platform's system colour n.
namespace Colors {

using TColor = std::uint32_t;

constexpr TColor rgb(int r, int g, int b) { return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16); }
constexpr int red(TColor c) { return int(c & 0xFF); }
constexpr int green(TColor c) { return int((c >> 8) & 0xFF); }
constexpr int blue(TColor c) { return int((c >> 16) & 0xFF); }

// Colours the windows give their self-painted controls.
inline constexpr TColor kButtonFace = rgb(236, 233, 216); // 14215660: the face of the colour and template buttons
inline constexpr TColor kDeepBlue = rgb(0, 78, 152);      // 9981440: the templates' frame and bevel colour
inline constexpr TColor kSilver = rgb(192, 192, 192);
inline constexpr TColor kWhite = rgb(255, 255, 255);

// A system colour code that the platform can resolve (numbers 0 to 24).
constexpr bool isSystemColor(TColor c) { return (c & 0xFF000000u) == 0xFF000000u && (c & 0x00FFFFFFu) <= 24; }

// Adds (lighten) or subtracts an amount on each channel, clamped to 0..255.
inline TColor adjustColor(TColor c, int amount, bool lighten)
{
    auto channel = [&](int v) {
        v = lighten ? v + amount : v - amount;
        if (v > 255)
            v = 255;
        if (v < 0)
            v = 0;
        return v;
    };
    return rgb(channel(red(c)), channel(green(c)), channel(blue(c)));
}
inline TColor lighter(TColor c, int n) { return adjustColor(c, n, true); }
inline TColor darker(TColor c, int n) { return adjustColor(c, n, false); }

// The 18 face-colour presets of the free button; ordinal 18 (none) has no colour.
std::optional<TColor> presetColor(int ordinal);

// One channel of the side bar's gradient at row y of a column `total` rows high: integer
// division truncating toward zero, the sum kept in one byte.
constexpr int gradientChannel(int start, int end, int y, int total)
{
    return (start + ((end - start) * y) / total) & 0xFF;
}

// Where the side bar's upward text starts horizontally: half the free width less a half,
// rounded to the nearest integer with halves going to the even neighbour, less one.
inline int barTextX(int barWidth, int textHeight)
{
    const double v = (barWidth - textHeight) / 2.0 - 0.5;
    double r = std::floor(v);
    const double frac = v - r;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    return int(r) - 1;
}

} // namespace Colors
