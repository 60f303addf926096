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

int FindThreeHorizontal(char key, const char* board);
int FindThreeVertical(char key, const char* board);
int FindThreeRising(char key, const char* board);
int FindThreeFalling(char key, const char* board);

int FindGapRising(char key, const char* board, int mode);
int FindGapFalling(char key, const char* board, int mode);
int FindGapVertical(char key, const char* board, int mode);
int FindGapHorizontal(char key, const char* board, int mode);
