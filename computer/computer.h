// The computer player: the easy and the hard chooser, their pattern rules,
// the shared fallback and the random generator.
#pragma once

#include <cstdint>

// What a rule returns when it finds no cell. Rules name columns 1 to 7.
constexpr int NoMove = 8;

// Modes of the hard rules.
constexpr int ModeThree = 1;
constexpr int ModeTwo = 2;

void SeedRandom(std::uint32_t seed);
int NextRandom();

int ChooseEasyColumn(const char* board, int moveCount);
int ChooseHardColumn(const char* board, int moveCount);
int ChooseFallbackColumn(const char* board, int moveCount);

// The easy level's rules: a three of key with its fourth cell free and
// supported; each keeps the first match of the topmost row.
int FindThreeHorizontal(char key, const char* board);
int FindThreeVertical(char key, const char* board);
int FindThreeRising(char key, const char* board);
int FindThreeFalling(char key, const char* board);

// The hard level's rules: with ModeThree the threes the easy rules find, with
// ModeTwo a two of key with room to grow; any other mode finds nothing. Each
// keeps the last match of the topmost row.
int FindThreeOrTwoRising(char key, const char* board, int mode);
int FindThreeOrTwoFalling(char key, const char* board, int mode);
int FindThreeOrTwoVertical(char key, const char* board, int mode);
int FindThreeOrTwoHorizontal(char key, const char* board, int mode);
