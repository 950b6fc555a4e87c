// The five files of a location in \saved\: grid (.map), characters (.lst), location table
// (.crd), floor items (.itm) and painter kind (.tle). The map archive, the house and
// dungeon generators and the save set all write these same formats.
//
// Every reader stops at the first item it cannot use and keeps the whole records read
// before it; a damaged file never takes more than its own tail with it.
#include <algorithm>

#include "platform/textforms.h"
#include "world/file_values.h"
#include "world/game_state.h"
#include "world/turn.h"
#include "world/save_set.h"
#include "world/world.h"

namespace morvath {
namespace {

constexpr wchar_t kTileSetMarker[] = L"#This is a TileSet type file.Do not remove this Line!'";

void EnsureCollections(World& w) {
    auto& g = modVarsAndMain;
    if (!w.mapItemCol) w.mapItemCol = std::make_shared<ItemCol>();
    if (!g.NPCs) g.NPCs = std::make_shared<NPCCol>();
}

// A location table column as the .crd holds it: Target and TargetY are written as the
// value they hold (a number in print form, or a text).
void PrintValue(TextWriter& w, const Variant& v) {
    switch (v.kind()) {
        case Variant::Kind::Empty: w.PrintEmpty(); break;
        case Variant::Kind::Number: w.PrintNumber(v.ToNumber()); break;
        default: w.PrintText(v.ToText()); break;
    }
}

}  // namespace

fs::path World::SavedFile(std::wstring_view id, std::wstring_view ext) {
    return SaveFolder().Current(std::wstring(id) + std::wstring(ext));
}

fs::path World::NewSavedFile(std::wstring_view id, std::wstring_view ext) {
    return SaveFolder().Staged(std::wstring(id) + std::wstring(ext));
}

bool World::SaveMap() {
    if (!IsPlainName(WorldName)) return false;
    TextWriter w;
    for (int row = 0; row <= 70; ++row) w.PrintText(Map[static_cast<std::size_t>(row)]);
    return w.Save(NewSavedFile(WorldName, L".map"));
}

bool World::SaveChars() {
    if (!IsPlainName(WorldName)) return false;
    // An empty location is written as an empty file: keeping the old one would bring
    // every character back once the last of them has been killed.
    TextWriter w;
    if (modVarsAndMain.NPCs) {
        for (const auto& n : *modVarsAndMain.NPCs) {
            w.Text(n->NPCName).Number(n->HP).Text(n->Symbol).Number(n->Tactic).Text(n->Weapon);
            w.Number(SingleAsWritten(n->X)).Number(SingleAsWritten(n->Y)).Number(n->Strenght);
            w.Text(n->AIScript_File).Text(n->DieScript_File).Text(n->Last_Speech).Bool(n->Good);
            w.EndRecord();
        }
    }
    return w.Save(NewSavedFile(WorldName, L".lst"));
}

bool World::SaveItems() {
    if (!IsPlainName(WorldName)) return false;
    TextWriter w;
    if (mapItemCol) {
        for (const auto& it : *mapItemCol) {
            w.Number(SingleAsWritten(it->X)).Number(SingleAsWritten(it->Y)).Text(it->ItemName).Number(it->ItemType);
            w.Text(it->ItemInfo).Number(it->Weight).Number(it->WeaponPlus).Number(it->DefendPlus);
            w.Number(it->itembalance).Text(it->ItemScript).Number(it->Critical).Text(it->SkillPlus);
            w.EndRecord();
        }
    }
    return w.Save(NewSavedFile(WorldName, L".itm"));
}

bool World::SaveCoords() {
    if (!IsPlainName(WorldName)) return false;
    TextWriter crd;
    const int last = std::min(LocCount, kMaxRecord);
    for (int i = 0; i <= last; ++i) {
        const LocationRecord& r = Locations[static_cast<std::size_t>(i)];
        crd.PrintText(r.X.ToText());
        crd.PrintText(r.Y.ToText());
        PrintValue(crd, r.Target);
        crd.PrintText(r.TargetX.ToText());
        PrintValue(crd, r.TargetY);
    }
    TextWriter tle;
    tle.PrintNumber(static_cast<double>(MapType));
    tle.PrintText(kTileSetMarker);
    const bool ok = crd.Save(NewSavedFile(WorldName, L".crd"));
    return tle.Save(NewSavedFile(WorldName, L".tle")) && ok;
}

void World::LoadMapRows(const fs::path& file) {
    auto r = TextReader::Open(file);
    if (!r) return;
    std::wstring item;
    // Rows beyond the last one read keep what they held; a row past the grid ends reading.
    for (std::size_t row = 0; row < Map.size() && r->ReadItem(item); ++row) Map[row] = item;
}

void World::LoadChar(const fs::path& file) {
    auto& g = modVarsAndMain;
    EnsureCollections(*this);
    g.NPCs->Clear();
    auto r = TextReader::Open(file);
    if (!r) return;
    while (!r->AtEnd()) {
        auto n = std::make_shared<NPC>();
        FieldReader f(*r);
        f.Text(n->NPCName).Number(n->HP).Text(n->Symbol).Number(n->Tactic).Text(n->Weapon);
        f.Single(n->X).Single(n->Y).Number(n->Strenght);
        f.Text(n->AIScript_File).Text(n->DieScript_File).Text(n->Last_Speech).Bool(n->Good);
        if (!f.ok()) break;
        g.NPCs->Append(n);
        g.CurNPC = n;
    }
}

void World::LoadCoords(const fs::path& file) {
    ClearLocations();
    LocCount = -1;
    auto r = TextReader::Open(file);
    if (!r) return;
    // Records past the table's end are ignored rather than failing the whole location.
    std::wstring item[5];
    while (LocCount < kMaxRecord) {
        int got = 0;
        while (got < 5 && r->ReadItem(item[got])) ++got;
        if (got < 5) break;
        LocCount += 1;
        Locations[static_cast<std::size_t>(LocCount)] =
            LocationRecord{Variant(Val(item[0])), Variant(Val(item[1])), Variant(item[2]), Variant(Val(item[3])),
                           Variant(item[4])};
    }
}

void World::LoadItems(const fs::path& file) {
    auto& g = modVarsAndMain;
    EnsureCollections(*this);
    mapItemCol->Clear();
    auto r = TextReader::Open(file);
    if (!r) return;
    while (!r->AtEnd()) {
        auto it = std::make_shared<Item>();
        FieldReader f(*r);
        f.Single(it->X).Single(it->Y).Text(it->ItemName).Number(it->ItemType).Text(it->ItemInfo);
        f.Number(it->Weight).Number(it->WeaponPlus).Number(it->DefendPlus).Number(it->itembalance);
        f.Text(it->ItemScript).Number(it->Critical).Text(it->SkillPlus);
        if (!f.ok()) break;
        mapItemCol->Append(it);
        g.CurItem = it;
    }
}

bool World::Load_World() {
    auto& g = modVarsAndMain;
    EnsureCollections(*this);
    if (WorldName == L"wild") {
        mapItemCol->Clear();
        g.NPCs->Clear();
        LoadWild(g.PlayerX, g.PlayerY);
        return false;
    }
    // A location whose files are missing is not entered at all: half a change of
    // location is worse than none.
    if (!LocationFilesExist(WorldName)) return false;
    mapItemCol->Clear();
    g.NPCs->Clear();
    LoadMapRows(SavedFile(WorldName, L".map"));
    LoadChar(SavedFile(WorldName, L".lst"));
    LoadCoords(SavedFile(WorldName, L".crd"));
    LoadItems(SavedFile(WorldName, L".itm"));
    if (auto tle = TextReader::Open(SavedFile(WorldName, L".tle"))) {
        std::wstring first;
        if (tle->ReadItem(first)) MapType = Val(first);
    }
    ResetSearchedPlaces();
    g.Darkness = WorldName == L"sword";
    PutNPCsOnMap();
    return true;
}

}  // namespace morvath
