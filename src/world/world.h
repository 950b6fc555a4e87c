#pragma once
// The current location: its tile grid, its table of trigger cells, the items on its floor,
// its painter kind, the in-game clock and the cave depth. There is one World for the whole
// game; changing location replaces its contents.
#include <array>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/variant.h"
#include "world/item.h"
#include "world/view.h"

namespace morvath {

// Painter kinds (`World::MapType`).
enum MapKind : int {
    kMapTown = 0,    // town and ordinary outdoor location
    kMapWild = 1,    // the wilderness map
    kMapHouse = 2,   // house interior
    kMapForest = 3,  // forest, generated plain and forest
    kMapCave = 4,    // cave and dungeon
};

// One trigger cell of a location.
struct LocationRecord {
    Variant X;        // hero-coordinate X of the trigger cell
    Variant Y;
    Variant Target;   // "loc", "AG", "wild", "plain" or a location id
    Variant TargetX;  // arrival X; 0 means the return position
    Variant TargetY;  // arrival Y; for "loc" the script's file name
};

class World {
public:
    static constexpr int kMaxRow = 100;
    static constexpr int kMaxRecord = 30;

    World() : mapItemCol(std::make_shared<ItemCol>()) { ClearLocations(); }

    std::wstring WorldName;  // also the stem of its files in \saved\ ("wild", "AG", "plain" special)
    Integer Day;
    Integer Turn;
    Integer InfLevel;        // cave depth
    std::shared_ptr<ItemCol> mapItemCol;
    Long MapType;

    // --- Grid and table ---
    // The tile at column x (1-based) of row y; "" past the row's end or outside the grid.
    std::wstring GetPosMap(double x, double y) const;
    // Replaces the tile at column x of row y (row first!) with ch's first character; a cell
    // outside the grid or past the row's end is left alone.
    void setPosMap(double y, double x, const std::wstring& ch);
    void setPosMap2(double y, double x, const std::wstring& ch) { setPosMap(y, x, ch); }
    // Appends a record; ignored when the table is full or (X, Y) already has a record.
    void addLocation(const Variant& x, const Variant& y, const Variant& target, const Variant& targetX,
                     const Variant& targetY);
    // Every record becomes (0, 0, "", 0, 0); LocCount stays.
    void ClearLocations();
    // Lays out an empty generated ground: a border of chFill around 30 x 39 "G".
    void FillBorders(const std::wstring& chFill);
    // The four exits of a generated ground, each leading to "wild" at the hero's position.
    void AddStandartLocations();
    static std::wstring RepeatString(const std::wstring& s, long n);

    // Row access for readers, writers, painters and generators.
    const std::wstring& Row(int y) const { return Map.at(static_cast<std::size_t>(y)); }
    void SetRow(int y, std::wstring row) { Map.at(static_cast<std::size_t>(y)) = std::move(row); }
    const LocationRecord& Record(int i) const { return Locations.at(static_cast<std::size_t>(i)); }
    LocationRecord& Record(int i) { return Locations.at(static_cast<std::size_t>(i)); }
    int LocCount = 0;        // index of the last used record (-1: none)

    // --- Location files (world_files.cpp) ---
    // Each writer replaces its file whole (temporary file and rename) and reports whether
    // it could; a WorldName that is not a plain file stem writes nothing.
    bool SaveMap();
    bool SaveChars();
    bool SaveItems();
    bool SaveCoords();
    // Loads the location WorldName whole: true for a saved location, false for "wild"
    // (entered through LoadWild) and for a location that cannot be loaded, which leaves
    // everything as it was (check with LocationFilesExist before changing anything).
    bool Load_World();
    void LoadChar(const fs::path& file);
    void LoadMapRows(const fs::path& file);
    void LoadCoords(const fs::path& file);
    void LoadItems(const fs::path& file);
    // The file id + ext of the save folder as the running game sees it: its newest version.
    static fs::path SavedFile(std::wstring_view id, std::wstring_view ext);
    // Where a new version of that file is written; the next save makes it part of the save.
    static fs::path NewSavedFile(std::wstring_view id, std::wstring_view ext);

    // --- Location change (location_change.cpp) ---
    // Acts on the first record at the hero's position: runs its script, or changes location.
    void checkplace();
    // Writes the place as the hero leaves it: characters, grid, floor items. "" when all were
    // written, else the name of the first file that could not be.
    std::wstring SaveLeftPlace();
    // The same for a hero who may stay: when a file cannot be written the player is told and
    // false comes back; the hero stays, and nothing of the place is lost.
    bool LeavePlace();
    void LoadWild(double x, double y);
    void RunLocationScript(const std::wstring& name);

    // --- View drawing (view.cpp): the view around the hero, by MapType ---
    void DrawWorld(View& view);
    void DrawNormal(View& view);
    void DrawWild(View& view);
    void DrawHouse(View& view);
    void DrawForest(View& view);
    void DrawCave(View& view);
    void DrawNothing(int dx, int dy, View& view);
    void CharacterMovements(View& view);

    // --- Generators ---
    void Generate_Plains();
    void Generate_Forest();
    void Generate_Cave_World();
    void LayOutGround();

    bool DrawSkip = false;   // the cell being drawn lies off the map

private:
    std::array<std::wstring, kMaxRow + 1> Map;
    std::array<LocationRecord, kMaxRecord + 1> Locations;
};

// The first of the files of location `id` (a plain name) that is missing from \saved\ (grid,
// table and painter kind; the wilderness map has no painter-kind file); "" when none is.
std::wstring MissingLocationFile(const std::wstring& id);
// True when `id` names a location whose files all lie in \saved\: only then can it be entered.
bool LocationFilesExist(const std::wstring& id);
// Tells the player that a place a script made could not be written, and so is not there.
void TellPlaceNotMade(const std::wstring& id);

}  // namespace morvath
