// The highscore file as the driver models it.
#include "e2e/highscores.h"

#include <cstddef>
#include <cstdlib>

#include "game/texts.h"

namespace e2e {

std::string HighscorePath(const Options& options) {
    // The game's path starts with ".\" for its working folder.
    return options.folder + "\\" + (HighscoreFile + 2);
}

Failure ParseScoreFile(const std::string& contents, std::vector<ScoreLine>* lines) {
    lines->clear();
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            return Format("line %d has no line end", static_cast<int>(lines->size()) + 1);
        std::string line = contents.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t blank = line.find(' ');
        std::string name = line.substr(0, blank);
        std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        bool wellFormed =
            blank != std::string::npos && !name.empty() && name.size() <= 9 && !value.empty();
        for (char c : name)
            wellFormed =
                wellFormed && c != '\0' && std::string(" \t\r\n\v\f").find(c) == std::string::npos;
        for (size_t i = 0; i < value.size(); ++i)
            wellFormed = wellFormed && ((value[i] >= '0' && value[i] <= '9') ||
                                        (i == 0 && value[i] == '-' && value.size() > 1));
        if (!wellFormed)
            return Format("line %d %s is not \"name moves\"", static_cast<int>(lines->size()) + 1,
                          Quote(line).c_str());
        // Out of range, strtol gives the nearest value a long holds, as the
        // game itself reads such a number; atoi would be undefined.
        lines->push_back({name, static_cast<int>(std::strtol(value.c_str(), nullptr, 10))});
    }
    return "";
}

std::string ScoreText(const std::vector<ScoreLine>& lines) {
    std::string text;
    for (const ScoreLine& line : lines)
        text += line.name + " " + std::to_string(line.moves) + "\r\n";
    return text;
}

std::vector<ScoreLine> WithEntry(std::vector<ScoreLine> lines, const ScoreLine& entry) {
    size_t rank = 0;
    while (rank < lines.size() && lines[rank].moves < entry.moves)
        ++rank;
    if (rank < 10)
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(rank), entry);
    if (lines.size() > 10)
        lines.resize(10);
    return lines;
}

}  // namespace e2e
