#pragma once
// What the game screen's view shows: 10 x 10 cells of 32 x 32 pixels around the hero, each
// naming one picture, and the hero's picture on top. The world fills it (DrawWorld); the
// window paints it, cell by cell, each picture at its own size from the cell's corner.
#include <array>

#include "world/pictures.h"

namespace morvath {

struct View {
    static constexpr int kCells = 10;
    static constexpr int kCellPixels = 32;
    static constexpr int kPixels = kCells * kCellPixels;
    // The view cell (dx, dy), dx and dy each -3..6, is column dx + 3 and row dy + 3; the hero
    // stands on (2, 2), pixel (160, 160).
    static constexpr int kFirst = -3;
    static constexpr int kLast = 6;
    static constexpr int kHeroCell = 5;

    std::array<Pic, kCells * kCells> cells;  // row by row from the top left
    bool heroShown = false;
    Pic hero = Pic::imgDownChar;
    unsigned serial = 0;  // counts the draws, so a window can tell the view is new
    // A fireball or an arrow in flight, painted over the cells at its own pixel (the hero's
    // cell is at 160, 160); the map's redraws leave it alone.
    bool flyingShown = false;
    Pic flying = Pic::imgNothing;
    int flyingX = 0;
    int flyingY = 0;

    View() { cells.fill(Pic::imgNothing); }

    // Column and row 0..9.
    Pic At(int col, int row) const { return cells[static_cast<std::size_t>(row * kCells + col)]; }
    // Hero-relative offsets -3..6.
    Pic& Cell(int dx, int dy) { return cells[static_cast<std::size_t>((dy + 3) * kCells + dx + 3)]; }
    Pic CellAt(int dx, int dy) const { return At(dx + 3, dy + 3); }
};

// The hero's four direction pictures and the portrait, as the hero sprite routines set them.
struct HeroPictures {
    Pic up = Pic::imgUpChar;
    Pic down = Pic::imgDownChar;
    Pic left = Pic::imgLeftChar;
    Pic right = Pic::imgRightChar;
    Pic portrait = Pic::imgDownChar;
};

// Fills the game screen's view from the current location and asks the window to show it.
void DrawIt();

}  // namespace morvath
