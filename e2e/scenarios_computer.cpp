// Scenarios of games against the computer at both levels: a win over the
// hard level and its highscore entry, the computer's own wins, and answers
// that its rules decide, each checked for its column and for the computer's
// pause before it.
#include <algorithm>

#include "e2e/driver.h"
#include "e2e/games.h"
#include "e2e/scenarios.h"

namespace e2e {
namespace {

constexpr DWORD ThinkingMs = 1000;  // the pause the computer makes before its disc
// The disc cannot show before the pause is over; the bounds leave room for
// the clocks and for a busy machine.
constexpr double ShortestAnswerMs = 950;

const char* LevelName(Level level) { return level == Level::Easy ? "easy" : "hard"; }

// A highscore table with ties around the move counts a quick win gives, so
// the new entry lands inside it; LF line ends, as the data file has them,
// so any rewrite by the game (CR LF) shows.
const char* const TiedTable =
    "Ada 2\nBen 4\nCleo 5\nDirk 6\nEmma 7\nFinn 7\nGret 8\nHugo 8\nIda 11\nJan 13\n";

std::string AnswerLabel(const Position& afterHuman, const RuleAnswer& answer);

// What one click on the board brought.
struct Turn {
    RuleAnswer predicted;      // the rule that decides the answer, if any
    std::string label;         // the rule and what makes it telling
    int answerColumn = -1;     // where the computer's disc fell; -1: no disc
    double answerMs = -1;      // from the click to the computer's disc (or its win box)
    double humanShownMs = -1;  // from the click to the human's disc on the screen
    double turnShownMs = -1;   // from the click to the computer's turn picture
    bool passed = false;       // the computer's turn ended without a disc
    bool boxShown = false;
    Box box;  // the win or draw box, moved aside and left open
};

// Clicks a column for the human and watches the screen until the computer's
// disc has fallen and the human's turn is shown again, or a box comes. The
// position follows the board; a box is moved aside and the board read in
// full behind it.
Failure PlayClick(const Session& session, Level level, Position* position, int column, Turn* turn) {
    const int humanRow = LandingRow(*position, column);
    if (humanRow < 0)
        return Format("column %d is full", column);
    Position afterHuman = *position;
    afterHuman.cell[humanRow][column] = 'H';
    turn->predicted = ComputerRule(afterHuman, level);
    turn->label = AnswerLabel(afterHuman, turn->predicted);
    const bool humanWins = HasFour(afterHuman, 'H');
    const int computerBefore = CountDiscs(*position, 'C');

    double clicked = NowMs();
    Click(session.window, DiscX(column), 300);
    double until = clicked + BoxTimeout;
    Position seen{};
    std::string lastSeen = "nothing";
    for (;;) {
        if (NowMs() > until) {
            Shot last;
            if (TakeShot(session.window, &last).empty())
                (void)SaveShot(last, "no_answer.bmp");
            return Format("no answer to the click in column %d within %lu ms (last seen: %s)",
                          column, BoxTimeout, lastSeen.c_str());
        }
        if (!session.game.Running())
            return "the program ended during a move";
        if (!TopWindows(session.game.Id(), DialogClass, true).empty()) {
            turn->answerMs = NowMs() - clicked;
            RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &turn->box));
            turn->boxShown = true;
            break;
        }
        Shot shot;
        RETURN_IF_FAILED(TakeShot(session.window, &shot));
        double now = NowMs() - clicked;
        const int turnShown = TurnShown(shot, session.pictures);
        if (turn->turnShownMs < 0 && turnShown == 2)
            turn->turnShownMs = now;
        Failure unreadable = ReadBoard(shot, session.pictures, &seen);
        if (unreadable.empty()) {
            lastSeen = Format("turn picture %d, board %s", turnShown, BoardText(seen).c_str());
            std::replace(lastSeen.begin(), lastSeen.end(), '\n', ' ');
        } else {
            lastSeen = "an unreadable board: " + unreadable;
        }
        if (!unreadable.empty()) {
            Sleep(5);  // a disc half drawn
            continue;
        }
        if (turn->humanShownMs < 0 && seen.cell[humanRow][column] == 'H')
            turn->humanShownMs = now;
        int computer = CountDiscs(seen, 'C');
        if (computer > computerBefore + 1 || CountDiscs(seen, 'H') > CountDiscs(afterHuman, 'H'))
            return Format("more than one disc of a side after the click in column %d", column);
        if (computer == computerBefore + 1 && turn->answerMs < 0)
            turn->answerMs = now;
        // A four or a full board brings a box, which is waited for.
        if (computer == computerBefore + 1 && turnShown == 1 && !HasFour(seen, 'C') &&
            !BoardFull(seen))
            break;
        // No disc of the computer long after its pause: a passed turn.
        if (computer == computerBefore && seen.cell[humanRow][column] == 'H' && turnShown == 1 &&
            now > LongestAnswerMs && OpeningColumnFull(afterHuman)) {
            turn->passed = true;
            break;
        }
        Sleep(5);
    }

    // The computer's disc is the one cell that differs from the human's move.
    Position expected = afterHuman;
    if (turn->boxShown) {
        RETURN_IF_FAILED(MoveBoxAside(turn->box, BelowTheWindow));
        if (!humanWins) {
            // Wait for the repaint behind the box, then take the board as it is.
            double readUntil = NowMs() + BoxTimeout;
            Failure unreadable;
            do {
                Shot shot;
                RETURN_IF_FAILED(TakeShot(session.window, &shot));
                unreadable = ReadBoard(shot, session.pictures, &seen);
                if (unreadable.empty() && CountDiscs(seen, 'C') == computerBefore + 1)
                    break;
                Sleep(30);
            } while (NowMs() < readUntil);
            if (!unreadable.empty())
                return "the board behind the box cannot be read: " + unreadable;
        } else {
            seen = afterHuman;
        }
    }
    for (int c = 0; c < Columns; ++c) {
        int r = LandingRow(afterHuman, c);
        if (r >= 0 && seen.cell[r][c] == 'C') {
            turn->answerColumn = c;
            expected.cell[r][c] = 'C';
        }
    }
    RETURN_IF_FAILED(WaitForPosition(session, expected, "after the computer's answer"));
    *position = expected;
    return "";
}

// The checks every answer must pass: the column its rule names, the opening
// in the left and middle columns, the pause before it, the box at the end.
Failure CheckTurn(const Turn& turn, Level level, const Position& position, bool opening,
                  const std::string& name, HWND window, std::vector<double>* delays) {
    const bool humanWon = HasFour(position, 'H');
    if (humanWon) {
        if (!turn.boxShown)
            return "the human's four in a row was not announced";
        if (turn.answerColumn >= 0)
            return Format("the computer answered in column %d after the human's four",
                          turn.answerColumn);
        return ExpectBox(turn.box, name.c_str(), ComputerGameWinCaption);
    }
    if (turn.passed) {
        if (!opening || turn.predicted.column >= 0 || !OpeningColumnFull(position))
            return "the computer passed its turn with no full column to name";
        std::printf("the %s computer passed its turn (a full column in the opening)\n",
                    LevelName(level));
        return "";
    }
    if (turn.answerColumn < 0)
        return "the computer did not answer";
    if (turn.predicted.column >= 0 && turn.answerColumn != turn.predicted.column)
        return Format("the %s computer answered in column %d, its rule (%s) names column %d",
                      LevelName(level), turn.answerColumn, turn.predicted.rule.c_str(),
                      turn.predicted.column);
    if (turn.predicted.column < 0 && opening && turn.answerColumn > 4)
        return Format("the %s computer opened in column %d, not in columns 0 to 4",
                      LevelName(level), turn.answerColumn);
    if (turn.answerMs < ShortestAnswerMs || turn.answerMs > LongestAnswerMs)
        return Format("the computer's answer came %.0f ms after the click (pause %lu ms)",
                      turn.answerMs, ThinkingMs);
    delays->push_back(turn.answerMs);
    if (HasFour(position, 'C')) {
        if (!turn.boxShown)
            return "the computer's four in a row was not announced";
        RETURN_IF_FAILED(ExpectBox(turn.box, ComputerWinText, ComputerGameWinCaption));
        if (turn.box.owner != window)
            return "the computer's win box is not owned by the main window";
    } else if (turn.boxShown) {
        if (!BoardFull(position))
            return Format("%s without a four in a row or a full board", Describe(turn.box).c_str());
        RETURN_IF_FAILED(ExpectBox(turn.box, DrawAnnouncement, DrawAnnouncementCaption));
    }
    return "";
}

void PrintDelays(const char* what, const std::vector<double>& delays) {
    if (delays.empty())
        return;
    double total = 0;
    for (double delay : delays)
        total += delay;
    std::printf("%s: click to the computer's disc min %.0f ms, max %.0f ms, mean %.0f ms over %u\n",
                what, *std::min_element(delays.begin(), delays.end()),
                *std::max_element(delays.begin(), delays.end()),
                total / static_cast<double>(delays.size()), static_cast<unsigned>(delays.size()));
}

// The rules whose answers a scenario wants to see, by the start of their
// names ("human's three" takes any direction).
struct Wanted {
    std::vector<std::string> rules;

    [[nodiscard]] int Find(const std::string& rule) const {
        for (size_t i = 0; i < rules.size(); ++i)
            if (rule.compare(0, rules[i].size(), rules[i]) == 0)
                return static_cast<int>(i);
        return -1;
    }
};

// The rule that decides an answer, with what makes it telling: the easy
// level completing its four although the human has one open, the hard level
// blocking the human's four although its own is open elsewhere.
std::string AnswerLabel(const Position& afterHuman, const RuleAnswer& answer) {
    int first = -1;
    if (answer.rule.compare(0, 9, "own three") == 0 && WinningColumns(afterHuman, 'H', &first) > 0)
        return answer.rule + ", the human's four open";
    if (answer.rule.compare(0, 13, "human's three") == 0)
        for (int c = 0; c < Columns; ++c)
            if (c != answer.column && WinsIn(afterHuman, c, 'C'))
                return answer.rule + ", its own four open";
    return answer.rule;
}

// The chance that a wanted rule decides one of the computer's next answers,
// within depth human moves that aim for it; *best is the first of them. The
// human never completes a four, and a chance answer is any column with room.
double ChanceOfRule(const Position& p, Level level, const Wanted& wanted, int depth, int* best) {
    double bestChance = 0;
    *best = -1;
    for (int c : ColumnOrder) {
        Position q;
        if (!WithDisc(p, c, 'H', &q))
            continue;
        if (HasFour(q, 'H'))
            continue;
        double chance = 0;
        int ignored = -1;
        RuleAnswer answer = ComputerRule(q, level);
        if (answer.column >= 0) {
            if (wanted.Find(AnswerLabel(q, answer)) >= 0) {
                chance = 1;
            } else if (depth > 1) {
                Position s = q;
                s.cell[LandingRow(q, answer.column)][answer.column] = 'C';
                if (!HasFour(s, 'C'))
                    chance = ChanceOfRule(s, level, wanted, depth - 1, &ignored);
            }
        } else if (depth > 1) {
            chance = MeanOverComputerDrops(q, [&](const Position& s) {
                return ChanceOfRule(s, level, wanted, depth - 1, &ignored);
            });
        }
        if (chance > bestChance) {
            bestChance = chance;
            *best = c;
        }
    }
    return bestChance;
}

// Plays against a level until every wanted rule has decided an answer,
// steering the human towards them (and towards a win when none is in
// reach); every answer a rule decides is checked for its column, every
// answer for the pause before it. Answers "Nochmal" with Yes at a game's end.
Failure ExpectRuleAnswers(const Options& options, Level level, Wanted wanted, int maxClicks) {
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    RETURN_IF_FAILED(StartAtMenu(&session));
    const std::string name = "Rita";
    RETURN_IF_FAILED(ChooseComputerGame(session, name, level));

    double started = NowMs();
    std::vector<double> delays;
    std::vector<std::string> seen;
    int clicks = 0;
    for (int gameNumber = 1; !wanted.rules.empty(); ++gameNumber) {
        Position position{};
        RETURN_IF_FAILED(WaitForNewGame(session, gameNumber, &position));
        int moveCount = gameNumber == 1 ? 0 : 1;  // as the game counts the clicks
        for (;;) {
            if (clicks >= maxClicks) {
                std::string missing;
                for (const std::string& rule : wanted.rules)
                    missing += " \"" + rule + "\"";
                return Format("after %d clicks no answer of%s", clicks, missing.c_str());
            }
            int column = -1;
            if (ChanceOfRule(position, level, wanted, 2, &column) <= 0 || column < 0)
                column = ChooseColumn(position, level);
            if (column < 0)
                return "no column left to play and no box";
            Turn turn;
            RETURN_IF_FAILED(PlayClick(session, level, &position, column, &turn));
            ++clicks;
            RETURN_IF_FAILED(
                CheckTurn(turn, level, position, moveCount <= 3, name, session.window, &delays));
            ++moveCount;
            if (turn.predicted.column >= 0 && turn.answerColumn >= 0) {
                seen.push_back(turn.label);
                int found = wanted.Find(turn.label);
                if (found >= 0) {
                    wanted.rules.erase(wanted.rules.begin() + found);
                    std::printf(
                        "click %d in column %d: \"%s\" answered in column %d after %.0f ms "
                        "(human's disc seen after %.0f ms, computer's turn after %.0f ms)\n",
                        clicks, column, turn.label.c_str(), turn.answerColumn, turn.answerMs,
                        turn.humanShownMs, turn.turnShownMs);
                }
            }
            if (!turn.boxShown) {
                if (wanted.rules.empty())
                    break;
                continue;
            }
            std::printf("game %d ended after %d clicks: %s\n", gameNumber, clicks,
                        Describe(turn.box).c_str());
            RETURN_IF_FAILED(AnswerPlayAgain(session.game, turn.box, IDYES));
            break;
        }
    }
    std::printf("%d answers decided by a rule, all in the column it names:",
                static_cast<int>(seen.size()));
    for (const std::string& rule : seen)
        std::printf(" [%s]", rule.c_str());
    std::printf("\n");
    PrintDelays(LevelName(level), delays);
    std::printf("%d clicks in %.1f s\n", clicks, (NowMs() - started) / 1000);
    return CloseAndExpectExit(session);
}

// The easy level blocks the human's three in a column and in a row.
Failure EasyComputerAnswersScenario(const Options& options) {
    return ExpectRuleAnswers(options, Level::Easy,
                             {{"human's three, vertical", "human's three, horizontal"}}, 30);
}

// The hard level blocks the human's twos: stacked, in a row, rising.
Failure HardComputerAnswersScenario(const Options& options) {
    return ExpectRuleAnswers(
        options, Level::Hard,
        {{"human's two, vertical", "human's two, horizontal", "human's two, rising"}}, 30);
}

// The hard level blocks a human three, and a falling two.
Failure HardComputerBlocksScenario(const Options& options) {
    return ExpectRuleAnswers(options, Level::Hard, {{"human's three", "human's two, falling"}}, 30);
}

// The human plays for the computer at a level until it wins: its win box,
// its winning disc where its rule names it, and the highscore file left as
// it was, byte for byte.
Failure ComputerWins(const Options& options, Level level) {
    std::string original;
    if (!ReadWholeFile(HighscorePath(options), &original))
        return "the working folder has no src\\Highscore.txt";
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    RETURN_IF_FAILED(StartAtMenu(&session));
    const std::string name = "Verlierer";
    RETURN_IF_FAILED(ChooseComputerGame(session, name, level));

    double started = NowMs();
    std::vector<double> delays;
    const int maxGames = 3;
    for (int gameNumber = 1; gameNumber <= maxGames; ++gameNumber) {
        Position position{};
        RETURN_IF_FAILED(WaitForNewGame(session, gameNumber, &position));
        int moveCount = gameNumber == 1 ? 0 : 1;
        int clicks = 0;
        Turn turn;
        do {
            int column = ChooseLosingColumn(position, level);
            if (column < 0)
                return "no column left to play and no box";
            turn = Turn();
            RETURN_IF_FAILED(PlayClick(session, level, &position, column, &turn));
            ++clicks;
            RETURN_IF_FAILED(
                CheckTurn(turn, level, position, moveCount <= 3, name, session.window, &delays));
            ++moveCount;
        } while (!turn.boxShown);
        if (HasFour(position, 'H'))
            return Format("the human won game %d although playing to lose", gameNumber);
        if (!HasFour(position, 'C')) {
            std::printf("game %d drawn, played again\n", gameNumber);
            RETURN_IF_FAILED(PressButton(turn.box, IDOK));
            Box again;
            RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &again, turn.box.window));
            RETURN_IF_FAILED(PressButton(again, IDYES));
            continue;
        }
        if (turn.predicted.column < 0)
            return "the computer's winning disc was left to chance";  // a rule always sees a four
        std::printf("the %s computer won game %d after %d clicks in column %d (%s), %.1f s\n",
                    LevelName(level), gameNumber, clicks, turn.answerColumn,
                    turn.predicted.rule.c_str(), (NowMs() - started) / 1000);
        PrintDelays(LevelName(level), delays);
        std::string now;
        if (!ReadWholeFile(HighscorePath(options), &now) || now != original)
            return "the highscore file changed with the computer's win:\n" + now;
        RETURN_IF_FAILED(SaveScreenshot(session.game, session.window, "computer_won.bmp"));
        RETURN_IF_FAILED(FinishWin(session, turn.box));
        if (!ReadWholeFile(HighscorePath(options), &now) || now != original)
            return "the highscore file changed after the computer's win:\n" + now;
        return CloseAndExpectExit(session);
    }
    return Format("the computer did not win in %d games", maxGames);
}

Failure EasyComputerWinsScenario(const Options& options) {
    return ComputerWins(options, Level::Easy);
}

Failure HardComputerWinsScenario(const Options& options) {
    return ComputerWins(options, Level::Hard);
}

// Beats the hard level: the highscore file holds the new entry at its rank
// among tied entries, byte for byte, and the highscore screen shows the
// winner's long name in that row.
Failure HardComputerWinScenario(const Options& options) {
    RETURN_IF_FAILED(WriteWholeFile(HighscorePath(options), TiedTable));
    std::vector<ScoreLine> before;
    RETURN_IF_FAILED(ParseScoreFile(TiedTable, &before));
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    RETURN_IF_FAILED(StartAtMenu(&session));
    const std::string name = "Siegfried";  // nine characters, wider than every other name
    RETURN_IF_FAILED(ChooseComputerGame(session, name, Level::Hard));
    Played played;
    Box win;
    double started = NowMs();
    RETURN_IF_FAILED(BeatComputer(session, {Level::Hard, 0, 3}, name, &played, &win));
    std::printf("beat the hard computer in game %d, %d clicks in all, %.1f s\n", played.games,
                played.clicks, (NowMs() - started) / 1000);

    std::string written;
    if (!ReadWholeFile(HighscorePath(options), &written))
        return "src\\Highscore.txt is gone after the win";
    std::vector<ScoreLine> after;
    RETURN_IF_FAILED(ParseScoreFile(written, &after));
    if (after.size() != 10)
        return Format("the table after the win has %d lines", static_cast<int>(after.size()));
    std::vector<ScoreLine> expected = WithEntry(before, {name, played.winningMoves});
    if (written != ScoreText(expected))
        return "the table after the win is\n" + written + "expected\n" + ScoreText(expected);
    int rank = -1;
    for (int i = 0; i < 10; ++i)
        if (after[i].name == name)
            rank = i;
    std::printf("entry \"%s %d\" at rank %d\n", name.c_str(), played.winningMoves, rank + 1);

    RETURN_IF_FAILED(FinishWin(session, win));
    Shot shot;
    RETURN_IF_FAILED(OpenHighscores(session, &shot));
    RETURN_IF_FAILED(SaveShot(shot, "highscores_after_hard_win.bmp"));
    int widest = -1;
    int widestEnd = -1;
    for (int row = 0; row < 10; ++row) {
        int y = HighscoreRowY[row];
        int nameEnd = RightmostColour(shot, HighscoreNameX, y, 400, 22, White);
        int moves = CountColour(shot, HighscoreMovesX, y, 80, 22, White);
        if (nameEnd < 0 || moves < 5)
            return Format("row %d of the highscore screen shows no name or no moves", row + 1);
        if (nameEnd > widestEnd) {
            widestEnd = nameEnd;
            widest = row;
        }
    }
    if (rank >= 0 && widest != rank)
        return Format("the widest name is drawn in row %d, the new entry is at rank %d", widest + 1,
                      rank + 1);
    Click(session.window, 400, 300);
    RETURN_IF_FAILED(ExpectMenu(session, "a click on the highscore screen"));
    return CloseAndExpectExit(session);
}

}  // namespace

E2E_SCENARIO(300, "hard_computer_win", HardComputerWinScenario, "");
E2E_SCENARIO(310, "easy_computer_wins", EasyComputerWinsScenario, "");
E2E_SCENARIO(315, "hard_computer_wins", HardComputerWinsScenario, "");
E2E_SCENARIO(320, "easy_computer_answers", EasyComputerAnswersScenario, "");
E2E_SCENARIO(330, "hard_computer_answers", HardComputerAnswersScenario, "");
E2E_SCENARIO(340, "hard_computer_blocks", HardComputerBlocksScenario, "");

}  // namespace e2e
