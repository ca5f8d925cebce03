#include "platform/Errors.h"
#include "platform/FileLock.h"
#include "platform/ProfileFile.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Runs `body` in a forked process that ends with its result as exit code.
pid_t Fork(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    return pid;
}

// The exit code, or 128 plus the signal that ended the process.
int Reap(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class ProfileFileLockTest : public ::testing::Test {
protected:
    test::TemporaryFolder folder;
    std::string path = folder / "config.ini";
    const std::string seed = "; Velmora settings\n[skin]\nskin=3\n";

    // Whether the text is one the writers of "writer<n>" keys in section setting can leave after the
    // seed: whole lines, each key once.
    bool IsWhole(const std::string& text) const {
        if (text.compare(0, seed.size(), seed) != 0 || (!text.empty() && text.back() != '\n'))
            return false;
        std::istringstream lines(text.substr(seed.size()));
        std::string line;
        std::set<std::string> keys;
        for (int n = 0; std::getline(lines, line); ++n) {
            if (n == 0) {
                if (line != "[setting]")
                    return false;
                continue;
            }
            const std::size_t equals = line.find('=');
            if (line.rfind("writer", 0) != 0 || equals == std::string::npos || equals + 1 == line.size() ||
                line.find_first_not_of("0123456789", equals + 1) != std::string::npos ||
                !keys.insert(line.substr(0, equals)).second)
                return false;
        }
        return true;
    }
};

TEST_F(ProfileFileLockTest, WritersInSeveralProcessesLoseNoUpdateAndTheFileIsWholeThroughout) {
    test::WriteTextFile(path, seed);
    constexpr int writers = 4;
    constexpr int writes = 300;
    std::vector<pid_t> pids;
    for (int w = 0; w < writers; ++w)
        pids.push_back(Fork([&, w] {
            const ProfileFile file(path);
            const std::string key = "writer" + std::to_string(w);
            try {
                for (int n = 1; n <= writes; ++n) {
                    file.WriteInteger("setting", key, n);
                    // Nobody else writes this key: only a lost update can take it back.
                    if (file.ReadInteger("setting", key, 0) != n)
                        return 1;
                }
            } catch (const EIniFileException&) {
                return 2;
            }
            return 0;
        }));

    // Meanwhile the file is read as the program reads it, and must be whole every time.
    std::vector<int> results(writers, -1);
    int reads = 0;
    std::string broken;
    for (int running = writers; running > 0;) {
        const std::string text = test::ReadTextFile(path);
        ++reads;
        if (broken.empty() && !IsWhole(text))
            broken = text;
        for (int w = 0; w < writers; ++w) {
            int status = 0;
            if (results[w] < 0 && waitpid(pids[w], &status, WNOHANG) == pids[w]) {
                results[w] = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                --running;
            }
        }
        std::this_thread::sleep_for(1ms);
    }

    EXPECT_EQ(results, std::vector<int>(writers, 0)) << "1: an update was lost, 2: a write failed";
    EXPECT_GT(reads, 0);
    EXPECT_EQ(broken, "");
    const std::string final = test::ReadTextFile(path);
    EXPECT_TRUE(IsWhole(final)) << final;
    const ProfileFile file(path);
    for (int w = 0; w < writers; ++w)
        EXPECT_EQ(file.ReadInteger("setting", "writer" + std::to_string(w), 0), writes) << w;
    std::vector<std::string> entries = test::FolderEntries(folder.Path());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"config.ini", "config.ini.lock"}));
}

TEST_F(ProfileFileLockTest, AWriteWaitsForTheLockAndGivesUpWithTheWriteError) {
    test::WriteTextFile(path, "[setting]\noutputFolder=/old/\n");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = Fork([&] {
        const std::optional<FileLock> lock = FileLock::Acquire(path + ".lock", 0ms);
        const char held = lock ? 'y' : 'n';
        if (write(ready[1], &held, 1) != 1)
            return 1;
        pause();
        return 0;
    });
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    close(ready[0]);
    close(ready[1]);
    ASSERT_EQ(held, 'y');

    const ProfileFile impatient(path, 300ms);
    const Clock::time_point start = Clock::now();
    try {
        impatient.WriteString("setting", "outputFolder", "/new/");
        ADD_FAILURE() << "wrote past the lock";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    EXPECT_GE(Clock::now() - start, 300ms);
    EXPECT_EQ(test::ReadTextFile(path), "[setting]\noutputFolder=/old/\n");
    kill(holder, SIGKILL);
    EXPECT_EQ(Reap(holder), 128 + SIGKILL);
}

// A writer killed while it holds the lock, or at any moment of its writes, leaves the lock file behind
// but never its lock.
TEST_F(ProfileFileLockTest, ALockFileLeftByAKilledWriterNeverBlocksTheNextWrite) {
    test::WriteTextFile(path, seed);
    struct Case {
        const char* name;
        std::function<int()> writer;
    };
    const std::vector<Case> cases{
        {"holding the lock",
         [&] {
             const std::optional<FileLock> lock = FileLock::Acquire(path + ".lock", 0ms);
             pause();
             return lock ? 0 : 1;
         }},
        {"writing",
         [&]() -> int {
             const ProfileFile file(path);
             for (int n = 1;; ++n)
                 file.WriteInteger("setting", "writer0", n);
         }},
    };
    for (const Case& killed : cases) {
        SCOPED_TRACE(killed.name);
        const pid_t writer = Fork(killed.writer);
        // Long enough to take the lock, or to write a good many times.
        std::this_thread::sleep_for(200ms);
        ASSERT_EQ(kill(writer, SIGKILL), 0);
        EXPECT_EQ(Reap(writer), 128 + SIGKILL);
        EXPECT_TRUE(test::PathExists(path + ".lock"));

        const ProfileFile impatient(path, 300ms);
        EXPECT_NO_THROW(impatient.WriteInteger("setting", "writer1", 7));
        EXPECT_EQ(impatient.ReadInteger("setting", "writer1", 0), 7);
        const std::string text = test::ReadTextFile(path);
        EXPECT_TRUE(IsWhole(text)) << text;
    }
}

} // namespace
} // namespace velmora
