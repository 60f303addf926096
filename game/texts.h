// The game's own words and the files it reads and writes.
//
// The one home of every text the player sees and of every data path, so the
// program and the end-to-end driver use the same ones. Paths are relative to
// the working directory, in the platform's own spelling; the web build maps
// them onto its file system.
#pragma once

// Pictures.
constexpr const char* IntroPicture = ".\\src\\intro.bmp";
constexpr const char* MenuPicture = ".\\src\\menue.bmp";
constexpr const char* BoardPicture = ".\\src\\spielfeld.bmp";
constexpr const char* HighscorePicture = ".\\src\\highscore.bmp";
constexpr const char* CreditsPicture = ".\\src\\credits.bmp";
constexpr const char* PlayerOnePicture = ".\\src\\spieler1.bmp";
constexpr const char* PlayerTwoPicture = ".\\src\\spieler2.bmp";
constexpr const char* EasyLevelPicture = ".\\src\\compuleicht.bmp";
constexpr const char* HardLevelPicture = ".\\src\\compuschwer.bmp";

// Sounds. KEPT: two spellings of the full-column sound are opened, one in
// each kind of game; one file serves both where names are matched without
// regard to case.
constexpr const char* FallSound = ".\\src\\fallen.wav";
constexpr const char* FullColumnSound = ".\\src\\voll.wav";
constexpr const char* FullColumnSoundComputerGame = ".\\src\\Voll.wav";
constexpr const char* WinSound = ".\\src\\gewonnen.wav";

// The highscore table, the only file the game writes.
constexpr const char* HighscoreFile = ".\\src\\Highscore.txt";

// Start-up failures.
constexpr const char* PictureErrorText = "Bild konnte nicht geladen werden";
constexpr const char* PictureErrorCaption = "Error";
constexpr const char* WindowErrorText = "Fehler";
constexpr const char* WindowErrorCaption = "Fehler";

// The name questions.
constexpr const char* NameCaption = "***Name***";
constexpr const char* FirstPlayerPrompt = "Spieler1:";
constexpr const char* SecondPlayerPrompt = "Spieler2:";
constexpr const char* SinglePlayerPrompt = "Spieler:";
constexpr const char* NameOkText = "OK";
constexpr const char* NameCancelText = "Abbrechen";

// The end of a game.
constexpr const char* PlayerOneWinCaption = "***SIEG***SPIELER 1***";
constexpr const char* PlayerTwoWinCaption = "***SIEG***SPIELER 2***";
constexpr const char* ComputerGameWinCaption = "***SIEG***";
constexpr const char* ComputerWinText = "COMPUTER";
constexpr const char* DrawAnnouncement = "!  !  U N E N T S C H I E D E N  !  !";
constexpr const char* DrawAnnouncementCaption = "***HAHA***";
constexpr const char* PlayAgainText = "Nochmal";
constexpr const char* PlayAgainCaption = "***????***";

// The window.
constexpr const char* WindowTitle = "Rillo";

// The page's own words, beyond the screens and boxes the game shares with the
// Windows program.
constexpr const char* PageEndedText = "Rillo wurde beendet.";
constexpr const char* PageRestartText = "Neu starten";

// The page's controls and announcements. Only the page reads them (through
// tools/web_texts.py, which reads this file as UTF-8), so they may hold
// umlauts; {name} and {column} are filled in by the page.
constexpr const char* HeadingIntro = "Rillo, vier in einer Reihe";
constexpr const char* HeadingMenu = "Menü";
constexpr const char* HeadingTwoPlayers = "Spielfeld: Zwei Spieler";
constexpr const char* HeadingEasyComputer = "Spielfeld: Computer leicht";
constexpr const char* HeadingHardComputer = "Spielfeld: Computer schwer";
constexpr const char* HeadingHighscores = "Bestenliste";
constexpr const char* HeadingCredits = "Mitwirkende";
constexpr const char* ControlContinue = "Weiter";
constexpr const char* ControlTwoPlayers = "Zwei Spieler";
constexpr const char* ControlEasyComputer = "Computer leicht";
constexpr const char* ControlHardComputer = "Computer schwer";
constexpr const char* ControlHighscores = "Bestenliste";
constexpr const char* ControlCredits = "Mitwirkende";
constexpr const char* ControlColumn = "Spalte {column}";
constexpr const char* ControlBack = "Zurück";
constexpr const char* ControlEnd = "Beenden";
constexpr const char* TableRankHeader = "Platz";
constexpr const char* TableNameHeader = "Name";
constexpr const char* TableMovesHeader = "Züge";
constexpr const char* AnnounceDisc = "{name}: Spalte {column}";
constexpr const char* AnnounceComputerDisc = "Computer: Spalte {column}";
constexpr const char* AnnounceFullColumn = "Spalte {column} ist voll";
constexpr const char* AnnounceTurn = "{name} ist am Zug";
constexpr const char* AnnounceComputerTurn = "Der Computer ist am Zug";
constexpr const char* BoxOkText = "OK";
constexpr const char* BoxCancelText = "Abbrechen";
constexpr const char* BoxYesText = "Ja";
constexpr const char* BoxNoText = "Nein";
constexpr const char* IconErrorText = "Fehler";
constexpr const char* IconQuestionText = "Frage";
constexpr const char* IconWarningText = "Warnung";
constexpr const char* IconInformationText = "Information";

// The page's loading, failure and offline words. They are the page's alone
// (the game never draws or shows them), written in UTF-8, and tools/web_app.py
// puts them into the page before any of its scripts runs; {file} and {detail}
// stand for a file's name and what went wrong with it. One text a line,
// however long, as tools/web_texts.py reads them.
// clang-format off
constexpr const char* PageDescription = "Rillo, vier in einer Reihe: zu zweit an einem Gerät oder gegen den Computer in zwei Stufen, mit Bestenliste. Läuft nach dem ersten Besuch auch ohne Netz.";
constexpr const char* PageLoadingText = "Rillo wird geladen";
constexpr const char* PageFailedText = "Rillo konnte nicht geladen werden";
constexpr const char* PageReloadText = "Neu laden";
constexpr const char* PageMissingFileReason = "Die Datei {file} kam nicht an ({detail}).";
constexpr const char* PageNoNetworkReason = "Die Datei {file} kam nicht an: keine Verbindung zum Server.";
constexpr const char* PageDamagedFileReason = "Die Datei {file} ist beschädigt ({detail}).";
constexpr const char* PageNoWebAssemblyReason = "Dieser Browser kann kein WebAssembly ausführen.";
constexpr const char* PageStartFailedReason = "Das Spiel hielt beim Start an ({detail}).";
constexpr const char* PageNoScriptText = "Rillo braucht JavaScript. Bitte schalte JavaScript für diese Seite ein und lade sie neu.";
constexpr const char* PageStorageNote = "Der Browser gibt Rillo hier keinen Speicher: die Bestenliste gilt nur für diesen Besuch.";
// clang-format on
