// The highscore file: reading its tokens, ranking a new win, writing it back
// and drawing it on the highscore screen.
#include "players/highscore.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "game/layout.h"

namespace {

static_assert(sizeof HighscoreRowY / sizeof HighscoreRowY[0] == HighscoreRows,
              "one y for every row of the table");
constexpr const char* TemporarySuffix = ".tmp";
constexpr const char* LockSuffix = ".lock";
constexpr int PathSize = 1024;
constexpr char StoredBlank = '_';

bool IsBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the next whitespace-separated token, keeping at most size - 1 of its
// characters; the rest of a longer token is skipped. False at the end of the
// file.
bool ReadToken(std::FILE* file, char* token, int size) {
    int c = std::fgetc(file);
    while (c != EOF && IsBlank(c))
        c = std::fgetc(file);
    if (c == EOF)
        return false;
    int length = 0;
    while (c != EOF && !IsBlank(c)) {
        if (length < size - 1)
            token[length++] = static_cast<char>(c);
        c = std::fgetc(file);
    }
    token[length] = '\0';
    return true;
}

// One entry's two tokens as the file holds them. False when the file has no
// complete entry left.
bool ReadEntryTokens(std::FILE* file, char* name, char* value) {
    return ReadToken(file, name, NameSize) && ReadToken(file, value, HighscoreValueSize);
}

bool WriteTable(const char* path, const HighscoreTable& table) {
    std::FILE* file = std::fopen(path, "w");
    if (file == nullptr)
        return false;
    bool written = true;
    for (int i = 0; i < table.count && written; ++i) {
        written = std::fprintf(file, "%s %i\n", table.rows[i].name, table.rows[i].moves) > 0;
    }
    // Closing hands the stream's buffer to the system; the flush below takes
    // it from there to the disk.
    if (std::fclose(file) != 0)
        written = false;
    return written;
}

// How long a win waits for the table, in all: for the lock another Rillo
// holds, for a table another program has open, and for the replace. About two
// seconds, in steps short enough that the wait ends soon after the other side.
constexpr int WaitSteps = 40;
constexpr int WaitStepMs = 50;

// The wait left to one entry of a win, shared by all its steps.
class Patience {
public:
    // Tries attempt() until it answers true, pausing one step between tries;
    // false once the wait is used up.
    template <typename Attempt>
    bool Try(Attempt attempt) {
        while (!attempt()) {
            if (left_ == 0)
                return false;
            --left_;
            Pause(WaitStepMs);
        }
        return true;
    }

private:
    int left_ = WaitSteps;
};

// Writes the table to a temporary file of this program beside the table and
// puts it in the table's place only once it is completely on the disk; on any
// failure the old table stays and the temporary file goes.
void SaveTable(const char* path, const char* temporary, const HighscoreTable& table,
               Patience* patience) {
    if (!WriteTable(temporary, table) || !FlushFileToDisk(temporary)) {
        // The temporary file may not even exist.
        (void)std::remove(temporary);
        return;
    }
    // Another program may hold the table open for a moment.
    if (!patience->Try([&] { return PutFileInPlace(temporary, path); }))
        (void)std::remove(temporary);
}

}  // namespace

void MakeStorableName(const char* name, char* stored) {
    int length = 0;
    while (length < NameSize - 1 && name[length] != '\0') {
        char c = name[length];
        stored[length++] = IsBlank(static_cast<unsigned char>(c)) ? StoredBlank : c;
    }
    if (length == 0)
        stored[length++] = StoredBlank;
    stored[length] = '\0';
}

int HighscoreValue(const char* token) {
    const char* c = token;
    while (IsBlank(static_cast<unsigned char>(*c)))
        ++c;
    bool negative = *c == '-';
    if (*c == '-' || *c == '+')
        ++c;
    long long value = 0;
    for (; *c >= '0' && *c <= '9'; ++c) {
        value = value * 10 + (*c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

bool ReadHighscoreTable(const char* path, HighscoreTable* table) {
    table->count = 0;
    errno = 0;
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr)
        return errno == ENOENT;
    char name[NameSize];
    char value[HighscoreValueSize];
    while (table->count < HighscoreRows && ReadEntryTokens(file, name, value)) {
        HighscoreEntry& entry = table->rows[table->count++];
        // A token can hold a zero byte, which would end the name early.
        MakeStorableName(name, entry.name);
        entry.moves = HighscoreValue(value);
    }
    bool readable = std::ferror(file) == 0;
    // Nothing was written, so closing cannot lose anything.
    (void)std::fclose(file);
    return readable;
}

// KEPT: a new result goes above older ones with as many moves.
void InsertHighscore(HighscoreTable* table, const HighscoreEntry& entry) {
    int rank = 0;
    while (rank < table->count && table->rows[rank].moves < entry.moves)
        ++rank;
    if (rank == HighscoreRows)
        return;
    if (table->count < HighscoreRows)
        ++table->count;
    for (int i = table->count - 1; i > rank; --i)
        table->rows[i] = table->rows[i - 1];
    table->rows[rank] = entry;
}

void EnterHighscoreInFile(const char* path, const char* name, int moves) {
    // The temporary file carries the process number, so two programs in one
    // folder never write into each other's.
    char lockPath[PathSize];
    char temporary[PathSize];
    int lockLength = std::snprintf(lockPath, sizeof lockPath, "%s%s", path, LockSuffix);
    int temporaryLength =
        std::snprintf(temporary, sizeof temporary, "%s.%lu%s", path,
                      static_cast<unsigned long>(ProcessNumber()), TemporarySuffix);
    if (lockLength < 0 || lockLength >= PathSize || temporaryLength < 0 ||
        temporaryLength >= PathSize)
        return;

    // Reading, inserting and replacing are one step for every program that
    // enters a win: held under the lock, no other program can read the table
    // before this entry is in it and then put its own table over it.
    Patience patience;
    FileLock lock = nullptr;
    if (!patience.Try([&] { return (lock = TryLockFile(lockPath)) != nullptr; }))
        return;
    // Another program may keep the table from being read for a moment.
    HighscoreTable table{};
    if (patience.Try([&] { return ReadHighscoreTable(path, &table); })) {
        HighscoreEntry entry{};
        MakeStorableName(name, entry.name);
        entry.moves = moves;
        InsertHighscore(&table, entry);
        SaveTable(path, temporary, table, &patience);
    }
    ReleaseFileLock(lock);
}

void EnterHighscore(const char* name, int moves) {
    EnterHighscoreInFile(HighscoreFile, name, moves);
}

void DrawHighscoresFromFile(WindowHandle window, const char* path) {
    DrawContext context = GetDrawContext(window);
    std::FILE* file = std::fopen(path, "r");
    if (file != nullptr) {
        char name[NameSize];
        char value[HighscoreValueSize];
        // KEPT: the tokens are shown as the file holds them ("007" stays 007).
        for (int row = 0; row < HighscoreRows && ReadEntryTokens(file, name, value); ++row) {
            WriteText(context, HighscoreNameX, HighscoreRowY[row], name,
                      static_cast<int>(std::strlen(name)));
            WriteText(context, HighscoreMovesX, HighscoreRowY[row], value,
                      static_cast<int>(std::strlen(value)));
        }
        (void)std::fclose(file);  // only read
    }
    ReleaseDrawContext(window, context);
}

void DrawHighscores(WindowHandle window) { DrawHighscoresFromFile(window, HighscoreFile); }
