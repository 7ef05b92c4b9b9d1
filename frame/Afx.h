// The framework's extension-module registration: a module links itself into the chain of
// extension modules so that the host's framework finds its run-time classes and resources.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/WinTypes.h"

struct AFX_EXTENSION_MODULE
{
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
// Unlinks and frees the chain entries of this module (all modules when `all` is TRUE).
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

// One entry of the chain. The framework owns it once made: AfxTermExtensionModule frees it.
class CDynLinkLibrary : public CObject
{
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system = FALSE);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;
};

// The first entry of the chain (most recently linked first).
CDynLinkLibrary* AfxGetFirstDynLinkLibrary();
