#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "model/TCase.h"
#include "support/TestPlatform.h"

namespace kavo::test {

// An image writer that records what it was asked to write.
class TRecordingImageWriter : public TImageWriter {
  public:
    TFailures WriteImages(TCase&, const std::string& imageFolder) override {
        Written.push_back("set " + imageFolder);
        return {};
    }
    std::optional<std::string> WriteCombinedTagIcon(const std::vector<TTag*>& tags,
                                                    const std::string& path) override {
        Written.push_back("tags " + std::to_string(tags.size()) + " " + path);
        return std::nullopt;
    }
    std::optional<std::string> WriteCustomGoalIcon(const TGoal&, const std::string& path) override {
        Written.push_back("goal " + path);
        return std::nullopt;
    }
    std::vector<std::string> Written;
};

inline std::string FixedClock() {
    return "2024-05-06 07:08:09";
}

inline std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// The text with the first occurrence of `from` replaced by `to`.
inline std::string ReplaceFirst(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A case with a context, a recording image writer, a fixed clock and a scratch folder that is
// removed afterwards.
class CaseFileTest : public TCaseFixture, public ::testing::Test {
  protected:
    CaseFileTest() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Scratch = std::filesystem::temp_directory_path() /
                  ("kavo-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(Scratch);
        std::filesystem::create_directories(Scratch);
    }
    ~CaseFileTest() override { std::filesystem::remove_all(Scratch); }

    std::vector<std::string> Document(TCase& source) {
        return TCaseWriter(source, Images, FixedClock).Document(Scratch.string() + "/");
    }
    std::vector<std::string> Document() { return Document(Case); }
    bool Save(TCase& source, const std::filesystem::path& folder) {
        return TCaseWriter(source, Images, FixedClock).Save(folder.string());
    }
    // Reads a document given as text into a new case of the same context.
    TReadOutcome Read(TCase& target, const std::string& text) {
        return TCaseReader(target).ReadDocument(text);
    }

    TRecordingImageWriter Images;
    std::filesystem::path Scratch;
};

}  // namespace kavo::test
