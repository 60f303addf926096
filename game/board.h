// The board, where discs come to rest, the four-in-a-row and full-board tests,
// and the pixel geometry that clicks and drawing share.
#pragma once

#include "game/state.h"

// Value of LowestFreeRow for a column without an empty cell.
constexpr int NoRow = -1;

void ClearBoard();
int LowestFreeRow(int column);
bool IsColumnFull(int column);
bool HasFourInARow(char mark, const char* board);
bool IsBoardFull();
int ColumnFromX(int x);
int DiscCentreX(int column);
int DiscCentreY(int row);
