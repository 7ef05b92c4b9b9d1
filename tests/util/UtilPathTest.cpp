#include "util/UtilPath.h"

#include "StandInChooser.h"
#include "platform/base/CString.h"
#include "util/chooser/Browser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

// The callback on its own, against a browser record.
TEST_F(SelectFolderTest, CallbackSetsUpTheBrowserAndJudgesSelections)
{
    chooser::BrowserState state;
    const HWND browser = chooser::RegisterBrowser(&state);
    wchar_t caption[] = L"Caption", initial[] = L"/somewhere", ok[] = L"Take";
    SelectFolderParam param{caption, initial, ok, nullptr, 0x41};
    const LPARAM data = reinterpret_cast<LPARAM>(&param);

    EXPECT_EQ(CUtilPath::SelectFolderCallback(browser, BFFM_INITIALIZED, 0, data), 0);
    EXPECT_EQ(state.selection, L"/somewhere");
    EXPECT_EQ(state.caption, L"Caption");
    EXPECT_EQ(state.okText, L"Take");
    EXPECT_EQ(state.cancelText, L""); // a null text leaves the button without text

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
        state.okEnabled = true;
        const chooser::BrowserItem item{c.path};
        EXPECT_EQ(CUtilPath::SelectFolderCallback(browser, BFFM_SELCHANGED,
                                                  reinterpret_cast<LPARAM>(&item), data),
                  0);
        EXPECT_EQ(state.okEnabled, c.okStays);
    }
    // Other messages change nothing.
    state.okEnabled = true;
    EXPECT_EQ(CUtilPath::SelectFolderCallback(browser, 3, 0, data), 0);
    EXPECT_TRUE(state.okEnabled);
    chooser::UnregisterBrowser(browser);
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
    CString folder = CString::FromUtf8(root.string() + "\\MEDIA");
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
