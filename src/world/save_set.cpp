#include "world/save_set.h"

#include <algorithm>
#include <optional>

#include "platform/cp1251.h"
#include <string>

#include "platform/frontend.h"
#include "platform/textforms.h"
#include "world/equipment.h"
#include "world/file_values.h"
#include "world/game_state.h"
#include "world/hero_sprites.h"
#include "world/wilderness.h"

namespace morvath {
namespace {

// The save files hold one value per line and are read whole lines at a time: a hero's name
// or an item's description may hold commas and quotes. A line break inside a text would
// shift every later line, so it is written as a blank.
void PrintLine(TextWriter& w, const std::wstring& text) {
    std::wstring one = text;
    for (auto& c : one) {
        if (c == L'\r' || c == L'\n') c = L' ';
    }
    w.PrintText(one);
}

void PrintCell(TextWriter& w, const Variant& v) {
    switch (v.kind()) {
        case Variant::Kind::Empty: w.PrintEmpty(); break;
        case Variant::Kind::Number: w.PrintNumber(v.ToNumber()); break;
        default: PrintLine(w, v.ToText()); break;
    }
}

void PrintFlag(TextWriter& w, bool known) { w.PrintNumber(known ? -1 : 0); }
void PrintWord(TextWriter& w, bool value) { w.PrintText(value ? L"True" : L"False"); }

std::wstring Trimmed(const std::wstring& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == L' ' || s[b] == L'\t')) ++b;
    while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t')) --e;
    return s.substr(b, e - b);
}

// Reads a print-form save file a line at a time. The first missing line or value that does
// not convert spoils the file: ok() turns false and later reads do nothing.
class LineReader : public TypedReads<LineReader> {
public:
    explicit LineReader(TextReader r) : r_(std::move(r)) {}
    static std::optional<LineReader> Open(const wchar_t* name) {
        auto r = TextReader::Open(SaveFolder().Current(name));
        if (!r) return std::nullopt;
        return LineReader(std::move(*r));
    }

    bool AtEnd() const { return r_.AtEnd(); }
    bool ok() const { return ok_; }
    void Spoil() { ok_ = false; }
    using TypedReads::Number;

    LineReader& Text(std::wstring& out) {
        std::wstring s;
        if (Next(s)) out = s;
        return *this;
    }
    LineReader& Number(double& out) {
        std::wstring s;
        if (!Next(s)) return *this;
        // An empty line reads as 0: older saves leave lines 4 and 11 of char.ch empty.
        std::wstring t = Trimmed(s);
        if (t.empty()) out = 0;
        else if (IsNumeric(t)) out = Val(t);
        else ok_ = false;
        return *this;
    }
    // The spell flags: -1 known, 0 not.
    LineReader& Flag(bool& out) {
        double d = 0;
        Number(d);
        if (ok_) out = d != 0;
        return *this;
    }
    // True or False as words (numbers are accepted too).
    LineReader& Word(bool& out) {
        std::wstring s;
        if (!Next(s)) return *this;
        std::wstring t = LowerText(Trimmed(s));
        if (t == L"true" || t == L"#true#") out = true;
        else if (t == L"false" || t == L"#false#" || t.empty()) out = false;
        else if (IsNumeric(t)) out = Val(t) != 0;
        else ok_ = false;
        return *this;
    }
    // A table cell: an empty line holds nothing, a number is a number, else a text.
    LineReader& Cell(Variant& out, bool textOnly) {
        std::wstring s;
        if (!Next(s)) return *this;
        if (s.empty()) out = Variant();
        else if (!textOnly && IsNumeric(s)) out = Variant(Val(s));
        else out = Variant(s);
        return *this;
    }

private:
    bool Next(std::wstring& s) {
        if (ok_ && !r_.ReadLine(s)) ok_ = false;
        return ok_;
    }
    TextReader r_;
    bool ok_ = true;
};

// --- writing ---

std::string InvenFile() {
    TextWriter w;
    for (const auto& slot : modVarsAndMain.Equip) {
        for (const auto& cell : slot) WriteCell(w, cell);
        w.EndRecord();
    }
    return w.bytes();
}

std::string CarriedItemsFile() {
    TextWriter w;
    if (!modVarsAndMain.Inventory) return {};
    for (const auto& it : *modVarsAndMain.Inventory) {
        w.PrintNumber(it->DefendPlus);
        w.PrintNumber(it->itembalance);
        PrintLine(w, it->ItemInfo);
        PrintLine(w, it->ItemName);
        PrintLine(w, it->ItemScript);
        w.PrintNumber(it->ItemType);
        w.PrintNumber(it->ItemCount);
        w.PrintNumber(it->WeaponPlus);
        w.PrintNumber(it->Weight);
        w.PrintNumber(SingleAsWritten(it->X));
        w.PrintNumber(SingleAsWritten(it->Y));
        w.PrintNumber(it->Critical);
        PrintLine(w, it->SkillPlus);
    }
    return w.bytes();
}

std::string HeroFile() {
    const auto& g = modVarsAndMain;
    const MainCharacter& h = *g.Player;
    const World& world = *g.TheWorld;
    TextWriter w;
    PrintLine(w, h.PlayerName);            // 1
    w.PrintNumber(h.Profession);
    w.PrintNumber(h.BeginMaxWeight);
    w.PrintNumber(h.Luck);                 // 4: empty in older saves
    w.PrintNumber(h.Appearance);
    w.PrintNumber(h.Constitution);
    w.PrintNumber(h.Alertness);
    w.PrintNumber(h.Defence);
    w.PrintNumber(h.Doom);
    w.PrintNumber(h.Exp);                  // 10
    w.PrintNumber(h.WillPower);            // 11: empty in older saves
    w.PrintNumber(h.HardIness);
    w.PrintNumber(h.Level);
    w.PrintNumber(h.Mana);
    w.PrintNumber(h.MaxHp);
    w.PrintNumber(h.MaxWeight);
    w.PrintNumber(h.Mobility);
    w.PrintNumber(h.Science);
    w.PrintNumber(h.Strenght);
    w.PrintNumber(h.Weapon);               // 20
    w.PrintNumber(h.Learning);
    w.PrintNumber(h.Magic);
    w.PrintNumber(g.PlayerX);
    w.PrintNumber(g.PlayerY);
    PrintLine(w, world.WorldName);
    w.PrintNumber(g.Money);
    PrintFlag(w, g.CutSpellKnown);
    PrintFlag(w, g.LightningKnown);
    PrintFlag(w, g.FireballKnown);
    w.PrintNumber(h.Sick);                 // 30
    w.PrintNumber(h.Poison);
    w.PrintNumber(h.Hungry);
    w.PrintNumber(h.HP);
    w.PrintNumber(world.Day);
    w.PrintNumber(world.Turn);
    PrintFlag(w, g.CurseKnown);
    PrintFlag(w, g.HealingKnown);
    PrintCell(w, g.ReturnX);
    w.PrintNumber(g.ReturnY);
    PrintWord(w, g.Darkness);              // 40
    w.PrintNumber(g.ResurrectionsLeft);
    PrintWord(w, g.NightKnown);
    // Later additions, read only when present.
    w.PrintNumber(world.InfLevel);         // 43
    w.PrintNumber(h.dMonsters);
    w.PrintNumber(h.HeroeWeight);
    return w.bytes();
}

std::string QuestFile() {
    TextWriter w;
    for (const auto& q : modVarsAndMain.QuestFlags) w.PrintNumber(q);
    return w.bytes();
}

std::string SkillsFile() {
    TextWriter w;
    for (const auto& row : modVarsAndMain.Skills) {
        for (const auto& cell : row) PrintCell(w, cell);
    }
    return w.bytes();
}

// --- reading ---

bool ReadCarriedItems() {
    auto f = LineReader::Open(L"char.itm");
    if (!f) return false;
    auto& inv = *modVarsAndMain.Inventory;
    while (!f->AtEnd()) {
        auto it = inv.Add();
        modVarsAndMain.CurItem = it;
        f->Number(it->DefendPlus).Number(it->itembalance).Text(it->ItemInfo).Text(it->ItemName);
        f->Text(it->ItemScript).Number(it->ItemType).Number(it->ItemCount).Number(it->WeaponPlus);
        f->Number(it->Weight).Single(it->X).Single(it->Y).Number(it->Critical).Text(it->SkillPlus);
        if (!f->ok()) return false;
    }
    return true;
}

// "" when the hero and his place were read, else the file that could not be.
std::wstring ReadHero() {
    auto f = LineReader::Open(L"char.ch");
    if (!f) return L"char.ch";
    auto& g = modVarsAndMain;
    MainCharacter& h = *g.Player;
    World& world = *g.TheWorld;
    f->Text(h.PlayerName).Number(h.Profession).Number(h.BeginMaxWeight).Number(h.Luck);
    f->Number(h.Appearance).Number(h.Constitution).Number(h.Alertness).Number(h.Defence).Number(h.Doom);
    f->Number(h.Exp).Number(h.WillPower).Number(h.HardIness).Number(h.Level).Number(h.Mana);
    f->Number(h.MaxHp).Number(h.MaxWeight).Number(h.Mobility).Number(h.Science).Number(h.Strenght);
    f->Number(h.Weapon).Number(h.Learning).Number(h.Magic).Number(g.PlayerX).Number(g.PlayerY);
    f->Text(world.WorldName).Number(g.Money);
    f->Flag(g.CutSpellKnown).Flag(g.LightningKnown).Flag(g.FireballKnown);
    f->Number(h.Sick).Number(h.Poison).Number(h.Hungry).Number(h.HP).Number(world.Day).Number(world.Turn);
    f->Flag(g.CurseKnown).Flag(g.HealingKnown).Cell(g.ReturnX, false).Number(g.ReturnY);
    f->Word(g.Darkness).Number(g.ResurrectionsLeft).Word(g.NightKnown);
    if (!f->ok()) return L"char.ch";
    if (!f->AtEnd()) f->Number(world.InfLevel);
    if (!f->AtEnd()) f->Number(h.dMonsters);
    if (!f->AtEnd()) f->Number(h.HeroeWeight);
    if (!f->ok()) return L"char.ch";
    // The saved location must be there to be entered; Load_World never half-enters one.
    // A place name that cannot be one is the hero's file's fault.
    const std::wstring missing = IsPlainName(world.WorldName) ? MissingLocationFile(world.WorldName) : L"char.ch";
    if (missing.empty()) world.Load_World();
    return missing;
}

bool ReadQuests() {
    auto f = LineReader::Open(L"q.q");
    if (!f) return false;
    for (auto& q : modVarsAndMain.QuestFlags) f->Number(q);
    return f->ok();
}

// Older saves hold rows 0..10 only; rows the file does not hold are emptied, so the
// loaded game's skills are the file's and nothing else.
bool ReadSkills() {
    auto f = LineReader::Open(L"attribs");
    if (!f) return false;
    auto& g = modVarsAndMain;
    for (auto& row : g.Skills) {
        for (std::size_t col = 0; col < row.size(); ++col) {
            Variant cell;
            if (!f->AtEnd()) f->Cell(cell, col != 1);
            row[col] = cell;
        }
    }
    if (!f->ok()) return false;
    g.LastSkillIndex = 0;
    for (std::size_t i = 0; i < g.Skills.size(); ++i) {
        if (!g.Skills[i][0].ToText().empty()) g.LastSkillIndex = static_cast<int>(i);
    }
    return true;
}

bool ReadEquipment() {
    auto r = TextReader::Open(SaveFolder().Current(L"inven"));
    if (!r) return false;
    for (auto& slot : modVarsAndMain.Equip) {
        for (auto& cell : slot) {
            std::wstring item;
            bool quoted = false;
            if (!r->ReadItem(item, &quoted)) return false;
            cell = CellFromItem(item, quoted);
        }
    }
    return true;
}

// The name of the first file that could not be read; "" when the whole set was.
std::wstring ReadSaveSet() {
    auto& g = modVarsAndMain;
    if (!g.Player || !g.TheWorld || !g.NPCs || !g.Inventory) g.CreateRoots();
    if (!ReadCarriedItems()) return L"char.itm";
    if (auto unread = ReadHero(); !unread.empty()) return unread;
    if (!ReadQuests()) return L"q.q";
    if (!ReadSkills()) return L"attribs";
    // The wilderness was entered before the flags were read: a pass they open shows now.
    if (g.TheWorld->WorldName == L"wild") PlaceWildExit();
    SetHeroImages(g.Player->Profession);
    if (!ReadEquipment()) return L"inven";
    // What the files do not hold is derived again, as at the start of a new game: the
    // carried weight and fatigue rate, the strike and defence of the worn items, the mana
    // regained per turn.
    g.Player->DoWeight();
    CalculateWeapons();
    g.Player->CalcMConst();
    return L"";
}

}  // namespace

StagedFolder SaveFolder() {
    const fs::path saved = GamePath(L"\\saved");
    StagedFolder folder{saved, saved / ".pending", saved / ".commit"};
    // Staged files reach the disk when they are committed, not one by one.
    SyncLaterIn(folder.staging);
    return folder;
}

bool SaveFolderLeadsOut() {
    if (!LeadsOutOfGameFolder(SaveFolder().folder)) return false;
    TellTrouble(L"Папка saved ведёт за пределы папки игры. Игра ничего не пишет и не удаляет вне своей папки.");
    return true;
}

bool FinishInterruptedWrites() {
    if (SaveFolderLeadsOut()) return false;
    if (!SaveFolder().Recover()) TellTrouble(L"Запись о последнем сохранении повреждена. Оставлено предыдущее сохранение.");
    RemoveLeftoverTemps(GameFolder());
    return true;
}

void LostChangesOf(const std::wstring& place) {
    auto& lost = modVarsAndMain.LostPlaces;
    if (std::find(lost.begin(), lost.end(), place) == lost.end()) lost.push_back(place);
}

bool SaveGame() {
    auto& g = modVarsAndMain;
    StagedFolder::Outcome outcome = StagedFolder::Outcome::NotDone;
    if (g.Player && g.TheWorld) {
        World& w = *g.TheWorld;
        const StagedFolder folder = SaveFolder();
        auto stage = [&](const wchar_t* name, const std::string& bytes) {
            return WriteFileAtomic(folder.Staged(name), bytes);
        };
        if (w.SaveChars() && w.SaveItems() && w.SaveMap() && w.SaveCoords() && stage(L"inven", InvenFile()) &&
            stage(L"char.itm", CarriedItemsFile()) && stage(L"char.ch", HeroFile()) && stage(L"q.q", QuestFile()) &&
            stage(L"attribs", SkillsFile())) {
            outcome = folder.Commit();
        }
    }
    switch (outcome) {
        case StagedFolder::Outcome::Done: break;
        case StagedFolder::Outcome::NotDone: TellTrouble(L"Не удалось сохранить игру!"); return false;
        case StagedFolder::Outcome::Unfinished:
            TellTrouble(L"Не удалось закончить сохранение. Оно будет закончено при следующем запуске игры.");
            return false;
    }
    if (!g.LostPlaces.empty()) {
        std::wstring places;
        for (const auto& p : g.LostPlaces) places += (places.empty() ? L"" : L", ") + p;
        TellTrouble(L"Игра сохранена, но изменения потеряны в местах: " + places + L" (их не удалось записать).");
        g.LostPlaces.clear();
    }
    return true;
}

bool LoadGame() {
    if (!FinishInterruptedWrites()) return false;
    const std::wstring unread = ReadSaveSet();
    if (unread.empty()) return true;
    if (FileExists(SaveFolder().Current(L"char.ch"))) {
        TellTrouble(L"Сохранение повреждено: не удалось прочитать файл " + unread + L". Файлы сохранения не тронуты.");
    } else {
        UI().MsgBox(L"Сохранений нет....", MsgButtons::Ok, MsgIcon::None, L"Morvath");
    }
    return false;
}

bool DeleteSaveSet() {
    const StagedFolder folder = SaveFolder();
    // The commit record first, then the hero's file: a deletion cut short leaves a folder
    // that no load accepts, never a hero in a half-deleted world.
    const bool dropped = folder.Discard();
    return RemoveFile(ResolvePath(folder.folder, L"char.ch")) && RemoveFilesIn(folder.folder) && dropped;
}

fs::path KillLogPath() { return GamePath(L"\\monst.cnt"); }

}  // namespace morvath
