#include "util/UtilPath.h"

#include "StandInChooser.h"
#include "platform/base/CString.h"
#include "platform/wnd/Backend.h"
#include "platform/wnd/WindowManager.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/headless/HeadlessDriver.h"
#include "util/chooser/Browser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

class TempTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/skinkit_path_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directories(root / "Media" / "Sub");
        std::ofstream(root / "Media" / "a.avi") << "a";
        std::ofstream(root / "Media" / "Sub" / "kept.avi") << "k";
        fs::create_directory_symlink(root / "Media", root / "LinkToMedia");
    }
    void TearDown() override { fs::remove_all(root); }

    // A caller's buffer, filled so that an untouched buffer is recognisable.
    struct Buffer
    {
        wchar_t text[MAX_PATH];
        Buffer() { std::wcscpy(text, L"untouched"); }
        std::string Utf8() const { return CString(text).ToUtf8(); }
    };
    static wchar_t* W(CString& s) { return s.GetBuffer(); }

    fs::path root;
};

} // namespace

// --- open-file chooser ---

class SelectFileTest : public TempTree
{
};

TEST_F(SelectFileTest, FilterPairsAndTheInitialFolderReachTheChooser)
{
    StandInChooser standIn;
    const std::string chosen = (root / "Media" / "a.avi").string();
    standIn.answers.push_back(StandInChooser::Chosen(chosen));
    wchar_t filter[] = L"Videos\0*.avi; *.MKV\0All files\0*.*\0";  // the literal adds the last NUL
    CString folder = CString::FromUtf8(root.string() + "\\media"); // as a Windows caller spells it
    Buffer out;
    CUtilPath path;
    EXPECT_EQ(path.SelectFile(nullptr, filter, W(folder), out.text, 0), 1);
    EXPECT_EQ(out.Utf8(), chosen);

    ASSERT_EQ(standIn.requests.size(), 1u);
    const chooser::Request& r = standIn.requests[0];
    EXPECT_EQ(r.kind, chooser::Request::Kind::OpenFile);
    EXPECT_FALSE(r.allowNewName);
    EXPECT_EQ(r.initialFolder, (root / "Media").string());
    ASSERT_EQ(r.filters.size(), 2u);
    EXPECT_EQ(r.filters[0].description, "Videos");
    EXPECT_EQ(r.filters[0].patterns, (std::vector<std::string>{"*.avi", "*.MKV"}));
    EXPECT_EQ(r.filters[1].description, "All files");
    EXPECT_EQ(r.filters[1].patterns, std::vector<std::string>{"*"}); // every file, as on Windows
    EXPECT_TRUE(standIn.questions.empty());
}

TEST_F(SelectFileTest, NoAnswerLeavesTheBufferAlone)
{
    struct Case
    {
        const char* what;
        chooser::Answer answer;
        bool nullBuffer;
    } const cases[] = {
        {"cancelled", {chooser::Answer::Result::Cancelled, {}}, false},
        {"no chooser on this desktop", {chooser::Answer::Result::Unavailable, {}}, false},
        {"a path longer than the buffer", StandInChooser::Chosen("/" + std::string(300, 'x')),
         false},
        {"a location that is no file", StandInChooser::Chosen(""), false},
        {"a null buffer, the chooser shown all the same", StandInChooser::Chosen("/tmp"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInChooser standIn;
        standIn.answers.push_back(c.answer);
        Buffer out;
        EXPECT_EQ(
            CUtilPath().SelectFile(nullptr, nullptr, nullptr, c.nullBuffer ? nullptr : out.text, 0),
            0);
        EXPECT_EQ(out.Utf8(), "untouched");
        EXPECT_EQ(standIn.requests.size(), 1u);
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

// --- folder browser ---

class SelectFolderTest : public TempTree
{
};

TEST_F(SelectFolderTest, SimpleFormsPassTheirTitleAndAcceptAnyFolderOnDisk)
{
    StandInChooser standIn;
    const std::string link = (root / "LinkToMedia").string();
    standIn.answers = {StandInChooser::Chosen(link), StandInChooser::Chosen(link)};
    Buffer out;
    wchar_t title[] = L"Pick the media folder";
    CUtilPath path;
    EXPECT_EQ(path.SelectFolder(nullptr, out.text), 1);
    EXPECT_EQ(path.SelectFolder(nullptr, out.text, title), 1);
    EXPECT_EQ(out.Utf8(), link);
    ASSERT_EQ(standIn.requests.size(), 2u);
    EXPECT_EQ(standIn.requests[0].kind, chooser::Request::Kind::Folder);
    EXPECT_EQ(standIn.requests[0].title, "");
    EXPECT_EQ(standIn.requests[1].title, "Pick the media folder");
    EXPECT_FALSE(standIn.requests[1].newFolderButton);
    EXPECT_EQ(standIn.requests[1].initialFolder, "");
}

TEST_F(SelectFolderTest, FullestFormPassesItsOptions)
{
    struct Case
    {
        const char* what;
        const wchar_t* initial;
        const wchar_t* caption;
        int newFolder;
        std::string wantInitial, wantTitle;
    } const cases[] = {
        {"all given", L"MEDIA\\sub", L"Where to record", 1, "Media/Sub", "Where to record"},
        {"null folder and caption", nullptr, nullptr, 0, "", ""},
        {"empty folder and caption", L"", L"", 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInChooser standIn;
        CString initial = c.initial && c.initial[0]
                              ? CString::FromUtf8(root.string() + "/") + c.initial
                              : CString(c.initial);
        CString caption(c.caption);
        wchar_t ok[] = L"Record here", cancel[] = L"Never mind";
        Buffer out;
        EXPECT_EQ(CUtilPath().SelectFolder(nullptr, c.initial ? W(initial) : nullptr,
                                           c.caption ? W(caption) : nullptr, out.text, ok, cancel,
                                           c.newFolder),
                  0);
        ASSERT_EQ(standIn.requests.size(), 1u);
        const chooser::Request& r = standIn.requests[0];
        EXPECT_EQ(r.initialFolder, c.wantInitial.empty() ? "" : (root / c.wantInitial).string());
        EXPECT_EQ(r.title, c.wantTitle);
        EXPECT_EQ(r.acceptLabel, "Record here");
        EXPECT_EQ(r.cancelLabel, "Never mind");
        EXPECT_EQ(r.newFolderButton, c.newFolder != 0);
    }
}

TEST_F(SelectFolderTest, FullestFormKeepsOkOffForLinksAndMissingFolders)
{
    struct Case
    {
        const char* what;
        std::string chosen;
        int expected;
    } const cases[] = {
        {"an existing folder", (root / "Media" / "Sub").string(), 1},
        {"a symbolic link", (root / "LinkToMedia").string(), 0},
        {"a folder that does not exist", (root / "Gone").string(), 0},
        {"a location outside the file system", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInChooser standIn;
        standIn.answers.push_back(StandInChooser::Chosen(c.chosen));
        Buffer out;
        EXPECT_EQ(
            CUtilPath().SelectFolder(nullptr, nullptr, nullptr, out.text, nullptr, nullptr, 1),
            c.expected);
        EXPECT_EQ(out.Utf8(), c.expected ? c.chosen : "untouched");
    }
}

// While the chooser is up the browser is a window of the window layer, never shown, carrying
// what the callback set; it is gone afterwards.
TEST_F(SelectFolderTest, TheBrowserIsAHiddenWindowOnlyWhileTheChooserIsUp)
{
    struct Seen : StandInChooser
    {
        std::vector<HWND> tops;
        std::wstring caption, ok;
        bool visible = true;
        chooser::Answer Choose(const chooser::Request& r) override
        {
            tops = platform::wnd::TopLevels();
            if (tops.size() == 1) {
                visible = IsWindowVisible(tops[0]);
                caption = CWnd::FromHandle(tops[0])->GetWindowText().Str();
                ok = CWnd::FromHandle(GetDlgItem(tops[0], IDOK))->GetWindowText().Str();
            }
            return StandInChooser::Choose(r);
        }
    } standIn;
    platform::wnd::HeadlessDriver driver;
    wchar_t caption[] = L"Where to record", ok[] = L"Record here";
    Buffer out;
    EXPECT_EQ(CUtilPath().SelectFolder(nullptr, nullptr, caption, out.text, ok, nullptr, 1), 0);
    ASSERT_EQ(standIn.tops.size(), 1u);
    EXPECT_FALSE(standIn.visible);
    EXPECT_EQ(standIn.caption, L"Where to record");
    EXPECT_EQ(standIn.ok, L"Record here");
    EXPECT_TRUE(platform::wnd::TopLevels().empty());

    // The simple forms have no callback to talk to a browser.
    EXPECT_EQ(CUtilPath().SelectFolder(nullptr, out.text), 0);
    EXPECT_TRUE(standIn.tops.empty());
}

// The callback on its own, against a browser window: each of its calls lands on the window.
TEST_F(SelectFolderTest, CallbackSetsUpTheBrowserWindowAndJudgesSelections)
{
    platform::wnd::HeadlessDriver driver;
    chooser::FolderBrowser browser;
    ASSERT_TRUE(browser.CreateBrowser(L"Chooser's own"));
    const HWND ok = GetDlgItem(browser, IDOK);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(GetDlgItem(browser, IDCANCEL), nullptr);
    EXPECT_FALSE(browser.IsWindowVisible());
    EXPECT_EQ(browser.ButtonText(IDOK), L""); // the chooser's own labels until told otherwise

    wchar_t caption[] = L"Caption", initial[] = L"/somewhere", okText[] = L"Take";
    SelectFolderParam param{caption, initial, okText, nullptr, 0x41};
    const LPARAM data = reinterpret_cast<LPARAM>(&param);
    EXPECT_EQ(CUtilPath::SelectFolderCallback(browser, BFFM_INITIALIZED, 0, data), 0);
    EXPECT_EQ(browser.Selection(), L"/somewhere");
    EXPECT_EQ(browser.GetWindowText(), L"Caption");
    EXPECT_EQ(browser.ButtonText(IDOK), L"Take");
    EXPECT_EQ(browser.ButtonText(IDCANCEL), L""); // a null text leaves the button without text

    // No caption or folder from the caller: the browser keeps its own.
    SelectFolderParam bare{nullptr, L"", nullptr, nullptr, 0x41};
    EXPECT_EQ(CUtilPath::SelectFolderCallback(browser, BFFM_INITIALIZED, 0,
                                              reinterpret_cast<LPARAM>(&bare)),
              0);
    EXPECT_EQ(browser.GetWindowText(), L"Caption");
    EXPECT_EQ(browser.Selection(), L"/somewhere");

    struct Case
    {
        const char* what;
        std::wstring path;
        bool okStays;
    } const cases[] = {
        {"folder", CString::FromUtf8((root / "Media").string()).Str(), true},
        {"file", CString::FromUtf8((root / "Media" / "a.avi").string()).Str(), true},
        {"link", CString::FromUtf8((root / "LinkToMedia").string()).Str(), false},
        {"missing", L"/no/such/folder", false},
        {"no path", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EnableWindow(ok, TRUE);
        const chooser::BrowserItem item{c.path};
        EXPECT_EQ(CUtilPath::SelectFolderCallback(browser, BFFM_SELCHANGED,
                                                  reinterpret_cast<LPARAM>(&item), data),
                  0);
        EXPECT_EQ(IsWindowEnabled(ok) != FALSE, c.okStays);
        EXPECT_EQ(browser.IsOkEnabled() != FALSE, c.okStays);
    }
    // Other messages change nothing.
    EnableWindow(ok, TRUE);
    EXPECT_EQ(CUtilPath::SelectFolderCallback(browser, 3, 0, data), 0);
    EXPECT_TRUE(IsWindowEnabled(ok));
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

// --- owner windows ---

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

class OwnerWindowTest : public TempTree
{
protected:
    void SetUp() override
    {
        TempTree::SetUp();
        platform::wnd::RegisterBackend("test-native-handles",
                                       []() -> std::unique_ptr<platform::wnd::Backend> {
                                           return std::make_unique<NativeHandleBackend>();
                                       });
        ASSERT_TRUE(platform::wnd::UseBackend("test-native-handles"));
    }
    void TearDown() override
    {
        platform::wnd::UseBackend("headless");
        TempTree::TearDown();
    }
};

} // namespace

TEST_F(OwnerWindowTest, AShownOwnerNamesTheChoosersParent)
{
    const HWND top = CreateWindowExW(0, nullptr, L"player", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0,
                                     300, 200, nullptr, nullptr, nullptr, nullptr);
    const HWND hidden = CreateWindowExW(0, nullptr, L"hidden", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                        nullptr, nullptr, nullptr, nullptr);
    const HWND child = CreateWindowExW(0, L"BUTTON", L"Open", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20,
                                       top, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_TRUE(top && hidden && child);
    struct Case
    {
        const char* what;
        HWND owner;
        std::string parent;
    } const cases[] = {
        {"a shown top-level", top, "x11:4a0001f"},
        {"a control in it", child, "x11:4a0001f"},
        {"a hidden top-level", hidden, ""},
        {"no owner", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInChooser standIn;
        Buffer out;
        wchar_t caption[] = L"Where";
        CUtilPath path;
        path.SelectFile(c.owner, nullptr, nullptr, out.text, 0);
        path.SelectFolder(c.owner, out.text);
        path.SelectFolder(c.owner, nullptr, caption, out.text, nullptr, nullptr, 1);
        ASSERT_EQ(standIn.requests.size(), 3u);
        for (const chooser::Request& r : standIn.requests)
            EXPECT_EQ(r.parentWindow, c.parent);
    }
}

// --- emptying a folder ---

class RemoveAllTest : public TempTree
{
};

TEST_F(RemoveAllTest, DeletesFilesDirectlyInsideAndNothingElse)
{
    std::ofstream(root / "outside.txt") << "o";
    fs::create_symlink(root / "outside.txt", root / "Media" / "link.txt");
    std::ofstream(root / "Media" / ".hidden") << "h";
    CString folder = CString::FromUtf8(root.string() + "/Media");
    CUtilPath().RemoveAll(W(folder));

    std::vector<std::string> left;
    for (const auto& e : fs::recursive_directory_iterator(root))
        left.push_back(e.path().lexically_relative(root).string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"LinkToMedia", "Media", "Media/Sub",
                                              "Media/Sub/kept.avi", "outside.txt"}));
}

TEST_F(RemoveAllTest, MissingFolderOrNoFolderDoesNothing)
{
    CString missing = CString::FromUtf8((root / "Nope").string());
    CUtilPath().RemoveAll(W(missing));
    CUtilPath().RemoveAll(nullptr);
    EXPECT_TRUE(fs::exists(root / "Media" / "a.avi"));
}
