#pragma once
// A game in a throw-away game folder with a healthy hero on a hand-made town, for the tests
// of the game screen's rules: keys, movement, talk, location change and the view.
#include "game/keymap.h"
#include "test_support.h"

namespace morvath {

class ScreenTest : public GameTest {
protected:
    ScreenTest() { NewTown(); }

    // A healthy hero at (5, 5) on 30 columns of grass over rows 0..40 (column 8, row 8).
    void NewTown() {
        auto& hero = *modVarsAndMain.Player;
        hero.HP = 20;
        hero.MaxHp = 20;
        hero.BeginMaxWeight = 100;
        hero.MaxWeight = 100;
        hero.Hungry = 500;
        w().WorldName = L"town";
        w().MapType = kMapTown;
        w().Day = 1;
        w().LocCount = -1;
        for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(30, L'G'));
        modVarsAndMain.PlayerX = 5;
        modVarsAndMain.PlayerY = 5;
        modVarsAndMain.FacingDir = 2;
    }

    // Puts a tile at hero coordinates (x, y).
    void Put(int x, int y, const wchar_t* tile) { w().setPosMap(y + 3, x + 3, tile); }
    std::wstring At(int x, int y) { return w().GetPosMap(x + 3, y + 3); }

    void Key(int code, int shift = 0) { PressKey(code, shift); }

    // A location's files in \saved\: rows as written (UTF-8 here, cp1251 on disk), the
    // table as records of five values, the painter kind.
    void WriteLocation(const std::wstring& id, const std::vector<std::wstring>& rows,
                       const std::vector<std::vector<std::wstring>>& records, int mapType = kMapTown) {
        std::wstring map;
        for (const auto& r : rows) map += r + L"\r\n";
        WriteText(L"saved/" + id + L".map", map);
        std::wstring crd;
        for (const auto& rec : records) {
            for (const auto& v : rec) crd += v + L"\r\n";
        }
        WriteText(L"saved/" + id + L".crd", crd);
        if (id != L"wild") WriteText(L"saved/" + id + L".tle", std::to_wstring(mapType) + L"\r\n#This is a TileSet type file.Do not remove this Line!'\r\n");
    }
    void WriteText(const std::wstring& relative, const std::wstring& text) {
        const fs::path p = folder.path() / fs::path(ToUtf8(relative));
        fs::create_directories(p.parent_path());
        WriteFileAtomic(p, EncodeCp1251(text));
    }
    // A grass grid of `rows` rows and `cols` columns.
    static std::vector<std::wstring> Grass(int rows, int cols) {
        return std::vector<std::wstring>(static_cast<std::size_t>(rows), std::wstring(static_cast<std::size_t>(cols), L'G'));
    }
    // Adds a record to the current location's table.
    void Record(int x, int y, const std::wstring& target, const Variant& tx, const Variant& ty) {
        w().LocCount += 1;
        w().Record(w().LocCount) = LocationRecord{Variant(x), Variant(y), Variant(target), tx, ty};
    }

};

}  // namespace morvath
