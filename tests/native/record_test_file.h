#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

// A file in the current folder named after the running test, removed before and after it.
// The name is plain ASCII and relative, so the same tests run natively and under Wine.
class TestFile {
public:
    explicit TestFile(const std::string& suffix = ".tmp")
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = "test_" + Clean(info->test_suite_name()) + "_" + Clean(info->name()) + suffix;
        std::remove(m_path.c_str());
    }
    ~TestFile() { std::remove(m_path.c_str()); }
    TestFile(const TestFile&) = delete;
    TestFile& operator=(const TestFile&) = delete;

    [[nodiscard]] const std::string& Path() const { return m_path; }

    [[nodiscard]] bool Write(const std::string& bytes) const
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        if (!file)
            return false;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && written;
    }

    [[nodiscard]] std::string Read() const
    {
        std::string bytes;
        std::FILE* file = std::fopen(m_path.c_str(), "rb");
        if (!file)
            return bytes;
        char buffer[4096];
        std::size_t count = 0;
        while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, count);
        std::fclose(file);
        return bytes;
    }

private:
    static std::string Clean(std::string text)
    {
        for (char& c : text) {
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return text;
    }

    std::string m_path;
};
