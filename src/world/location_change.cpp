// Changing location: the trigger cells of a location (doors, gates, exits, script cells),
// entering the wilderness map, and the entry script of a location reached from it.
#include "platform/frontend.h"
#include "platform/textforms.h"
#include "world/game_state.h"
#include "world/hooks.h"
#include "world/wilderness.h"

namespace morvath {
namespace {

void RunScriptText(std::wstring text) {
    // Place and entry scripts speak for nobody: a character remembered from an earlier
    // talk must not be acted on by them.
    modVarsAndMain.ScriptNPCIndex = 0;
    RunScript(std::move(text));
}

}  // namespace

std::wstring MissingLocationFile(const std::wstring& id) {
    for (const wchar_t* ext : {L".map", L".crd", L".tle"}) {
        if (!(id == L"wild" && std::wstring_view(ext) == L".tle") && !FileExists(World::SavedFile(id, ext))) return id + ext;
    }
    return L"";
}

bool LocationFilesExist(const std::wstring& id) { return IsPlainName(id) && MissingLocationFile(id).empty(); }

void TellPlaceNotMade(const std::wstring& id) {
    TellTrouble(L"Не удалось записать новое место \"" + id + L"\" в папку saved: его не будет.");
}

void World::checkplace() {
    auto& g = modVarsAndMain;
    const std::wstring oldId = WorldName;

    const LocationRecord* found = nullptr;
    for (int i = 0; i <= LocCount && i <= kMaxRecord; ++i) {
        const LocationRecord& r = Locations[static_cast<std::size_t>(i)];
        // Unused records are (0, 0, "", 0, 0); one must not send a hero at (0, 0) nowhere.
        if (r.Target.ToText().empty()) continue;
        if (r.X.ToNumber() == g.PlayerX && r.Y.ToNumber() == g.PlayerY) {
            found = &r;
            break;
        }
    }
    if (!found) return;
    const LocationRecord rec = *found;  // the table is replaced below
    const std::wstring target = rec.Target.ToText();

    if (target == L"loc") {
        const std::wstring script = rec.TargetY.ToText();
        if (!IsPlainName(script)) return;
        if (auto text = ReadWholeFile(GamePath(L"\\scripts\\" + script))) RunScriptText(std::move(*text));
        return;
    }
    // Cave levels and plains are made anew on entry; any other place must be loadable: a
    // door to nowhere must not leave the hero half in one place and half in another.
    const bool generated = target == L"AG" || target == L"plain";
    if (!generated && !LocationFilesExist(target)) return;

    if (!LeavePlace()) return;

    const double targetX = rec.TargetX.ToNumber();
    const double targetY = rec.TargetY.ToNumber();
    if (targetX == 0) {
        const double backX = g.ReturnX.ToNumber();
        const double backY = g.ReturnY;
        g.ReturnX = Variant(static_cast<double>(g.PlayerX));
        g.ReturnY = g.PlayerY;
        g.PlayerX = backX;
        g.PlayerY = backY;
    } else {
        g.ReturnX = Variant(static_cast<double>(g.PlayerX));
        g.ReturnY = g.PlayerY;
        g.PlayerX = targetX;
        g.PlayerY = targetY;
    }

    WorldName = target;
    if (target == L"AG") {
        InfLevel += 1;
        Generate_Cave_World();
        return;
    }
    if (target == L"plain") {
        Generate_Plains();
        return;
    }
    if (target == L"wild") {
        LoadWild(targetX, targetY);
        return;
    }
    InfLevel = 0;
    g.CurTile = GetPosMap(g.PlayerX + 3, g.PlayerY + 3);
    g.Darkness = false;
    Load_World();
    DrawIt();
    if (oldId == L"wild") RunLocationScript(WorldName);
}

std::wstring World::SaveLeftPlace() {
    // A place without a name of a file has no files to keep.
    if (!IsPlainName(WorldName)) return L"";
    if (!SaveChars()) return WorldName + L".lst";
    if (!SaveMap()) return WorldName + L".map";
    if (!SaveItems()) return WorldName + L".itm";
    return L"";
}

bool World::LeavePlace() {
    const std::wstring unwritten = SaveLeftPlace();
    if (unwritten.empty()) return true;
    TellTrouble(L"Не удалось записать файл " + unwritten + L". Вы остаётесь здесь: ничего не потеряно.");
    return false;
}

void World::LoadWild(double x, double y) {
    auto& g = modVarsAndMain;
    InfLevel = 0;
    g.CurTile = GetPosMap(g.PlayerX + 3, g.PlayerY + 3);
    g.PlayerX = x;
    g.PlayerY = y;
    LoadMapRows(SavedFile(WorldName, L".map"));
    LoadCoords(SavedFile(WorldName, L".crd"));
    ResetSearchedPlaces();
    g.NPCs->Clear();
    mapItemCol->Clear();
    PlaceWildExit();
    g.Darkness = false;
    MapType = kMapWild;
    DrawWild(g.gameScreen.view);
    UI().Redraw();
}

void World::RunLocationScript(const std::wstring& name) {
    if (!IsPlainName(name)) return;
    auto reader = TextReader::Open(GamePath(L"\\scripts\\" + name + L".sc"));
    if (!reader) return;
    // Read as the location files are: a comma outside quotes starts a new script line.
    std::wstring text, item;
    while (reader->ReadItem(item)) text += item + L"\r\n";
    RunScriptText(std::move(text));
}

}  // namespace morvath
