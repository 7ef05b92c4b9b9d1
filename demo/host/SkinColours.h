// The sample skin's colours and sizes, shared by the picture generator and the demo's tests.
#pragma once

#include "platform/base/WinTypes.h"

namespace demo {

struct FrameColours
{
    DWORD face;
    DWORD border;
};

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kPushWidth = 96;
constexpr int kPushHeight = 28;
constexpr int kRoundSize = 32;

// Normal, hover, disabled, down.
constexpr FrameColours kPush[4] = {{0xFF3A5F8Au, 0xFF1E2F45u},
                                   {0xFF4F7FB8u, 0xFF23405Eu},
                                   {0xFF8A8F96u, 0xFF5E6166u},
                                   {0xFF23415Fu, 0xFF101E2Cu}};
// Normal, hover, disabled, checked.
constexpr FrameColours kToggle[4] = {{0xFF5A4A7Au, 0xFF2D253Du},
                                     {0xFF7563A0u, 0xFF3A3150u},
                                     {0xFF8A8696u, 0xFF5E5B66u},
                                     {0xFFC07A2Au, 0xFF603D15u}};
// The six states in order: normal, hover, disabled, down, down and hover, down and disabled.
constexpr FrameColours kRound[6] = {{0xFF2E7D5Bu, 0xFF173E2Du}, {0xFF3FA878u, 0xFF1F543Cu},
                                    {0xFF7F8C86u, 0xFF555E5Au}, {0xFFB8452Eu, 0xFF5C2217u},
                                    {0xFFD9603Fu, 0xFF6C301Fu}, {0xFF9C7F78u, 0xFF65524Du}};
// Check-box glyphs: unchecked, unchecked under the mouse, disabled, checked.
constexpr FrameColours kGlyph[4] = {{0xFFF4F6F8u, 0xFF6A7480u},
                                    {0xFFDCEBFAu, 0xFF4F7FB8u},
                                    {0xFFB4B8BDu, 0xFF80868Cu},
                                    {0xFFF4F6F8u, 0xFF6A7480u}};
constexpr DWORD kTick = 0xFF2E9D4Bu;
// The focus picture: an opaque outer ring, a translucent inner one and a clear middle, each
// kFocusRing pixels wide; drawn over the focused control with its corners kept.
constexpr DWORD kFocusOuter = 0xFFFFC24Au;
constexpr DWORD kFocusInner = 0x80FFC24Au;
constexpr int kFocusRing = 1;

} // namespace demo
