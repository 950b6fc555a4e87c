#pragma once
// A hero on a grass town with characters to aim at, for the tests of the skills and spells:
// characters with death scripts that name their speaker, seeds chosen by the draws they give,
// and a look at every step of an animation.
#include <functional>
#include <memory>
#include <vector>

#include "game/skill_rules.h"
#include "game/skills.h"
#include "game/spells.h"
#include "screen_fixture.h"

namespace morvath {

class SkillTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        w().SetRow(0, std::wstring(30, L'G'));
        WriteText(L"scripts/dies.die", L"say(\"конец\")\r\n");
        ui.onPause = [this] {
            frames.push_back({g().gameScreen.view.flyingShown, g().gameScreen.view.flying, g().gameScreen.view.flyingX,
                              g().gameScreen.view.flyingY, g().AnimationRunning});
        };
    }

    // A character standing on (x, y) in hero coordinates, with a death script that speaks.
    std::shared_ptr<NPC> AddNpc(const std::wstring& name, int x, int y, double hp, bool good = false) {
        auto npc = g().NPCs->Add();
        npc->NPCName = name;
        npc->X = static_cast<float>(x);
        npc->Y = static_cast<float>(y);
        npc->HP = hp;
        npc->Symbol = L"w";
        npc->Good = good;
        npc->DieScript_File = L"dies.die";
        Put(x, y, L"w");
        return npc;
    }

    // A carried item.
    std::shared_ptr<Item> Carry(const std::wstring& name, long kind, int count = 0) {
        auto item = g().Inventory->Add();
        item->ItemName = name;
        item->ItemType = kind;
        item->ItemCount = count;
        item->Weight = 1;
        return item;
    }
    std::vector<std::wstring> CarriedNames() {
        std::vector<std::wstring> names;
        for (const auto& item : *g().Inventory) names.push_back(item->ItemName);
        return names;
    }

    // Seeds the source with the first seed whose next n draws satisfy the condition; the
    // draws come back.
    static std::vector<double> DrawsWhere(int n, const std::function<bool(const std::vector<double>&)>& ok) {
        for (std::uint64_t seed = 1; seed < 200000; ++seed) {
            SeedRandom(seed);
            std::vector<double> d;
            for (int i = 0; i < n; ++i) d.push_back(Rnd());
            if (ok(d)) {
                SeedRandom(seed);
                return d;
            }
        }
        ADD_FAILURE() << "no seed found";
        return std::vector<double>(static_cast<std::size_t>(n), 0.0);
    }

    // What the view showed at each pause of an animation.
    struct Frame { bool shown; Pic picture; int x; int y; bool keysBlocked; };
    std::vector<Frame> frames;

    std::wstring Said() const { return modVarsAndMain.screen.txtSpeech; }
    static std::wstring Says(const std::wstring& text) { return text + L"\r\n\r\n[пробел]"; }
    MainCharacter& hero() { return *g().Player; }
};

}  // namespace morvath
