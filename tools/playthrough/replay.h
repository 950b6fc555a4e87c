#pragma once
// Replays a recorded game: the keys a player pressed on the game screen and the answers he
// gave to its dialogs, from the new-game button to the hall of fame. Every key goes through
// the game screen's own key handling (the speech box first while it shows, then the key map),
// fights are fought as the recording says, with the fight panel's buttons, and the scripted
// player answers questions in the order the recording queues them. The game's clock stands on
// the recording's day, so a recording plays the same on every day of the year.
//
// A recording is a text file (UTF-8), one step a line; "#" starts a comment:
//   seed N                the random source's seed, before the start
//   date YYYY-MM-DD       the day the game is played on (a new hero's calendar luck), before
//                         the start; without it an ordinary Monday (7 December 2026, no luck),
//                         never the day the replay runs
//   person N | name TEXT  the person chosen (0 Князь .. 4 Охотник) and the name typed
//   start                 "Вперёд!": the hero is made and the game starts
//   key K [N]             press K (Up Down Left Right Space Esc Enter, a letter or digit, ".",
//                         ";", "," and F1..F12, "Shift+" before any of them) N times; F4..F8 set
//                         the hero's behaviour in a fight (F8: berserk)
//   enter ID              like walk, onto the nearest way out that leads to place ID (on the
//                         wilderness map onto the place's icon, then the enter key)
//   walk X Y              arrow keys along the shortest way to (X, Y) in the current place
//                         (onto a way out: on into the place it leads to). A hostile character
//                         in the way (not good, and coming for the hero or fleeing from him) is
//                         attacked; anyone else (who keeps still or wanders) is walked round, or
//                         waited for while he blocks the only way.
//                         Fights on the way are fought, and an encounter's battleground is left
//                         by its nearest way back before the walk goes on
//   input TEXT | choice N | yes [N] | no [N] | pick NAME
//                         the answer to the next input box, choice dialog, Yes/No box (N boxes) or
//                         item picker (the row holding that item; "pick -" picks nothing)
//   equip KEYS            the keys pressed on the next equipment screen (slot letters A..F),
//                         which then closes with Esc
//   forget                the queued answers not asked for yet are dropped
//   skill NAME            the skill list (key A), that skill's row and Enter
//   cast SPELL [DIR]      the spell list (key S), that spell's option and Enter; with DIR (Up
//                         Down Left Right) the hero first turns that way with Shift and the
//                         arrow (a turn without a step) unless he already faces it
//   fights strike | fights flee
//                         how every fight from now on is fought: blow by blow with the strike
//                         button (so from the start), or with the flee button, clicked until
//                         the hero gets away (the enemy then hunts him)
//   fight                 the fight on is fought to its end (as "fights" says)
//   wait NAME [N]         key 5 until a character so named has come and fought the hero (the
//                         fight fought as "fights" says), or none is left in the place; at most
//                         N turns (100)
//   chase NAME            follows the nearest character so named that flees from the hero, and
//                         attacks it with F whenever it stands beside him, until none so named
//                         flees (it died, or turned on him); nothing when none flees
//   expect place ID | at X Y | flag N V | has NAME | lacks NAME | speech TEXT | box TEXT |
//          fame TEXT | deeds TEXT | over
//                         what must hold now (TEXT: part of the speech box, of a message
//                         box shown so far, of the hall-of-fame list or of the deeds file)
//
// A careful player's steps, so that one recording plays on any seed. The standing rules hold
// from the line that gives them until another line changes them; they act between keys, while
// no fight is on and no speech box shows, and each takes its own keys and answers, never the
// queued ones:
//   encounters refuse | encounters fight
//                         every question of a wilderness encounter ("Вы встретили ...") is
//                         answered No (or, with fight, as the queue says)
//   walks safe | walks short
//                         a walk on the wilderness map goes over the fewest grass and forest
//                         cells, where beasts are met (groves, shores and places are safe),
//                         and only then the shortest way; or simply the shortest way
//   eat above N           whenever the hero's hunger is above N he eats (key E) one piece of
//                         the first food he carries that food.itm feeds him with, until it is
//                         N or less; "eat off" stops the rule
//   heal below N NAME     whenever his HP is below N (a number, or max: below his full
//                         health) he uses (key U) one NAME while he carries one; "heal off"
//   flee below N          from now on a fight is fled with the flee button once his HP is
//                         below N, and fought as "fights" says above it; "flee below 0" never
//   use NAME | use all NAME
//                         key U on one NAME, or on every NAME he carries, one by one
//   talk NAME             walks beside the nearest character so named (one who wanders is
//                         followed) and talks to him (key T), the answers as queued
//   buy N NAME from SELLER choice K
//                         talks to SELLER as "talk" does and answers his question with option K,
//                         until he has handed over N NAME or a purchase brings none (the coins
//                         ran out); the rules may use what he bought as soon as it is counted
//   burn SYMBOLS | burn off
//                         the hero who knows the fireball and has mana for it casts it (turning
//                         first) the way it hits the most beasts of those map symbols, while
//                         one is in its reach; a fight with such a beast is struck when his
//                         weakest blow kills it, else fought with the curse while he has it and
//                         mana for it, else fled to burn the beast while he has mana for that,
//                         else struck
//   escape                the warlock out of the endless cave: along the shortest way to the
//                         level's nearest way up to N1, or down its nearest stair when it has
//                         none; a death his dark arts undo goes on from the new cave
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <queue>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game/fight.h"
#include "game/fight_panel.h"
#include "game/hall_of_fame.h"
#include "game/flight.h"
#include "game/keymap.h"
#include "game/movement.h"
#include "game/new_game.h"
#include "game/spells.h"
#include "game/worn_items.h"
#include "platform/clock.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/tiles.h"
#include "world/world.h"

namespace morvath::playthrough {

struct Step {
    int line = 0;
    std::wstring verb;
    std::vector<std::wstring> args;  // the words after the verb; the rest of the line in args[0] for texts
    std::wstring text;               // the line after the verb
};

inline std::vector<Step> Parse(const std::string& utf8) {
    std::vector<Step> steps;
    std::istringstream in(utf8);
    std::string raw;
    int n = 0;
    while (std::getline(in, raw)) {
        ++n;
        std::wstring line = FromUtf8(raw);
        if (auto hash = line.find(L'#'); hash != std::wstring::npos) line.erase(hash);
        while (!line.empty() && (line.back() == L' ' || line.back() == L'\r' || line.back() == L'\t')) line.pop_back();
        std::size_t first = line.find_first_not_of(L" \t");
        if (first == std::wstring::npos) continue;
        line.erase(0, first);
        Step s;
        s.line = n;
        std::wistringstream words(line);
        words >> s.verb;
        std::wstring w;
        while (words >> w) s.args.push_back(w);
        const std::size_t gap = line.find(L' ');
        if (gap != std::wstring::npos) s.text = line.substr(line.find_first_not_of(L' ', gap));
        steps.push_back(std::move(s));
    }
    return steps;
}

// The game folder as shipped, without the pictures and the program, which no rule reads:
// a replay writes \saved\, the hall of fame and the deeds file, never in the real folder.
inline void CopyGameFolder(const fs::path& from, const fs::path& to) {
    for (const char* part : {"intros", "maps", "scripts", "music", "morvath.ini", "manual.txt"}) {
        fs::copy(from / part, to / part, fs::copy_options::recursive);
    }
    fs::create_directories(to / "saved");
}

inline std::vector<Step> ParseFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}

// The scripted player of a recording: answers from its queues, and at the end of the run
// sits through the hall of fame as the window would show it.
class Player : public ScriptedFrontend {
public:
    std::vector<std::wstring> fame;  // the hall-of-fame list at the end of the run
    bool over = false;
    std::deque<std::wstring> picks;           // item names, in the order the picker asks
    std::deque<std::vector<int>> equipKeys;   // the keys of each visit to the equipment screen
    bool refuseEncounters = false;            // every encounter question is answered No
    // The answers of a standing rule's own keys: when asked for, they go before the queues,
    // which hold the recording's answers for later keys.
    std::optional<std::wstring> rulePick;
    std::optional<int> ruleChoice;

    MsgResult MsgBox(const std::wstring& text, MsgButtons buttons, MsgIcon icon, const std::wstring& title) override {
        if (refuseEncounters && buttons == MsgButtons::YesNo && text.starts_with(L"Вы встретили")) msgAnswers.push_front(MsgResult::No);
        return ScriptedFrontend::MsgBox(text, buttons, icon, title);
    }

    int Choice(const std::wstring& question, const std::array<std::wstring, 3>& options) override {
        if (ruleChoice) choiceAnswers.push_front(*std::exchange(ruleChoice, std::nullopt));
        return ScriptedFrontend::Choice(question, options);
    }

    int PickItem(const PickerContent& content) override {
        ScriptedFrontend::PickItem(content);
        if (rulePick) picks.push_front(*std::exchange(rulePick, std::nullopt));
        if (picks.empty()) return 0;
        const std::wstring name = picks.front();
        picks.pop_front();
        for (std::size_t i = 0; i < content.rows.size(); ++i) {
            if (content.rows[i].name == name) return static_cast<int>(i + 1);
        }
        return 0;
    }

    void ShowEquipment() override {
        ScriptedFrontend::ShowEquipment();
        std::vector<int> keys;
        if (!equipKeys.empty()) {
            keys = equipKeys.front();
            equipKeys.pop_front();
        }
        keys.push_back(kVkEscape);
        for (int k : keys) {
            if (EquipScreenKey(k)) break;
        }
    }

    void ShowHallOfFame(bool modal) override {
        ScriptedFrontend::ShowHallOfFame(modal);
        HallOfFame hof;
        hof.Open();
        fame = hof.List1;
        over = hof.Close();
    }
};

struct Outcome {
    bool ok = true;
    std::string failure;  // "line N: what went wrong"
    int keys = 0;
};

class Replay {
public:
    explicit Replay(Player& player) : ui_(player) {}

    // A recording that has gone astray stops here rather than wandering for minutes.
    static constexpr int kMaxKeys = 20000;

    Outcome Run(const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            line_ = s.line;
            if (!Do(s)) break;
            if (out_.keys > kMaxKeys) {
                Fail("more than " + std::to_string(kMaxKeys) + " keys pressed");
                break;
            }
        }
        return out_;
    }

private:
    GameState& g() { return modVarsAndMain; }

    bool Fail(const std::string& what) {
        out_.ok = false;
        out_.failure = "line " + std::to_string(line_) + ": " + what;
        if (g().Player) {
            const auto& h = *g().Player;
            out_.failure += " [" + ToUtf8(Place()) + " (" + std::to_string(g().PlayerX) + ", " + std::to_string(g().PlayerY) +
                            "), \"" + ToUtf8(g().screen.lblII) + "\", HP " + ToUtf8(NumText(h.HP)) + ", hunger " + ToUtf8(NumText(h.Hungry)) + ", killer " +
                            ToUtf8(g().hallOfFame.EnemyName) + ", coins " + std::to_string(static_cast<long>(g().Money)) + ", carries";
            if (g().Inventory) {
                for (const auto& it : *g().Inventory) out_.failure += " " + ToUtf8(it->ItemName) + " x" + std::to_string(it->ItemCount + 1);
            }
            // Who stands near: the usual reason a walk or a chase got stuck.
            if (g().NPCs) {
                for (const auto& n : *g().NPCs) {
                    if (std::labs(static_cast<long>(n->X) - g().PlayerX) > 3 || std::labs(static_cast<long>(n->Y) - g().PlayerY) > 3) continue;
                    out_.failure += ", near " + ToUtf8(n->NPCName) + " (" + ToUtf8(NumText(n->X)) + ", " + ToUtf8(NumText(n->Y)) + ") tactic " +
                                    std::to_string(static_cast<int>(n->Tactic)) + (n->Good ? " good" : "");
                }
            }
            out_.failure += "]";
        }
        return false;
    }

    static std::optional<std::pair<int, int>> KeyOf(std::wstring name) {
        int shift = 0;
        if (name.starts_with(L"Shift+")) {
            shift = kShiftMask;
            name.erase(0, 6);
        }
        static const std::map<std::wstring, int> named = {
            {L"Up", kVkUp},       {L"Down", kVkDown}, {L"Left", kVkLeft},     {L"Right", kVkRight},
            {L"Space", kVkSpace}, {L"Esc", kVkEscape}, {L"Enter", kVkReturn}, {L".", kVkPeriod},
            {L";", kVkSemicolon}, {L",", kVkComma}};
        if (auto it = named.find(name); it != named.end()) return std::pair{it->second, shift};
        if (name.size() >= 2 && name[0] == L'F') {
            const double n = Val(name.substr(1));
            if (n >= 1 && n <= 12 && name.find_first_not_of(L"0123456789", 1) == std::wstring::npos) {
                return std::pair{kVkF1 - 1 + static_cast<int>(n), shift};
            }
        }
        if (name.size() == 1 && ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'0' && name[0] <= L'9'))) {
            return std::pair{static_cast<int>(name[0]), shift};
        }
        return std::nullopt;
    }

    // One key as the game screen takes it: a showing speech box has the keyboard. Then the
    // standing rules look after the hero.
    void Press(int key, int shift) {
        ++out_.keys;
        if (g().screen.speechVisible) {
            SpeechBoxKey(key, shift);
        } else {
            PressKey(key, shift);
        }
        FightItOut();
        Tend();
    }

    // A fight that has started is fought as the recording says: Enter on the strike button,
    // which has the focus, blow after blow; or a click on the flee button until the hero gets
    // away, also once his HP falls below the flee rule's mark; a beast the burn rule dreads
    // as that rule says. The enemy's name is kept for the steps that wait for him.
    void FightItOut() {
        if (auto enemy = FightOn() ? FightEnemy() : nullptr) lastFoe_ = enemy->NPCName;
        for (int clicks = 0; FightOn() && !g().PlayerDead && clicks < 500; ++clicks) {
            if (const auto enemy = FightEnemy(); enemy && Dreaded(*enemy)) {
                FightDreaded(*enemy);
            } else if (flee_ || g().Player->HP < fleeBelow_) {
                Flee();
            } else {
                Strike();
            }
        }
    }

    // How many pieces of NAME the hero carries.
    long Carried(const std::wstring& name) {
        long n = 0;
        if (!g().Inventory) return n;
        for (const auto& it : *g().Inventory) {
            if (it->ItemName == name) n += static_cast<long>(it->ItemCount) + 1;
        }
        return n;
    }

    // The food a careful hero eats: the first he carries that feeds him (no berries of
    // unknown kind, no strange fish).
    std::optional<std::wstring> Food() {
        if (!g().Inventory) return std::nullopt;
        for (const auto& it : *g().Inventory) {
            if (it->ItemType == kFood && LowerText(it->ItemScript) == L"food.itm") return it->ItemName;
        }
        return std::nullopt;
    }

    // One key of a standing rule on a carried item: the picker answered with that item.
    // False when the piece was not used up (the key did nothing with it).
    bool UseOne(int key, const std::wstring& name) {
        const long before = Carried(name);
        ui_.rulePick = name;
        Press(key, 0);
        ui_.rulePick.reset();
        CloseSpeech();
        return Carried(name) < before;
    }

    // The standing rules of eating, healing and burning, between keys: never inside a fight,
    // nor while a speech box shows what the recording may still look at.
    void Tend() {
        if (tending_ || !Playing() || FightOn() || g().screen.speechVisible) return;
        tending_ = true;
        auto& hero = *g().Player;
        for (int n = 0; Carried(healItem_) > 0 && n < 50 && Playing() && !FightOn() && hero.HP < HealMark(); ++n) {
            if (!UseOne('U', healItem_)) break;
        }
        for (int n = 0; eatAbove_ && n < 10 && Playing() && !FightOn() && hero.Hungry > *eatAbove_; ++n) {
            const auto food = Food();
            if (!food || !UseOne('E', *food)) break;
        }
        for (int n = 0; n < 4 && Playing() && !FightOn() && !g().screen.speechVisible; ++n) {
            if (!Burn()) break;
        }
        tending_ = false;
    }

    int HealMark() { return healBelow_ ? *healBelow_ : static_cast<int>(g().Player->MaxHp); }

    // Closes a showing speech box, which would otherwise take the next key.
    void CloseSpeech() {
        if (g().screen.speechVisible) Press(kVkSpace, 0);
    }

    bool Playing() { return g().Player && g().TheWorld && !g().PlayerDead && !ui_.over; }

    std::wstring Place() { return g().TheWorld ? g().TheWorld->WorldName : L""; }

    // Where a way out at a cell leads ("" for none).
    std::wstring TargetAt(int x, int y) {
        const World& w = *g().TheWorld;
        for (int i = 0; i <= w.LocCount; ++i) {
            const auto& r = w.Record(i);
            if (r.X.ToNumber() == x && r.Y.ToNumber() == y && !r.Target.ToText().empty()) return r.Target.ToText();
        }
        return L"";
    }

    // Only the enter key fires a way out on the wilderness map; elsewhere stepping on it does.
    bool IsRecordCell(int x, int y) { return Place() != L"wild" && !TargetAt(x, y).empty(); }

    // The arrow keys' steps, in the order of the facing directions (1 up, 2 down, 3 right, 4 left).
    static constexpr int kDirs[4][3] = {{0, -1, kVkUp}, {0, 1, kVkDown}, {1, 0, kVkRight}, {-1, 0, kVkLeft}};

    using Cell = std::pair<int, int>;
    // How a search first reached a cell: from which cell, by which arrow key (-1: not yet).
    struct Came {
        Cell from{0, 0};
        int key = -1;
    };
    // A value for every cell the hero can stand on in the place, (x, y) being the grid's
    // column x + 3 of row y + 3: a flat table, as the searches run for every step of a walk.
    template <class T>
    struct CellTable {
        explicit CellTable(const World& w, T blank = T{}) {
            for (int y = 0; y <= World::kMaxRow; ++y) width = std::max(width, static_cast<int>(w.Row(y).size()) - 3);
            values.assign(static_cast<std::size_t>(std::max(width, 0) + 1) * (World::kMaxRow - 2), blank);
        }
        bool Inside(Cell c) const { return c.first >= 1 && c.second >= 1 && c.first <= width && c.second <= World::kMaxRow - 3; }
        T& operator[](Cell c) { return values[static_cast<std::size_t>(c.second) * (width + 1) + c.first]; }
        int width = 0;
        std::vector<T> values;
    };

    // The arrow keys that lead from `start` to `end` along what a search wrote down.
    static std::vector<int> KeysTo(Cell end, Cell start, CellTable<Came>& from) {
        std::vector<int> keys;
        for (Cell at = end; at != start; at = from[at].from) keys.push_back(from[at].key);
        std::reverse(keys.begin(), keys.end());
        return keys;
    }

    // The cell an arrow key leads to from a cell, by default the hero's.
    std::pair<int, int> CellAfter(int key) { return CellAfter({g().PlayerX, g().PlayerY}, key); }
    static Cell CellAfter(Cell from, int key) {
        for (const auto& d : kDirs) {
            if (d[2] == key) return {from.first + d[0], from.second + d[1]};
        }
        return from;
    }

    // A hostile character: not good, and he comes for the hero or runs from a fight with him.
    // One who keeps still or wanders (a novice of the sect, a thief in the town) is no enemy
    // until the hero makes him one.
    static bool Hostile(const NPC& npc) {
        const int tactic = static_cast<int>(npc.Tactic);
        return !npc.Good && tactic != kTacticStay && tactic != kTacticRandomWalk;
    }

    // A hostile character standing at a cell: the way goes through him, by a fight.
    bool FoeAt(int x, int y) {
        if (!g().NPCs) return false;
        for (const auto& npc : *g().NPCs) {
            if (npc->X == x && npc->Y == y && Hostile(*npc)) return true;
        }
        return false;
    }

    // The character the F key would attack, and the T key talk to, now: the first of the
    // place's characters standing on a cell beside the hero.
    std::shared_ptr<NPC> WithinReach() {
        if (!g().NPCs) return nullptr;
        const int x = g().PlayerX, y = g().PlayerY;
        for (const auto& npc : *g().NPCs) {
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                if (npc->X == x + dx && npc->Y == y + dy) return npc;
            }
        }
        return nullptr;
    }

    // One step of a walk: the arrow key, or F when a hostile character stands on that cell and
    // F would strike him and nobody else; otherwise the hero waits a turn for him to come.
    void StepOrStrike(int key) {
        const auto [nx, ny] = CellAfter(key);
        if (!FoeAt(nx, ny)) return Press(key, 0);
        const auto reach = WithinReach();
        Press(reach && Hostile(*reach) ? int{'F'} : int{kVk5}, 0);
    }

    // Whether an arrow key takes the hero onto a cell showing `tile`: open ground, up into a door
    // or gate (the door step, not on the wilderness map), or a hostile character, by a fight.
    bool Enterable(const World& w, const std::wstring& tile, Cell c, int key) {
        const bool door = w.WorldName != L"wild" && TileAllows(tile, kDoorUp);
        return (key == kVkUp ? CanMoveUP(tile) || door : CanMove(tile)) || FoeAt(c.first, c.second);
    }

    // The arrow keys of the shortest way from the hero to a cell that `goal` accepts; record
    // cells on the way are stepped round (they would take the hero elsewhere), foes in the way
    // are fought.
    std::vector<int> Way(const std::function<bool(int, int)>& goal) {
        if (safeWalks_ && Place() == L"wild") return SafeWay(goal);
        const World& w = *g().TheWorld;
        const Cell start{g().PlayerX, g().PlayerY};
        CellTable<Came> from(w);
        if (!from.Inside(start)) return {};
        std::queue<Cell> todo;
        todo.push(start);
        from[start] = {start, 0};
        std::optional<Cell> end;
        while (!todo.empty() && !end) {
            const Cell c = todo.front();
            todo.pop();
            for (const auto& d : kDirs) {
                const Cell next{c.first + d[0], c.second + d[1]};
                if (!from.Inside(next) || from[next].key >= 0) continue;
                if (!Enterable(w, w.GetPosMap(next.first + 3, next.second + 3), next, d[2])) continue;
                from[next] = {c, d[2]};
                if (goal(next.first, next.second)) {
                    end = next;
                    break;
                }
                if (IsRecordCell(next.first, next.second)) continue;
                todo.push(next);
            }
        }
        return end ? KeysTo(*end, start, from) : std::vector<int>{};
    }

    // On the wilderness map: the way with the fewest steps onto grass and forest, where an
    // encounter may stop the hero, and of those the shortest.
    std::vector<int> SafeWay(const std::function<bool(int, int)>& goal) {
        const World& w = *g().TheWorld;
        constexpr long kRisk = 1000, kUnreached = std::numeric_limits<long>::max();
        const Cell start{g().PlayerX, g().PlayerY};
        CellTable<long> cost(w, kUnreached);
        CellTable<Came> from(w);
        if (!cost.Inside(start)) return {};
        cost[start] = 0;
        std::priority_queue<std::pair<long, Cell>, std::vector<std::pair<long, Cell>>, std::greater<>> todo;
        todo.push({0, start});
        std::optional<Cell> end;
        while (!todo.empty()) {
            const auto [c, at] = todo.top();
            todo.pop();
            if (c != cost[at]) continue;
            if (at != start && goal(at.first, at.second)) {
                end = at;
                break;
            }
            for (const auto& d : kDirs) {
                const Cell next{at.first + d[0], at.second + d[1]};
                if (!cost.Inside(next)) continue;
                const std::wstring tile = w.GetPosMap(next.first + 3, next.second + 3);
                if (!Enterable(w, tile, next, d[2])) continue;
                const long step = c + 1 + (tile == L"G" || tile == L"\u040A" ? kRisk : 0);
                if (cost[next] <= step) continue;
                cost[next] = step;
                from[next] = {at, d[2]};
                todo.push({step, next});
            }
        }
        return end ? KeysTo(*end, start, from) : std::vector<int>{};
    }

    // Out of an encounter's battleground by its nearest way back to the wilderness.
    bool LeaveBattleground() {
        for (int tries = 0; tries < 200 && Playing() && Place() != L"wild"; ++tries) {
            if (g().screen.speechVisible) {
                Press(kVkSpace, 0);
                continue;
            }
            auto keys = Way([&](int x, int y) { return TargetAt(x, y) == L"wild"; });
            if (keys.empty()) return Fail("no way out of " + ToUtf8(Place()));
            StepOrStrike(keys.front());
        }
        return Playing() || Fail("the hero died on the way");
    }

    // The way out to the target that is nearest along the way; when no way leads to one now
    // (someone stands in it), the nearest as the crow flies.
    std::optional<std::pair<int, int>> WayOutTo(const std::wstring& target) {
        if (auto keys = Way([&](int x, int y) { return TargetAt(x, y) == target; }); !keys.empty()) {
            Cell at{g().PlayerX, g().PlayerY};
            for (int key : keys) at = CellAfter(at, key);
            return at;
        }
        const World& w = *g().TheWorld;
        std::optional<std::pair<int, int>> best;
        long bestDistance = 0;
        for (int i = 0; i <= w.LocCount; ++i) {
            const auto& r = w.Record(i);
            if (r.Target.ToText() != target) continue;
            const int x = static_cast<int>(r.X.ToNumber()), y = static_cast<int>(r.Y.ToNumber());
            const long d = std::labs(x - g().PlayerX) + std::labs(y - g().PlayerY);
            if (!best || d < bestDistance) best = std::pair{x, y}, bestDistance = d;
        }
        return best;
    }

    // --- The careful warlock: fire at the beasts he dreads, and the way out of the cave ---

    // A beast of the symbols the burn rule names.
    bool Dreaded(const NPC& npc) { return !npc.Symbol.empty() && burn_.find(npc.Symbol) != std::wstring::npos && Hostile(npc); }

    bool CanBurn() { return g().FireballKnown && g().Player->Mana - 12 > 0; }

    // The hero's weakest blow at the enemy, from what the fight panel shows of both.
    double WeakestBlow(const NPC& enemy) {
        const auto& h = *g().Player;
        if (h.MaxHp <= 0) return 0;
        return (h.Strenght + h.Weapon * h.Critical + h.Luck / 2.0 + 2.0 * h.HeroeTactic - enemy.Strenght) * h.HP / h.MaxHp;
    }

    // A dreaded beast is struck when the weakest blow kills it; else cursed while the hero
    // knows the curse and has mana for it; else fled from, to be burnt, while he has mana for
    // the fireball; else struck.
    void FightDreaded(const NPC& enemy) {
        if (enemy.HP < WeakestBlow(enemy)) {
            Strike();
        } else if (g().CurseKnown && Int(g().Player->Mana) > 1 && enemy.HP > 0.1) {
            Curse();
        } else if (CanBurn()) {
            Flee();
        } else {
            Strike();
        }
    }

    // How many dreaded beasts a fireball cast now in a facing direction would hit: it flies
    // five cells up or left, four down or right, through rock, and burns each cell and its
    // two neighbours in the row.
    int Burnt(int facing) {
        const auto path = FlightPath(facing);
        int hit = 0;
        for (const auto& npc : *g().NPCs) {
            if (!Dreaded(*npc)) continue;
            for (const FlightStep& step : path) {
                if (npc->Y == step.y && std::labs(static_cast<long>(npc->X) - step.x) <= 1) {
                    ++hit;
                    break;
                }
            }
        }
        return hit;
    }

    // The burn rule: the fireball at the most dreaded beasts one cast hits, the hero turned to
    // face them. False when he cast nothing.
    bool Burn() {
        if (burn_.empty() || !g().NPCs || !CanBurn()) return false;
        int best = 0, facing = 0;
        for (int f = 1; f <= 4; ++f) {
            if (const int n = Burnt(f); n > best) best = n, facing = f;
        }
        return facing && Cast(L"Огненный шар", facing);
    }

    // Out of the endless cave: along the shortest way to the level's nearest way up to
    // Новгород, or down its nearest stair when it has none. A death the dark arts undo goes
    // on from the new cave.
    bool Escape() {
        for (int tries = 0; tries < 5000 && out_.keys <= kMaxKeys; ++tries) {
            if (!Playing()) return Fail("the hero died in the cave");
            if (Place() != L"AG") return true;
            if (g().screen.speechVisible) {
                Press(kVkSpace, 0);
                continue;
            }
            if (Burn()) continue;
            auto keys = Way([&](int x, int y) { return TargetAt(x, y) == L"N1"; });
            if (keys.empty()) keys = Way([&](int x, int y) { return TargetAt(x, y) == L"AG"; });
            if (keys.empty()) {
                Press(kVk5, 0);
            } else {
                StepOrStrike(keys.front());
            }
        }
        return Fail("still in the cave");
    }

    bool Walk(int x, int y) {
        const std::wstring place = Place();
        // A walk onto a way out ends where that way leads.
        const bool wayOut = IsRecordCell(x, y);
        int waits = 0;
        for (int tries = 0; tries < 2000 && out_.keys <= kMaxKeys; ++tries) {
            if (!Playing()) return Fail("the hero died on the way");
            if (Place() != place) {
                if (wayOut) return true;
                if (place != L"wild") return Fail("left " + ToUtf8(place) + " for " + ToUtf8(Place()) + " on the way");
                if (!LeaveBattleground()) return false;
                continue;
            }
            if (g().PlayerX == x && g().PlayerY == y) return true;
            if (g().screen.speechVisible) {
                Press(kVkSpace, 0);
                continue;
            }
            auto keys = Way([&](int cx, int cy) { return cx == x && cy == y; });
            if (keys.empty()) {
                // Someone stands in the way: wait a turn, but not for ever.
                if (++waits > 60) break;
                Press(kVk5, 0);
                continue;
            }
            waits = 0;
            StepOrStrike(keys.front());
        }
        return Fail("cannot walk to (" + std::to_string(x) + ", " + std::to_string(y) + ")");
    }

    // The characters of the place so named; those fleeing from the hero only, if asked.
    std::vector<std::shared_ptr<NPC>> Named(const std::wstring& name, bool fleeing = false) {
        std::vector<std::shared_ptr<NPC>> found;
        if (!g().NPCs) return found;
        for (const auto& npc : *g().NPCs) {
            if (npc->NPCName == name && (!fleeing || static_cast<int>(npc->Tactic) == kTacticFlee)) found.push_back(npc);
        }
        return found;
    }

    // Steps from the hero to a character, as the arrow keys go.
    long Distance(const NPC& npc) { return std::labs(static_cast<long>(npc.X) - g().PlayerX) + std::labs(static_cast<long>(npc.Y) - g().PlayerY); }
    bool Beside(const NPC& npc) { return Distance(npc) == 1; }

    // The nearest of the characters so named (of those fleeing from the hero, if asked); the
    // first of them in the place's list when several are as near.
    std::shared_ptr<NPC> Nearest(const std::wstring& name, bool fleeing = false) {
        std::shared_ptr<NPC> nearest;
        for (const auto& n : Named(name, fleeing)) {
            if (!nearest || Distance(*n) < Distance(*nearest)) nearest = n;
        }
        return nearest;
    }

    // One step of the shortest way onto a cell beside a character, or a turn's wait while no
    // way leads there.
    void StepBeside(const NPC& npc) {
        const int x = static_cast<int>(npc.X), y = static_cast<int>(npc.Y);
        auto keys = Way([&](int cx, int cy) { return std::labs(cx - x) + std::labs(cy - y) == 1; });
        if (keys.empty()) {
            Press(kVk5, 0);
        } else {
            StepOrStrike(keys.front());
        }
    }

    bool WaitFor(const std::wstring& name, int turns) {
        lastFoe_.clear();
        for (int turn = 0;; ++turn) {
            if (!Playing()) return Fail("the hero died while waiting");
            const auto named = Named(name);
            if (named.empty() || lastFoe_ == name) return true;
            if (turn >= turns) return Fail(ToUtf8(name) + " did not come in " + std::to_string(turns) + " turns");
            Press(kVk5, 0);
        }
    }

    bool Chase(const std::wstring& name) {
        const std::wstring place = Place();
        for (int tries = 0; tries < 2000 && out_.keys <= kMaxKeys; ++tries) {
            if (!Playing()) return Fail("the hero died in the chase");
            if (Place() != place) return Fail("left " + ToUtf8(place) + " for " + ToUtf8(Place()) + " in the chase");
            const auto quarry = Nearest(name, true);
            if (!quarry) return true;
            if (g().screen.speechVisible) {
                CloseSpeech();
                continue;
            }
            if (Beside(*quarry)) {
                // F strikes the first character beside the hero: while that is someone else,
                // the hero waits for the quarry to move.
                Press(WithinReach() == quarry ? int{'F'} : int{kVk5}, 0);
                continue;
            }
            StepBeside(*quarry);
        }
        return Fail("cannot catch " + ToUtf8(name));
    }

    // Beside the nearest character so named, and he the one T talks to; he may wander off
    // meanwhile and is followed, or someone else stands closer in T's eyes and is waited out.
    bool Approach(const std::wstring& name) {
        const std::wstring place = Place();
        for (int tries = 0; tries < 400 && out_.keys <= kMaxKeys; ++tries) {
            if (!Playing()) return Fail("the hero died on the way to " + ToUtf8(name));
            if (Place() != place) return Fail("left " + ToUtf8(place) + " for " + ToUtf8(Place()) + " on the way to " + ToUtf8(name));
            if (g().screen.speechVisible) {
                CloseSpeech();
                continue;
            }
            const auto who = Nearest(name);
            if (!who) return Fail("nobody named " + ToUtf8(name) + " in " + ToUtf8(place));
            if (Beside(*who)) {
                if (WithinReach() == who) return true;
                Press(kVk5, 0);
                continue;
            }
            StepBeside(*who);
        }
        return Fail("cannot come up to " + ToUtf8(name));
    }

    // The words of a step from `first` up to `last`, one blank between them: a name of several
    // words, however the line spaced them.
    static std::wstring Words(std::vector<std::wstring>::const_iterator first, std::vector<std::wstring>::const_iterator last) {
        std::wstring text;
        for (; first != last; ++first) text += (text.empty() ? L"" : L" ") + *first;
        return text;
    }

    // buy N NAME from SELLER choice K
    bool Buy(const Step& s) {
        const auto from = std::find(s.args.begin(), s.args.end(), L"from");
        const auto choice = std::find(from, s.args.end(), L"choice");
        if (s.args.size() < 2 || from == s.args.end() || from == s.args.begin() + 1 || choice == s.args.end() ||
            choice == from + 1 || choice + 1 == s.args.end()) {
            return Fail("buy N NAME from SELLER choice K");
        }
        const int wanted = static_cast<int>(Val(s.args[0]));
        const std::wstring item = Words(s.args.begin() + 1, from), seller = Words(from + 1, choice);
        const int option = static_cast<int>(Val(*(choice + 1)));
        // What he bought is counted as the seller hands it over: a standing rule may use it
        // at once.
        for (int bought = 0; bought < wanted; ++bought) {
            if (!Approach(seller)) return false;
            const long before = Carried(item);
            ui_.ruleChoice = option;
            tending_ = true;  // the rules wait until the purchase is counted
            Press('T', 0);
            tending_ = false;
            ui_.ruleChoice.reset();
            const bool got = Carried(item) > before;
            CloseSpeech();
            if (!got) break;
        }
        return Playing() || Fail("the hero died while buying");
    }

    // cast SPELL [DIR]: the spell's name, and the way to face when the last word names one.
    bool Cast(const Step& s) {
        static const std::map<std::wstring, int> kFacing = {{L"Up", 1}, {L"Down", 2}, {L"Right", 3}, {L"Left", 4}};
        auto last = s.args.end();
        int facing = 0;
        if (!s.args.empty()) {
            if (auto it = kFacing.find(s.args.back()); it != kFacing.end()) facing = it->second, --last;
        }
        return Cast(Words(s.args.begin(), last), facing);
    }

    // The spell list's keys: the option of that spell takes the focus (the arrow keys move it
    // from option to option) and Enter casts it. First the hero turns with Shift and the arrow
    // to a facing direction (1 up .. 4 left) unless he faces it already; 0: as he stands.
    bool Cast(const std::wstring& spell, int facing) {
        if (facing && g().FacingDir != facing) {
            CloseSpeech();
            Press(kDirs[facing - 1][2], kShiftMask);
        }
        if (!Playing()) return Fail("the hero is dead");
        Press('S', 0);
        auto& list = g().gameScreen.spells;
        const auto option = std::find_if(kSpells.begin(), kSpells.end(), [&](const Spell& sp) { return sp.caption == spell; });
        const auto index = static_cast<std::size_t>(option - kSpells.begin());
        if (!list.visible || option == kSpells.end() || !list.optionVisible[index]) return Fail("no spell " + ToUtf8(spell) + " in the list");
        list.focus = static_cast<int>(index);
        ++out_.keys;
        ChooseSpellWithEnter(static_cast<int>(index), kVkReturn);
        FightItOut();
        return true;
    }

    // YYYY-MM-DD, a day the calendar has.
    bool Date(const std::wstring& text) {
        bool form = text.size() == 10 && text[4] == L'-' && text[7] == L'-';
        for (std::size_t i = 0; form && i < text.size(); ++i) form = i == 4 || i == 7 || (text[i] >= L'0' && text[i] <= L'9');
        auto part = [&](std::size_t at, std::size_t n) { return static_cast<int>(Val(text.substr(at, n))); };
        if (!form || !PinClock(part(0, 4), part(5, 2), part(8, 2))) return Fail("no such day: " + ToUtf8(text));
        return true;
    }

    bool Expect(const Step& s) {
        if (s.args.empty()) return Fail("expect what?");
        const std::wstring what = s.args[0];
        const std::wstring rest = s.text.size() > what.size() ? s.text.substr(s.text.find_first_not_of(L' ', what.size())) : L"";
        auto has = [&](const std::wstring& name) {
            if (!g().Inventory) return false;
            for (const auto& it : *g().Inventory) {
                if (it->ItemName == name) return true;
            }
            return false;
        };
        auto contains = [&](const std::vector<std::wstring>& lines) {
            for (const auto& l : lines) {
                if (l.find(rest) != std::wstring::npos) return true;
            }
            return false;
        };
        if (what == L"place") {
            if (Place() != rest) return Fail("in " + ToUtf8(Place()) + ", not " + ToUtf8(rest));
        } else if (what == L"at") {
            if (s.args.size() < 3 || g().PlayerX != Val(s.args[1]) || g().PlayerY != Val(s.args[2])) {
                return Fail("the hero stands at (" + std::to_string(g().PlayerX) + ", " + std::to_string(g().PlayerY) + ")");
            }
        } else if (what == L"flag") {
            if (s.args.size() < 3) return Fail("expect flag N V");
            const int v = g().QuestFlags.at(static_cast<std::size_t>(Val(s.args[1])));
            if (v != Val(s.args[2])) return Fail("flag " + ToUtf8(s.args[1]) + " is " + std::to_string(v));
        } else if (what == L"has") {
            if (!has(rest)) return Fail("the hero does not carry " + ToUtf8(rest));
        } else if (what == L"lacks") {
            if (has(rest)) return Fail("the hero carries " + ToUtf8(rest));
        } else if (what == L"speech") {
            if (g().screen.txtSpeech.find(rest) == std::wstring::npos) return Fail("the speech box says " + ToUtf8(g().screen.txtSpeech));
        } else if (what == L"box") {
            if (!contains(ui_.log)) return Fail("no message said " + ToUtf8(rest));
        } else if (what == L"fame") {
            if (!contains(ui_.fame)) return Fail("the hall of fame does not list " + ToUtf8(rest));
        } else if (what == L"deeds") {
            auto text = ReadWholeFile(DeedsFilePath(name_));
            if (!text || text->find(rest) == std::wstring::npos) return Fail("the deeds file does not say " + ToUtf8(rest));
        } else if (what == L"over") {
            if (!ui_.over) return Fail("the run has not ended");
        } else {
            return Fail("unknown expectation " + ToUtf8(what));
        }
        return true;
    }

    bool Do(const Step& s) {
        const std::wstring& v = s.verb;
        auto number = [&](std::size_t i) { return i < s.args.size() ? static_cast<int>(Val(s.args[i])) : 0; };
        if (v == L"seed") {
            SeedRandom(static_cast<std::uint64_t>(number(0)));
        } else if (v == L"date") {
            return Date(s.text);
        } else if (v == L"person") {
            person_ = number(0);
        } else if (v == L"name") {
            name_ = s.text;
        } else if (v == L"start") {
            if (!CreateCharacter(person_, name_, false)) return Fail("the hero was not made");
            if (!InitGame(StartHooks{})) return Fail("the game did not start");
            // The intro text is read and closed like any viewer.
        } else if (v == L"key") {
            auto key = s.args.empty() ? std::nullopt : KeyOf(s.args[0]);
            if (!key) return Fail("unknown key");
            const int times = s.args.size() > 1 ? number(1) : 1;
            for (int i = 0; i < times; ++i) {
                if (!Playing() && !ui_.over) return Fail("the hero is dead");
                Press(key->first, key->second);
            }
        } else if (v == L"walk") {
            if (!Playing()) return Fail("no game to walk in");
            return Walk(number(0), number(1));
        } else if (v == L"enter") {
            if (!Playing()) return Fail("no game to walk in");
            const auto door = WayOutTo(s.text);
            if (!door) return Fail("no way out of " + ToUtf8(Place()) + " leads to " + ToUtf8(s.text));
            const bool onMap = Place() == L"wild";
            if (!Walk(door->first, door->second)) return false;
            // On the wilderness map a place is entered with the enter key on its icon.
            if (onMap && Place() == L"wild" && Playing()) Press(kVkPeriod, 0);
            return Place() == s.text || Fail("in " + ToUtf8(Place()) + ", not " + ToUtf8(s.text));
        } else if (v == L"input") {
            ui_.inputAnswers.push_back(s.text);
        } else if (v == L"choice") {
            ui_.choiceAnswers.push_back(number(0));
        } else if (v == L"yes" || v == L"no") {
            const int times = s.args.empty() ? 1 : number(0);
            for (int i = 0; i < times; ++i) ui_.msgAnswers.push_back(v == L"yes" ? MsgResult::Yes : MsgResult::No);
        } else if (v == L"forget") {
            ui_.msgAnswers.clear();
            ui_.choiceAnswers.clear();
            ui_.inputAnswers.clear();
        } else if (v == L"pick") {
            ui_.picks.push_back(s.text);
        } else if (v == L"equip") {
            std::vector<int> keys;
            for (wchar_t c : s.text) {
                if (c >= L'A' && c <= L'F') keys.push_back(c);
            }
            ui_.equipKeys.push_back(keys);
        } else if (v == L"skill") {
            // The skill list takes the keyboard: the row of that skill, chosen with Enter.
            Press('A', 0);
            auto& list = g().gameScreen.skills;
            const auto row = std::find(list.lines.begin(), list.lines.end(), s.text);
            if (!list.visible || row == list.lines.end()) return Fail("no skill " + ToUtf8(s.text) + " in the list");
            list.ListIndex = static_cast<int>(row - list.lines.begin());
            ChooseSkillWithEnter(kVkReturn);
            FightItOut();
        } else if (v == L"cast") {
            if (!Playing()) return Fail("no game to cast in");
            return Cast(s);
        } else if (v == L"fights") {
            if (s.text != L"strike" && s.text != L"flee") return Fail("fights strike or fights flee");
            flee_ = s.text == L"flee";
        } else if (v == L"fight") {
            FightItOut();
            if (FightOn()) return Fail("the fight goes on");
        } else if (v == L"wait") {
            if (s.args.empty()) return Fail("wait for whom?");
            // The name may have blanks; a last word that is a number is the turns.
            std::wstring name = s.text;
            int turns = 100;
            if (s.args.size() > 1 && s.args.back().find_first_not_of(L"0123456789") == std::wstring::npos) {
                turns = static_cast<int>(Val(s.args.back()));
                name = name.substr(0, name.rfind(L' '));
            }
            return WaitFor(name, turns);
        } else if (v == L"chase") {
            if (!Playing()) return Fail("no game to chase in");
            return Chase(s.text);
        } else if (v == L"burn") {
            burn_ = s.text == L"off" ? L"" : s.text;
        } else if (v == L"escape") {
            if (!Playing()) return Fail("no game to escape from");
            return Escape();
        } else if (v == L"expect") {
            return Expect(s);
        } else if (v == L"encounters") {
            if (s.text != L"refuse" && s.text != L"fight") return Fail("encounters refuse or encounters fight");
            ui_.refuseEncounters = s.text == L"refuse";
        } else if (v == L"walks") {
            if (s.text != L"safe" && s.text != L"short") return Fail("walks safe or walks short");
            safeWalks_ = s.text == L"safe";
        } else if (v == L"eat") {
            if (s.text == L"off") {
                eatAbove_.reset();
            } else if (s.args.size() == 2 && s.args[0] == L"above") {
                eatAbove_ = number(1);
            } else {
                return Fail("eat above N or eat off");
            }
        } else if (v == L"heal") {
            if (s.text == L"off") {
                healItem_.clear();
            } else if (s.args.size() >= 3 && s.args[0] == L"below") {
                healBelow_.reset();
                if (s.args[1] != L"max") healBelow_ = number(1);
                healItem_ = Words(s.args.begin() + 2, s.args.end());
            } else {
                return Fail("heal below N NAME or heal off");
            }
        } else if (v == L"flee") {
            if (s.args.size() != 2 || s.args[0] != L"below") return Fail("flee below N");
            fleeBelow_ = number(1);
        } else if (v == L"use") {
            if (!Playing()) return Fail("no game to use things in");
            CloseSpeech();
            const bool all = !s.args.empty() && s.args[0] == L"all";
            const std::wstring name = all ? s.text.substr(s.text.find_first_not_of(L' ', 3)) : s.text;
            if (Carried(name) == 0) return Fail("the hero does not carry " + ToUtf8(name));
            while (Carried(name) > 0 && Playing()) {
                if (!UseOne('U', name)) return Fail(ToUtf8(name) + " was not used");
                if (!all) break;
            }
        } else if (v == L"talk") {
            if (!Playing()) return Fail("no game to talk in");
            if (!Approach(s.text)) return false;
            Press('T', 0);
        } else if (v == L"buy") {
            if (!Playing()) return Fail("no game to buy in");
            return Buy(s);
        } else {
            return Fail("unknown step " + ToUtf8(v));
        }
        return true;
    }

    // The game is played on an ordinary day unless the recording names one; afterwards the
    // clock goes back to how it was.
    PinnedDay day_{2026, 12, 7};
    Player& ui_;
    Outcome out_;
    bool flee_ = false;
    int fleeBelow_ = 0;                 // fights are fled below this HP
    bool safeWalks_ = false;            // wilderness walks keep to safe cells
    std::optional<int> eatAbove_;       // the hunger above which the hero eats
    std::optional<int> healBelow_;      // the HP below which he heals (none: his full health)
    std::wstring healItem_;             // what he heals with ("" : he does not)
    bool tending_ = false;              // a standing rule is pressing its keys
    std::wstring burn_;                 // the map symbols of the beasts the burn rule fires at
    std::wstring lastFoe_;  // the enemy of the last fight that started
    int line_ = 0;
    int person_ = 0;
    std::wstring name_;
};

}  // namespace morvath::playthrough
