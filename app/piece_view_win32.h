// The piece view: the last composed piece drawn below the two status lines,
// with a cursor that follows the playback.
#pragma once
#include <windows.h>

#include <cstdint>

#include "app/piece_layout.h"

extern HWND PieceView;  // hidden until the first Compose

void CreatePieceView(HWND mainWindow);
// Takes the room below the two lines, for the main window's size and DPI.
void PlacePieceView();
// The piece of the Compose just done, fitted to the width.
void ShowComposedPiece();
// Play has begun: the cursor is followed until the playback ends.
void FollowPiecePlayback();
// The main window passes on what the view answers: focus and the wheel.
void FocusPieceView();
bool PieceViewTakesWheel(UINT message, WPARAM wParam, LPARAM lParam);

// The pixels of the 32-bit top-down DIB section selected into the DC drawn
// on, where bars are written directly; Bits null: everything through the DC.
struct PiecePixels {
    uint32_t* Bits;
    int32_t Width, Height;
};

// Draws the view's picture of f into dc, within clip. cursor < 0: none.
void DrawPieceView(HDC dc, const PiecePixels& pixels, const ViewFrame& f, const RECT& clip, double cursor, HFONT font);

// What the view shows now: its frame and the cursor's tick as last drawn.
const ViewFrame& PieceViewFrame();
double PieceViewCursor();
