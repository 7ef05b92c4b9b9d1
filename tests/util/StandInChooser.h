// A chooser the tests put in place of the desktop's: it records what it was asked and answers
// from a script.
#pragma once

#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "util/chooser/Chooser.h"

#include <deque>

struct StandInChooser : chooser::Backend
{
    std::vector<chooser::Request> requests;
    std::vector<chooser::Question> questions;
    std::deque<chooser::Answer> answers;   // for Choose; Cancelled when used up
    std::deque<chooser::Answer> decisions; // for Ask; Unavailable when used up
    std::vector<bool> topsShownWhileUp;    // each top-level window while Choose was asked

    StandInChooser() { chooser::SetBackend(this); }
    ~StandInChooser() override { chooser::SetBackend(nullptr); }

    const char* Name() const override { return "stand-in"; }
    chooser::Answer Choose(const chooser::Request& r) override
    {
        requests.push_back(r);
        topsShownWhileUp.clear();
        for (HWND top : platform::wnd::TopLevels())
            topsShownWhileUp.push_back(IsWindowVisible(top));
        return Next(answers, {chooser::Answer::Result::Cancelled, {}});
    }
    chooser::Answer Ask(const chooser::Question& q) override
    {
        questions.push_back(q);
        return Next(decisions, {});
    }
    static chooser::Answer Chosen(const std::string& path)
    {
        return {chooser::Answer::Result::Chosen, path};
    }

private:
    static chooser::Answer Next(std::deque<chooser::Answer>& queue, chooser::Answer otherwise)
    {
        if (queue.empty())
            return otherwise;
        chooser::Answer a = queue.front();
        queue.pop_front();
        return a;
    }
};
