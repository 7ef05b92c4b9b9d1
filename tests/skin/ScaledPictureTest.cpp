// The names of per-scale skin pictures and the choice of one for a window's scale.
#include "skin/ScaledPicture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(ScaledPicture, TheFactorGoesBeforeTheExtensionAndTheSmallestAtOrAboveTheScaleIsChosen)
{
    const std::tuple<const wchar_t*, double, const wchar_t*> cases[] = {
        {L"skin\\play.png", 2.0, L"skin\\play@2x.png"},
        {L"skin/play.btn.png", 1.5, L"skin/play.btn@1.5x.png"},
        {L"skin.d\\thumb", 3.0, L"skin.d\\thumb@3x"},
        {L"skin\\.png", 2.0, L"skin\\.png@2x"},
        {L"play.png", 1.0, L"play.png"},
        {L"play.png", 1.25, L"play@1.25x.png"},
    };
    for (const auto& [path, factor, expected] : cases)
        EXPECT_EQ(skin::PicturePathForFactor(path, factor), CString(expected)) << factor;

    // The smallest factor at or above the scale is chosen, else the largest.
    const std::vector<double> two{2.0}, many{1.5, 2.0, 3.0}, none{};
    // The factors available, the scale, the factor chosen.
    const std::tuple<const std::vector<double>*, double, double> choices[] = {
        {&two, 1.0, 1.0},   {&two, 1.25, 2.0},  {&two, 2.0, 2.0},  {&two, 3.0, 2.0},
        {&many, 1.25, 1.5}, {&many, 1.75, 2.0}, {&none, 2.0, 1.0},
    };
    for (const auto& [available, scale, chosen] : choices)
        EXPECT_EQ(skin::ChoosePictureFactor(*available, scale), chosen) << scale;
}

} // namespace
