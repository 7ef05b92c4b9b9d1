#include "SkinReport.h"

#include "platform/base/FilePath.h"
#include "platform/gdiplus/Gdi.h"
#include "platform/ini/PrivateProfile.h"
#include "skin/ScaledPicture.h"
#include "skin/UIImage.h"
#include "skin/UIText.h"

#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <sstream>

namespace skintool {

namespace {

constexpr DWORD kListChars = 16384;

std::vector<CString> Split(const wchar_t* buf, DWORD count)
{
    std::vector<CString> items;
    size_t start = 0;
    for (size_t i = 0; i < count; ++i)
        if (buf[i] == 0) {
            items.emplace_back(buf + start, static_cast<int>(i - start));
            start = i + 1;
        }
    return items;
}

// A list as the loaders read it through a buffer of kListChars characters: its items, and in
// `cut` whether it did not fit. The item that does not fit is dropped by the loaders with all
// after it, so a list cut in its first item loads nothing at all. An answer of size - 2 means
// either a cut or an exact fit; a larger buffer tells the two apart.
template <class Read> std::vector<CString> ReadList(Read read, bool* cut)
{
    std::vector<wchar_t> buf(kListChars);
    const DWORD count = read(buf.data(), kListChars);
    if (cut) {
        *cut = false;
        if (count == kListChars - 2) {
            std::vector<wchar_t> more(2 * kListChars);
            *cut = read(more.data(), 2 * kListChars) != count;
        }
    }
    return Split(buf.data(), count);
}

std::vector<CString> ReadNames(const CString& path, bool* cut)
{
    return ReadList(
        [&](wchar_t* buf, DWORD size) { return GetPrivateProfileSectionNamesW(buf, size, path); },
        cut);
}

// What a cut list loses, for a finding: everything, or what follows the last item loaded.
std::string CutDetail(const std::vector<CString>& loaded, const char* what)
{
    if (loaded.empty())
        return std::string("the first of the ") + what +
               " alone passes 16384 characters; nothing in it is loaded";
    return std::string("the ") + what + " pass 16384 characters; those after \"" +
           loaded.back().ToUtf8() + "\" are not loaded";
}

std::string Hex(DWORD v)
{
    char s[16];
    std::snprintf(s, sizeof s, "0x%08X", v);
    return s;
}

Json Rect(const RECT& r)
{
    return Json::array({r.left, r.top, r.right, r.bottom});
}

std::string U8(const CString& s)
{
    return s.ToUtf8();
}

CString KeyOf(const CString& line)
{
    const int eq = line.Find(L'=');
    return eq < 0 ? CString() : line.Left(eq);
}

CString ValueOf(const CString& line)
{
    const int eq = line.Find(L'=');
    return eq < 0 ? line : line.Mid(eq + 1);
}

// --- layout ---

void CheckLayout(const CString& path, std::vector<Finding>& out, std::vector<std::string>& notes)
{
    const std::string file = U8(path);
    bool cut = false;
    const std::vector<CString> all = ReadNames(path, &cut);
    if (cut)
        out.push_back({file, "", "too many entries", CutDetail(all, "section names")});
    else if (all.empty())
        out.push_back(
            {file, "", "no entries", "the file is missing, unreadable or has no sections"});

    CUICoordi coordi;
    coordi.LoadInfo(path);
    std::map<std::wstring, int> exact;
    std::map<std::wstring, CString> folded; // letter case ignored -> first spelling
    for (const CString& name : all) {
        if (++exact[name.Str()] == 2)
            out.push_back(
                {file, U8(name), "duplicate name",
                 "the section appears more than once; only the first one's keys are read"});
        CString lower = name;
        lower.MakeLower();
        auto [it, fresh] = folded.try_emplace(lower.Str(), name);
        if (!fresh && it->second != name)
            out.push_back({file, U8(name), "duplicate name",
                           "differs from [" + U8(it->second) +
                               "] only in letter case; it reads that section's values"});
    }
    for (const CString& name : SectionNames(path)) {
        wchar_t value[16];
        for (const wchar_t* key : {L"x", L"y"})
            if (GetPrivateProfileStringW(name, key, L"", value, 16, path) == 0)
                out.push_back(
                    {file, U8(name), "no position", "the entry has no \"" + U8(key) + "\" value"});
    }
    notes.push_back(file + ": " + std::to_string(exact.size()) + " layout entries");
}

// --- images ---

struct Kind
{
    const wchar_t* section;
    const char* what;
};

// The per-scale pictures beside an image ("name@2x.png"): each must decode and measure the
// plain picture's size times its factor, or the loader draws it at the wrong size.
void CheckPerScalePictures(const std::string& listFile, const std::string& at, const CString& path,
                           Gdiplus::Image& plain, std::vector<Finding>& out)
{
    for (double factor : skin::kPictureFactors) {
        const CString scaled = skin::PicturePathForFactor(path, factor);
        if (_waccess(scaled, 0) != 0)
            continue;
        std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromFile(scaled, FALSE));
        if (image->GetLastStatus() != Gdiplus::Ok) {
            out.push_back({listFile, at, "per-scale picture does not decode",
                           platform::ResolvePath(scaled) + " does not load as an image"});
            continue;
        }
        const long long w = std::llround(plain.GetWidth() * factor);
        const long long h = std::llround(plain.GetHeight() * factor);
        if (image->GetWidth() != w || image->GetHeight() != h)
            out.push_back({listFile, at, "per-scale picture size",
                           platform::ResolvePath(scaled) + " is " +
                               std::to_string(image->GetWidth()) + " x " +
                               std::to_string(image->GetHeight()) + ", not " + std::to_string(w) +
                               " x " + std::to_string(h)});
    }
}

void CheckImages(const CString& folder, const CString& list, std::vector<Finding>& out,
                 std::vector<std::string>& notes)
{
    const std::string listFile = U8(list);
    CUIImage cache;
    cache.LoadImageFiles(folder, list);
    cache.LoadBitmapFiles(folder, list);
    cache.LoadIconFiles(folder, list);

    const Kind kinds[] = {{skin::kImageSection, "image"},
                          {skin::kBitmapSection, "bitmap"},
                          {skin::kIconSection, "icon"}};
    size_t pictures = 0;
    for (const Kind& kind : kinds) {
        bool cut = false;
        const std::vector<CString> lines = SectionLines(list, kind.section, &cut);
        const std::string where = "[" + U8(kind.section) + "]";
        // A cut is a finding wherever it falls, the first line included.
        if (cut)
            out.push_back({listFile, where, "section too long", CutDetail(lines, "lines")});
        if (lines.empty()) {
            if (!cut)
                notes.push_back(listFile + ": " + where + " is missing or empty; no " + kind.what +
                                "s load");
            continue;
        }
        std::map<std::wstring, size_t> last; // name -> index of its last line
        for (size_t i = 0; i < lines.size(); ++i)
            last[KeyOf(lines[i]).Str()] = i;
        std::map<std::wstring, int> seen;
        for (size_t i = 0; i < lines.size(); ++i) {
            ++pictures;
            const CString name = KeyOf(lines[i]), fileName = ValueOf(lines[i]);
            const CString path = skin::PicturePath(folder, fileName);
            const std::string at = where + " " + U8(lines[i]);
            if (++seen[name.Str()] == 2)
                out.push_back({listFile, where + " " + U8(name), "duplicate name",
                               "the name is listed more than once; the last line wins"});
            if (lines[i].Find(L'=') < 0)
                out.push_back({listFile, at, "no name",
                               "the line has no '='; it loads under the empty name"});
            if (_waccess(path, 0) != 0) {
                out.push_back({listFile, at, "missing file",
                               platform::ResolvePath(path) + " does not exist"});
                continue;
            }
            // The cache holds the last line of a name; earlier lines are decoded on their own.
            const bool held = last[name.Str()] == i;
            bool ok = false;
            if (kind.section == kinds[0].section) {
                std::unique_ptr<Gdiplus::Image> own(held ? nullptr
                                                         : Gdiplus::Image::FromFile(path, FALSE));
                Gdiplus::Image* image = held ? cache.GetImageFile(name) : own.get();
                ok = image && image->GetLastStatus() == Gdiplus::Ok;
                if (ok)
                    CheckPerScalePictures(listFile, at, path, *image, out);
            } else if (held) {
                ok = kind.section == kinds[1].section ? cache.GetBitmapFile(name) != nullptr
                                                      : cache.GetIconFile(name) != nullptr;
            } else {
                const UINT type = kind.section == kinds[1].section ? IMAGE_BITMAP : IMAGE_ICON;
                HANDLE h = LoadImageW(GetModuleHandleW(nullptr), path, type, 0, 0,
                                      LR_LOADFROMFILE | LR_DEFAULTSIZE);
                ok = h != nullptr;
                if (h && type == IMAGE_BITMAP)
                    DeleteObject(h);
                else if (h)
                    DestroyIcon(static_cast<HICON>(h));
            }
            if (!ok)
                out.push_back(
                    {listFile, at, "does not decode",
                     platform::ResolvePath(path) + " does not load as " +
                         (kind.section == kinds[0].section ? "an image"
                                                           : std::string("a ") + kind.what)});
        }
    }
    notes.push_back(listFile + ": " + std::to_string(pictures) + " pictures listed");
}

// --- language ---

// A screen reader names a control by its text, else by its tooltip. The layout says which
// language texts a control shows (Text=KEY, or Text=* for a text the program sets, such as a
// time) and which is its tooltip (ToolTip=KEY); a text under the section's own name in the
// language file names it too. A section with Container=1 is a
// window or panel that only holds others, which readers pass through unnamed.
void CheckNames(const CString& layout, const CString& lang, std::vector<Finding>& out)
{
    std::set<std::wstring> texts; // language keys with a text that is not empty
    for (const CString& section : SectionNames(lang))
        for (const CString& line : SectionLines(lang, section)) {
            const CString value = ValueOf(line);
            const int comma = value.Find(L',');
            if (!value.Mid(comma + 1).Trim().IsEmpty())
                texts.insert(KeyOf(line).Str());
        }
    const auto named = [&texts](const CString& key) {
        return key == L"*" || (!key.IsEmpty() && texts.count(key.Str()) != 0);
    };
    for (const CString& section : SectionNames(layout)) {
        bool container = false, hasName = named(section);
        for (const CString& line : SectionLines(layout, section)) {
            const CString key = KeyOf(line);
            if (key.CompareNoCase(L"Container") == 0)
                container = ValueOf(line).Trim() == L"1";
            else if (key.CompareNoCase(L"Text") == 0 || key.CompareNoCase(L"ToolTip") == 0)
                hasName = hasName || named(ValueOf(line).Trim());
        }
        if (!container && !hasName)
            out.push_back({U8(layout), "[" + U8(section) + "]", "no name",
                           "control " + U8(section) + " has no name"});
    }
}

void CheckLanguage(const CString& path, std::vector<Finding>& out, std::vector<std::string>& notes)
{
    const std::string file = U8(path);
    CUIText text;
    const unsigned short id = text.GetLangID(path);
    if (id == 0xFFFF)
        out.push_back({file, "[Language Info] LanguageID", "bad language id",
                       "not hexadecimal digits after an optional 0x"});
    else if (id == 0)
        out.push_back({file, "[Language Info] LanguageID", "no language id", "missing or empty"});

    std::map<std::wstring, std::string> mainKeys; // key -> section of its first line
    size_t keys = 0;
    for (const wchar_t* section : skin::kMainTextSections) {
        bool cut = false;
        const std::string where = "[" + U8(section) + "]";
        const std::vector<CString> lines = SectionLines(path, section, &cut);
        if (cut)
            out.push_back({file, where, "section too long", CutDetail(lines, "lines")});
        for (const CString& line : lines) {
            ++keys;
            auto [it, fresh] = mainKeys.try_emplace(KeyOf(line).Str(), where);
            if (!fresh)
                out.push_back({file, where + " " + U8(KeyOf(line)), "duplicate name",
                               "also in " + it->second + "; the last line wins"});
        }
    }
    std::set<std::wstring> setupKeys;
    for (const CString& line : SectionLines(path, skin::kSetupTextSection)) {
        ++keys;
        if (!setupKeys.insert(KeyOf(line).Str()).second)
            out.push_back({file, "[" + U8(skin::kSetupTextSection) + "] " + U8(KeyOf(line)),
                           "duplicate name", "only the first line is read"});
    }
    notes.push_back(file + ": language " + Hex(id).substr(6) + " \"" + U8(text.GetLangName(path)) +
                    "\", " + std::to_string(keys) + " texts");
}

} // namespace

namespace {

std::string PathProblem(const CString& path, bool folder)
{
    const std::string disk = platform::ResolvePath(path);
    struct stat st;
    if (disk.empty())
        return "no path given";
    if (::stat(disk.c_str(), &st) != 0)
        return disk + ": " +
               (errno == ENOENT ? std::string("does not exist") : std::strerror(errno));
    if (folder && !S_ISDIR(st.st_mode))
        return disk + ": is not a folder";
    if (!folder && S_ISDIR(st.st_mode))
        return disk + ": is a directory, not a file";
    // The loaders read regular files only (a device such as /dev/zero would never end): any
    // other file reads as an empty one.
    if (!folder && !S_ISREG(st.st_mode))
        return disk + ": is not a regular file";
    if (::access(disk.c_str(), folder ? (R_OK | X_OK) : R_OK) != 0)
        return disk + ": " + std::strerror(errno);
    return {};
}

} // namespace

std::string FileProblem(const CString& path)
{
    return PathProblem(path, false);
}

std::string FolderProblem(const CString& path)
{
    return PathProblem(path, true);
}

std::vector<CString> SectionNames(const CString& path, bool* cut)
{
    std::vector<CString> names;
    std::set<std::wstring> seen;
    for (CString& name : ReadNames(path, cut))
        if (seen.insert(name.Str()).second)
            names.push_back(std::move(name));
    return names;
}

std::vector<CString> SectionLines(const CString& path, const wchar_t* section, bool* cut)
{
    return ReadList([&](wchar_t* buf,
                        DWORD size) { return GetPrivateProfileSectionW(section, buf, size, path); },
                    cut);
}

Json LayoutJson(const CString& name, const _WIN_POS& w)
{
    Json j;
    j["name"] = U8(name);
    j["x"] = w.nX, j["y"] = w.nY, j["cx"] = w.nCX, j["cy"] = w.nCY;
    j["s2l"] = w.nS2L, j["s2r"] = w.nS2R, j["s2t"] = w.nS2T, j["s2b"] = w.nS2B;
    j["hc"] = w.nHC, j["vc"] = w.nVC;
    j["dl"] = w.nDL, j["dr"] = w.nDR, j["dt"] = w.nDT, j["db"] = w.nDB;
    j["h_ratio"] = w.nHRatio, j["type"] = w.nType;
    j["rc"] = Rect(w.rc), j["rcS2"] = Rect(w.rcS2), j["rcD"] = Rect(w.rcD);
    j["clrText"] = Hex(w.clrText.GetValue());
    j["crText"] = Hex(w.crText);
    Json clr = Json::array(), cr = Json::array();
    for (int i = 0; i < 6; ++i) {
        clr.push_back(Hex(w.clrColor[i].GetValue()));
        cr.push_back(Hex(w.crColor[i]));
    }
    j["clrColor"] = clr, j["crColor"] = cr;
    return j;
}

std::string LayoutText(const CString& name, const _WIN_POS& w)
{
    std::ostringstream s;
    s << "[" << U8(name) << "]\n"
      << "  position   x " << w.nX << ", y " << w.nY << ", size " << w.nCX << " x " << w.nCY
      << ", rc (" << w.rc.left << ", " << w.rc.top << ", " << w.rc.right << ", " << w.rc.bottom
      << ")\n"
      << "  s2         left " << w.nS2L << ", right " << w.nS2R << ", top " << w.nS2T << ", bottom "
      << w.nS2B << "\n"
      << "  d          left " << w.nDL << ", right " << w.nDR << ", top " << w.nDT << ", bottom "
      << w.nDB << "\n"
      << "  hc " << w.nHC << ", vc " << w.nVC << ", h_ratio " << w.nHRatio << ", type " << w.nType
      << "\n"
      << "  ColorText  " << Hex(w.clrText.GetValue()) << " (COLORREF " << Hex(w.crText) << ")\n";
    for (int i = 0; i < 6; ++i)
        s << "  Color0" << i << "    " << Hex(w.clrColor[i].GetValue()) << " (COLORREF "
          << Hex(w.crColor[i]) << ")\n";
    return s.str();
}

std::vector<Finding> CheckSkin(const CheckInput& in, std::vector<std::string>& notes)
{
    std::vector<Finding> out;
    // A file that cannot be read would load as an empty one: say so instead of checking
    // nothing and finding nothing.
    const auto readable = [&out](const CString& path, const char* what, bool folder) {
        const std::string problem = folder ? FolderProblem(path) : FileProblem(path);
        if (problem.empty())
            return true;
        out.push_back({U8(path), "", std::string("unreadable ") + what, problem});
        return false;
    };
    if (!in.layout.IsEmpty() && readable(in.layout, "layout file", false))
        CheckLayout(in.layout, out, notes);
    if (!in.list.IsEmpty()) {
        const bool folder = readable(in.images, "image folder", true);
        if (readable(in.list, "image list file", false) && folder)
            CheckImages(in.images, in.list, out, notes);
    }
    const bool lang = !in.lang.IsEmpty() && readable(in.lang, "language file", false);
    if (lang)
        CheckLanguage(in.lang, out, notes);
    if (in.accessibility && lang && !in.layout.IsEmpty() && FileProblem(in.layout).empty())
        CheckNames(in.layout, in.lang, out);
    return out;
}

} // namespace skintool
