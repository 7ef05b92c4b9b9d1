// The window calls the controls may make: the framework's window classes (CWnd, CButton,
// CStatic, message maps, paint DCs) and the window manager's functions, over this library's
// window layer. Controls include this header rather than platform headers, so that the window
// system stays one seam.
#pragma once

#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"
#include "platform/wnd/Accessible.h"
#include "platform/wnd/ToolTipCtrl.h"
#include "platform/wnd/WinUser.h"
#include "platform/wnd/Wnd.h"
