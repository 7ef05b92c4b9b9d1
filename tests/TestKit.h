// What tests in every folder need: a scratch folder of their own and programs run by the shell.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace testkit {

// A fresh folder under /tmp (ctest runs tests side by side), removed with all it holds.
class TempDir
{
public:
    explicit TempDir(const std::string& prefix = "skinkit")
    {
        std::string pattern = "/tmp/" + prefix + "_XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder");
        m_root = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(m_root); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Root() const { return m_root; }
    std::string Path() const { return m_root.string(); }
    std::string File(const std::string& name) const { return (m_root / name).string(); }
    // Writes `bytes` (a string or a byte vector) to `name`, byte for byte; answers the path.
    template <class Bytes> std::string Write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream(File(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return File(name);
    }

private:
    std::filesystem::path m_root;
};

// `s` as one word for the shell.
inline std::string Quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a shell command: its standard output, in `status` its exit status (-1: no exit) and in
// `err` its standard error.
inline std::string RunCommand(const std::string& command, int* status = nullptr,
                              std::string* err = nullptr)
{
    const TempDir tmp;
    std::string out;
    FILE* p = ::popen((command + (err ? " 2>" + Quote(tmp.File("err")) : "")).c_str(), "r");
    char buf[65536];
    for (size_t n; p && (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    const int rc = p ? ::pclose(p) : -1;
    if (status)
        *status = rc != -1 && WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    if (err)
        err->assign(std::istreambuf_iterator<char>(std::ifstream(tmp.File("err")).rdbuf()), {});
    return out;
}

} // namespace testkit
