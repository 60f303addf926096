// The highscore file as the driver models it: its lines, the table a win
// makes of it, and its text as the game writes it.
#pragma once
#include <string>
#include <vector>

#include "e2e/process.h"

namespace e2e {

// The highscore file of the working folder.
std::string HighscorePath(const Options& options);

struct ScoreLine {
    std::string name;
    int moves = 0;
};

// The lines of a highscore file: "name moves" with a line end, the name one
// token of 1 to 9 characters, the moves a signed decimal number. Fails on
// anything else. The game writes CR LF; the data file may have LF alone.
Failure ParseScoreFile(const std::string& contents, std::vector<ScoreLine>* lines);
// The file's text as the game writes it, CR LF after each line.
std::string ScoreText(const std::vector<ScoreLine>& lines);
// The table after a win: the new entry before the first entry with as many
// moves or more; the eleventh entry drops out.
std::vector<ScoreLine> WithEntry(std::vector<ScoreLine> lines, const ScoreLine& entry);

}  // namespace e2e
