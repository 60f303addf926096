#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "players/highscore.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

namespace {

// A fresh folder for each test's table file.
class HighscoreTest : public testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        std::string pattern = testing::TempDir() + "highscore_XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        folder_ = name.data();
        path_ = folder_ + "/Highscore.txt";
    }
    void TearDown() override {
        // Either file may be gone already.
        (void)std::remove(path_.c_str());
        (void)std::remove((path_ + ".tmp").c_str());
        (void)std::remove(Temporary().c_str());
        (void)std::remove(LockFile().c_str());
        rmdir(folder_.c_str());
    }

    void WriteFile(const std::string& contents) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out << contents;
    }
    [[nodiscard]] std::string ReadFile() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream contents;
        contents << in.rdbuf();
        return contents.str();
    }
    [[nodiscard]] static bool Exists(const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0;
    }
    [[nodiscard]] const char* Path() const { return path_.c_str(); }
    // The temporary file of the program the fake plays (process 4321), and
    // the lock beside the table.
    [[nodiscard]] std::string Temporary() const { return path_ + ".4321.tmp"; }
    [[nodiscard]] std::string LockFile() const { return path_ + ".lock"; }

    std::string folder_;
    std::string path_;
};

// A table as the lines it would be written as.
std::string Lines(const HighscoreTable& table) {
    std::string lines;
    for (int i = 0; i < table.count; ++i) {
        lines += std::string(table.rows[i].name) + " " + std::to_string(table.rows[i].moves) + "\n";
    }
    return lines;
}

// Ten entries named A to J with the given moves, as a file.
std::string TenEntries(const std::vector<int>& moves) {
    std::string file;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        file += std::string(1, static_cast<char>('A' + i)) + " " + std::to_string(moves[i]) + "\n";
    }
    return file;
}

const std::string Standard = TenEntries({5, 7, 7, 9, 10, 11, 12, 13, 14, 15});

struct ReadCase {
    const char* what;
    std::string file;
    std::string table;  // the entries read, as lines
};

TEST_F(HighscoreTest, ReaderTakesNameValuePairsOfTokens) {
    const ReadCase cases[] = {
        {"ten lines", Standard, Standard},
        {"conversions", "a 007\nb 12abc\nc abc\nd -3\ne +4\nf -\ng +-1\nh 0x10\n",
         "a 7\nb 12\nc 0\nd -3\ne 4\nf 0\ng 0\nh 0\n"},
        {"lines split and joined", "Anna\n5 Bob\n\n  6 Cleo 7\tDora\t8\n",
         "Anna 5\nBob 6\nCleo 7\nDora 8\n"},
        {"text line ends", "Anna 5\r\nBob 6\r\n", "Anna 5\nBob 6\n"},
        {"after twenty tokens", Standard + "K 1\nL 2\n", Standard},
        {"empty file", "", ""},
        {"whitespace only", " \n\r\n\t", ""},
        {"short file", "Anna 5\nBob 6\nCleo 7\n", "Anna 5\nBob 6\nCleo 7\n"},
        {"name without value", "Anna 5\nBob", "Anna 5\n"},
        {"long name cut, rest skipped", "Maximilian_der_Grosse 5 Bob 6\n", "Maximilia 5\nBob 6\n"},
        {"long value cut, rest skipped", "Anna 4" + std::string(300, 'x') + " Bob 6\n",
         "Anna 4\nBob 6\n"},
        {"huge values held to int",
         "Anna " + std::string(300, '9') + " Bob -" + std::string(300, '9'),
         "Anna 2147483647\nBob -2147483648\n"},
        {"a name starting with a zero byte", std::string("\0x 5\n", 5), "_ 5\n"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.file);
        HighscoreTable table{};
        ASSERT_TRUE(ReadHighscoreTable(Path(), &table));
        EXPECT_EQ(Lines(table), c.table);
    }
}

TEST_F(HighscoreTest, ReaderTellsAMissingFileFromAnUnreadableOne) {
    HighscoreTable table{};
    EXPECT_TRUE(ReadHighscoreTable(Path(), &table));
    EXPECT_EQ(table.count, 0);
    // A folder in the table's place opens but cannot be read.
    ASSERT_EQ(mkdir(Path(), 0700), 0);
    EXPECT_FALSE(ReadHighscoreTable(Path(), &table));
    rmdir(Path());
}

struct EnterCase {
    const char* what;
    std::string file;
    const char* name;
    int moves;
    std::string written;
};

TEST_F(HighscoreTest, WinIsEnteredAtItsRankAndTheFileRewritten) {
    const EnterCase cases[] = {
        {"ties rank above equal ones", Standard, "New", 7,
         "A 5\nNew 7\nB 7\nC 7\nD 9\nE 10\nF 11\nG 12\nH 13\nI 14\n"},
        {"equal to rank ten", Standard, "New", 15,
         "A 5\nB 7\nC 7\nD 9\nE 10\nF 11\nG 12\nH 13\nI 14\nNew 15\n"},
        {"better than all", Standard, "New", 4,
         "New 4\nA 5\nB 7\nC 7\nD 9\nE 10\nF 11\nG 12\nH 13\nI 14\n"},
        {"worse than all", Standard, "New", 16, Standard},
        {"negative ranks first", Standard, "New", -1,
         "New -1\nA 5\nB 7\nC 7\nD 9\nE 10\nF 11\nG 12\nH 13\nI 14\n"},
        {"unsorted is not sorted", TenEntries({9, 3, 8, 1, 20, 2, 30, 4, 5, 6}), "New", 5,
         "New 5\nA 9\nB 3\nC 8\nD 1\nE 20\nF 2\nG 30\nH 4\nI 5\n"},
        {"stored tokens rewritten as numbers", "a 007\nb 12abc\nc abc\n", "New", 50,
         "a 7\nb 12\nc 0\nNew 50\n"},
        {"content after twenty tokens goes", Standard + "K 1\n", "New", 16, Standard},
        {"short file takes a worse result at its end", "Anna 5\nBob 6\n", "New", 99,
         "Anna 5\nBob 6\nNew 99\n"},
        {"short file, better result", "Anna 5\nBob 6\n", "New", 6, "Anna 5\nNew 6\nBob 6\n"},
        {"empty file", "", "New", 12, "New 12\n"},
        {"garbage file", "\x01\x02\xff 9 ## 3x\n\x7f", "New", 4, "New 4\n\x01\x02\xff 9\n## 3\n"},
        {"blank in the name", "", "Anna Lena", 12, "Anna_Lena 12\n"},
        {"every kind of whitespace", "", " a\tb\rc\n", 12, "_a_b_c_ 12\n"},
        {"blanks only", "", "   ", 12, "___ 12\n"},
        {"empty name", "", "", 12, "_ 12\n"},
        {"name longer than nine", "", "Maximilian12", 12, "Maximilia 12\n"},
    };
    for (const EnterCase& c : cases) {
        SCOPED_TRACE(c.what);
        fake::ClearCalls();
        WriteFile(c.file);
        EnterHighscoreInFile(Path(), c.name, c.moves);
        EXPECT_EQ(ReadFile(), c.written);
        EXPECT_EQ(fake::Calls(),
                  (std::vector<std::string>{
                      "lock " + LockFile() + " -> taken", "flush " + Temporary(),
                      "replace " + Temporary() + " " + path_, "unlock " + LockFile()}));
        EXPECT_FALSE(Exists(path_ + ".tmp"));
        EXPECT_FALSE(Exists(Temporary()));
    }
}

TEST_F(HighscoreTest, MissingFileBecomesATableOfTheNewEntry) {
    EnterHighscoreInFile(Path(), "Anna", 17);
    EXPECT_EQ(ReadFile(), "Anna 17\n");
    EnterHighscoreInFile(Path(), "Bob", 9);
    EXPECT_EQ(ReadFile(), "Bob 9\nAnna 17\n");
}

TEST_F(HighscoreTest, FailedReplaceLeavesTheOldTableAndNoTemporaryFile) {
    WriteFile(Standard);
    fake::SetReplaceFails();
    EnterHighscoreInFile(Path(), "New", 1);
    EXPECT_EQ(ReadFile(), Standard);
    EXPECT_FALSE(Exists(path_ + ".tmp"));
    EXPECT_FALSE(Exists(Temporary()));
    // Tried at once and after each of the forty steps of the wait.
    EXPECT_EQ(fake::CallsStartingWith("replace").size(), 41U);
    EXPECT_EQ(fake::HeldLocks(), 0);
}

TEST_F(HighscoreTest, FullDiskLeavesTheOldTable) {
    // The new table goes to a device that takes no data: its writes fail only
    // when the file is closed.
    WriteFile(Standard);
    ASSERT_EQ(symlink("/dev/full", Temporary().c_str()), 0);
    EnterHighscoreInFile(Path(), "New", 1);
    EXPECT_TRUE(fake::CallsStartingWith("replace").empty());
    struct stat info {};
    ASSERT_EQ(lstat(Path(), &info), 0);
    ASSERT_TRUE(S_ISREG(info.st_mode)) << "the device took the table's place";
    EXPECT_EQ(ReadFile(), Standard);
    EXPECT_NE(lstat(Temporary().c_str(), &info), 0);
}

TEST_F(HighscoreTest, TableInAFolderThatCannotBeWrittenIsNotTouched) {
    const std::string missingFolder = folder_ + "/gone/Highscore.txt";
    EnterHighscoreInFile(missingFolder.c_str(), "New", 1);
    EXPECT_FALSE(Exists(folder_ + "/gone"));
    EXPECT_TRUE(fake::CallsStartingWith("replace").empty());

    // A table that exists but cannot be read is left alone rather than
    // replaced by a table of the new entry alone.
    ASSERT_EQ(mkdir(Path(), 0700), 0);
    EnterHighscoreInFile(Path(), "New", 1);
    EXPECT_TRUE(fake::CallsStartingWith("replace").empty());
    EXPECT_FALSE(Exists(path_ + ".tmp"));
    rmdir(Path());
}

// The table as it is after New enters it with one move: first, the tenth
// entry gone.
const std::string StandardWithNew = "New 1\n" + Standard.substr(0, Standard.rfind("J "));

// How often each kind of call was made.
int Count(const std::string& prefix) {
    return static_cast<int>(fake::CallsStartingWith(prefix).size());
}

// Something another program does to the table for a while: it starts before
// the win is entered and ends after a number of the wait's steps.
struct Obstacle {
    std::function<void()> begin;
    std::function<void()> end;
};

TEST_F(HighscoreTest, FlushComesAfterTheWriteAndBeforeTheReplace) {
    WriteFile(Standard);
    std::string flushed;
    fake::SetCallHook([&](const std::string& line) {
        if (line.compare(0, 6, "flush ") == 0) {
            std::ifstream in(Temporary(), std::ios::binary);
            std::ostringstream contents;
            contents << in.rdbuf();
            flushed = contents.str();
        }
    });
    EnterHighscoreInFile(Path(), "New", 1);
    // The temporary file is complete and closed when it is flushed.
    EXPECT_EQ(flushed, StandardWithNew);
    EXPECT_EQ(ReadFile(), StandardWithNew);
}

TEST_F(HighscoreTest, FailuresLeaveTheOldTableAndNoTemporaryFileAndGiveTheLockBack) {
    FileLock other = nullptr;
    const struct {
        const char* what;
        std::function<void()> fail;
        int locks;  // attempts at the lock
        int flushes;
        int replaces;
        int pauses;
    } cases[] = {
        {"the flush fails", [] { fake::SetFlushFails(); }, 1, 1, 0, 0},
        {"the replace is refused throughout", [] { fake::SetReplaceFails(); }, 1, 1, 41, 40},
        {"another program holds the lock throughout",
         [&] { other = TryLockFile(LockFile().c_str()); }, 41, 0, 0, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessState();
        WriteFile(Standard);
        c.fail();
        fake::ClearCalls();
        EnterHighscoreInFile(Path(), "New", 1);
        EXPECT_EQ(ReadFile(), Standard);
        EXPECT_FALSE(Exists(Temporary()));
        EXPECT_EQ(Count("lock "), c.locks);
        EXPECT_EQ(Count("flush "), c.flushes);
        EXPECT_EQ(Count("replace "), c.replaces);
        EXPECT_EQ(Count("pause 50"), c.pauses);
        if (other != nullptr) {
            ReleaseFileLock(other);
            other = nullptr;
        }
        EXPECT_EQ(fake::HeldLocks(), 0);
    }
}

// Another program in the way for a while: the win waits for it in steps of
// 50 ms, at most forty of them in all, and is stored once the way is free.
TEST_F(HighscoreTest, WinWaitsForAnotherProgramAndIsStoredOnceTheTableIsFree) {
    FileLock other = nullptr;
    const std::string hidden = path_ + ".away";
    const Obstacle lockHeld = {[&] { other = TryLockFile(LockFile().c_str()); },
                               [&] { ReleaseFileLock(other); }};
    // A table the game cannot read, as while another program has it open.
    const Obstacle tableBusy = {[&] {
                                    ASSERT_EQ(std::rename(Path(), hidden.c_str()), 0);
                                    ASSERT_EQ(mkdir(Path(), 0700), 0);
                                },
                                [&] {
                                    rmdir(Path());
                                    ASSERT_EQ(std::rename(hidden.c_str(), Path()), 0);
                                }};
    const Obstacle replaceRefused = {[] { fake::SetReplaceFails(); },
                                     [] { fake::SetReplaceFails(false); }};
    const struct {
        const char* what;
        std::vector<std::pair<Obstacle, int>> obstacles;  // each one ends after so many steps
        bool stored;
    } cases[] = {
        {"the lock for one step", {{lockHeld, 1}}, true},
        {"the lock for 39 steps", {{lockHeld, 39}}, true},
        {"the lock for forty steps", {{lockHeld, 40}}, true},
        {"the lock for 41 steps", {{lockHeld, 41}}, false},
        {"the table held open for five steps", {{tableBusy, 5}}, true},
        {"the table held open for 41 steps", {{tableBusy, 41}}, false},
        {"the replace refused for three steps", {{replaceRefused, 3}}, true},
        {"the lock then the replace, forty steps in all",
         {{lockHeld, 20}, {replaceRefused, 20}},
         true},
        {"the lock then the replace, 41 steps in all",
         {{lockHeld, 20}, {replaceRefused, 21}},
         false},
        {"the lock then the table then the replace",
         {{lockHeld, 10}, {tableBusy, 10}, {replaceRefused, 10}},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessState();
        WriteFile(Standard);
        // Each obstacle takes over when the one before it ends, at the step
        // of the operation it stands in the way of.
        std::size_t current = 0;
        int steps = 0;
        c.obstacles[0].first.begin();
        fake::SetCallHook([&](const std::string& line) {
            if (line != "pause 50" || current == c.obstacles.size())
                return;
            if (++steps < c.obstacles[current].second)
                return;
            c.obstacles[current].first.end();
            steps = 0;
            if (++current < c.obstacles.size())
                c.obstacles[current].first.begin();
        });
        fake::ClearCalls();
        EnterHighscoreInFile(Path(), "New", 1);
        fake::SetCallHook(nullptr);
        if (current < c.obstacles.size())
            c.obstacles[current].first.end();

        EXPECT_EQ(ReadFile(), c.stored ? StandardWithNew : Standard);
        int total = 0;
        for (const auto& obstacle : c.obstacles)
            total += obstacle.second;
        EXPECT_EQ(Count("pause 50"), std::min(total, 40));
        EXPECT_FALSE(Exists(Temporary()));
        EXPECT_FALSE(Exists(hidden));
        EXPECT_EQ(fake::HeldLocks(), 0);
    }
}

// A second program enters its win while the first is at each step of its
// own: before the first has the lock the second simply goes first; while the
// first holds it the second waits its forty steps and gives up, leaving the
// first's table whole. Never is one entry written over by the other's table.
TEST_F(HighscoreTest, TwoProgramsInterleavedKeepBothWinsOrTheSecondGivesUp) {
    const std::string second = path_ + ".77.tmp";
    const struct {
        const char* what;
        std::string during;  // the first program's call inside which the second runs
        bool bothStored;
    } cases[] = {
        {"reading", "lock " + LockFile() + " -> taken", false},
        {"written, flushing", "flush " + Temporary(), false},
        {"replacing", "replace " + Temporary() + " " + path_, false},
        {"done, lock given back", "unlock " + LockFile(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessState();
        WriteFile(Standard);
        std::vector<std::string> secondCalls;
        fake::SetCallHook([&](const std::string& line) {
            if (line != c.during || !secondCalls.empty())
                return;
            fake::SetCallHook(nullptr);
            fake::SetProcessNumber(77);
            std::size_t before = fake::Calls().size();
            EnterHighscoreInFile(Path(), "Second", 2);
            secondCalls.assign(fake::Calls().begin() + static_cast<std::ptrdiff_t>(before),
                               fake::Calls().end());
            fake::SetProcessNumber(4321);
        });
        EnterHighscoreInFile(Path(), "First", 1);
        ASSERT_FALSE(secondCalls.empty()) << "the second program never ran";

        std::string expected = "First 1\n" + Standard.substr(0, Standard.rfind("J "));
        if (c.bothStored) {
            expected = "First 1\nSecond 2\n" + Standard.substr(0, Standard.rfind("I "));
            EXPECT_EQ(secondCalls.back(), "unlock " + LockFile());
            EXPECT_EQ(std::count(secondCalls.begin(), secondCalls.end(),
                                 "replace " + second + " " + path_),
                      1);
        } else {
            // Forty steps of waiting for the lock, then nothing more.
            EXPECT_EQ(secondCalls.size(), 81U);
            EXPECT_EQ(std::count(secondCalls.begin(), secondCalls.end(), "pause 50"), 40);
            EXPECT_EQ(secondCalls.back(), "lock " + LockFile() + " -> busy");
        }
        EXPECT_EQ(ReadFile(), expected);
        EXPECT_FALSE(Exists(Temporary()));
        EXPECT_FALSE(Exists(second));
        EXPECT_EQ(fake::HeldLocks(), 0);
    }
}

TEST_F(HighscoreTest, LockOfAProgramThatEndedDoesNotBlockTheTable) {
    WriteFile(Standard);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Takes the lock and ends without giving it back.
        _exit(TryLockFile(LockFile().c_str()) != nullptr ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the ended program had no lock";
    ASSERT_TRUE(Exists(LockFile()));

    EnterHighscoreInFile(Path(), "New", 1);
    EXPECT_EQ(ReadFile(), StandardWithNew);
    EXPECT_EQ(Count("pause"), 0);
}

std::vector<std::string> Row(int y, const std::string& name, const std::string& value) {
    return {"text 105," + std::to_string(y) + " \"" + name + "\"",
            "text 600," + std::to_string(y) + " \"" + value + "\""};
}

std::vector<std::string> Drawn(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::string> calls = {"dc get"};
    for (const auto& row : rows)
        calls.insert(calls.end(), row.begin(), row.end());
    calls.emplace_back("dc release");
    return calls;
}

TEST_F(HighscoreTest, DrawingShowsTheTokensAsStoredAtTheRowPositions) {
    WriteFile("A 007\nB 12abc\nC abc\nD 4\nE 5 F\n6\nG 7\nH 8\nI 9\nJ 10\nK 11\n");
    DrawHighscoresFromFile(fake::TheWindow(), Path());
    EXPECT_EQ(fake::Calls(),
              Drawn({Row(157, "A", "007"), Row(230, "B", "12abc"), Row(290, "C", "abc"),
                     Row(343, "D", "4"), Row(378, "E", "5"), Row(413, "F", "6"), Row(448, "G", "7"),
                     Row(483, "H", "8"), Row(518, "I", "9"), Row(553, "J", "10")}));
}

TEST_F(HighscoreTest, DrawingShowsOnlyTheRowsThereAre) {
    const struct {
        const char* what;
        std::string file;
        std::vector<std::vector<std::string>> rows;
    } cases[] = {
        {"missing file", "", {}},
        {"short file with a name left over",
         "Anna 5\nBob 6\nCleo",
         {Row(157, "Anna", "5"), Row(230, "Bob", "6")}},
        {"long tokens cut",
         "Maximilian_der_Grosse " + std::string(300, '7'),
         {Row(157, "Maximilia", std::string(255, '7'))}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessState();
        (void)std::remove(Path());  // may not exist
        if (!c.file.empty())
            WriteFile(c.file);
        DrawHighscoresFromFile(fake::TheWindow(), Path());
        EXPECT_EQ(fake::Calls(), Drawn(c.rows));
        EXPECT_EQ(fake::OpenDrawContexts(), 0);
    }
}

// Random files of tokens, whitespace and stray bytes: whatever the file holds,
// reading never fails, a win is always written, and the written file is ten or
// fewer well-formed lines that read back as the table that was written.
TEST_F(HighscoreTest, RandomFilesAlwaysGiveAWellFormedTable) {
    std::mt19937 random(20240517);
    const std::string pieces[] = {" ",
                                  "\n",
                                  "\r\n",
                                  "\t",
                                  "-",
                                  "+",
                                  "0",
                                  "7",
                                  "42",
                                  "007",
                                  "Anna",
                                  "x",
                                  "Maximilian_der_Grosse",
                                  "99999999999"};
    const char nameCharacters[] = "AbZ09_ \t";
    for (int round = 0; round < 3000; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::string file;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) {
            if (random() % 3 == 0) {
                file += static_cast<char>(random() % 256);
            } else {
                file += pieces[random() % (sizeof pieces / sizeof pieces[0])];
            }
        }
        WriteFile(file);

        HighscoreTable before{};
        ASSERT_TRUE(ReadHighscoreTable(Path(), &before));
        ASSERT_LE(before.count, HighscoreRows);

        std::string name;
        const int nameLength = static_cast<int>(random() % 12);
        for (int i = 0; i < nameLength; ++i)
            name += nameCharacters[random() % 8];
        const int moves = static_cast<int>(random() % 201) - 100;
        EnterHighscoreInFile(Path(), name.c_str(), moves);

        // The winner as stored: at most nine characters, whitespace as '_'.
        std::string storedName = name.substr(0, 9);
        for (char& c : storedName) {
            if (c == ' ' || c == '\t')
                c = '_';
        }
        if (storedName.empty())
            storedName = "_";
        HighscoreEntry entry = {};
        storedName.copy(entry.name, storedName.size());
        entry.moves = moves;
        HighscoreTable expected = before;
        InsertHighscore(&expected, entry);

        const std::string written = ReadFile();
        ASSERT_EQ(written, Lines(expected));
        std::istringstream lines(written);
        std::string line;
        int lineCount = 0;
        while (std::getline(lines, line)) {
            ++lineCount;
            const std::size_t blank = line.find(' ');
            ASSERT_NE(blank, std::string::npos) << line;
            const std::string lineName = line.substr(0, blank);
            const std::string value = line.substr(blank + 1);
            ASSERT_GE(lineName.size(), 1U);
            ASSERT_LE(lineName.size(), 9U);
            ASSERT_EQ(lineName.find_first_of(std::string(" \t\r\n\v\f\0", 7)), std::string::npos);
            ASSERT_EQ(value, std::to_string(std::strtol(value.c_str(), nullptr, 10))) << line;
        }
        ASSERT_LE(lineCount, HighscoreRows);
        ASSERT_GE(lineCount, 1);

        HighscoreTable after{};
        ASSERT_TRUE(ReadHighscoreTable(Path(), &after));
        ASSERT_EQ(Lines(after), written);

        fake::ClearCalls();
        DrawHighscoresFromFile(fake::TheWindow(), Path());
        ASSERT_EQ(fake::CallsStartingWith("text").size(), 2U * static_cast<unsigned>(after.count));
        ASSERT_EQ(fake::OpenDrawContexts(), 0);
    }
}

}  // namespace
