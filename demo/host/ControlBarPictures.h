// The sample skin's pictures for the player's control bar and the labels beside the buttons:
// seek and volume sliders, digit pictures for the time display, the divided-strip button's
// frames, label icons and the image control's picture. Drawn by skinkit-demo-skin.
#pragma once

#include "platform/base/WinTypes.h"

#include <string>

namespace demo::bar {

// Faces the display test and the demo's own checks can read back.
constexpr DWORD kPlayed = 0xFFE0803Au;
constexpr DWORD kRemaining = 0xFF4A5560u;
constexpr DWORD kThumb = 0xFFF2F4F6u;
constexpr DWORD kTrack = 0xFF14181Cu;
constexpr DWORD kDigitOn = 0xFF7CFC9Au;
constexpr DWORD kDigitOff = 0xFF18261Eu;
constexpr DWORD kDigitBack = 0xFF0C100Eu;
constexpr DWORD kLabelBack = 0xFF1C2229u;
constexpr int kDigitWidth = 12, kDigitHeight = 20;

// Writes every control-bar picture into `folder`; false when one could not be written.
bool DrawControlBarPictures(const std::string& folder);

// The seven segments (a top, b top right, c bottom right, d bottom, e bottom left, f top left,
// g middle) lit for each digit, bit 0 = a.
constexpr unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                         0x6D, 0x7D, 0x07, 0x7F, 0x6F};

} // namespace demo::bar
