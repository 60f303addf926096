// Scenarios of the name dialogs, the easy computer and the highscore file.
#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {

// Every kind of game asks for names: prompts, captions, cancelling in each way,
// empty names, a name cut to 9 characters (as the win box shows it).
Failure NameDialogsScenario(const Options& options) {
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    RETURN_IF_FAILED(StartAtMenu(&session));
    Box dialog;
    HWND previous = nullptr;

    // Every way of leaving a name dialog goes back to the menu.
    enum class Leave { Abbrechen, Escape, CloseBox };
    struct Case {
        Point button;
        const char* firstName;  // given in the first dialog, or nullptr
        const char* prompt;     // of the dialog that is left
        Leave how;
        const char* what;
    };
    const Case cases[] = {
        {TwoPlayersButton, nullptr, FirstPlayerPrompt, Leave::Abbrechen, "Abbrechen for player 1"},
        {TwoPlayersButton, "Anna", SecondPlayerPrompt, Leave::Abbrechen, "Abbrechen for player 2"},
        {TwoPlayersButton, nullptr, FirstPlayerPrompt, Leave::Escape, "Escape"},
        {TwoPlayersButton, nullptr, FirstPlayerPrompt, Leave::CloseBox, "closing the dialog"},
        {HardButton, nullptr, SinglePlayerPrompt, Leave::Abbrechen,
         "Abbrechen against the hard computer"},
        {EasyButton, nullptr, SinglePlayerPrompt, Leave::CloseBox,
         "closing the dialog against the easy computer"},
    };
    for (const Case& c : cases) {
        Click(session.window, c.button.x, c.button.y);
        previous = nullptr;
        if (c.firstName != nullptr)
            RETURN_IF_FAILED(AnswerName(session, FirstPlayerPrompt, c.firstName, &previous));
        RETURN_IF_FAILED(ExpectNameDialog(session, c.prompt, &dialog, previous));
        switch (c.how) {
            case Leave::Abbrechen:
                RETURN_IF_FAILED(PressButton(dialog, IDCANCEL));
                break;
            case Leave::Escape:
                // A name typed and then Escape pressed in the edit field.
                RETURN_IF_FAILED(SetEditText(dialog, NameEditId, "Anna"));
                RETURN_IF_FAILED(PressKey(dialog, VK_ESCAPE, "on the Escape key"));
                break;
            case Leave::CloseBox:
                PostMessageA(dialog.window, WM_CLOSE, 0, 0);
                RETURN_IF_FAILED(WaitUntilGone(dialog, "on WM_CLOSE"));
                break;
        }
        RETURN_IF_FAILED(ExpectMenu(session, c.what));
    }

    // Empty names bring both dialogs again, player 1 first; Enter confirms.
    Click(session.window, TwoPlayersButton.x, TwoPlayersButton.y);
    previous = nullptr;
    RETURN_IF_FAILED(AnswerName(session, FirstPlayerPrompt, "", &previous));
    RETURN_IF_FAILED(AnswerName(session, SecondPlayerPrompt, "Bert", &previous));
    RETURN_IF_FAILED(ExpectNameDialog(session, FirstPlayerPrompt, &dialog, previous));
    RETURN_IF_FAILED(SetEditText(dialog, NameEditId, "Maximilian12"));
    std::string typed = TextOf(GetDlgItem(dialog.window, NameEditId));
    if (typed != "Maximilian12")
        return "the edit field holds " + Quote(typed) + " after typing \"Maximilian12\"";
    Shot seen;
    Sleep(SettleMs);
    RETURN_IF_FAILED(TakeScreenShot(session.window, &seen));
    RETURN_IF_FAILED(SaveShot(seen, "name_dialog.bmp"));
    RETURN_IF_FAILED(PressKey(dialog, VK_RETURN, "on the Enter key"));
    previous = dialog.window;
    RETURN_IF_FAILED(AnswerName(session, SecondPlayerPrompt, "", &previous));
    RETURN_IF_FAILED(AnswerName(session, FirstPlayerPrompt, "Maximilian12", &previous));
    RETURN_IF_FAILED(AnswerName(session, SecondPlayerPrompt, "Bert", &previous));
    RETURN_IF_FAILED(ExpectBoard(session, "both names"));

    // Both names beside the board, in white.
    Shot shot;
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    int name1 = NamePixels(shot, session.pictures, 1);
    int name2 = NamePixels(shot, session.pictures, 2);
    std::printf("white name pixels: player 1 %d, player 2 %d\n", name1, name2);
    if (name1 < 20 || name2 < 20)
        return Format("names beside the board: %d and %d white pixels", name1, name2);
    if (name1 <= name2)
        return "the 9-character name is not wider than \"Bert\"";
    RETURN_IF_FAILED(SaveShot(shot, "two_players_named.bmp"));

    // Player 1 wins in column 0; the box names the stored, cut name.
    const int columns[] = {0, 1, 0, 1, 0, 1, 0};
    for (int i = 0; i < 7; ++i) {
        Click(session.window, DiscX(columns[i]), 300);
        int row = 5 - i / 2;
        COLORREF core = i % 2 == 0 ? RGB(128, 128, 0) : RGB(128, 0, 0);
        if (i < 6 &&
            WaitForPixel(session.window, DiscX(columns[i]), DiscY(row), core, BoxTimeout) < 0)
            return Format("click %d: no disc at row %d column %d", i + 1, row, columns[i]);
    }
    Box win;
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &win));
    RETURN_IF_FAILED(ExpectBox(win, "Maximilia", PlayerOneWinCaption));
    Sleep(SettleMs);
    RETURN_IF_FAILED(TakeScreenShot(session.window, &seen));
    RETURN_IF_FAILED(SaveShot(seen, "win_box.bmp"));
    RETURN_IF_FAILED(FinishWin(session, win));

    // Against the computer: one dialog, "Spieler:".
    Click(session.window, EasyButton.x, EasyButton.y);
    previous = nullptr;
    RETURN_IF_FAILED(AnswerName(session, SinglePlayerPrompt, "", &previous));
    RETURN_IF_FAILED(AnswerName(session, SinglePlayerPrompt, "Ede", &previous));
    RETURN_IF_FAILED(ExpectBoard(session, "the name for the easy computer"));
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    if (ShareShown(shot, session.pictures.easyLevel, session.pictures.hardLevel, LevelPictureX,
                   LevelPictureY, 4) < 0.9)
        return "the easy level picture is not shown";
    if (NamePixels(shot, session.pictures, 1) < 20)
        return "the name \"Ede\" is not shown beside the board";
    if (NamePixels(shot, session.pictures, 2) != 0)
        return "a second name is shown in a game against the computer";

    RETURN_IF_FAILED(CloseAndExpectExit(session));
    return "";
}
E2E_SCENARIO(100, "name_dialogs", NameDialogsScenario, "");

// Beats the easy computer and finds the win in the highscore file at its rank
// and on the highscore screen.
Failure BeatEasyComputerScenario(const Options& options) {
    std::string original;
    std::vector<ScoreLine> before;
    if (!ReadWholeFile(HighscorePath(options), &original))
        return "the working folder has no src\\Highscore.txt";
    RETURN_IF_FAILED(ParseScoreFile(original, &before));
    if (before.size() != 10)
        return Format("the original table has %d lines", static_cast<int>(before.size()));
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    RETURN_IF_FAILED(StartAtMenu(&session));
    const std::string name = "Tom Test";
    RETURN_IF_FAILED(ChooseComputerGame(session, name, Level::Easy));
    Played played;
    Box win;
    double started = NowMs();
    RETURN_IF_FAILED(BeatComputer(session, {Level::Easy, 0, 6}, name, &played, &win));
    std::printf("beat the easy computer in game %d of %d, %d clicks in all, %.1f s\n", played.games,
                6, played.clicks, (NowMs() - started) / 1000);

    // The file is written before the win box shows.
    std::string written;
    std::vector<ScoreLine> after;
    if (!ReadWholeFile(HighscorePath(options), &written))
        return "src\\Highscore.txt is gone after the win";
    RETURN_IF_FAILED(ParseScoreFile(written, &after));
    std::vector<ScoreLine> expected = WithEntry(before, {"Tom_Test", played.winningMoves});
    if (written != ScoreText(expected))
        return "the table after the win is\n" + written + "expected\n" + ScoreText(expected);
    size_t rank = 0;
    while (after[rank].name != "Tom_Test")
        ++rank;
    std::printf("entry \"Tom_Test %d\" at rank %d; \"%s %d\" dropped out\n", played.winningMoves,
                static_cast<int>(rank) + 1, before[9].name.c_str(), before[9].moves);

    RETURN_IF_FAILED(FinishWin(session, win));
    Shot shot;
    RETURN_IF_FAILED(OpenHighscores(session, &shot));
    int y = HighscoreRowY[rank];
    int text =
        NewWhitePixels(shot, session.pictures.highscores, HighscoreNameX - 5, y, 400, y + 25);
    if (text < 20)
        return Format("no name drawn in the row of rank %d", static_cast<int>(rank) + 1);
    RETURN_IF_FAILED(SaveShot(shot, "highscores_after_win.bmp"));
    Click(session.window, 400, 300);
    RETURN_IF_FAILED(ExpectMenu(session, "a click on the highscore screen"));
    RETURN_IF_FAILED(CloseAndExpectExit(session));
    return "";
}
E2E_SCENARIO(110, "beat_easy_computer", BeatEasyComputerScenario, "");

// Without a highscore file: the highscore screen shows without a box, and a
// win makes a file of one line.
Failure MissingHighscoreFileScenario(const Options& options) {
    if (FileExists(HighscorePath(options)))
        return "the working folder still holds src\\Highscore.txt";
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    RETURN_IF_FAILED(StartAtMenu(&session));
    Shot shot;
    RETURN_IF_FAILED(OpenHighscores(session, &shot));
    if (NewWhitePixels(shot, session.pictures.highscores, HighscoreNameX - 5, 150, 800, 600) != 0)
        return "the highscore screen shows text without a file";
    Click(session.window, 400, 300);
    RETURN_IF_FAILED(ExpectMenu(session, "a click on the empty highscore screen"));

    RETURN_IF_FAILED(ChooseComputerGame(session, "Mia", Level::Easy));
    Played played;
    Box win;
    // The first game is lost on purpose: the won one is begun by "Nochmal",
    // so its move count starts at 1.
    RETURN_IF_FAILED(BeatComputer(session, {Level::Easy, 1, 7}, "Mia", &played, &win));
    if (played.games < 2)
        return "the game meant to be lost was won";
    std::string written;
    if (!ReadWholeFile(HighscorePath(options), &written))
        return "no src\\Highscore.txt after the win";
    std::string expected = "Mia " + std::to_string(played.winningMoves) + "\r\n";
    if (written != expected)
        return "the new file holds " + Quote(written) + ", expected " + Quote(expected);
    if (FileExists(HighscorePath(options) + ".tmp"))
        return "a temporary file is left beside the table";
    RETURN_IF_FAILED(FinishWin(session, win));
    RETURN_IF_FAILED(OpenHighscores(session, &shot));
    if (NewWhitePixels(shot, session.pictures.highscores, HighscoreNameX - 5, HighscoreRowY[0], 400,
                       HighscoreRowY[0] + 25) < 20)
        return "the new entry is not drawn in the first row";
    if (NewWhitePixels(shot, session.pictures.highscores, HighscoreNameX - 5, HighscoreRowY[1], 800,
                       600) != 0)
        return "rows below the only entry show text";
    RETURN_IF_FAILED(CloseAndExpectExit(session));
    return "";
}
E2E_SCENARIO(120, "missing_highscore_file", MissingHighscoreFileScenario, "Highscore.txt");

// A highscore file of garbage: a 5000-character token, an endless number, a
// line of blanks, random bytes. The screen paints, clicks still work, a win
// writes a well-formed table.
Failure GarbageHighscoreFileScenario(const Options& options) {
    std::string garbage =
        std::string(5000, 'A') + " 5\r\n   \t  \r\nBob " + std::string(300, '9') + "\r\n";
    unsigned state = 12345;
    for (int i = 0; i < 600; ++i) {
        state = state * 214013U + 2531011U;
        char byte = static_cast<char>((state >> 16) & 0xFF);
        garbage += byte == 0x1A ? '?' : byte;  // Ctrl-Z would end a text-mode read
    }
    RETURN_IF_FAILED(WriteWholeFile(HighscorePath(options), garbage));
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    RETURN_IF_FAILED(StartAtMenu(&session));
    Shot shot;
    RETURN_IF_FAILED(OpenHighscores(session, &shot));
    if (NewWhitePixels(shot, session.pictures.highscores, HighscoreNameX - 5, HighscoreRowY[0], 400,
                       HighscoreRowY[0] + 25) < 20)
        return "the cut long token is not drawn in the first row";
    RETURN_IF_FAILED(SaveShot(shot, "garbage_highscores.bmp"));
    Click(session.window, 400, 300);
    RETURN_IF_FAILED(ExpectMenu(session, "a click on the garbage highscore screen"));

    RETURN_IF_FAILED(ChooseComputerGame(session, "Gerd", Level::Easy));
    Played played;
    Box win;
    RETURN_IF_FAILED(BeatComputer(session, {Level::Easy, 0, 6}, "Gerd", &played, &win));
    std::string written;
    std::vector<ScoreLine> after;
    if (!ReadWholeFile(HighscorePath(options), &written))
        return "src\\Highscore.txt is gone after the win";
    RETURN_IF_FAILED(ParseScoreFile(written, &after));
    if (after.size() < 3 || after.size() > 10)
        return Format("the rewritten table has %d lines", static_cast<int>(after.size()));
    // The entries read back from the garbage keep their order around the new
    // one, which stands above the first entry with as many moves or more.
    size_t rank = 0;
    while (rank < after.size() &&
           !(after[rank].name == "Gerd" && after[rank].moves == played.winningMoves))
        ++rank;
    if (rank == after.size())
        return "the new entry is not in the rewritten table:\n" + written;
    for (size_t i = 0; i < rank; ++i)
        if (after[i].moves >= played.winningMoves)
            return Format("rank %d holds %d moves above the new entry of %d",
                          static_cast<int>(i) + 1, after[i].moves, played.winningMoves);
    std::vector<ScoreLine> others = after;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(rank));
    if (others[0].name != "AAAAAAAAA" || others[0].moves != 5 || others[1].name != "Bob" ||
        others[1].moves != 2147483647)
        return "the first entries read from the garbage are\n" + ScoreText(others);
    std::printf("garbage table rewritten as %d lines, the new entry at rank %d\n",
                static_cast<int>(after.size()), static_cast<int>(rank) + 1);
    RETURN_IF_FAILED(FinishWin(session, win));
    RETURN_IF_FAILED(CloseAndExpectExit(session));
    return "";
}
E2E_SCENARIO(130, "garbage_highscore_file", GarbageHighscoreFileScenario, "");

}  // namespace e2e
