// ffmpeg and ffprobe as the peer of the AVI tests: packets as ffprobe sees them, and as our
// reader hands them out, in one comparable form.
#pragma once

#include "avi/AviParser.h"

#include "AviTestFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

namespace avitest {

// The programs found when the build was configured.
inline const std::string kFfmpeg = SKINKIT_FFMPEG, kFfprobe = SKINKIT_FFPROBE;

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
        RunCommand(Quote(kFfprobe) + " -v error " + what + " -of json " + Quote(file), &status);
    EXPECT_EQ(status, 0) << out;
    return nlohmann::json::parse(out, nullptr, false);
}

inline std::vector<Pkt> ProbePackets(const std::string& file)
{
    std::vector<Pkt> all;
    const nlohmann::json j = Probe(file, "-show_packets -show_data_hash md5");
    for (const nlohmann::json& p : j.value("packets", nlohmann::json::array())) {
        const std::string hash = p.value("data_hash", "");
        all.push_back({p.value("stream_index", -1), std::stol(p.value("size", "-1")),
                       p.value("flags", "").find('K') != std::string::npos,
                       hash.rfind("MD5:", 0) == 0 ? hash.substr(4) : hash});
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
    return all;
}

// Packet by packet, naming the first that differs.
inline void ExpectSamePackets(const std::vector<Pkt>& got, const std::vector<Pkt>& want)
{
    EXPECT_EQ(got.size(), want.size());
    for (size_t i = 0; i < std::min(got.size(), want.size()); ++i)
        ASSERT_EQ(got[i], want[i]) << "packet " << i;
}

// A file real programs write: the default walk refuses it, the tolerant walk hands out the
// packets ffprobe sees (but for a last packet cut short, which ffprobe hands out as it is and
// we leave out). The tolerant walk's packets.
inline std::vector<Pkt> ExpectReadAsFfprobeReadsIt(const std::string& file, bool cut = false)
{
    int rc = 0;
    ReaderPackets(file, false, &rc);
    EXPECT_EQ(rc, -1) << "the default walk refuses it";
    const std::vector<Pkt> got = ReaderPackets(file, true, &rc);
    EXPECT_EQ(rc, 0);
    std::vector<Pkt> want = ProbePackets(file);
    if (cut && want.size() == got.size() + 1)
        want.pop_back();
    ExpectSamePackets(got, want);
    return got;
}

class Peer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (kFfmpeg.empty() || kFfprobe.empty() || access(kFfmpeg.c_str(), X_OK) != 0)
            GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
    }
    // ffmpeg with the given inputs and options (the rest default) writing `output`.
    bool Ffmpeg(const std::string& args, const std::string& output)
    {
        int status = 0;
        const std::string log =
            RunCommand(Quote(kFfmpeg) + " -v error -y " + args + " " + output + " 2>&1", &status);
        EXPECT_EQ(status, 0) << log;
        return status == 0;
    }
    TempDir m_dir;
};

} // namespace avitest
