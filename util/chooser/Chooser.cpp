#include "util/chooser/Chooser.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace chooser {
namespace {

std::mutex g_mutex;
Backend* g_standIn = nullptr;

std::vector<Backend*> DesktopBackends()
{
    static const auto portal = MakePortalBackend();
    static const auto zenity = MakeZenityBackend();
    static const auto kdialog = MakeKDialogBackend();
    const std::vector<Backend*> all = {portal.get(), zenity.get(), kdialog.get()};
    const char* only = std::getenv("SKINKIT_CHOOSER");
    if (!only || !only[0])
        return all;
    std::vector<Backend*> picked;
    for (Backend* b : all)
        if (std::strcmp(b->Name(), only) == 0)
            picked.push_back(b);
    return picked; // "none" (or an unknown name) leaves no chooser at all
}

template <class Call> Answer FirstAvailable(Call call)
{
    Backend* standIn = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        standIn = g_standIn;
    }
    if (standIn)
        return call(*standIn);
    for (Backend* backend : DesktopBackends()) {
        Answer answer = call(*backend);
        if (answer.result != Answer::Result::Unavailable)
            return answer;
    }
    return {};
}

} // namespace

void SetBackend(Backend* backend)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_standIn = backend;
}

Answer Choose(const Request& request)
{
    Answer answer = FirstAvailable([&](Backend& b) { return b.Choose(request); });
    // A backend that names only `path` (a host's own stand-in) still fills the list.
    if (answer.paths.empty() && !answer.path.empty())
        answer.paths.push_back(answer.path);
    return answer;
}

Answer Ask(const Question& question)
{
    return FirstAvailable([&](Backend& b) { return b.Ask(question); });
}

} // namespace chooser
