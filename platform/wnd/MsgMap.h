// Message maps: the table a window class answers messages from, and the ON_* entries that
// unpack a message for a handler. A class declares DECLARE_MESSAGE_MAP() and lists its entries
// between BEGIN_MESSAGE_MAP(class, base) and END_MESSAGE_MAP(); a message without an entry is
// looked up in the base class's map.
#pragma once

#include "platform/wnd/WinUser.h"

class CWnd;
class CDC;

// --- message maps ---

// One entry: the thunk calls the handler with the message unpacked and answers whether the
// message was handled, storing the handler's answer in *result.
using AFX_PMSG = BOOL (*)(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSG pfn;
};
struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Reflected messages are looked up under this offset, as the framework does.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static_assert(sizeof(ThisClass) > 0 && sizeof(TheBaseClass) > 0);                          \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, nullptr                                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]};   \
    return &messageMap;                                                                            \
    }

#define SKINKIT_MSG_ENTRY(msg, code, id, lastId, body)                                             \
    {msg, code, id, lastId,                                                                        \
     [](CWnd* w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) -> BOOL {            \
         ThisClass* self = static_cast<ThisClass*>(w);                                             \
         (void)self;                                                                               \
         (void)message;                                                                            \
         (void)wParam;                                                                             \
         (void)lParam;                                                                             \
         (void)result;                                                                             \
         body;                                                                                     \
         return TRUE;                                                                              \
     }},

// Mouse handlers take (UINT flags, CPoint client point).
#define SKINKIT_MOUSE_ENTRY(msg, handler)                                                          \
    SKINKIT_MSG_ENTRY(msg, 0, 0, 0, self->handler(static_cast<UINT>(wParam), CPoint(lParam)))
// Handlers that take the window named by a message parameter.
#define SKINKIT_WND_ENTRY(msg, handler, param)                                                     \
    SKINKIT_MSG_ENTRY(msg, 0, 0, 0, self->handler(CWnd::FromHandle(reinterpret_cast<HWND>(param))))

#define ON_WM_CREATE()                                                                             \
    SKINKIT_MSG_ENTRY(WM_CREATE, 0, 0, 0,                                                          \
                      *result = self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)))
#define ON_WM_DESTROY() SKINKIT_MSG_ENTRY(WM_DESTROY, 0, 0, 0, self->OnDestroy())
#define ON_WM_SIZE()                                                                               \
    SKINKIT_MSG_ENTRY(WM_SIZE, 0, 0, 0,                                                            \
                      self->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_PAINT() SKINKIT_MSG_ENTRY(WM_PAINT, 0, 0, 0, self->OnPaint())
#define ON_WM_ERASEBKGND()                                                                         \
    SKINKIT_MSG_ENTRY(WM_ERASEBKGND, 0, 0, 0,                                                      \
                      *result =                                                                    \
                          self->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))))
#define ON_WM_ENABLE()                                                                             \
    SKINKIT_MSG_ENTRY(WM_ENABLE, 0, 0, 0, self->OnEnable(static_cast<BOOL>(wParam)))
#define ON_WM_SETFOCUS() SKINKIT_WND_ENTRY(WM_SETFOCUS, OnSetFocus, wParam)
#define ON_WM_KILLFOCUS() SKINKIT_WND_ENTRY(WM_KILLFOCUS, OnKillFocus, wParam)
// Key handlers take (UINT key or character, UINT repeat count, UINT flags: lParam's high word).
#define SKINKIT_KEY_ENTRY(msg, handler)                                                            \
    SKINKIT_MSG_ENTRY(msg, 0, 0, 0,                                                                \
                      self->handler(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_KEYDOWN() SKINKIT_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() SKINKIT_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() SKINKIT_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_GETDLGCODE() SKINKIT_MSG_ENTRY(WM_GETDLGCODE, 0, 0, 0, *result = self->OnGetDlgCode())
#define ON_WM_MOUSEMOVE() SKINKIT_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() SKINKIT_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() SKINKIT_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() SKINKIT_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_MOUSEWHEEL()                                                                         \
    SKINKIT_MSG_ENTRY(WM_MOUSEWHEEL, 0, 0, 0,                                                      \
                      *result = self->OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam), \
                                                   CPoint(lParam)))
#define ON_WM_MOUSEHOVER() SKINKIT_MOUSE_ENTRY(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE() SKINKIT_MSG_ENTRY(WM_MOUSELEAVE, 0, 0, 0, self->OnMouseLeave())
#define ON_WM_CAPTURECHANGED() SKINKIT_WND_ENTRY(WM_CAPTURECHANGED, OnCaptureChanged, lParam)
#define ON_WM_TIMER()                                                                              \
    SKINKIT_MSG_ENTRY(WM_TIMER, 0, 0, 0, self->OnTimer(static_cast<UINT_PTR>(wParam)))
#define ON_WM_SETCURSOR()                                                                          \
    SKINKIT_MSG_ENTRY(WM_SETCURSOR, 0, 0, 0,                                                       \
                      *result =                                                                    \
                          self->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),      \
                                            LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_DRAWITEM()                                                                           \
    SKINKIT_MSG_ENTRY(                                                                             \
        WM_DRAWITEM, 0, 0, 0,                                                                      \
        self->OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)))
// All WM_CTLCOLOR* messages reach this one entry; the handler gets the kind
// as message − WM_CTLCOLORMSGBOX (CTLCOLOR_BTN 3, CTLCOLOR_STATIC 6).
#define ON_WM_CTLCOLOR()                                                                           \
    SKINKIT_MSG_ENTRY(WM_CTLCOLOR, 0, 0, 0,                                                        \
                      *result = reinterpret_cast<LRESULT>(                                         \
                          self->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),         \
                                           CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),       \
                                           message - WM_CTLCOLORMSGBOX)))
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    SKINKIT_MSG_ENTRY(                                                                             \
        WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                                    \
        *result = reinterpret_cast<LRESULT>(self->CtlColor(                                        \
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)), message - WM_CTLCOLORMSGBOX)))
// LRESULT handler(WPARAM, LPARAM)
#define ON_MESSAGE(msg, memberFxn)                                                                 \
    SKINKIT_MSG_ENTRY(msg, 0, 0, 0, *result = self->memberFxn(wParam, lParam))
// WM_COMMAND from control `id` with notification `code`: void handler().
#define ON_CONTROL(code, id, memberFxn)                                                            \
    SKINKIT_MSG_ENTRY(WM_COMMAND, code, static_cast<UINT>(id), static_cast<UINT>(id),              \
                      self->memberFxn())
// The same for a range of ids: void handler(UINT id).
#define ON_CONTROL_RANGE(code, firstId, lastId, memberFxn)                                         \
    SKINKIT_MSG_ENTRY(WM_COMMAND, code, static_cast<UINT>(firstId), static_cast<UINT>(lastId),     \
                      self->memberFxn(LOWORD(wParam)))
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
// A notification reflected to the control that sent it: void handler(), the
// parent does not see it. The _EX form takes BOOL handler(); FALSE lets the
// parent handle it as well.
#define ON_CONTROL_REFLECT(code, memberFxn)                                                        \
    SKINKIT_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, self->memberFxn())
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                                                     \
    {WM_REFLECT_BASE + WM_COMMAND, code, 0, 0,                                                     \
     [](CWnd* w, UINT, WPARAM, LPARAM, LRESULT* result) -> BOOL {                                  \
         *result = 0;                                                                              \
         return static_cast<ThisClass*>(w)->memberFxn() ? TRUE : FALSE;                            \
     }},

constexpr UINT CTLCOLOR_BTN = 3;
constexpr UINT CTLCOLOR_STATIC = 6;
