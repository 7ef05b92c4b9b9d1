// Loading cost of the skin resources against file size: a layout file of N sections, a
// language file of N keys, a skin of N pictures. Each should grow linearly with N.
#include "platform/ini/PrivateProfile.h"
#include "skin/UICoordi.h"
#include "skin/UIImage.h"
#include "skin/UIText.h"

#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

fs::path Scratch()
{
    static const fs::path dir = [] {
        auto d = fs::temp_directory_path() / ("skinkit_bench_skin_" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// Files of a real skin are old; a file written just now would be compared byte for byte on
// every check until its time stamp settles, which no host sees.
void Age(const fs::path& p)
{
    const timespec old[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
    ::utimensat(AT_FDCWD, p.c_str(), old, 0);
}

std::string LayoutText(int sections)
{
    std::ostringstream s;
    for (int i = 0; i < sections; ++i)
        s << "[W" << i << "]\nx=" << i << "\ny=" << i * 2
          << "\ncx=32\ncy=24\ns2l=1\ns2r=2\nhc=1\nType=3\n"
          << "ColorText=255,10,20,30\nColor00=255,1,2,3\nColor03=128,4,5,6\n";
    return s.str();
}

const std::string& LayoutFile(int sections)
{
    static std::map<int, std::string> files;
    auto& path = files[sections];
    if (path.empty()) {
        path = (Scratch() / ("layout" + std::to_string(sections) + ".ini")).string();
        std::ofstream(path) << LayoutText(sections);
        Age(path);
    }
    return path;
}

// Keys spread over the three main sections and "AppSetup", each section within the 16384
// characters a loader reads.
const std::string& LanguageFile(int keys)
{
    static std::map<int, std::string> files;
    auto& path = files[keys];
    if (path.empty()) {
        std::ostringstream s;
        s << "[Language Info]\nLanguageID=0x0409\nLanguageName=English\n[Font "
             "Info]\nFontName=Tahoma\n";
        const char* sections[] = {"AppMain", "AppPopup", "AppViewerSetup", "AppSetup"};
        for (int sec = 0; sec < 4; ++sec) {
            s << "[" << sections[sec] << "]\n";
            for (int k = sec; k < keys; k += 4)
                s << "k" << k << "=9,Txt\n";
        }
        path = (Scratch() / ("lang" + std::to_string(keys) + ".ini")).string();
        std::ofstream(path) << s.str();
        Age(path);
    }
    return path;
}

const std::string& PictureSkin(int pictures)
{
    static std::map<int, std::string> lists;
    auto& list = lists[pictures];
    if (list.empty()) {
        const fs::path img = Scratch() / "Img";
        fs::create_directories(img);
        std::ostringstream s;
        s << "[HD-png]\n";
        for (int i = 0; i < pictures; ++i) {
            const auto file = img / ("pic" + std::to_string(i) + ".png");
            if (!fs::exists(file)) {
                GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 24, 24);
                gdk_pixbuf_fill(pb, 0x336699FFu + static_cast<unsigned>(i));
                gdk_pixbuf_save(pb, file.c_str(), "png", nullptr, nullptr);
                g_object_unref(pb);
            }
            s << "p" << i << "=pic" << i << ".png\n";
        }
        list = (Scratch() / ("images" + std::to_string(pictures) + ".ini")).string();
        std::ofstream(list) << s.str();
        Age(list);
    }
    return list;
}

// Where the pages of a large block come from decides much of a parse's cost: a block mapped
// afresh is zeroed by the kernel page by page on first touch, as a host's first load of its
// skin finds memory; a block kept in the heap is reused warm, as when a skin is loaded again.
// Left to itself the allocator switches between the two as earlier benchmarks leave it, so
// each layout benchmark names its case (the second argument: 1 fresh pages, 0 reused); the
// others reuse.
void SetMemory(bool fresh)
{
    ::mallopt(M_MMAP_THRESHOLD, fresh ? 128 * 1024 : 32 * 1024 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, fresh ? 128 * 1024 : 1024 * 1024 * 1024);
}
void SetMemory(const benchmark::State& state)
{
    SetMemory(state.range(1) != 0);
}

void BM_ParseLayout(benchmark::State& state)
{
    SetMemory(state);
    const std::string bytes = LayoutText(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::ini::ProfileDocument::Parse(bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

// One parse of the file as the reader makes it: find, read, decode, parse (and, as in every
// cold benchmark, the release of the previous iteration's document).
void BM_ReadAndParseLayout(benchmark::State& state)
{
    SetMemory(state);
    const CString path = CString::FromUtf8(LayoutFile(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        platform::ini::FlushProfileCache();
        benchmark::DoNotOptimize(platform::ini::OpenProfile(path));
    }
}

// One LoadInfo into a new CUICoordi; releasing its records afterwards is UnloadInfo's cost,
// so the time stops for it.
void LoadInfoOnce(benchmark::State& state, const CString& path)
{
    auto coordi = std::make_unique<CUICoordi>();
    coordi->LoadInfo(path);
    benchmark::DoNotOptimize(coordi->GetWinPos(L"W1"));
    state.PauseTiming();
    coordi.reset();
    state.ResumeTiming();
}

// From disk, nothing cached: read, decode, parse, then every lookup of every entry.
void BM_LoadInfoCold(benchmark::State& state)
{
    SetMemory(state);
    const CString path = CString::FromUtf8(LayoutFile(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        platform::ini::FlushProfileCache();
        LoadInfoOnce(state, path);
    }
}

// The file parsed already: the lookups alone.
void BM_LoadInfoWarm(benchmark::State& state)
{
    SetMemory(state);
    const CString path = CString::FromUtf8(LayoutFile(static_cast<int>(state.range(0))));
    for (auto _ : state)
        LoadInfoOnce(state, path);
}

// The private-profile calls LoadInfo makes (16 integer and 7 colour reads per entry, in its
// order, inside one snapshot) and nothing else: no records, no colour parsing, no map.
void BM_LoadInfoCallsOnly(benchmark::State& state)
{
    SetMemory(state);
    const CString path = CString::FromUtf8(LayoutFile(static_cast<int>(state.range(0))));
    static const wchar_t* const kKeys[16] = {L"x",   L"y",   L"cx",      L"cy",  L"s2l", L"s2r",
                                             L"s2t", L"s2b", L"hc",      L"vc",  L"dl",  L"dr",
                                             L"dt",  L"db",  L"h_ratio", L"Type"};
    static const wchar_t* const kColors[7] = {L"ColorText", L"Color00", L"Color01", L"Color02",
                                              L"Color03",   L"Color04", L"Color05"};
    std::vector<wchar_t> names(16384);
    wchar_t colour[32];
    for (auto _ : state) {
        // As the loader does: every call names the file by the snapshot's own string.
        const platform::ini::ProfileSnapshot snapshot(path);
        const LPCWSTR file = snapshot.Path();
        const DWORD count = GetPrivateProfileSectionNamesW(names.data(), 16384, file);
        long sum = 0;
        for (DWORD i = 0, start = 0; i < count; ++i) {
            if (names[i])
                continue;
            const wchar_t* name = names.data() + start;
            start = i + 1;
            for (const wchar_t* key : kKeys)
                sum += GetPrivateProfileIntW(name, key, 0, file);
            for (const wchar_t* key : kColors)
                sum += GetPrivateProfileStringW(name, key, L"255,255,255,255", colour, 32, file);
        }
        benchmark::DoNotOptimize(sum);
    }
}

void BM_LoadLanguage(benchmark::State& state)
{
    SetMemory(false);
    const int keys = static_cast<int>(state.range(0));
    const CString path = CString::FromUtf8(LanguageFile(keys));
    std::vector<CString> setupKeys;
    for (int k = 3; k < keys; k += 4)
        setupKeys.push_back(CString::FromUtf8("k" + std::to_string(k)));
    for (auto _ : state) {
        platform::ini::FlushProfileCache();
        CUIText text;
        text.LoadTextMain(path);
        for (const CString& key : setupKeys)
            benchmark::DoNotOptimize(text.GetFontSizeSetup(path, key));
    }
}

void BM_LoadPictures(benchmark::State& state)
{
    SetMemory(false);
    const CString list = CString::FromUtf8(PictureSkin(static_cast<int>(state.range(0))));
    const CString folder = CString::FromUtf8((Scratch() / "Img").string());
    for (auto _ : state) {
        CUIImage cache;
        cache.LoadImageFiles(folder, list);
        benchmark::DoNotOptimize(cache.GetImageFile(L"p0"));
    }
}

} // namespace

// The machine is shared: the fastest of the repetitions is the figure least disturbed by
// other work, so it is reported beside the median.
double Fastest(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

BENCHMARK(BM_ParseLayout)
    ->ArgsProduct({{200, 2000, 20000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_ReadAndParseLayout)
    ->ArgsProduct({{200, 2000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_LoadInfoCold)
    ->ArgsProduct({{200, 2000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_LoadInfoWarm)
    ->ArgsProduct({{200, 2000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_LoadInfoCallsOnly)
    ->ArgsProduct({{200, 2000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_LoadLanguage)
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_LoadPictures)
    ->Arg(30)
    ->Arg(300)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Fastest);
