// A scratch folder per test, and files written into it byte for byte.
#pragma once

#include "platform/base/CString.h"
#include "tests/TestKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class SkinFiles : public ::testing::Test
{
protected:
    // Writes `bytes` to root/rel (folders made as needed) and answers the path.
    CString Write(const std::string& rel, const std::string& bytes)
    {
        std::filesystem::create_directories((root / rel).parent_path());
        return CString::FromUtf8(tmp.Write(rel, bytes));
    }
    CString Root() const { return CString::FromUtf8(root.string()); }

    testkit::TempDir tmp{"skinkit_skin"};
    const std::filesystem::path root = tmp.Root();
};
