#include "world/maze.h"

#include "platform/numbers.h"
#include "platform/random.h"

namespace morvath {

bool CMaze::Value(std::int32_t nIndex) const {
    if (nIndex < 0 || static_cast<std::size_t>(nIndex / 16) >= Bits.size()) return false;
    return (Bits[static_cast<std::size_t>(nIndex / 16)] >> (nIndex % 16)) & 1u;
}

void CMaze::Value(std::int32_t nIndex, bool bValue) {
    if (nIndex < 0 || static_cast<std::size_t>(nIndex / 16) >= Bits.size()) return;
    auto& word = Bits[static_cast<std::size_t>(nIndex / 16)];
    auto mask = static_cast<std::uint16_t>(1u << (nIndex % 16));
    word = static_cast<std::uint16_t>(bValue ? (word | mask) : (word & ~mask));
}

bool CMaze::GetMaze(std::int32_t x, std::int32_t y) const { return !Value(y * SizeX + x); }

bool CMaze::Visited(int x, int y) const {
    if (x < 0 || y < 0 || x > SizeX || y > SizeY) return true;
    return visited_[static_cast<std::size_t>(y) * (SizeX + 1) + static_cast<std::size_t>(x)] != 0;
}

void CMaze::Mark(int x, int y) {
    if (x < 0 || y < 0 || x > SizeX || y > SizeY) return;
    visited_[static_cast<std::size_t>(y) * (SizeX + 1) + static_cast<std::size_t>(x)] = 1;
    Value(y * SizeX + x, true);
}

bool CMaze::MakeMaze(std::int16_t& x, std::int16_t& y) {
    for (;;) {
        for (auto& d : Dirs) d = 0;
        int count = 0;
        Mark(x, y);
        if (x > 1 && !Visited(x - 2, y)) Dirs[count++] = 1;
        if (y > 1 && !Visited(x, y - 2)) Dirs[count++] = 2;
        if (x < SizeX - 2 && !Visited(x + 2, y)) Dirs[count++] = 3;
        if (y < SizeY - 2 && !Visited(x, y + 2)) Dirs[count++] = 4;
        if (count == 0 && StackX.size() > 1) {
            x = static_cast<std::int16_t>(StackX.back());
            y = static_cast<std::int16_t>(StackY.back());
            StackX.pop_back();
            StackY.pop_back();
            continue;
        }
        StackX.push_back(x);
        StackY.push_back(y);
        Randomize();
        int d = Dirs[static_cast<int>(Int(count * Rnd()))];
        switch (d) {
            case 1: Mark(x - 1, y); x = static_cast<std::int16_t>(x - 2); break;
            case 2: Mark(x, y - 1); y = static_cast<std::int16_t>(y - 2); break;
            case 3: Mark(x + 1, y); x = static_cast<std::int16_t>(x + 2); break;
            case 4: Mark(x, y + 1); y = static_cast<std::int16_t>(y + 2); break;
            default: return false;
        }
    }
}

void CMaze::DrawMaze(std::int16_t txSize, std::int16_t tySize) {
    if (txSize < 1) txSize = 1;
    if (tySize < 1) tySize = 1;
    if (txSize > 1000) txSize = 1001;
    if (tySize > 1000) tySize = 1001;
    SizeX = static_cast<std::int16_t>(txSize % 2 ? txSize : txSize + 1);
    SizeY = static_cast<std::int16_t>(tySize % 2 ? tySize : tySize + 1);
    visited_.assign(static_cast<std::size_t>(SizeX + 1) * static_cast<std::size_t>(SizeY + 1), 0);
    Bits.assign(static_cast<std::size_t>((SizeX + 1) * (SizeY + 1)) / 16 + 1, 0);
    StackX.assign(1, 0);
    StackY.assign(1, 0);
    std::int16_t x = 1, y = 1;
    MakeMaze(x, y);
}

std::wstring CMaze::GetMazeString(std::int16_t cnt) const {
    std::wstring row(static_cast<std::size_t>(SizeX) + 1, L'G');
    if (cnt < 0 || cnt > SizeY || visited_.empty()) return row;
    const std::uint8_t* visited = visited_.data() + static_cast<std::size_t>(cnt) * row.size();
    for (std::size_t col = 0; col < row.size(); ++col) {
        if (visited[col]) row[col] = L'a';
    }
    return row;
}

}  // namespace morvath
