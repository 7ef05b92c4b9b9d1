// A scratch folder per test, and files written into it byte for byte.
#pragma once

#include "platform/base/CString.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

class SkinFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = std::filesystem::temp_directory_path() /
               ("skinkit_skin_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" +
                info->name());
        std::filesystem::create_directories(root);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    // Writes `bytes` to root/rel (folders made as needed) and answers the path.
    CString Write(const std::string& rel, const std::string& bytes)
    {
        const auto p = root / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return CString::FromUtf8(p.string());
    }
    CString Root() const { return CString::FromUtf8(root.string()); }

    std::filesystem::path root;
};
