// The long walk of the soak scenario: the walk's model of what the program
// shows, its steps over the screens and the checks after each step. The
// scenario itself, its warm-up and its figures are in scenarios_soak.cpp.
#pragma once
#include <windows.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace e2e::soak {

constexpr int DefaultClicks = 3000;
constexpr int ComputerClickBudget = 30;  // each answer of the computer takes a second
constexpr DWORD HandledTimeout = 10000;  // a click that opens no box is handled within this
constexpr DWORD GdiBound = 10;           // objects more than the baseline that still pass
constexpr double MemoryBoundBytes = 2.0 * 1024 * 1024;

// Where a click on the menu leads, by the menu's hit areas in their order.
enum MenuChoice { Stays, TwoPlayers, Easy, Hard, Highscores, Credits };

MenuChoice MenuHit(int x, int y);
const char* ChoiceName(MenuChoice choice);

// Names as typed: short, long (cut to 9), with blanks, blanks only.
constexpr const char* TypedNames[] = {"Anna", "Ben",          "Maximilian12", "Tom Test", " ",
                                      "a",    "Lena-Marie",   "123456789",    "X Y Z",    "Ute",
                                      "Ole",  "Kunigunde99x", "Bo",           "  Mia",    "Eva"};

class Walk {
public:
    // NOLINTNEXTLINE(cert-msc51-cpp): random_ is seeded in Run, which prints the seed
    explicit Walk(const Options& options) : options_(options), session_(options) {}

    Failure Run();

private:
    // ------------------------------------------------ steps
    Failure Step();
    Failure MenuStep();
    Failure MenuClick(int x, int y);
    Failure AnswerNameDialogs(MenuChoice choice);
    Failure HighscoreStep();
    Failure TwoPlayerStep();
    Failure ComputerStep();
    Failure OffBoardClick();
    Failure GameOver(const char* text, const char* caption);
    Failure LeaveToMenu();

    // ------------------------------------------------ checks
    Failure SentClick(int x, int y, const char* what);
    Failure ExpectBoardAsModelled(const char* after);
    [[nodiscard]] Failure ExpectHighscoresShown() const;
    Failure ExpectScoreFile(const char* after);
    [[nodiscard]] DWORD GdiObjects() const;
    Failure Warmup();

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    void Note(const std::string& step) {
        recent_.push_back(Format("%d: %s", clicks_, step.c_str()));
        if (recent_.size() > 12)
            recent_.pop_front();
    }
    int ColumnX(int column) { return BandFirstX + BandWidth * column + Uniform(0, BandWidth - 1); }
    static std::string Stored(const std::string& typed) {
        std::string stored = typed.substr(0, 9);
        for (char& c : stored)
            if (c == ' ')
                c = '_';
        return stored.empty() ? "_" : stored;
    }

    const Options& options_;
    Session session_;
    std::mt19937 random_;     // seeded in Run, which prints the seed for a replay
    bool finishing_ = false;  // the walk is over: games end with "No"

    // What the program shows, as the walk expects it.
    enum Place { AtMenu, AtHighscores, InGame } place_ = AtMenu;
    MenuChoice mode_ = TwoPlayers;
    Position board_ = {};
    int turnCounter_ = 2;  // even: player 1 (yellow) to move in a game of two
    int moveCount_ = 0;    // board clicks handled since the last reset
    std::string name1_, name2_;
    std::vector<ScoreLine> table_;

    // Figures.
    int clicks_ = 0;
    int games_ = 0;
    int gamesOfTwo_ = 0;
    int computerGames_ = 0;
    int computerClicks_ = 0;
    int boxes_ = 0;    // message boxes answered
    int dialogs_ = 0;  // name dialogs answered
    int highscoreVisits_ = 0;
    int entries_ = 0;  // wins against the computer entered in the table
    std::deque<std::string> recent_;
    // Time spent per kind of step, with the clicks they made (box answers
    // and the screens they lead to included).
    enum StepKind { MenuSteps, HighscoreSteps, TwoPlayerSteps, ComputerSteps, OffBoardSteps };
    double spentMs_[5] = {};
    int stepClicks_[5] = {};

public:
    void PrintTimes() const {
        const char* names[5] = {"menu", "highscore screen", "two-player board", "computer board",
                                "beside the board"};
        for (int kind = 0; kind < 5; ++kind)
            if (stepClicks_[kind] > 0)
                std::printf("soak: %s clicks: %d, %.1f ms each with what follows them\n",
                            names[kind], stepClicks_[kind], spentMs_[kind] / stepClicks_[kind]);
    }
};

}  // namespace e2e::soak
