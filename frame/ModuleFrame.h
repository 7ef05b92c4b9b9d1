// The library's start and stop. When the shared library is loaded, the process-wide theme
// holder is made and the module entry attaches: it registers the library with the framework
// and starts the graphics system once for the process. Unloading runs the entry's detach
// (graphics stopped, module unregistered), then releases the theme holder.
#pragma once

#include "frame/Afx.h"
#include "platform/base/WinTypes.h"

// The module entry, called by the library's own load and unload hooks with
// DLL_PROCESS_ATTACH and DLL_PROCESS_DETACH. Other reasons change nothing and answer TRUE.
BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// This module's framework record.
AFX_EXTENSION_MODULE& AfxGetSkinkitModule();
