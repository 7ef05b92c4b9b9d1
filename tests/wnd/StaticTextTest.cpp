// The system static's text: drawn in its WM_SETFONT font, on the brush and in the colours the
// parent's WM_CTLCOLORSTATIC handler answers (a reflected handler of its own first), gray while
// disabled.
#include "platform/gdiplus/GdiObject.h"

#include "../controls/ControlTestKit.h"

#include <cwchar>

namespace {

constexpr COLORREF kBrush = RGB(200, 0, 0);

class CColourHost : public CWnd
{
public:
    CBrush brush{kBrush};

protected:
    HBRUSH OnCtlColor(CDC* dc, CWnd*, UINT)
    {
        dc->SetTextColor(RGB(0, 0, 255));
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};

// A label that picks its own colour, as the hyperlink does, by the reflected WM_CTLCOLOR.
class CSelfColouredStatic : public CStatic
{
public:
    CBrush brush{RGB(0, 200, 0)};

protected:
    HBRUSH CtlColor(CDC* dc, UINT)
    {
        dc->SetTextColor(RGB(255, 0, 0));
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};

} // namespace

BEGIN_MESSAGE_MAP(CColourHost, CWnd)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CSelfColouredStatic, CStatic)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

namespace {

constexpr ColourTest NotBrush = [](const Gdiplus::Color& c) {
    return c.GetValue() != Argb(kBrush);
};

class StaticText : public HostedTest
{
protected:
    int InkRows() { return Ink(label, NotBrush).bottom - Ink(label, NotBrush).top + 1; }

    CColourHost parent;
    CFont big;
    CStatic label;
};

} // namespace

TEST_F(StaticText, FontBrushAndColoursFromTheWindowAndItsParent)
{
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, L"parent", WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0));
    ASSERT_TRUE(label.Create(L"WWW", WS_CHILD | WS_VISIBLE, CRect(10, 10, 130, 50), &parent));
    EXPECT_EQ(At(label, 119, 39), Argb(kBrush)); // the brush fills the rest
    const int small = InkRows();
    EXPECT_GT(small, 5);
    EXPECT_TRUE(Ink(label, Bluish).Any()); // in the colour the handler chose

    LOGFONTW lf{};
    lf.lfHeight = -28;
    std::wcscpy(lf.lfFaceName, L"Liberation Sans");
    big.CreateFontIndirect(&lf);
    label.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(big)), TRUE);
    EXPECT_GE(InkRows(), small * 2);

    label.EnableWindow(FALSE);
    EXPECT_GT(Count(label, Argb(GetSysColor(COLOR_GRAYTEXT))), 0);
    EXPECT_FALSE(Ink(label, Bluish).Any());
}

TEST_F(StaticText, AReflectedHandlerOfItsOwnAnswersBeforeTheParent)
{
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, L"parent", WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0));
    CSelfColouredStatic self;
    ASSERT_TRUE(self.Create(L"WWW", WS_CHILD | WS_VISIBLE, CRect(10, 10, 130, 50), &parent));
    EXPECT_EQ(std::tuple(At(self, 119, 39), Ink(self, Reddish).Any(), Ink(self, Bluish).Any()),
              std::tuple(Argb(RGB(0, 200, 0)), true, false));
}
