// Files of a gigabyte and more, against ffprobe: one over 1 GiB that ffmpeg writes with its
// OpenDML extensions, and one over 4 GiB built here as a sparse file (its gaps are JUNK that
// takes no disk). Labelled "large": skipped where the disk is short.
#include "AviPeer.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

using namespace avitest;

namespace {

constexpr std::uint64_t kGiB = 1ull << 30;

class Large : public Peer
{
protected:
    void Need(std::uint64_t bytes)
    {
        struct statvfs v;
        if (statvfs(m_dir.Path().c_str(), &v) != 0 ||
            static_cast<std::uint64_t>(v.f_bavail) * v.f_frsize < bytes)
            GTEST_SKIP() << "not enough free disk in " << m_dir.Path();
    }
};

TEST_F(Large, FfmpegFileOver1GiBWithOpenDmlExtensions)
{
    Need(3 * kGiB);
    const std::string file = m_dir.File("big.avi");
    ASSERT_TRUE(
        Ffmpeg("-f lavfi -i color=c=blue:size=1280x720:rate=25 -f lavfi -i sine=sample_rate=8000 "
               "-t 16 -c:v rawvideo -pix_fmt bgr24",
               Quote(file)));
    ExpectReadAsFfprobeReadsIt(file);
}

TEST_F(Large, SparseOpenDmlFileOver4GiB)
{
    Need(64 << 20);
    OdmlLayout s;
    Bytes audio = StreamHeader("auds", 1, 8000, 0);
    Patch32(audio, 44, 2); // dwSampleSize
    s.streams.push_back({StreamHeader("vids", 1, 25, 15), BitmapInfo(8, 4), {}});
    s.streams.push_back({audio, WaveFormat(), {}});
    for (int f = 0; f < 5; ++f) {
        std::vector<PacketLayout> form;
        for (int i = 0; i < 3; ++i) {
            const auto seed = static_cast<std::uint8_t>(f * 10 + i);
            // ffprobe marks every rawvideo packet a key frame; the flags of OpenDML indexes
            // are held by the reader's own tests.
            form.push_back({"00dc", Pattern(96, seed), 0x10});
            form.push_back({"01wb", Pattern(320, seed), 0x10});
        }
        s.forms.push_back(form);
    }
    s.gap = kGiB + 4096; // four AVIX forms of about 1 GiB each: the last packets lie past 4 GiB
    const std::string file = m_dir.File("sparse.avi");
    WriteOdml(file, s);
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    ASSERT_GT(static_cast<std::uint64_t>(st.st_size), 4 * kGiB);
    EXPECT_EQ(ExpectReadAsFfprobeReadsIt(file).size(), 30u);
}

} // namespace
