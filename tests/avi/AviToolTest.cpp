// skinkit-avi as a user runs it.
#include "AviTestFiles.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

using namespace avitest;
using nlohmann::json;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Md5(const Bytes& b)
{
    gchar* hex = g_compute_checksum_for_data(G_CHECKSUM_MD5, b.data(), b.size());
    std::string s = hex;
    g_free(hex);
    return s;
}

class Tool : public ::testing::Test
{
protected:
    std::string Tool_(const std::string& args, int* status)
    {
        return RunCommand(Quote(SKINKIT_AVI_TOOL) + " " + args + " 2>/dev/null", status);
    }
    TempDir m_dir;
};

TEST_F(Tool, PacketsJsonListsEveryPacketThenStopsAtTheFirstBadStream)
{
    FileLayout f;
    f.streams.push_back({StreamHeader("vids"), Pattern(40, 1), {}});
    f.streams.push_back({StreamHeader("auds", 1, 8000), Pattern(16, 2), {}});
    f.packets = {{"00dc", Pattern(300, 1), 0x10}, {"01wb", Pattern(33, 2), 0}};
    f.indexExtra = IndexEntry("00dc", 0, 4, 1u << 30); // beyond the file
    const Bytes bad = IndexEntry("07dc", 0x10, 4, 8);
    f.indexExtra.insert(f.indexExtra.end(), bad.begin(), bad.end());
    const Bytes never = IndexEntry("00dc", 0x10, 4, 8);
    f.indexExtra.insert(f.indexExtra.end(), never.begin(), never.end());
    const std::string path = m_dir.Write("t.avi", Build(f));

    int status = 0;
    const auto lines = Lines(Tool_("packets " + Quote(path) + " --json", &status));
    EXPECT_EQ(status, 2);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], R"({"open":0,"video":1,"audio":1,"meta":0})");
    EXPECT_EQ(lines[1],
              R"({"n":0,"stream":0,"type":"vids","type_index":0,"size":300,"flags":16,"md5":")" +
                  Md5(Pattern(300, 1)) + "\"}");
    const json second = json::parse(lines[2]);
    EXPECT_EQ(second["stream"], 1);
    EXPECT_EQ(second["type"], "auds");
    EXPECT_EQ(second["flags"], 0);
    EXPECT_EQ(second["md5"], Md5(Pattern(33, 2)));
    EXPECT_EQ(lines[3], R"({"n":2,"result":-2})");
    EXPECT_EQ(lines[4], R"({"n":3,"error":"invalid_argument"})");
}

TEST_F(Tool, PacketsJsonReportsAFileItCannotOpen)
{
    int status = 0;
    const auto lines =
        Lines(Tool_("packets " + Quote(m_dir.File("none.avi")) + " --json", &status));
    EXPECT_EQ(status, 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], R"({"open":-2147205009,"video":-1,"audio":-1,"meta":-1})");
}

TEST_F(Tool, InfoDescribesStreamsAndCountsPackets)
{
    FileLayout f;
    Bytes strh = StreamHeader("vids", 1001, 30000, 2);
    std::memcpy(strh.data() + 4, "MJPG", 4);
    f.streams.push_back({strh, Pattern(40, 1), {}});
    f.streams.push_back({StreamHeader("txts", 1, 1000, 1), std::nullopt, {}});
    f.packets = {{"00dc", Pattern(10, 1)}, {"00dc", Pattern(10, 2)}, {"01tx", Pattern(3, 3)}};
    int status = 0;
    const std::string out = Tool_("info " + Quote(m_dir.Write("i.avi", Build(f))), &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("streams: 2 (video 1, audio 0, meta 1)"), std::string::npos) << out;
    EXPECT_NE(out.find("handler \"MJPG\""), std::string::npos) << out;
    EXPECT_NE(out.find("rate 30000/1001 (29.970 per second)"), std::string::npos) << out;
    EXPECT_NE(out.find("format: none"), std::string::npos) << out;
    EXPECT_NE(out.find("packets: 3 (stream 0: 2, stream 1: 1)"), std::string::npos) << out;
}

TEST_F(Tool, CopyKeepsAMetadataStreamAndItsPackets)
{
    FileLayout f;
    f.streams.push_back({StreamHeader("txts", 1, 1000, 2), Pattern(6, 1), {}});
    f.streams.push_back({StreamHeader("vids"), Pattern(40, 2), {}});
    f.packets = {
        {"00tx", Pattern(5, 1), 0}, {"01dc", Pattern(50, 2), 0x10}, {"00tx", Pattern(7, 3), 0}};
    const std::string in = m_dir.Write("in.avi", Build(f));
    const std::string out = m_dir.File("out.avi");
    int status = 0;
    Tool_("copy " + Quote(in) + " " + Quote(out), &status);
    ASSERT_EQ(status, 0);
    const auto a = Lines(Tool_("packets " + Quote(in) + " --json", &status));
    const auto b = Lines(Tool_("packets " + Quote(out) + " --json", &status));
    EXPECT_EQ(a, b);
}

TEST_F(Tool, BadUsageIsRefused)
{
    int status = 0;
    Tool_("frobnicate", &status);
    EXPECT_NE(status, 0);
    Tool_("copy only-one-argument", &status);
    EXPECT_NE(status, 0);
}

} // namespace
