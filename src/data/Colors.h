#pragma once

#include <cstdint>

namespace ballvane {

// Colours as the program's rules speak of them: 0xBBGGRR values (blue in the high
// byte, so 0x0000FF is red). System colours carry the high bit and are resolved
// from the desktop's palette when drawn.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clPurple = 0x800080;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clMoneyGreen = 0xC0DCC0;

constexpr TColor systemColourFlag = 0x80000000;
constexpr TColor clWindow = systemColourFlag | 5;
constexpr TColor clWindowText = systemColourFlag | 8;
constexpr TColor clInfoBk = systemColourFlag | 24;

constexpr bool isSystemColour(TColor colour) { return (colour & systemColourFlag) != 0; }

} // namespace ballvane
