// The dialog manager (tab order, groups, Enter, Esc, mnemonics), accelerators and the system
// button's keys.
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"

#include <gtest/gtest.h>
