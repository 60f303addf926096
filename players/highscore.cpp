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
    if (std::fclose(file) != 0)
        written = false;
    return written;
}

// Writes the table beside the file and puts it in the file's place only when
// it is complete; on any failure the old file stays and the new one goes.
void SaveTable(const char* path, const HighscoreTable& table) {
    char temporary[PathSize];
    int length = std::snprintf(temporary, sizeof temporary, "%s%s", path, TemporarySuffix);
    if (length < 0 || length >= PathSize)
        return;
    if (!WriteTable(temporary, table) || !PutFileInPlace(temporary, path)) {
        // The temporary file may not even exist; a stale one is overwritten
        // by the next save.
        (void)std::remove(temporary);
    }
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
    HighscoreTable table{};
    if (!ReadHighscoreTable(path, &table))
        return;
    HighscoreEntry entry{};
    MakeStorableName(name, entry.name);
    entry.moves = moves;
    InsertHighscore(&table, entry);
    SaveTable(path, table);
}

void EnterHighscore(WindowHandle /*window*/, const char* name, int moves) {
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
            WriteText(context, HighscoreNameX, HighscoreRowY[row], name, static_cast<int>(std::strlen(name)));
            WriteText(context, HighscoreMovesX, HighscoreRowY[row], value, static_cast<int>(std::strlen(value)));
        }
        (void)std::fclose(file);  // only read
    }
    ReleaseDrawContext(window, context);
}

void DrawHighscores(WindowHandle window) { DrawHighscoresFromFile(window, HighscoreFile); }
