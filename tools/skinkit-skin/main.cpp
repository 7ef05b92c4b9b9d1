// skinkit-skin: shows a skin's layout entries and language texts as the library reads them,
// and checks a whole skin (layout, pictures, language) for what would go wrong at run time.
// Exit status: 0 done, 1 a finding or something missing (named on standard error), 2 bad usage.
#include "SkinReport.h"

#include "platform/ini/PrivateProfile.h"
#include "skin/UICoordi.h"
#include "skin/UIText.h"

#include <CLI/CLI.hpp>

#include <iconv.h>

#include <iostream>
#include <iterator>
#include <vector>

namespace {

enum Exit { kDone = 0, kFinding = 1, kUsage = 2 };

// Arguments are file names and names from files: bytes that are not UTF-8 stay as they are.
CString Arg(const std::string& s)
{
    return CString::FromPathBytes(s);
}

// False, with the cause on standard error, when the file cannot be read or holds no section:
// the library would read it as an empty file and answer defaults that look like real entries.
// `layout` and `text` answer alike for the same file.
bool Readable(const CString& path, const std::string& file)
{
    std::string problem = skintool::FileProblem(path);
    if (problem.empty() && skintool::SectionNames(path).empty())
        problem = file + ": no entries (the file is empty or has no sections)";
    if (problem.empty())
        return true;
    std::cerr << "skinkit-skin: " << problem << "\n";
    return false;
}

bool KnownCodePage(const std::string& name)
{
    iconv_t cd = iconv_open("WCHAR_T", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(cd);
    return true;
}

int Layout(const std::string& file, const std::string& name, bool json)
{
    const CString path = Arg(file);
    if (!Readable(path, file))
        return kFinding;
    CUICoordi coordi;
    coordi.LoadInfo(path);
    std::vector<CString> names = skintool::SectionNames(path);
    if (!name.empty()) {
        const CString wanted = Arg(name);
        bool listed = false;
        for (const CString& n : names)
            listed = listed || n == wanted;
        if (!listed) {
            std::cerr << "skinkit-skin: " << file << ": no entry [" << name
                      << "] (names compare with letter case)\n";
            return kFinding;
        }
        names = {wanted};
    }
    for (const CString& n : names) {
        const _WIN_POS* w = coordi.GetWinPos(n);
        if (json)
            std::cout << skintool::LayoutJson(n, *w).dump() << "\n";
        else
            std::cout << skintool::LayoutText(n, *w) << "\n";
    }
    return kDone;
}

int Text(const std::string& file, std::vector<std::string> keys, bool json)
{
    const CString path = Arg(file);
    if (!Readable(path, file))
        return kFinding;
    const bool named = !keys.empty();
    bool missing = false;
    CUIText text;
    text.LoadTextMain(path);
    std::vector<CString> wanted;
    for (const std::string& k : keys)
        wanted.push_back(Arg(k));
    if (wanted.empty()) {
        // Every key of the file, in file order, each once.
        std::set<std::wstring> seen;
        std::vector<const wchar_t*> sections(std::begin(skin::kMainTextSections),
                                             std::end(skin::kMainTextSections));
        sections.push_back(skin::kSetupTextSection);
        for (const wchar_t* section : sections)
            for (const CString& line : skintool::SectionLines(path, section)) {
                const int eq = line.Find(L'=');
                const CString key = eq < 0 ? CString() : line.Left(eq);
                if (seen.insert(key.Str()).second)
                    wanted.push_back(key);
            }
    }
    const unsigned short id = text.GetLangID(path);
    if (json) {
        skintool::Json head;
        head["lang_id"] = id;
        head["lang_name"] = text.GetLangName(path).ToUtf8();
        head["map"] = text.GetMapInfo(path).ToUtf8();
        head["font"] = text.GetFontName(path).ToUtf8();
        std::cout << head.dump() << "\n";
    } else {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%04X", id);
        std::cout << "language " << hex << " \"" << text.GetLangName(path).ToUtf8() << "\", map \""
                  << text.GetMapInfo(path).ToUtf8() << "\", font \""
                  << text.GetFontName(path).ToUtf8() << "\"\n";
    }
    for (const CString& key : wanted) {
        const CString mainText = text.GetTextMain(key);
        const int mainSize = text.GetFontSizeMain(key);
        const CString setupText = text.GetTextSetup(path, key);
        const int setupSize = text.GetFontSizeSetup(path, key);
        if (named && mainSize == -1 && mainText.IsEmpty() && setupSize == -1) {
            std::cerr << "skinkit-skin: " << file << ": no text " << key.ToUtf8() << "\n";
            missing = true;
            continue;
        }
        if (json) {
            skintool::Json j;
            j["key"] = key.ToUtf8();
            j["main_text"] = mainText.ToUtf8();
            j["main_size"] = mainSize;
            j["setup_text"] = setupText.ToUtf8();
            j["setup_size"] = setupSize;
            std::cout << j.dump() << "\n";
        } else {
            std::cout << key.ToUtf8() << "\n";
            if (mainSize != -1 || !mainText.IsEmpty())
                std::cout << "  main   size " << mainSize << "  \"" << mainText.ToUtf8() << "\"\n";
            if (setupSize != -1)
                std::cout << "  setup  size " << setupSize << "  \"" << setupText.ToUtf8()
                          << "\"\n";
            if (mainSize == -1 && mainText.IsEmpty() && setupSize == -1)
                std::cout << "  (not found)\n";
        }
    }
    return missing ? kFinding : kDone;
}

int Check(const skintool::CheckInput& in, bool json)
{
    std::vector<std::string> notes;
    const std::vector<skintool::Finding> findings = skintool::CheckSkin(in, notes);
    if (json) {
        for (const auto& f : findings) {
            skintool::Json j;
            j["file"] = f.file, j["where"] = f.where, j["problem"] = f.problem,
            j["detail"] = f.detail;
            std::cout << j.dump() << "\n";
        }
    } else {
        for (const auto& n : notes)
            std::cout << n << "\n";
        for (const auto& f : findings)
            std::cout << f.file << ": " << f.problem << ": "
                      << (f.where.empty() ? "" : f.where + ": ") << f.detail << "\n";
        std::cout << (findings.empty() ? std::string("no problems found")
                                       : std::to_string(findings.size()) + " problem(s) found")
                  << "\n";
    }
    return findings.empty() ? kDone : kFinding;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Reads skin files as skinkit reads them: layout entries, language texts, and a "
                 "whole-skin check."};
    app.require_subcommand(1);
    app.footer("Exit status: 0 done; 1 a problem found, or a file, entry or text that is missing "
               "(the cause is named on standard error); 2 bad usage, such as an unknown option "
               "or --codepage.");
    std::string codepage;
    app.add_option("--codepage", codepage,
                   "legacy code page of files that are neither UTF-16 nor UTF-8 (iconv name)")
        ->default_str("WINDOWS-1252");

    bool json = false;
    std::string file, name;
    auto* layout =
        app.add_subcommand("layout", "print the entries of a layout file (or the one named NAME)");
    layout->add_option("FILE", file, "layout file")->required();
    layout->add_option("NAME", name, "entry name (letter case counts)");
    layout->add_flag("--json", json, "one JSON object per entry");

    std::vector<std::string> keys;
    auto* text = app.add_subcommand("text", "print a language file's identity and texts");
    text->add_option("FILE", file, "language file")->required();
    text->add_option("KEY", keys, "text keys (default: every key of the file)");
    text->add_flag("--json", json, "one JSON object for the language, then one per key");

    std::string layoutFile, images, list, lang;
    auto* check = app.add_subcommand("check", "load a whole skin and report what is wrong with it");
    check->add_option("--layout", layoutFile, "layout file");
    auto* imagesOpt = check->add_option("--images", images, "image folder");
    auto* listOpt = check->add_option("--list", list, "image list file");
    check->add_option("--lang", lang, "language file");
    check->add_flag("--json", json, "one JSON object per problem");
    bool accessibility = false;
    check->add_flag(
        "--accessibility", accessibility,
        "also report \"control X has no name\" for each layout section a screen reader would "
        "read without a name (needs --layout and --lang). Every section is a control, except one "
        "with Container=1 (a window or panel that only holds others). A control is named by "
        "Text=KEY (the language text it shows; Text=* for a text the program sets, such as a "
        "time) or ToolTip=KEY (its tooltip's text) in its section, KEY a key of the language "
        "file with a text, or by a language text whose key is the section's own name");
    listOpt->needs(imagesOpt);
    imagesOpt->needs(listOpt);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kDone : kUsage;
    }
    if (!codepage.empty() && !KnownCodePage(codepage)) {
        std::cerr << "skinkit-skin: unknown code page \"" << codepage
                  << "\" (give an iconv name, such as WINDOWS-1252 or CP932)\n";
        return kUsage;
    }
    if (!codepage.empty())
        platform::ini::SetLegacyCodePage(codepage);

    if (*layout)
        return Layout(file, name, json);
    if (*text)
        return Text(file, keys, json);
    if (layoutFile.empty() && list.empty() && lang.empty()) {
        std::cerr << "skinkit-skin: check: give at least one of --layout, --images with --list, "
                     "--lang\n";
        return kUsage;
    }
    if (accessibility && (layoutFile.empty() || lang.empty())) {
        std::cerr << "skinkit-skin: check: --accessibility needs --layout and --lang\n";
        return kUsage;
    }
    return Check({Arg(layoutFile), Arg(images), Arg(list), Arg(lang), accessibility}, json);
}
