#pragma once
// A random perfect maze on an odd-sized grid, carved depth first in steps of two cells,
// handed out row by row as tile strings ("a" on the carved passages, "G" elsewhere).
#include <cstdint>
#include <string>
#include <vector>

namespace morvath {

class CMaze {
public:
    bool Value(std::int32_t nIndex) const;
    void Value(std::int32_t nIndex, bool bValue);
    // True when cell (x, y) was NOT carved.
    bool GetMaze(std::int32_t x, std::int32_t y) const;
    // Carves from (x, y); leaves them at the last cell handled. Always false.
    bool MakeMaze(std::int16_t& x, std::int16_t& y);
    // Sizes (rounded up to odd), clears and carves a new maze from (1, 1).
    void DrawMaze(std::int16_t txSize, std::int16_t tySize);
    // Row cnt, column 0 first: SizeX + 1 characters.
    std::wstring GetMazeString(std::int16_t cnt) const;

    int SizeXValue() const { return SizeX; }
    int SizeYValue() const { return SizeY; }

private:
    bool Visited(int x, int y) const;
    void Mark(int x, int y);

    std::int16_t SizeX = 0;
    std::int16_t SizeY = 0;
    std::vector<std::uint8_t> visited_;  // (SizeX + 1) * (SizeY + 1), row by row; a byte each, as it is read often
    std::vector<std::int32_t> StackX{0};
    std::vector<std::int32_t> StackY{0};
    std::int16_t Dirs[5] = {};
    std::vector<std::uint16_t> Bits;
};

}  // namespace morvath
