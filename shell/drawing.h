// Drawing the state of a game over the board picture: discs, whose turn it
// is and the computer's level.
#pragma once

#include "game/state.h"

void DrawDisc(WindowHandle window, int column, int row, int colour);
void DrawTurnPicture();
void DrawLevelPicture();

// How much of a picture loaded at width by height is copied to the window:
// never more than the intro picture's size, never more than the picture.
PictureSize CopyExtent(int pictureWidth, int pictureHeight);

// Loads a picture scaled to width by height and copies it to (x, y) with the
// extent above. Returns false when the picture could not be loaded.
bool CopyPictureAt(DrawContext context, const char* path, int width, int height, int x, int y);
