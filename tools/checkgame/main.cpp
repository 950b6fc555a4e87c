// Checks a built game folder the way a new game would unpack it: every location, the start
// village, the house plans, the scripts and the small data files are held to the rules the
// content promises (data/README.md), so a broken door, a stranded start cell or a comma in a
// script is caught before anybody plays into it.
//   usage: checkgame <game folder>      (exit 1 and one line per problem when a rule is broken)
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <cstdlib>
#include <functional>
#include <map>
#include <queue>
#include <set>
#include <sstream>

#include "platform/cp1251.h"
#include "platform/frontend.h"
#include "platform/settings.h"
#include "platform/textforms.h"
#include "services/compression.h"
#include "world/game_state.h"
#include "world/tile_painters.h"
#include "world/world.h"

using namespace morvath;

namespace {

fs::path gameFolder;

struct Cell {
    int x = 0, y = 0;  // hero coordinates
    auto operator<=>(const Cell&) const = default;
};

std::string Show(const std::wstring& s) { return ToUtf8(s); }
std::string Show(const Cell& c) {
    std::string s = "(";
    s.append(std::to_string(c.x)).append(", ").append(std::to_string(c.y)).append(")");
    return s;
}

struct Record {
    Cell at;
    std::wstring target;
    int targetX = 0;
    std::wstring targetY;  // a number, or the script of a "loc" record
};

struct Character {
    std::wstring name, symbol, talk, death, speech;
    Cell at;
};

struct FloorItem {
    std::wstring name, info, script;
    Cell at;
};

struct Location {
    std::wstring id;
    int kind = kMapTown;
    std::vector<std::wstring> rows;    // as in the file
    std::vector<std::wstring> lstLines;
    std::vector<Character> characters;
    std::vector<Record> records;
    std::size_t crdValues = 0;
    std::vector<FloorItem> items;
    std::size_t itmLines = 0;

    // The tile at a position; 0 outside the map.
    wchar_t At(Cell c) const {
        const int row = c.y + 3, col = c.x + 2;
        if (row < 0 || row >= static_cast<int>(rows.size()) || col < 0) return 0;
        const auto& r = rows[static_cast<std::size_t>(row)];
        return col < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(col)] : 0;
    }
    const Record* RecordAt(Cell c) const {
        for (const auto& r : records) {
            if (r.at == c) return &r;
        }
        return nullptr;
    }
    const Character* CharacterAt(Cell c) const {
        for (const auto& n : characters) {
            if (n.at == c) return &n;
        }
        return nullptr;
    }
};

std::vector<std::wstring> Lines(const fs::path& file) {
    std::vector<std::wstring> lines;
    auto text = ReadWholeFile(file);
    if (!text) return lines;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find(L"\r\n", start);
        if (end == std::wstring::npos) end = text->size();
        lines.push_back(text->substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

Cell At(double x, double y) { return Cell{static_cast<int>(x), static_cast<int>(y)}; }

// Reads a location with the game's own readers; `map`, `lst`, `crd`, `itm`, `tle` are the
// files (a missing one is read as empty).
Location ReadLocation(const std::wstring& id, const fs::path& map, const fs::path& lst, const fs::path& crd,
                      const fs::path& itm, const fs::path& tle) {
    Location loc;
    loc.id = id;
    loc.rows = Lines(map);
    World w;
    w.LoadChar(lst);
    for (const auto& n : *modVarsAndMain.NPCs) {
        loc.characters.push_back({n->NPCName, n->Symbol, n->AIScript_File, n->DieScript_File, n->Last_Speech, At(n->X, n->Y)});
    }
    for (const auto& line : Lines(lst)) {
        if (!line.empty()) loc.lstLines.push_back(line);
    }
    w.LoadCoords(crd);
    for (int i = 0; i <= w.LocCount; ++i) {
        const LocationRecord& r = w.Record(i);
        loc.records.push_back({At(r.X.ToNumber(), r.Y.ToNumber()), r.Target.ToText(),
                               static_cast<int>(r.TargetX.ToNumber()), r.TargetY.ToText()});
    }
    if (auto reader = TextReader::Open(crd)) {
        std::wstring item;
        while (reader->ReadItem(item)) ++loc.crdValues;
    }
    w.LoadItems(itm);
    for (const auto& it : *w.mapItemCol) loc.items.push_back({it->ItemName, it->ItemInfo, it->ItemScript, At(it->X, it->Y)});
    for (const auto& line : Lines(itm)) loc.itmLines += !line.empty();
    if (auto reader = TextReader::Open(tle)) {
        std::wstring first;
        if (reader->ReadItem(first)) loc.kind = static_cast<int>(Val(first));
    }
    if (id == L"wild") {
        loc.kind = kMapWild;
        // Read with the Ural pass open, as the engine draws it once the way is shown.
        const std::size_t row = 11 + 3, col = 37 + 2;
        if (row < loc.rows.size() && col < loc.rows[row].size()) loc.rows[row][col] = L'q';
    }
    return loc;
}

bool Walkable(wchar_t t, bool wild) {
    static const std::wstring town = L"Gп9{q+";
    static const std::wstring more = L"BЊ1?vcRE#";
    return t != 0 && (town.find(t) != std::wstring::npos || (wild && more.find(t) != std::wstring::npos));
}
bool DoorTile(wchar_t t) { return t != 0 && std::wstring(L"#’q+").find(t) != std::wstring::npos; }

// Can the hero step from a cell onto `to` moving by (dx, dy)? As the arrow keys decide it:
// Up onto a door tile is the door step; characters block.
bool CanStep(const Location& loc, Cell to, int dx, int dy) {
    if (to.x < 1 || to.y < 1) return false;  // the arrow keys never go there
    if (loc.CharacterAt(to)) return false;
    const wchar_t t = loc.At(to);
    if (t == 0) return false;
    const bool up = dy == -1;
    auto in = [t](std::wstring_view set) { return set.find(t) != std::wstring_view::npos; };
    if (loc.kind == kMapWild) return up ? in(L"п9G{BЊ1q?#vcRE") : in(L"п9Gq+{BЊ1q?vcRE");
    return up ? in(L"п9G{") || DoorTile(t) : in(L"п9Gq+{");
}

// Every cell the hero can reach from `start`; record cells are reached but not left (they
// take him elsewhere at once), except on the wilderness, where only the "." key fires them.
std::set<Cell> Reach(const Location& loc, Cell start) {
    std::set<Cell> seen{start};
    std::queue<Cell> frontier;
    frontier.push(start);
    while (!frontier.empty()) {
        Cell c = frontier.front();
        frontier.pop();
        if (!(c == start) && loc.kind != kMapWild && loc.RecordAt(c)) continue;
        static constexpr int kDirs[4][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};
        for (const auto& d : kDirs) {
            Cell n{c.x + d[0], c.y + d[1]};
            if (seen.count(n) || !CanStep(loc, n, d[0], d[1])) continue;
            seen.insert(n);
            frontier.push(n);
        }
    }
    return seen;
}

// ---------------------------------------------------------------------------------------
// Scripts

struct Command {
    std::wstring name;
    std::vector<std::wstring> args;
};

// Argument counts each command takes (two entries where either count is fine).
const std::map<std::wstring, std::set<int>>& Arity() {
    static const std::map<std::wstring, std::set<int>> table = {
        {L"input", {1}},      {L"yesno", {1}},      {L"star", {2}},        {L"fight", {0}},       {L"say", {1}},
        {L"say2", {1}},       {L"finish", {1}},     {L"have", {1, 2}},     {L"run", {0}},         {L"died", {0}},
        {L"cmap", {3}},       {L"imap", {2}},       {L"take", {1, 2}},     {L"give", {2, 10}},    {L"put", {10}},
        {L"genweap", {0}},    {L"genitem", {1}},    {L"gives", {1}},       {L"havespell", {1}},   {L"getvar", {1}},
        {L"plusvar", {2}},    {L"setvar", {2}},     {L"light", {0}},       {L"showfile", {1}},    {L"speak", {4}},
        {L"kill", {0}},       {L"getperson", {0}},  {L"ilevel", {0}},      {L"getlevel", {0}},    {L"skip", {0}},
        {L"heal", {0}},       {L"getskill", {1}},   {L"giveskill", {1}},   {L"skillplus", {1}},   {L"givemoney", {0}},
        {L"giveitem", {0}},   {L"wantitem", {0}},   {L"addlocation", {5}}, {L"getturns", {0}},    {L"print", {1}},
        {L"remove", {0}},     {L"getevent", {0}},   {L"rash", {0}},        {L"rashbyname", {1}},  {L"moveworld", {4}},
        {L"getinflevel", {0}}, {L"getq", {1}},      {L"exe", {1}},         {L"intalk", {1}},      {L"setq", {2}},
        {L"gendungeon", {14}}, {L"genhouse", {4}},  {L"lcase", {1}},       {L"strcpy", {2}},      {L"rnd", {1}},
    };
    return table;
}

// Commands that act for the character whose script runs.
const std::set<std::wstring> kNeedSpeaker = {L"say", L"finish", L"run", L"died", L"put", L"genweap", L"genitem", L"exe",
                                             L"getevent"};
// Commands whose first argument the player reads.
const std::set<std::wstring> kSpoken = {L"say", L"say2", L"print", L"finish", L"speak", L"input", L"yesno"};

bool IsName(const std::wstring& s) {
    if (s.empty()) return false;
    return std::all_of(s.begin(), s.end(), [](wchar_t c) { return std::iswalnum(c) || c == L'_'; });
}
bool IsLiteral(const std::wstring& s) {
    return s.size() >= 2 && s.front() == L'"' && s.back() == L'"' && s.find(L'"', 1) == s.size() - 1;
}
std::wstring Unquote(const std::wstring& s) { return IsLiteral(s) ? s.substr(1, s.size() - 2) : s; }

struct Script {
    std::wstring file;
    std::vector<std::wstring> lines;
    std::vector<Command> commands;
    std::vector<std::string> problems;
};

// Reads a script as the language does and notes every line that breaks a rule of ours.
Script Lint(const std::wstring& file) {
    Script s;
    s.file = file;
    auto text = ReadWholeFile(gameFolder / "scripts" / ToUtf8(file));
    if (!text) {
        s.problems.push_back("missing");
        return s;
    }
    if (text->find(L',') != std::wstring::npos) s.problems.push_back("holds a comma");
    s.lines = Lines(gameFolder / "scripts" / ToUtf8(file));
    std::set<std::wstring> declared;
    bool inIf = false;
    int whiles = 0;
    auto bad = [&](std::size_t i, const std::string& what) {
        s.problems.push_back("line " + std::to_string(i + 1) + ": " + what + ": " + Show(s.lines[i]));
    };
    for (std::size_t i = 0; i < s.lines.size(); ++i) {
        std::wstring line = s.lines[i];
        if (line.empty()) continue;
        if (line.front() == L'"') bad(i, "starts with a double quote");
        if (line.back() == L' ') bad(i, "ends in a blank");
        if (auto hash = line.find(L'#'); hash != std::wstring::npos) {
            line = line.substr(0, hash);
            if (std::count(line.begin(), line.end(), L'"') % 2 != 0) bad(i, "a # inside a text");
            if (line.find_first_not_of(L' ') == std::wstring::npos) continue;
        }
        std::wstring lower = line;
        for (auto& c : lower) c = static_cast<wchar_t>(std::towlower(c));
        if (lower == L"else") {
            if (!inIf) bad(i, "else without if");
            continue;
        }
        if (lower == L"end") {
            if (inIf) {
                inIf = false;
            } else if (whiles > 0) {
                --whiles;
            } else {
                bad(i, "end without if or while");
            }
            continue;
        }
        {
            const std::size_t first = lower.find_first_not_of(L' ');
            const std::wstring bare = lower.substr(first);
            const bool keyword = bare == L"else" || bare == L"end" || bare.starts_with(L"if ") || bare.starts_with(L"while ") ||
                                 bare.starts_with(L"goto ") || bare.starts_with(L"var ");
            if (keyword && first != 0) bad(i, "an indented keyword");
            if ((bare.starts_with(L"else") || bare.starts_with(L"end")) && (bare == L"else " || bare == L"end ")) {
                bad(i, "else or end not alone");
            }
        }
        const std::size_t blank = line.find(L' ');
        const std::wstring word = blank == std::wstring::npos ? L"" : lower.substr(0, blank);
        const std::wstring rest = blank == std::wstring::npos ? L"" : line.substr(blank + 1);
        if (word == L"var") {
            std::wstringstream names(rest);
            std::wstring n;
            while (std::getline(names, n, L';')) {
                if (!IsName(n)) bad(i, "a bad variable name");
                declared.insert(n);
            }
            continue;
        }
        if (word == L"if" || word == L"while") {
            if (rest.empty() || rest.front() == L' ') bad(i, "one blank after the keyword");
            if (word == L"if") {
                if (inIf) bad(i, "if inside if");
                inIf = true;
            } else {
                ++whiles;
            }
            continue;
        }
        if (word == L"goto") {
            bool below = false;
            for (std::size_t k = i + 1; k < s.lines.size() && !below; ++k) below = s.lines[k] == rest;
            if (!below) bad(i, "no label below the goto");
            continue;
        }
        const std::size_t op = line.find_first_of(L"=~(");
        if (op == std::wstring::npos) continue;  // a label
        std::wstring call = line;
        if (line[op] == L'=' || line[op] == L'~') {
            std::wstring target = line.substr(0, op);
            while (!target.empty() && target.back() == L' ') target.pop_back();
            if (!declared.count(target)) bad(i, "assigns an undeclared variable");
            if (line[op] == L'=') continue;
            call = line.substr(op + 1);
        }
        const std::size_t open = call.find(L'(');
        const std::size_t close = call.find(L')');
        if (open == std::wstring::npos || close == std::wstring::npos || close < open) {
            bad(i, "not a command call");
            continue;
        }
        if (close + 1 != call.size()) bad(i, "text after the first )");
        Command c;
        c.name = call.substr(0, open);
        c.name.erase(0, c.name.find_first_not_of(L' '));
        for (auto& ch : c.name) ch = static_cast<wchar_t>(std::towlower(ch));
        const std::wstring argText = call.substr(open + 1, close - open - 1);
        if (!argText.empty()) {
            std::wstringstream parts(argText);
            std::wstring a;
            while (std::getline(parts, a, L';')) c.args.push_back(a);
            if (argText.back() == L';') c.args.push_back(L"");
        }
        auto arity = Arity().find(c.name);
        if (arity == Arity().end()) {
            bad(i, "unknown command");
        } else if (!arity->second.count(static_cast<int>(c.args.size()))) {
            bad(i, "wrong number of arguments");
        }
        for (const auto& a : c.args) {
            if (!IsLiteral(a) && !declared.count(a)) bad(i, "an argument that is neither a text nor a declared variable");
        }
        if (kSpoken.count(c.name)) {
            for (const auto& a : c.args) {
                if (IsLiteral(a) && Unquote(a).find_first_of(L";)(#\"") != std::wstring::npos) bad(i, "a spoken text with ; ) ( # or a quote");
            }
        }
        s.commands.push_back(std::move(c));
    }
    if (inIf) s.problems.push_back("an if without its end");
    return s;
}

std::vector<std::string> problems;
void Check(bool fine, const std::string& problem) {
    if (!fine) problems.push_back(problem);
}

struct House {
    std::wstring id, town;
    Cell street;  // where the hero comes out
};

// A dungeon start.scr makes: its stair up and its last door lead to these places.
struct Dungeon {
    std::wstring id, upTarget, exitTarget;
    Cell start;     // the starting cell, grid column and row
    Cell up, exit;  // arrivals in the targets
    std::wstring monsters;
};

// The world as a new game unpacks it.
std::wstring archiveErrors;
std::set<std::wstring> archived;
std::map<std::wstring, Location> locations;
Location monksChurch;
std::vector<House> houses;
std::vector<Dungeon> dungeons;

void Unpack(const fs::path& saved) {
    clsCompresion archive;
    archiveErrors = archive.ExtractAll(gameFolder / "maps" / "data.uni", saved);
    ResetGame();
    modVarsAndMain.CreateRoots();
    for (const auto& e : fs::directory_iterator(saved)) {
        archived.insert(FromUtf8(e.path().filename().string()));
        if (e.path().extension() != ".map") continue;
        const std::wstring id = FromUtf8(e.path().stem().string());
        auto f = [&](const char* ext) { return saved / (e.path().stem().string() + ext); };
        locations[id] = ReadLocation(id, f(".map"), f(".lst"), f(".crd"), f(".itm"), f(".tle"));
    }
    const fs::path intros = gameFolder / "intros";
    // The church village as everyone but the monk finds it, and the monk's own copy.
    locations[L"vchurch"] = ReadLocation(L"vchurch", intros / "vchurch.map", intros / "vchurch.lst", intros / "monk.crd",
                                         saved / "vchurch.itm", intros / "monk.tle");
    monksChurch = ReadLocation(L"vchurch", intros / "monk.map", intros / "none.lst", intros / "monk.crd",
                               saved / "vchurch.itm", intros / "monk.tle");
    // The houses and dungeons start.scr makes.
    Script start = Lint(L"start.scr");
    auto num = [](const std::wstring& a) { return static_cast<int>(Val(Unquote(a))); };
    for (const auto& c : start.commands) {
        if (c.name == L"gendungeon" && c.args.size() == 14) {
            const auto& a = c.args;
            dungeons.push_back({Unquote(a[2]), Unquote(a[3]), Unquote(a[6]), Cell{num(a[0]), num(a[1])},
                                Cell{num(a[4]), num(a[5])}, Cell{num(a[7]), num(a[8])}, Unquote(a[12])});
        }
        if (c.name != L"genhouse" || c.args.size() != 4) continue;
        houses.push_back({Unquote(c.args[0]), Unquote(c.args[1]),
                          Cell{static_cast<int>(Val(Unquote(c.args[2]))), static_cast<int>(Val(Unquote(c.args[3])))}});
    }
}

const Location& Loc(const std::wstring& id) {
    static const Location none;
    auto it = locations.find(id);
    if (it == locations.end()) {
        problems.push_back(Show(id) + ": missing");
        return none;
    }
    return it->second;
}
bool IsHouse(const std::wstring& id) {
    return std::any_of(houses.begin(), houses.end(), [&](const House& h) { return h.id == id; });
}
const Dungeon* DungeonNamed(const std::wstring& id) {
    for (const auto& d : dungeons) {
        if (d.id == id) return &d;
    }
    return nullptr;
}
// Every place that is drawn from a file: the towns, the wilderness, the church (both ways).
std::vector<const Location*> Places() {
    std::vector<const Location*> all;
    for (const auto& [id, loc] : locations) all.push_back(&loc);
    all.push_back(&monksChurch);
    return all;
}
// The house plans, each as a house whose door leads back to (1, 1) of a town.
std::vector<Location> HousePlans() {
    std::vector<Location> plans;
    for (int n = 1; n <= 6; ++n) {
        const std::wstring id = L"h" + std::to_wstring(n);
        Location h = ReadLocation(id, gameFolder / "intros" / (ToUtf8(id) + ".map"), "", "", "", "");
        h.kind = kMapHouse;
        h.records.push_back({Cell{7, 11}, L"town", 1, L"1"});
        plans.push_back(std::move(h));
    }
    return plans;
}
// The cells the hero is put on when he comes into a place.
std::map<std::wstring, std::set<Cell>> Arrivals() {
    std::map<std::wstring, std::set<Cell>> in;
    in[L"A1"].insert({10, 7});
    in[L"vira"].insert({13, 9});
    in[L"vira"].insert({8, 9});
    in[L"drsect"].insert({8, 9});
    in[L"N1"].insert({64, 5});  // every stair up out of the caves
    for (const Location* loc : Places()) {
        for (const auto& r : loc->records) {
            if (locations.count(r.target) && r.target != L"wild") in[r.target].insert({r.targetX, static_cast<int>(Val(r.targetY))});
        }
    }
    for (const auto& h : houses) in[h.town].insert(h.street);
    for (const auto& d : dungeons) {
        in[d.upTarget].insert(d.up);
        in[d.exitTarget].insert(d.exit);
    }
    return in;
}

void TheArchiveUnpacksTheWorldAndNothingReserved() {
    Check(archiveErrors.empty(), "data.uni: " + Show(archiveErrors));
    for (const wchar_t* id : {L"wild", L"A1", L"vira", L"drsect", L"N1"}) Check(locations.count(id) > 0, Show(id) + ": not in data.uni");
    for (const wchar_t* name : {L"vchurch.map", L"vchurch.crd", L"vchurch.tle", L"vchurch.lst"}) {
        Check(!archived.count(name), Show(name) + " would replace the start village");
    }
    for (const auto& name : archived) {
        const std::wstring stem = name.substr(0, name.find(L'.'));
        Check(!(stem == L"AG" || stem == L"plain" || stem == L"forest" || stem == L"loc"), Show(name) + ": a reserved name");
        Check(!IsHouse(stem) && !DungeonNamed(stem), Show(name) + " is made by start.scr");
    }
    for (const auto& [id, loc] : locations) {
        if (id == L"vchurch") continue;
        Check(archived.count(id + L".crd") > 0, Show(id) + ": no .crd");
        if (id != L"wild") {
            Check(archived.count(id + L".tle") > 0, Show(id) + ": no .tle");
        }
    }
}

void MapsAreWholeAndEveryTileIsKnownToItsPainter() {
    std::vector<Location> plans = HousePlans();
    std::vector<const Location*> all = Places();
    for (const auto& p : plans) all.push_back(&p);
    for (const Location* loc : all) {
        const std::string name = Show(loc->id) + (loc == &monksChurch ? " (monk)" : "");
        if (loc->rows.size() != 53) problems.push_back(name + ": " + std::to_string(loc->rows.size()) + " rows");
        if (loc->rows.size() < 2) continue;
        const std::size_t w = loc->rows[0].size();
        for (std::size_t r = 0; r < loc->rows.size(); ++r) {
            const std::wstring& row = loc->rows[r];
            const std::size_t want = r == 1 ? w - 1 : w;
            if (row.size() != want) problems.push_back(name + ": row " + std::to_string(r) + " is " + std::to_string(row.size()) + " long");
            if (row.find_first_of(L",\"") != std::wstring::npos || (!row.empty() && (row.front() == L' ' || row.back() == L' '))) {
                problems.push_back(name + ": row " + std::to_string(r) + " has a comma, a quote or a blank at an end");
            }
            for (wchar_t c : row) {
                if (!TilePicture(static_cast<MapKind>(loc->kind), c)) {
                    problems.push_back(name + ": row " + std::to_string(r) + ": tile " + Show(std::wstring(1, c)) + " unknown to painter " +
                                       std::to_string(loc->kind));
                }
            }
            if ((loc->kind == kMapTown || loc->kind == kMapWild) && r >= 49) {
                for (std::size_t c = 0; c < row.size(); ++c) {
                    if (Walkable(row[c], loc->kind == kMapWild)) {
                        problems.push_back(name + ": walkable bottom row " + std::to_string(r) + " column " + std::to_string(c + 1));
                    }
                }
            }
        }
    }
}

void SignCellsAreWalkableOnlyWhereTheirTextsFit() {
    const std::map<Cell, std::set<std::wstring>> signs = {{{11, 18}, {L"wild", L"A1", L"vira"}},
                                                          {{21, 11}, {L"wild", L"vira"}}};
    std::vector<const Location*> all = Places();
    std::vector<Location> plans = HousePlans();
    for (const auto& p : plans) all.push_back(&p);
    for (const Location* loc : all) {
        for (const auto& [cell, places] : signs) {
            Check(Walkable(loc->At(cell), loc->kind == kMapWild) == (places.count(loc->id) > 0),
                  Show(loc->id) + " " + Show(cell) + ": a sign cell walkable where its text does not fit, or the other way");
        }
    }
}

void RecordsLeadSomewhereAndCanBeEntered() {
    for (const Location* loc : Places()) {
        const std::string name = Show(loc->id);
        if (loc->crdValues % 5 != 0 || loc->crdValues / 5 != loc->records.size()) problems.push_back(name + ": .crd not read whole");
        if (loc->records.size() > 31) problems.push_back(name + ": more than 31 records");
        std::set<Cell> cells;
        for (const auto& r : loc->records) {
            const std::string what = name + " record at " + Show(r.at) + " to " + Show(r.target);
            if (!cells.insert(r.at).second) problems.push_back(what + ": a second record on the cell");
            const bool known = r.target == L"wild" || r.target == L"AG" || r.target == L"plain" || r.target == L"loc" ||
                               locations.count(r.target) || IsHouse(r.target) || DungeonNamed(r.target);
            if (!known) problems.push_back(what + ": no such place");
            // A dungeon is entered on the floor cell just below its stair up.
            if (const Dungeon* d = DungeonNamed(r.target);
                d && !(Cell{r.targetX, static_cast<int>(Val(r.targetY))} == Cell{d->start.x - 2, d->start.y - 1})) {
                problems.push_back(what + ": does not arrive below the stair up");
            }
            if (r.target == L"loc") {
                if (!FileExists(gameFolder / "scripts" / ToUtf8(r.targetY))) problems.push_back(what + ": no script " + Show(r.targetY));
            } else if (r.targetX == 0) {
                problems.push_back(what + ": TargetX 0");
            }
            const wchar_t t = loc->At(r.at);
            if (loc->kind == kMapWild) {
                if (!Walkable(t, true) || t == L'G' || t == L'B' || t == L'Њ') problems.push_back(what + ": not on an icon");
            } else if (!Walkable(t, false) && !(DoorTile(t) && Walkable(loc->At({r.at.x, r.at.y + 1}), false))) {
                problems.push_back(what + ": cannot be entered");
            }
        }
    }
    // Houses: a door in the town leads in at (7, 10); the way out puts the hero right below it.
    for (const auto& h : houses) {
        const std::string name = Show(h.id);
        if (!locations.count(h.town)) {
            problems.push_back(name + ": no town " + Show(h.town));
            continue;
        }
        const Location& town = Loc(h.town);
        const Record* door = nullptr;
        for (const auto& r : town.records) {
            if (r.target == h.id) door = &r;
        }
        if (!door) {
            problems.push_back(name + ": no door in " + Show(h.town));
            continue;
        }
        if (door->targetX != 7 || Val(door->targetY) != 10) problems.push_back(name + ": the door does not lead to (7, 10)");
        if (!(h.street == Cell{door->at.x, door->at.y + 1})) problems.push_back(name + ": the way out is not below the door");
    }
}

void ArrivalCellsAreFreeFloor() {
    for (const auto& [id, cells] : Arrivals()) {
        if (!locations.count(id)) continue;
        std::vector<const Location*> versions = {&Loc(id)};
        if (id == L"vchurch") versions.push_back(&monksChurch);
        for (const Location* loc : versions) {
            for (const Cell& c : cells) {
                const std::string what = Show(id) + " " + Show(c);
                if (loc->At(c) != L'G') problems.push_back(what + ": not G");
                if (loc->RecordAt(c)) problems.push_back(what + ": a record cell");
                if (loc->CharacterAt(c)) problems.push_back(what + ": " + Show(loc->CharacterAt(c)->name) + " stands there");
            }
        }
    }
    // Coming back to the wilderness puts the hero on the icon he left by.
    const Location& wild = Loc(L"wild");
    for (const Location* loc : Places()) {
        for (const auto& r : loc->records) {
            if (r.target != L"wild") continue;
            const Record* icon = wild.RecordAt({r.targetX, static_cast<int>(Val(r.targetY))});
            if (!icon || icon->target != loc->id) {
                problems.push_back(Show(loc->id) + " " + Show(r.at) + ": leads to a wilderness cell that is not its icon");
            }
        }
    }
    for (const auto& plan : HousePlans()) {
        if (plan.At({7, 11}) != L'+') problems.push_back(Show(plan.id) + ": no way out at (7, 11)");
        if (plan.At({7, 10}) != L'G') problems.push_back(Show(plan.id) + ": (7, 10) is not G");
    }
}

void EveryPlaceCanBeWalkedFromWhereverTheHeroComesIn() {
    auto check = [&](const Location& loc, const std::set<Cell>& entries, const std::string& name) {
        if (entries.empty()) {
            problems.push_back(name + ": nobody ever comes in");
            return;
        }
        std::set<Cell> reached;
        for (const Cell& in : entries) {
            std::set<Cell> r = Reach(loc, in);
            const bool out = std::any_of(loc.records.begin(), loc.records.end(), [&](const Record& rec) {
                // Out: to the wilderness, or through another place that has its own way out.
                const bool onward = rec.target != loc.id && locations.count(rec.target);
                return r.count(rec.at) && (rec.target == L"wild" || loc.kind == kMapHouse || onward);
            });
            if (!out) problems.push_back(name + ": no way out from " + Show(in));
            reached.insert(r.begin(), r.end());
        }
        for (const auto& rec : loc.records) {
            if (!reached.count(rec.at)) problems.push_back(name + ": record " + Show(rec.at) + " out of reach");
        }
        for (const auto& it : loc.items) {
            if (!reached.count(it.at)) problems.push_back(name + ": " + Show(it.name) + " out of reach");
        }
        for (const auto& n : loc.characters) {
            bool beside = false;
            for (Cell c : {Cell{n.at.x, n.at.y - 1}, Cell{n.at.x, n.at.y + 1}, Cell{n.at.x + 1, n.at.y}, Cell{n.at.x - 1, n.at.y}}) {
                beside = beside || (reached.count(c) && !loc.RecordAt(c));
            }
            if (!beside) problems.push_back(name + ": nobody can talk to " + Show(n.name) + " at " + Show(n.at));
        }
    };
    const auto arrivals = Arrivals();
    for (const Location* loc : Places()) {
        if (loc->kind == kMapWild) continue;
        auto in = arrivals.find(loc->id);
        check(*loc, in == arrivals.end() ? std::set<Cell>{} : in->second, Show(loc->id) + (loc == &monksChurch ? " (monk)" : ""));
    }
    for (const auto& plan : HousePlans()) check(plan, {{7, 10}}, Show(plan.id));

    // On the wilderness every icon can be walked to from every other.
    const Location& wild = Loc(L"wild");
    for (const auto& from : wild.records) {
        std::set<Cell> r = Reach(wild, from.at);
        for (const auto& to : wild.records) {
            if (!r.count(to.at)) problems.push_back("wild: " + Show(to.target) + " cannot be walked to from " + Show(from.target));
        }
    }
}

void TheMonksChurchHasTheSameDoors() {
    const Location& church = Loc(L"vchurch");
    for (const auto& r : church.records) Check(church.At(r.at) == monksChurch.At(r.at), "monk.map: another tile at the door " + Show(r.at));
    Check(monksChurch.characters.empty(), "the monk's church has characters");
}

void HouseResidentsStandOnReachableFloor() {
    const std::map<int, std::vector<Cell>> residents = {{1, {{11, 10}, {6, 7}}}, {2, {{8, 10}, {7, 6}}}, {3, {{9, 8}, {6, 6}}}};
    auto plans = HousePlans();
    for (const auto& [n, cells] : residents) {
        const Location& plan = plans[static_cast<std::size_t>(n - 1)];
        std::set<Cell> r = Reach(plan, {7, 10});
        for (const Cell& c : cells) {
            Check(plan.At(c) == L'G' && r.count(c), "h" + std::to_string(n) + " " + Show(c) + ": a resident off the reachable floor");
        }
    }
}

void CharactersAndFloorItems() {
    for (const Location* loc : Places()) {
        const std::string name = Show(loc->id);
        if (loc->characters.size() != loc->lstLines.size()) problems.push_back(name + ": .lst not read whole");
        for (const auto& line : loc->lstLines) {
            if (!line.ends_with(L",#TRUE#") && !line.ends_with(L",#FALSE#")) problems.push_back(name + ": Good is not a bare truth value");
        }
        for (const auto& n : loc->characters) {
            const std::string who = name + " " + Show(n.name) + " at " + Show(n.at);
            if (loc->At(n.at) != L'G') problems.push_back(who + ": does not stand on G");
            if (n.symbol.size() != 1 || !TilePicture(static_cast<MapKind>(loc->kind), n.symbol[0])) problems.push_back(who + ": symbol not drawn");
            for (const auto& script : {n.talk, n.death}) {
                if (!script.empty() && !FileExists(gameFolder / "scripts" / ToUtf8(script))) problems.push_back(who + ": no script " + Show(script));
            }
            if (n.name.find_first_of(L",\"") != std::wstring::npos) problems.push_back(who + ": a comma or quote in the name");
        }
        if (loc->items.size() != loc->itmLines) problems.push_back(name + ": .itm not read whole");
        for (const auto& it : loc->items) {
            const std::string what = name + " " + Show(it.name) + " at " + Show(it.at);
            if (loc->At(it.at) != L'9') problems.push_back(what + ": not on a 9");
            if ((it.name + it.info + it.script).find_first_of(L",\"") != std::wstring::npos) problems.push_back(what + ": a comma or quote");
            if (!it.script.empty() && it.script != L" " && it.script != L"0" && !FileExists(gameFolder / "scripts" / ToUtf8(it.script))) {
                problems.push_back(what + ": no script " + Show(it.script));
            }
        }
    }
}

void ScriptsKeepTheLanguageRules() {
    for (const auto& e : fs::directory_iterator(gameFolder / "scripts")) {
        const std::wstring file = FromUtf8(e.path().filename().string());
        Script s = Lint(file);
        for (const auto& p : s.problems) problems.push_back(Show(file) + ": " + p);
        const std::wstring ext = FromUtf8(e.path().extension().string());
        const bool speakerless = ext == L".itm" || ext == L".sc" || file == L"start.scr";
        for (const auto& c : s.commands) {
            if (speakerless && kNeedSpeaker.count(c.name)) problems.push_back(Show(file) + ": " + Show(c.name) + " needs a speaker");
            // Scripts that a script names must be there.
            std::wstring named;
            if (c.name == L"exe" && !c.args.empty()) named = Unquote(c.args[0]);
            if ((c.name == L"give" || c.name == L"put") && c.args.size() == 10) named = Unquote(c.args[4]);
            if (!named.empty() && named != L" " && named != L"0" && !FileExists(gameFolder / "scripts" / ToUtf8(named))) {
                problems.push_back(Show(file) + ": names a missing script " + Show(named));
            }
            if (file == L"start.scr" && c.name == L"setq" && !c.args.empty()) {
                const double flag = Val(Unquote(c.args[0]));
                if (flag == 28 || flag == 29) problems.push_back("start.scr sets flag " + std::to_string(static_cast<int>(flag)));
            }
        }
        // An entry script belongs to a place.
        if (ext == L".sc" && !locations.count(FromUtf8(e.path().stem().string()))) problems.push_back(Show(file) + ": no such place");
    }
    for (const wchar_t* needed : {L"start.scr", L"food.itm", L"man1.tai", L"man2.tai", L"man3.tai", L"man4.tai", L"wom1.tai",
                                  L"wom2.tai", L"wom3.tai", L"wom4.tai"}) {
        if (!FileExists(gameFolder / "scripts" / ToUtf8(needed))) problems.push_back(Show(needed) + " is missing");
    }
}

void NamesWeaponsIntrosAndSettings() {
    auto names = Lines(gameFolder / "intros" / "names.txt");
    if (names.size() != 5u) return problems.push_back("names.txt: not five lines");
    for (const auto& line : names) {
        TextReader r(EncodeCp1251(line));
        std::wstring name;
        bool quoted = false;
        int count = 0;
        while (r.ReadItem(name, &quoted)) {
            ++count;
            const bool fine = quoted && !name.empty() && name.find_first_of(L"\\/:*?\"<>|,") == std::wstring::npos &&
                              name.front() != L' ' && name.back() != L' ';
            Check(fine, "names.txt: " + Show(line) + ": a bad name " + Show(name));
        }
        Check(count == 5, "names.txt: " + Show(line) + ": not five names");
    }

    auto reader = TextReader::Open(gameFolder / "maps" / "weapons.dat");
    if (!reader) return problems.push_back("no weapons.dat");
    std::vector<std::wstring> values;
    std::wstring item;
    while (reader->ReadItem(item)) values.push_back(item);
    Check(values.size() % 8 == 0 && values.size() / 8 <= 81, "weapons.dat: not whole rows of 8, or more than 81");
    for (const wchar_t* tool : {L"Кирка", L"Топор", L"Молот", L"Удочка"}) {
        bool found = false;
        for (std::size_t row = 0; row < 40 && row * 8 < values.size(); ++row) found = found || values[row * 8] == tool;
        Check(found, Show(tool) + " cannot be dropped");
    }

    for (const char* file : {"knaz.txt", "necromancer.txt", "monk.txt", "kogot.txt", "hunter.txt", "keys.txt", "monk.map",
                             "monk.crd", "monk.tle", "vchurch.map", "vchurch.lst"}) {
        auto text = ReadWholeFile(gameFolder / "intros" / file);
        Check(text && !text->empty(), std::string(file) + ": missing or empty");
    }
    Check(FileExists(gameFolder / "manual.txt"), "no manual.txt");
    Check(Val(ReadIni(L"morvath", L"wheight", gameFolder / "morvath.ini")) > 0 &&
              Val(ReadIni(L"morvath", L"wwidth", gameFolder / "morvath.ini")) > 0,
          "morvath.ini: no window size");
    Check(fs::is_directory(gameFolder / "saved"), "no saved folder");
}

void DungeonsLeadToPlacesAndTheirMonstersAreWhole() {
    for (const auto& d : dungeons) {
        const std::string name = Show(d.id);
        Check(d.start.x >= 5 && d.start.x <= 49 && d.start.y >= 5 && d.start.y <= 49, name + ": starts off the grid");
        for (const auto& t : {d.upTarget, d.exitTarget}) Check(locations.count(t) > 0, name + ": leads to no place " + Show(t));
        auto reader = TextReader::Open(gameFolder / "maps" / ToUtf8(d.monsters));
        if (!reader) {
            problems.push_back(name + ": no monster file " + Show(d.monsters));
            continue;
        }
        std::vector<std::wstring> v;
        std::vector<bool> quoted;
        std::wstring item;
        bool q = false;
        while (reader->ReadItem(item, &q)) {
            v.push_back(item);
            quoted.push_back(q);
        }
        Check(v.size() % 9 == 0 && v.size() / 9 <= 31, name + ": not whole records of nine values");
        for (std::size_t i = 0; i + 9 <= v.size(); i += 9) {
            const std::string who = name + " " + Show(v[i]);
            for (std::size_t k : {i + 1, i + 5}) {
                Check(v[k].empty() || FileExists(gameFolder / "scripts" / ToUtf8(v[k])), who + ": no script " + Show(v[k]));
            }
            Check(!quoted[i + 6] && (v[i + 6] == L"#TRUE#" || v[i + 6] == L"#FALSE#"), who + ": Good is not a bare truth value");
            Check(v[i + 8].size() == 1 && TilePicture(kMapCave, v[i + 8][0]), who + ": symbol not drawn in caves");
        }
    }
}

// Every quest flag a script reads or sets has its line in the flag table (the "## Quest flags"
// section of data/README.md), so two quests never share a flag by accident.
void EveryQuestFlagInUseIsInTheTable(const fs::path& readme) {
    std::ifstream in(readme);
    if (!in) return problems.push_back(readme.string() + ": cannot be read");
    std::set<int> tabled;
    std::string line;
    bool inTable = false;
    while (std::getline(in, line)) {
        if (line.starts_with("## ")) inTable = line == "## Quest flags";
        int flag = 0;
        if (inTable && line.starts_with("| ") && std::sscanf(line.c_str(), "| %d |", &flag) == 1) tabled.insert(flag);
    }
    for (const auto& e : fs::directory_iterator(gameFolder / "scripts")) {
        const std::wstring file = FromUtf8(e.path().filename().string());
        for (const auto& c : Lint(file).commands) {
            if ((c.name != L"getq" && c.name != L"setq") || c.args.empty() || !IsLiteral(c.args[0])) continue;
            const int flag = static_cast<int>(Val(Unquote(c.args[0])));
            Check(tabled.count(flag) > 0, Show(file) + ": flag " + std::to_string(flag) + " is not in the flag table");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: checkgame <game folder> [<flag table: data/README.md>]\n");
        return 2;
    }
    gameFolder = argv[1];
    char scratch[] = "/tmp/checkgame-XXXXXX";
    if (!mkdtemp(scratch)) return 2;
    const fs::path saved = fs::path(scratch) / "saved";
    fs::create_directories(saved);
    Unpack(saved);
    TheArchiveUnpacksTheWorldAndNothingReserved();
    MapsAreWholeAndEveryTileIsKnownToItsPainter();
    SignCellsAreWalkableOnlyWhereTheirTextsFit();
    RecordsLeadSomewhereAndCanBeEntered();
    ArrivalCellsAreFreeFloor();
    EveryPlaceCanBeWalkedFromWhereverTheHeroComesIn();
    TheMonksChurchHasTheSameDoors();
    HouseResidentsStandOnReachableFloor();
    CharactersAndFloorItems();
    ScriptsKeepTheLanguageRules();
    NamesWeaponsIntrosAndSettings();
    DungeonsLeadToPlacesAndTheirMonstersAreWhole();
    if (argc == 3) EveryQuestFlagInUseIsInTheTable(argv[2]);
    std::error_code ec;
    fs::remove_all(scratch, ec);
    for (const auto& p : problems) std::printf("checkgame: %s\n", p.c_str());
    return problems.empty() ? 0 : 1;
}
