// What skinkit-skin prints: layout entries and language texts as JSON or for people, and the
// findings of a whole-skin check.
#pragma once

#include "platform/base/CString.h"
#include "skin/UICoordi.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace skintool {

using Json = nlohmann::ordered_json;

// The section names of a private-profile file in file order, each once, read as the loaders
// read them (16384 characters). `cut` tells whether the list was cut to fit.
std::vector<CString> SectionNames(const CString& path, bool* cut = nullptr);
// The lines of a section as the loaders read them (16384 characters).
std::vector<CString> SectionLines(const CString& path, const wchar_t* section, bool* cut = nullptr);

Json LayoutJson(const CString& name, const _WIN_POS& w);
std::string LayoutText(const CString& name, const _WIN_POS& w);

struct Finding
{
    std::string file;    // the file the finding is about
    std::string where;   // section or entry, as the author wrote it
    std::string problem; // "missing file", "does not decode", "duplicate name", ...
    std::string detail;
};

struct CheckInput
{
    CString layout, images, list, lang; // empty: not checked
    // Also every control of the layout that a screen reader would read without a name (needs
    // the layout and the language file).
    bool accessibility = false;
};

// Why a file cannot be read as the loaders would read it ("does not exist", "is a directory",
// "Permission denied" ...), naming the path; empty when it can.
std::string FileProblem(const CString& path);
// The same for the image folder.
std::string FolderProblem(const CString& path);

// Loads the skin through the library and answers everything wrong with it. A file or folder
// that cannot be read is a finding of its own, and its checks are skipped.
std::vector<Finding> CheckSkin(const CheckInput& in, std::vector<std::string>& notes);

} // namespace skintool
