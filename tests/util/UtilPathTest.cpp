#include "util/UtilPath.h"

#include "platform/base/CString.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"
#include "tests/TestKit.h"
#include "util/chooser/Browser.h"
#include "util/chooser/Chooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <tuple>

namespace fs = std::filesystem;

namespace {

// A chooser put in place of the desktop's: it records what it was asked and answers from a
// script.
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
    static chooser::Answer Next(std::deque<chooser::Answer>& queue, chooser::Answer otherwise)
    {
        if (!queue.empty()) {
            otherwise = queue.front();
            queue.pop_front();
        }
        return otherwise;
    }
};

class TempTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(root / "Media" / "Sub");
        std::ofstream(root / "Media" / "a.avi") << "a";
        std::ofstream(root / "Media" / "Sub" / "kept.avi") << "k";
        fs::create_directory_symlink(root / "Media", root / "LinkToMedia");
    }

    // A caller's buffer, filled so that an untouched buffer is recognisable.
    struct Buffer
    {
        wchar_t text[MAX_PATH];
        Buffer() { std::wcscpy(text, L"untouched"); }
        std::string Utf8() const { return CString(text).ToUtf8(); }
    };
    static wchar_t* W(CString& s) { return s.GetBuffer(); }
    // Everything under root, sorted.
    std::vector<std::string> Left() const
    {
        std::vector<std::string> left;
        for (const auto& e : fs::recursive_directory_iterator(root))
            left.push_back(e.path().lexically_relative(root).string());
        std::sort(left.begin(), left.end());
        return left;
    }

    testkit::TempDir tmp{"skinkit_path"};
    const fs::path root = tmp.Root();
};

} // namespace

using SelectFileTest = TempTree;

TEST_F(SelectFileTest, FilterPairsAndTheInitialFolderReachTheChooserAndSeveralFilesComeBackInOrder)
{
    StandInChooser standIn;
    // The chooser hands back bytes; the caller's buffer holds the same bytes.
    const std::string chosen = (root / "Media" / "vid\xE9o.avi").string();
    standIn.answers.push_back(StandInChooser::Chosen(chosen));
    wchar_t filter[] = L"Videos\0*.avi; *.MKV\0All files\0*.*\0";  // the literal adds the last NUL
    CString folder = CString::FromUtf8(root.string() + "\\media"); // as a Windows caller spells it
    Buffer out;
    CUtilPath path;
    EXPECT_EQ(path.SelectFile(nullptr, filter, W(folder), out.text, 0), 1);
    EXPECT_EQ(CString(out.text).ToPathBytes(), chosen);

    ASSERT_EQ(standIn.requests.size(), 1u);
    const chooser::Request& r = standIn.requests[0];
    EXPECT_EQ(std::tuple(r.kind, r.allowNewName, r.initialFolder),
              std::tuple(chooser::Request::Kind::OpenFile, false, (root / "Media").string()));
    ASSERT_EQ(r.filters.size(), 2u);
    EXPECT_EQ(r.filters[0].description, "Videos");
    EXPECT_EQ(r.filters[0].patterns, (std::vector<std::string>{"*.avi", "*.MKV"}));
    EXPECT_EQ(r.filters[1].patterns, std::vector<std::string>{"*"}); // every file, as on Windows
    EXPECT_TRUE(standIn.questions.empty());

    // Several files: every path in the chooser's order; no answer leaves the caller's list alone.
    standIn.answers.push_back({chooser::Answer::Result::Chosen, "/m/a", {"/m/a", "/m/b\xE9"}});
    std::vector<CString> paths;
    EXPECT_EQ(path.SelectFiles(nullptr, nullptr, nullptr, paths), 2);
    EXPECT_EQ(paths, (std::vector<CString>{L"/m/a", CString::FromPathBytes("/m/b\xE9")}));
    EXPECT_EQ(path.SelectFiles(nullptr, nullptr, nullptr, paths), 0);
    EXPECT_EQ(paths.size(), 2u);
    ASSERT_EQ(standIn.requests.size(), 3u);
    EXPECT_TRUE(standIn.requests[1].multiple);
}

TEST_F(SelectFileTest, NoAnswerLeavesTheBufferAlone)
{
    // What, the chooser's answer, whether the caller gives no buffer.
    const std::tuple<const char*, chooser::Answer, bool> cases[] = {
        {"cancelled", {chooser::Answer::Result::Cancelled, {}}, false},
        {"a path longer than the buffer", StandInChooser::Chosen("/" + std::string(300, 'x')),
         false},
        {"a location that is no file", StandInChooser::Chosen(""), false},
        {"a null buffer, the chooser shown all the same", StandInChooser::Chosen("/tmp"), true},
    };
    for (const auto& [what, answer, nullBuffer] : cases) {
        StandInChooser standIn;
        standIn.answers.push_back(answer);
        Buffer out;
        EXPECT_EQ(
            CUtilPath().SelectFile(nullptr, nullptr, nullptr, nullBuffer ? nullptr : out.text, 0),
            0)
            << what;
        EXPECT_EQ(out.Utf8(), "untouched") << what;
        EXPECT_EQ(standIn.requests.size(), 1u) << what;
    }
}

TEST_F(SelectFileTest, CreatePromptAsksBeforeANewNameAndStaysOpenOnNo)
{
    StandInChooser standIn;
    const std::string fresh = (root / "Media" / "new.avi").string();
    const std::string existing = (root / "Media" / "a.avi").string();
    standIn.answers = {StandInChooser::Chosen(fresh), StandInChooser::Chosen(existing)};
    standIn.decisions = {{chooser::Answer::Result::Cancelled, {}}}; // "no"
    Buffer out;
    EXPECT_EQ(CUtilPath().SelectFile(nullptr, nullptr, nullptr, out.text, 1), 1);
    EXPECT_EQ(out.Utf8(), existing); // the existing file was answered without a question
    ASSERT_EQ(standIn.requests.size(), 2u);
    EXPECT_TRUE(standIn.requests[0].allowNewName);
    ASSERT_EQ(standIn.questions.size(), 1u);
    EXPECT_NE(standIn.questions[0].text.find(fresh), std::string::npos);

    standIn.answers = {StandInChooser::Chosen(fresh)};
    standIn.decisions = {StandInChooser::Chosen("")}; // "yes"
    EXPECT_EQ(CUtilPath().SelectFile(nullptr, nullptr, nullptr, out.text, 1), 1);
    EXPECT_EQ(out.Utf8(), fresh);
    EXPECT_FALSE(fs::exists(fresh)); // agreeing names the file; it does not make it

    // No box to ask with: nothing is answered.
    standIn.answers = {StandInChooser::Chosen(fresh)};
    EXPECT_EQ(CUtilPath().SelectFile(nullptr, nullptr, nullptr, out.text, 1), 0);
}

using SelectFolderTest = TempTree;

// The simple form takes any path the chooser gives; the fullest form passes its options, and its
// callback judges the path: OK stays off for links and missing folders. While the chooser is up
// the browser is a window of the window layer, never shown; it is gone afterwards.
TEST_F(SelectFolderTest, FullestFormPassesItsOptionsAndKeepsOkOffForLinksAndMissingFolders)
{
    platform::wnd::HeadlessDriver driver;
    const std::string sub = (root / "Media" / "Sub").string();
    const std::string link = (root / "LinkToMedia").string();
    // The folder, caption and new-folder flag given (the simple form takes the caption alone);
    // the path chosen, the answer, the folder asked for.
    const struct
    {
        const char* what;
        bool simple;
        const wchar_t *folder, *title;
        int newFolder;
        std::string chosen;
        int answer;
        std::string initial;
    } cases[] = {
        {"simple form, a symbolic link", true, nullptr, L"Pick", 0, link, 1, ""},
        {"all given, an existing folder", false, L"MEDIA\\sub", L"Where to record", 1, sub, 1, sub},
        {"empty folder and caption, an existing file", false, L"", L"", 0,
         (root / "Media" / "a.avi").string(), 1, ""},
        {"a symbolic link", false, nullptr, nullptr, 1, link, 0, ""},
        {"a folder that does not exist", false, nullptr, nullptr, 1, (root / "Gone").string(), 0,
         ""},
        {"a location outside the file system", false, nullptr, nullptr, 1, "", 0, ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        StandInChooser standIn;
        standIn.answers.push_back(StandInChooser::Chosen(k.chosen));
        CString initial = k.folder && k.folder[0]
                              ? CString::FromUtf8(root.string() + "/") + k.folder
                              : CString(k.folder);
        CString caption(k.title);
        wchar_t ok[] = L"Record here", cancel[] = L"Never mind";
        Buffer out;
        CUtilPath path;
        EXPECT_EQ(k.simple ? path.SelectFolder(nullptr, out.text, W(caption))
                           : path.SelectFolder(nullptr, k.folder ? W(initial) : nullptr,
                                               k.title ? W(caption) : nullptr, out.text, ok, cancel,
                                               k.newFolder),
                  k.answer);
        EXPECT_EQ(out.Utf8(), k.answer ? k.chosen : "untouched");
        ASSERT_EQ(standIn.requests.size(), 1u);
        const chooser::Request& r = standIn.requests[0];
        EXPECT_EQ(std::pair(r.initialFolder, r.title), std::pair(k.initial, caption.ToUtf8()));
        if (!k.simple) {
            EXPECT_EQ(std::tuple(r.acceptLabel, r.cancelLabel, r.newFolderButton,
                                 standIn.topsShownWhileUp),
                      std::tuple("Record here", "Never mind", k.newFolder != 0,
                                 std::vector<bool>{false}));
        }
        EXPECT_TRUE(platform::wnd::TopLevels().empty());
    }
    // A folder chosen with nowhere to write it answers 0 rather than writing through null.
    StandInChooser standIn;
    standIn.answers.push_back(StandInChooser::Chosen(root.string()));
    EXPECT_EQ(CUtilPath().SelectFolder(nullptr, nullptr), 0);
}

TEST_F(SelectFolderTest, BrowserTakesSelectionsByPathOnly)
{
    platform::wnd::HeadlessDriver driver;
    chooser::FolderBrowser browser;
    ASSERT_TRUE(browser.CreateBrowser(L""));
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(L"/media"));
    const chooser::BrowserItem item{L"/elsewhere"};
    // FALSE: lParam is an item list, which this browser does not read.
    SendMessageW(browser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(browser.Selection(), L"/media");
}

namespace {

// A backend whose every top-level window has a native handle other programs could use.
class NativeHandleBackend : public platform::wnd::Backend
{
public:
    const char* Name() const override { return "test-native-handles"; }
    DWORD Now() override { return 0; }
    bool CreateTopLevel(HWND, const CString&, const RECT&, bool) override { return true; }
    void DestroyTopLevel(HWND) override {}
    void Present(HWND, Gdiplus::Bitmap&, const RECT&) override {}
    bool WaitInput(int) override { return false; }
    int MessageBox(HWND, const CString&, const CString&, UINT) override { return 0; }
    std::string NativeHandle(HWND) override { return "x11:4a0001f"; }
};

} // namespace

// Which window's handle an owner gives is the window layer's rule, held by its own tests; each
// kind of chooser passes it on.
TEST_F(TempTree, AnOwnerNamesTheChoosersParent)
{
    platform::wnd::RegisterBackend("test-native-handles", [] {
        return std::unique_ptr<platform::wnd::Backend>(new NativeHandleBackend);
    });
    ASSERT_TRUE(platform::wnd::UseBackend("test-native-handles"));
    const HWND top = CreateWindowExW(0, nullptr, L"player", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0,
                                     300, 200, nullptr, nullptr, nullptr, nullptr);
    const HWND child = CreateWindowExW(0, L"BUTTON", L"Open", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20,
                                       top, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    StandInChooser standIn;
    Buffer out;
    CUtilPath().SelectFile(child, nullptr, nullptr, out.text, 0);
    CUtilPath().SelectFolder(child, out.text);
    platform::wnd::UseBackend("headless");
    ASSERT_EQ(standIn.requests.size(), 2u);
    for (const chooser::Request& r : standIn.requests)
        EXPECT_EQ(r.parentWindow, "x11:4a0001f");
}

using RemoveAllTest = TempTree;

// Only files directly inside the folder named exactly as given go: not a folder that differs in
// letter case (how a name is matched exactly is the file layer's rule, with its own tests), not
// sub-folders, not what a link points to.
TEST_F(RemoveAllTest, EmptiesOnlyTheFolderSpelledExactly)
{
    std::ofstream(root / "outside.txt") << "o";
    fs::create_symlink(root / "outside.txt", root / "Media" / "link.txt");
    std::ofstream(root / "Media" / ".hidden") << "h";
    const auto empty = [&](const char* name) {
        CString folder = CString::FromPathBytes(root.string() + name);
        CUtilPath().RemoveAll(W(folder));
    };
    const std::vector<std::string> all = Left();
    for (const char* name : {"/media", "/NoSuch"})
        empty(name);
    CUtilPath().RemoveAll(nullptr);
    EXPECT_EQ(Left(), all);

    empty("/Media");
    EXPECT_EQ(Left(), (std::vector<std::string>{"LinkToMedia", "Media", "Media/Sub",
                                                "Media/Sub/kept.avi", "outside.txt"}));
}
