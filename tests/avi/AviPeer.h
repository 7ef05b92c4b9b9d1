// ffmpeg and ffprobe as the peer of the AVI tests: packets as ffprobe sees them, and as our
// reader hands them out, in one comparable form.
#pragma once

#include "avi/AviParser.h"

#include "AviTestFiles.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

namespace avitest {

// The programs found when the build was configured; empty when they are not there.
inline std::string Program(const char* configured)
{
    return configured[0] && access(configured, X_OK) == 0 ? configured : "";
}
inline const std::string& Ffmpeg()
{
    static const std::string p = Program(SKINKIT_FFMPEG);
    return p;
}
inline const std::string& Ffprobe()
{
    static const std::string p = Program(SKINKIT_FFPROBE);
    return p;
}

inline std::string Md5(const BYTE* data, size_t n)
{
    static const BYTE none = 0;
    gchar* hex = g_compute_checksum_for_data(G_CHECKSUM_MD5, n ? data : &none, n);
    std::string s = hex;
    g_free(hex);
    return s;
}

struct Pkt
{
    int stream;
    long size;
    bool key;
    std::string md5;
    bool operator==(const Pkt&) const = default;
};
inline std::ostream& operator<<(std::ostream& o, const Pkt& p)
{
    return o << "{stream " << p.stream << ", " << p.size << " bytes, key " << p.key << ", " << p.md5
             << "}";
}

inline nlohmann::json Probe(const std::string& file, const char* what)
{
    int status = 0;
    const std::string out =
        RunCommand(Quote(Ffprobe()) + " -v error " + what + " -of json " + Quote(file), &status);
    EXPECT_EQ(status, 0) << out;
    return nlohmann::json::parse(out, nullptr, false);
}

inline std::vector<Pkt> ProbePackets(const std::string& file)
{
    std::vector<Pkt> all;
    const nlohmann::json j = Probe(file, "-show_packets -show_data_hash md5");
    for (const nlohmann::json& p : j.value("packets", nlohmann::json::array())) {
        std::string hash = p.value("data_hash", "");
        if (hash.rfind("MD5:", 0) == 0)
            hash = hash.substr(4);
        all.push_back({p.value("stream_index", -1), std::stol(p.value("size", "-1")),
                       p.value("flags", "").find('K') != std::string::npos, hash});
    }
    return all;
}

inline nlohmann::json ProbeStreams(const std::string& file)
{
    return Probe(file, "-show_streams").value("streams", nlohmann::json::array());
}

// Our reader's packets, as ffprobe reports them: empty chunks left out (ffprobe drops them).
inline std::vector<Pkt> ReaderPackets(const std::string& file, bool tolerant, int* rc = nullptr)
{
    mmAviParser reader;
    reader.m_bTolerant = tolerant;
    std::vector<Pkt> all;
    const int opened = reader.OpenAVI(CString::FromUtf8(file));
    if (rc)
        *rc = opened;
    _TAG_AVI_PACKET_INFO p{};
    for (int k = 0; opened == 0 && reader.GetAVIReadData(k, &p) == 0; ++k)
        if (p.nDataSize > 0)
            all.push_back({p.nStreamNo, p.nDataSize, (p.dwFlags & AVIIF_KEYFRAME) != 0,
                           Md5(p.pData, static_cast<size_t>(p.nDataSize))});
    reader.CloseAVI();
    return all;
}

// Packet by packet, naming the first that differs.
inline void ExpectSamePackets(const std::vector<Pkt>& got, const std::vector<Pkt>& want)
{
    EXPECT_EQ(got.size(), want.size());
    for (size_t i = 0; i < std::min(got.size(), want.size()); ++i)
        ASSERT_EQ(got[i], want[i]) << "packet " << i;
}

} // namespace avitest
