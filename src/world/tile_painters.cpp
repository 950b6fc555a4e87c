#include "world/tile_painters.h"

#include <array>
#include <vector>

#include "platform/numbers.h"
#include "platform/random.h"

namespace morvath {
namespace {

// Pictures that are not one fixed picture: drawn afresh at every paint.
constexpr Pic kNone = Pic::Count;      // the painter does not know the character
constexpr Pic kSheep = Pic::sheep1;    // four frames each
constexpr Pic kSpider = Pic::spider1;
constexpr Pic kTvar = Pic::tvar1;
constexpr Pic kTownWater = Pic::fish;  // black water, now and then a fish

struct TileRow {
    wchar_t ch;
    Pic town, wild, house, forest, cave;
};

// Row per character; columns by painter. Order does not matter: each character appears once.
constexpr TileRow kAlphabet[] = {
    // ch      town                 wild                house               forest              cave
    {L'G', Pic::imgGrass, Pic::imgGrass, Pic::imgGrass, Pic::imgGrass, Pic::imgGrass},
    {L'B', Pic::imgBush, Pic::imgBush, kNone, Pic::imgBush, kNone},
    {L'<', Pic::imgWeed, kNone, kNone, Pic::imgWeed, Pic::imgWeed},
    {L'0', Pic::imgSign, kNone, Pic::imgSign, Pic::imgSign, Pic::imgSign},
    {L'~', Pic::imgTower, kNone, kNone, kNone, kNone},
    {L'\u043F', Pic::penek, kNone, kNone, Pic::penek, kNone},  // п, a tree stump
    {L'k', Pic::chicken, kNone, Pic::ImgIT3, kNone, kNone},
    {L'K', Pic::dog, kNone, Pic::ImgBIR3, kNone, kNone},
    {L'Q', Pic::imgTOL, Pic::imgTOL, kNone, kNone, kNone},
    {L'q', Pic::in1, Pic::in1, Pic::in1, Pic::in1, Pic::imgCaveDoor},
    {L'A', Pic::imgBOL, Pic::imgBOL, kNone, kNone, kNone},
    {L'a', Pic::imgCave, Pic::imgCave, Pic::imgCave, kNone, Pic::imgCaveWall},
    {L'W', Pic::imgTOR, Pic::imgTOR, kNone, kNone, kNone},
    {L'w', Pic::imgMountain, Pic::imgMountain2, Pic::imgMountain, kNone, Pic::imgMountain},
    {L'S', Pic::imgBOR, Pic::imgBOR, kNone, kNone, kNone},
    {L's', Pic::meal, kNone, Pic::meal, kNone, Pic::meal},
    {L'E', Pic::ImgIL, Pic::ImgIL, kNone, kNone, kNone},
    {L'e', Pic::imgFlower, kNone, kNone, Pic::imgFlower, kNone},
    {L'R', Pic::ImgIR, Pic::ImgIR, kNone, kNone, kNone},
    {L'D', Pic::ImgIT, Pic::ImgIT, kNone, kNone, kNone},
    {L'd', Pic::imgCrest, Pic::imgCrest, Pic::imgCrest, kNone, Pic::imgCrest},
    {L'F', Pic::ImgIB, Pic::ImgIB, kNone, kNone, kNone},
    {L'T', Pic::ImgTIL, Pic::ImgTIL, kNone, kNone, kNone},
    {L'Y', Pic::ImgTIR, Pic::ImgTIR, kNone, kNone, kNone},
    {L'V', Pic::ImgBIL, Pic::ImgBIL, Pic::imgKgt, kNone, Pic::imgSkel},
    {L'H', Pic::ImgBIR, Pic::ImgBIR, kNone, kNone, kNone},
    {L'M', Pic::in2, kNone, Pic::in2, Pic::in2, Pic::in2},
    {L'-', kTownWater, Pic::ImgBlack, kNone, Pic::ImgBlack, Pic::ImgBlack},
    {L'_', Pic::imgNothing, Pic::imgNothing, Pic::imgNothing, Pic::imgNothing, Pic::imgNothing},
    {L'Z', Pic::imgWallBottom, kNone, kNone, kNone, kNone},
    {L'X', Pic::imgWallTop, kNone, kNone, kNone, kNone},
    {L'C', Pic::imgFloor1, kNone, Pic::imgFloor1, kNone, Pic::imgFloor1},
    {L'z', Pic::imgWall2, kNone, kNone, kNone, kNone},
    {L'1', Pic::imgCharWomen1, Pic::castle, Pic::imgCharWomen1, Pic::imgCharWomen1, Pic::imgCharWomen1},
    {L'2', Pic::imgCharBoy1, kNone, Pic::imgCharBoy1, Pic::imgCharBoy1, Pic::imgCharBoy1},
    {L'3', Pic::imgCharBoy2, kNone, Pic::imgCharBoy2, Pic::imgCharBoy2, Pic::imgCharBoy2},
    {L'4', Pic::imgCharGoodWizard, kNone, Pic::imgCharGoodWizard, Pic::imgCharGoodWizard, Pic::imgCharGoodWizard},
    {L'5', Pic::imgCharBadWizard, kNone, Pic::imgCharBadWizard, Pic::imgCharBadWizard, Pic::imgCharBadWizard},
    {L'6', Pic::imgCharWomen2, kNone, Pic::imgCharWomen2, Pic::imgCharWomen2, Pic::imgCharWomen2},
    {L'7', Pic::imgCharWomen3, kNone, Pic::imgCharWomen3, Pic::imgCharWomen3, Pic::imgCharWomen3},
    {L'8', Pic::uman, kNone, Pic::uman, Pic::uman, Pic::uman},
    {L'|', Pic::imgLotok, kNone, kNone, kNone, kNone},
    {L'r', kSheep, kNone, kSheep, kSheep, kSheep},
    {L'.', Pic::ImgWar1, kNone, Pic::ImgWar1, Pic::ImgWar1, Pic::ImgWar1},
    {L'\u2026', Pic::imgVolhv, kNone, Pic::imgVolhv, Pic::imgVolhv, Pic::imgVolhv},  // …
    {L'%', Pic::imgCharSoldier, kNone, Pic::imgCharSoldier, Pic::imgCharSoldier, Pic::imgCharSoldier},
    {L'\u00A9', kSpider, kNone, kSpider, kSpider, kSpider},  // ©
    {L'\u0402', Pic::volk, kNone, kNone, Pic::volk, kNone},  // Ђ
    {L'\u00AE', Pic::orc, kNone, Pic::berendei, Pic::berendei, Pic::orc},  // ®
    {L'\u2022', Pic::fire, kNone, Pic::fire, Pic::fire, Pic::fire},  // •
    {L'>', Pic::imgRedMonk, kNone, Pic::imgRedMonk, Pic::imgRedMonk, Pic::imgRedMonk},
    {L'`', Pic::alchem, kNone, kNone, kNone, kNone},
    {L'f', Pic::n2, kNone, Pic::n2, Pic::n2, Pic::n2},
    {L't', kTvar, kNone, kTvar, kTvar, kTvar},
    {L'h', Pic::trief, kNone, Pic::trief, Pic::trief, Pic::trief},
    {L'9', Pic::Item, kNone, Pic::Item, Pic::Item, Pic::Item},
    {L'/', Pic::imgBlueTop, kNone, kNone, kNone, kNone},
    {L'\\', Pic::imgRedTop, kNone, kNone, kNone, kNone},
    {L'*', Pic::imgWindow1, kNone, kNone, kNone, kNone},
    {L'#', Pic::imgDoor1, Pic::shaht, kNone, kNone, Pic::imgCaveStairs},
    {L'!', Pic::imgJar, kNone, Pic::imgJar, Pic::imgJar, Pic::imgJar},
    {L'(', Pic::imgTable1, kNone, Pic::imgTable1, kNone, Pic::imgTable1},
    {L')', Pic::imgTable2, kNone, Pic::imgTable2, kNone, Pic::imgTable2},
    {L'[', Pic::imgBed1, kNone, Pic::imgBed1, kNone, kNone},
    {L']', Pic::imgBed2, kNone, Pic::imgBed2, kNone, kNone},
    {L'+', Pic::imgHouseExit, kNone, Pic::imgHouseExit, Pic::imgHouseExit, Pic::imgHouseExit},
    {L':', Pic::ImgW, kNone, Pic::ImgW, kNone, Pic::ImgW},
    {L'\u2020', Pic::ImgW2, kNone, kNone, kNone, kNone},  // †
    {L'\u041C', Pic::ImgM, kNone, Pic::ImgM, kNone, Pic::ImgM},  // М, the Cyrillic capital
    {L'\u040A', Pic::imgForest, Pic::imgForest, kNone, Pic::imgForest, kNone},  // Њ
    {L'?', Pic::imgbushw, Pic::village, kNone, Pic::imgbushw, kNone},
    {L'&', Pic::weapon2, kNone, Pic::weapon2, kNone, Pic::weapon2},
    {L'\u00B1', Pic::dom1_4, kNone, kNone, kNone, kNone},  // ±
    {L'\u2018', Pic::dom1_5, kNone, kNone, kNone, kNone},  // ‘
    {L'\u2019', Pic::dom1_6, kNone, kNone, kNone, kNone},  // ’
    {L'{', Pic::upstairs, kNone, Pic::upstairs, Pic::upstairs, Pic::upstairs},
    {L'}', Pic::cooks, kNone, Pic::cooks, kNone, kNone},
    {L'O', Pic::naga, kNone, kNone, kNone, kNone},
    {L'o', Pic::mongol, kNone, kNone, kNone, kNone},
    {L'c', kNone, Pic::city, kNone, kNone, kNone},
    {L'v', kNone, Pic::const_, kNone, kNone, kNone},
    {L'@', kNone, kNone, Pic::imgHouseExitB1, kNone, kNone},
    {L';', kNone, kNone, Pic::imgHouseExitB2, kNone, kNone},
    {L'U', kNone, kNone, Pic::ImgTIL3, kNone, kNone},
    {L'u', kNone, kNone, Pic::ImgIR3, kNone, kNone},
    {L'I', kNone, kNone, Pic::ImgTIR3, kNone, kNone},
    {L'i', kNone, kNone, Pic::ImgIB3, kNone, kNone},
    {L'J', kNone, kNone, Pic::ImgBIL3, kNone, kNone},
    {L'j', kNone, kNone, Pic::ImgIL3, kNone, kNone},
    {L'\u2122', kNone, kNone, Pic::orc2, Pic::bwolf, Pic::orc2},  // ™
    {L'\u0490', kNone, kNone, kNone, Pic::imgBear, Pic::imgBear},  // Ґ
};

constexpr int kKinds = 5;

// Per painter kind, the picture of every character: ASCII and Latin-1 by index, the few
// others (Cyrillic and typographic letters) by a short scan.
struct Lookup {
    std::array<std::array<Pic, 256>, kKinds> low;
    std::vector<TileRow> high;

    Lookup() {
        for (auto& k : low) k.fill(kNone);
        for (const TileRow& r : kAlphabet) {
            if (r.ch < 256) {
                const Pic byKind[kKinds] = {r.town, r.wild, r.house, r.forest, r.cave};
                for (int k = 0; k < kKinds; ++k) low[static_cast<std::size_t>(k)][r.ch] = byKind[k];
            } else {
                high.push_back(r);
            }
        }
    }

    Pic Find(int kind, wchar_t ch) const {
        if (ch >= 0 && ch < 256) return low[static_cast<std::size_t>(kind)][static_cast<std::size_t>(ch)];
        for (const TileRow& r : high) {
            if (r.ch != ch) continue;
            const Pic byKind[kKinds] = {r.town, r.wild, r.house, r.forest, r.cave};
            return byKind[kind];
        }
        return kNone;
    }
};

const Lookup& Table() {
    static const Lookup table;
    return table;
}

Pic Frame(Pic first) {
    // Frame n = Int(Rnd * 4) + 1: the animation changes with every redraw.
    int n = static_cast<int>(Int(CosmeticRnd() * 4));
    return static_cast<Pic>(static_cast<int>(first) + n);
}

void Paint(MapKind kind, const std::wstring& tile, View& view, int dx, int dy) {
    std::optional<Pic> p;
    if (!tile.empty()) p = TilePicture(kind, tile[0]);
    view.Cell(dx, dy) = p.value_or(Pic::imgNothing);
}

}  // namespace

std::optional<Pic> TilePicture(MapKind kind, wchar_t tile) {
    int k = static_cast<int>(kind);
    if (k < 0 || k >= kKinds) return std::nullopt;
    Pic p = Table().Find(k, tile);
    if (p == kNone) return std::nullopt;
    if (p == kSheep || p == kSpider || p == kTvar) return Frame(p);
    if (p == kTownWater) {
        // A single-precision draw, as the town painter has always made it.
        float r = static_cast<float>(CosmeticRnd() * 36);
        return r > 35 ? Pic::fish : Pic::ImgBlack;
    }
    return p;
}

void DrawTileNormal(const std::wstring& tile, View& view, int dx, int dy) { Paint(kMapTown, tile, view, dx, dy); }
void DrawTileWild(const std::wstring& tile, View& view, int dx, int dy) { Paint(kMapWild, tile, view, dx, dy); }
void DrawTileHouse(const std::wstring& tile, View& view, int dx, int dy) { Paint(kMapHouse, tile, view, dx, dy); }
void DrawTileForest(const std::wstring& tile, View& view, int dx, int dy) { Paint(kMapForest, tile, view, dx, dy); }
void DrawTileCave(const std::wstring& tile, View& view, int dx, int dy) { Paint(kMapCave, tile, view, dx, dy); }

}  // namespace morvath
