#include "frame/Afx.h"

#include <mutex>

namespace {

std::mutex g_chainLock;
CDynLinkLibrary* g_chain = nullptr;

} // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module)
{
    if (!module)
        return FALSE;
    // A module attached again keeps its record as it was.
    if (state.bInitialized)
        return TRUE;
    state.hModule = module;
    state.hResource = module;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all)
{
    std::unique_lock<std::mutex> guard(g_chainLock);
    CDynLinkLibrary** link = &g_chain;
    while (*link) {
        CDynLinkLibrary* entry = *link;
        if (all || entry->m_hModule == state.hModule) {
            *link = entry->m_pNextDLL;
            entry->m_pNextDLL = nullptr;
            guard.unlock();
            delete entry;
            guard.lock();
            link = &g_chain;
        } else {
            link = &entry->m_pNextDLL;
        }
    }
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(system), m_pNextDLL(nullptr)
{
    std::lock_guard<std::mutex> guard(g_chainLock);
    m_pNextDLL = g_chain;
    g_chain = this;
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    std::lock_guard<std::mutex> guard(g_chainLock);
    for (CDynLinkLibrary** link = &g_chain; *link; link = &(*link)->m_pNextDLL) {
        if (*link == this) {
            *link = m_pNextDLL;
            break;
        }
    }
}

CDynLinkLibrary* AfxGetFirstDynLinkLibrary()
{
    std::lock_guard<std::mutex> guard(g_chainLock);
    return g_chain;
}
