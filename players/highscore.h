// The table of the ten best wins against the computer, kept in a text file
// of lines "name moves", fewest moves first.
#pragma once

#include "game/state.h"
#include "game/texts.h"

constexpr int HighscoreRows = 10;
// A name token holds at most 9 characters, a value token at most 255; longer
// tokens are cut to these lengths when read.
constexpr int HighscoreValueSize = 256;

struct HighscoreEntry {
    char name[NameSize];
    int moves;
};

// The entries read from the file, in rank order; count is below ten when the
// file held fewer complete entries.
struct HighscoreTable {
    HighscoreEntry rows[HighscoreRows];
    int count;
};

// Enters a win of name with moves into the table file and rewrites it. Reading,
// inserting and replacing are one step under a lock beside the file (the
// file's name with ".lock"), so two programs in one folder both keep their
// wins. The new table is written to a temporary file of this program (the
// file's name with the process number and ".tmp"), put on the disk and only
// then put in the old one's place. A lock another program holds, a file it
// keeps open and a replace it blocks are waited for, about two seconds in
// all; after that, or when anything fails, the old file stays as it was and
// the temporary file goes.
void EnterHighscore(const char* name, int moves);
void EnterHighscoreInFile(const char* path, const char* name, int moves);

// Draws the table's rows as the file holds them, at most ten.
void DrawHighscores(WindowHandle window);
void DrawHighscoresFromFile(WindowHandle window, const char* path);

// Reads the entries of the table file. Returns false when the file exists but
// could not be read; a missing file is an empty table.
bool ReadHighscoreTable(const char* path, HighscoreTable* table);

// Puts the new entry above the first one with as many moves or more; the
// entry at rank ten leaves a full table. A result worse than all of a full
// table changes nothing; a table with room takes it at its end.
void InsertHighscore(HighscoreTable* table, const HighscoreEntry& entry);

// The form a name is stored in: each whitespace character becomes '_' so the
// name stays one token, and an empty name becomes "_".
void MakeStorableName(const char* name, char* stored);

// The value of a value token: optional sign and decimal digits, 0 without
// digits, held to the range of int.
int HighscoreValue(const char* token);
