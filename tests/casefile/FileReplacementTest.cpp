#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "casefile/CaseFileFixture.h"
#include "casefile/TFileReplacement.h"

namespace kavo {
namespace {

class FileReplacementTest : public test::CaseFileTest {
  protected:
    std::size_t FilesInScratch() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Scratch)) {
            ++count;
        }
        return count;
    }
};

// Two writers of one file whose steps interleave, as two saves into one folder do: whichever
// renames last leaves its whole file, never one file with the other's tail.
TEST_F(FileReplacementTest, InterleavedWritersLeaveOneWholeFile) {
    const std::string target = (Scratch / "KAVO case.htm").string();
    const std::string longer(5000, 'a');
    const std::string shorter(100, 'b');
    for (const bool longerCommitsFirst : {true, false}) {
        TFileReplacement first(target);
        TFileReplacement second(target);
        ASSERT_TRUE(first.Open());
        ASSERT_TRUE(second.Open());
        ASSERT_TRUE(first.Write(longer));
        ASSERT_TRUE(second.Write(shorter));
        if (longerCommitsFirst) {
            ASSERT_TRUE(first.Commit(false));
            ASSERT_TRUE(second.Commit(true));
        } else {
            ASSERT_TRUE(second.Commit(true));
            ASSERT_TRUE(first.Commit(false));
        }
        EXPECT_EQ(test::ReadFile(target), longerCommitsFirst ? shorter : longer);
        EXPECT_EQ(FilesInScratch(), 1u);
    }
}

TEST_F(FileReplacementTest, UncommittedFileLeavesTheTargetAndNoTrace) {
    const std::string target = (Scratch / "picture.gif").string();
    test::WriteFile(target, "old");
    {
        TFileReplacement file(target);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("new"));
    }
    EXPECT_EQ(test::ReadFile(target), "old");
    EXPECT_EQ(FilesInScratch(), 1u);
}

TEST_F(FileReplacementTest, FailuresGiveTheSystemsReason) {
    std::string error;
    EXPECT_FALSE(
        TFileReplacement::Replace((Scratch / "missing" / "file").string(), "x", false, error));
    EXPECT_EQ(error, "No such file or directory");
    std::filesystem::create_directories(Scratch / "folder");
    EXPECT_FALSE(TFileReplacement::Replace((Scratch / "folder").string(), "x", false, error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_EQ(FilesInScratch(), 1u);
}

}  // namespace
}  // namespace kavo
