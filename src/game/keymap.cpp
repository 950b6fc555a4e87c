#include "game/keymap.h"

#include "game/fight.h"
#include "game/gathering.h"
#include "game/items.h"
#include "game/movement.h"
#include "game/screen.h"
#include "game/skills.h"
#include "game/spells.h"
#include "game/talk.h"
#include "platform/frontend.h"
#include "services/music.h"
#include "world/game_state.h"
#include "world/save_set.h"
#include "world/speech.h"
#include "world/turn.h"
#include "world/wilderness.h"

namespace morvath {

namespace {

const wchar_t kQuitTitle[] = L"Morvath...";
const wchar_t kNotOnMap[] = L"Не на карте...";

void Quit() {
    modMusicEngine::MidiClose();
    EndProgram();
}

// Esc. True when the program ends.
bool QuitDialog() {
    if (UI().MsgBox(L"Действительно выйти?", MsgButtons::YesNo, MsgIcon::None, kQuitTitle) != MsgResult::Yes) {
        return false;
    }
    if (UI().MsgBox(L"Сохранить игру?", MsgButtons::YesNo, MsgIcon::None, kQuitTitle) == MsgResult::Yes) {
        // A save that failed must not be followed by the end of the game.
        if (!SaveGame()) return false;
    } else {
        DeleteSaveSet();
    }
    Quit();
    return true;
}

// Shift+S.
bool SaveAndQuit() {
    if (UI().MsgBox(L"Сохраниться и выйти?", MsgButtons::YesNo, MsgIcon::Question, L"Morvath") != MsgResult::Yes) {
        return false;
    }
    if (!SaveGame()) return false;
    Quit();
    return true;
}

// Q with a modifier.
bool QuitWithoutSaving() {
    if (UI().MsgBox(L"Действительно выйти не сохраняя?", MsgButtons::YesNo, MsgIcon::None, kQuitTitle) !=
        MsgResult::Yes) {
        return false;
    }
    DeleteSaveSet();
    RemoveFile(KillLogPath());
    Quit();
    return true;
}

// E. False when the player chose nothing.
bool Eat() {
    auto& g = modVarsAndMain;
    const int picked = ChooseItemOfKind(kFood);
    if (picked == 0) return false;
    if (auto item = g.Inventory->Item(picked)) item->DoAction();
    g.Player->DoWeight();
    g.Player->CheckWeight();
    Do_Change_Of_World();
    return true;
}

void SetTactic(long tactic, const wchar_t* text) {
    modVarsAndMain.Player->HeroeTactic = tactic;
    Say(text, L"");
}

void ShowHelpFile(const wchar_t* relative) {
    // A missing help text shows nothing rather than ending the game.
    if (auto text = ReadWholeFile(GamePath(relative))) UI().ShowText(*text, false);
}

// F11, a developer's key: only a location that can be loaded is loaded.
void DebugLoadWorld() {
    auto& g = modVarsAndMain;
    const std::wstring id = UI().InputBox(L"World:", L"Morvath", L"N1");
    if (!LocationFilesExist(id) || id == L"wild") return;
    g.TheWorld->WorldName = id;
    g.TheWorld->Load_World();
}

void CastOption(int index) {
    if (index >= 0 && index < static_cast<int>(kSpells.size())) kSpells[static_cast<std::size_t>(index)].cast();
}

bool IsWild() { return modVarsAndMain.TheWorld->WorldName == L"wild"; }

}  // namespace

void PressKey(int KeyCode, int Shift) {
    auto& g = modVarsAndMain;
    if (!g.Player || !g.TheWorld || KeysBlocked()) return;
    g.screen.lblII.clear();
    bool doorStep = false;

    switch (KeyCode) {
        case kVkUp: case kVkDown: case kVkRight: case kVkLeft:
            doorStep = ArrowKey(KeyCode, Shift);
            break;
        case 'L':
            LookAtFloor();
            Do_Change_Of_World();
            break;
        case 'W':
            GatherInFront();
            Do_Change_Of_World();
            DrawIt();
            break;
        case kVkEscape:
            if (QuitDialog()) return;
            break;
        case kVkSemicolon:
            if (Shift != 0) {
                adv_Kbd();
            } else {
                PickUpItems();
                Do_Change_Of_World();
            }
            break;
        case kVkComma:
            PickUpItems();
            Do_Change_Of_World();
            break;
        case kVkNumpad5: case kVk5:
            Do_Change_Of_World();
            DrawIt();
            break;
        case kVkF9:
            modMusicEngine::MusicOn = !modMusicEngine::MusicOn;
            break;
        case 'T':
            TalkNearby();
            Do_Change_Of_World();
            DrawIt();
            break;
        case 'I':
            ShowEquipForm();
            break;
        case 'F':
            AttackNearby();
            Do_Change_Of_World();
            break;
        case 'U':
            UseItem();
            Do_Change_Of_World();
            // A script that lit the view asked for it to stay as it is for this key.
            if (g.SkipRedraw) {
                g.SkipRedraw = false;
                return;
            }
            break;
        case 'D':
            if (IsWild()) {
                g.screen.lblII = kNotOnMap;
            } else {
                DropItem();
                Do_Change_Of_World();
            }
            break;
        case 'G':
            if (Shift != 0) {
                GiveNearby(kGiveCoins);
                DrawIt();
                Do_Change_Of_World();
            } else {
                GiveNearby(kGiveItem);
                Do_Change_Of_World();
            }
            break;
        case 'C':
            g.Player->Show_Char();
            break;
        case kVkF1:
            ShowHelpFile(L"\\intros\\keys.txt");
            break;
        case kVkF2:
            ShowHelpFile(L"\\manual.txt");
            break;
        case 'A':
            if (IsWild()) {
                g.screen.lblII = kNotOnMap;
            } else {
                ShowSkills();
            }
            break;
        case 'E':
            // Nothing eaten: no turn, no location check, no redraw.
            if (!Eat()) return;
            break;
        case 'S':
            if (Shift == kShiftMask) {
                if (SaveAndQuit()) return;
            } else if (IsWild()) {
                g.screen.lblII = kNotOnMap;
            } else {
                ShowSpellList();
            }
            break;
        case 'Z':
            RepeatLastSpell();
            Do_Change_Of_World();
            break;
        case kVkSpace:
            HideSpeech();
            break;
        case kVkPeriod:
            EnterWildLocation();
            break;
        case 'Q':
            if (Shift != 0 && QuitWithoutSaving()) return;
            break;
        case kVkF4:
            SetTactic(-2, L"Ваше поведение : Скрытное, сила удара упала на 4, защита возросла на 4.");
            break;
        case kVkF5:
            SetTactic(-1, L"Ваше поведение : Осторожное, сила удара упала на 2, защита возросла на 2.");
            break;
        case kVkF6:
            SetTactic(0, L"Ваше поведение : Нормальное");
            break;
        case kVkF7:
            SetTactic(1, L"Ваше поведение : Агрессивное, сила удара возросла на 2, защита упала на 2.");
            break;
        case kVkF8:
            SetTactic(2, L"Ваше поведение : Берсерк , сила удара возросла на 4, защита упала на 4.");
            break;
        case kVkF11:
            DebugLoadWorld();
            break;
        case 'P':
            UI().MsgBox(NumText(g.PlayerX) + L"," + NumText(g.PlayerY));
            break;
        case kVkF10:
            g.Money = 1000;
            g.CutSpellKnown = true;
            g.LightningKnown = true;
            g.Player->Mana = 80;
            break;
        default:
            break;
    }

    if (g.gameScreen.programEnded) return;
    if (KeyCode != kVkSpace && !doorStep && !IsWild()) g.TheWorld->checkplace();
    DrawIt();
}

wchar_t LatinOnSameKey(wchar_t c) {
    static constexpr struct {
        wchar_t lower, upper, latin, shifted;
    } kKeys[] = {
        {L'й', L'Й', L'q', L'Q'}, {L'ц', L'Ц', L'w', L'W'}, {L'у', L'У', L'e', L'E'}, {L'к', L'К', L'r', L'R'},
        {L'е', L'Е', L't', L'T'}, {L'н', L'Н', L'y', L'Y'}, {L'г', L'Г', L'u', L'U'}, {L'ш', L'Ш', L'i', L'I'},
        {L'щ', L'Щ', L'o', L'O'}, {L'з', L'З', L'p', L'P'}, {L'х', L'Х', L'[', L'{'}, {L'ъ', L'Ъ', L']', L'}'},
        {L'ф', L'Ф', L'a', L'A'}, {L'ы', L'Ы', L's', L'S'}, {L'в', L'В', L'd', L'D'}, {L'а', L'А', L'f', L'F'},
        {L'п', L'П', L'g', L'G'}, {L'р', L'Р', L'h', L'H'}, {L'о', L'О', L'j', L'J'}, {L'л', L'Л', L'k', L'K'},
        {L'д', L'Д', L'l', L'L'}, {L'ж', L'Ж', L';', L':'}, {L'э', L'Э', L'\'', L'"'}, {L'я', L'Я', L'z', L'Z'},
        {L'ч', L'Ч', L'x', L'X'}, {L'с', L'С', L'c', L'C'}, {L'м', L'М', L'v', L'V'}, {L'и', L'И', L'b', L'B'},
        {L'т', L'Т', L'n', L'N'}, {L'ь', L'Ь', L'm', L'M'}, {L'б', L'Б', L',', L'<'}, {L'ю', L'Ю', L'.', L'>'},
        {L'ё', L'Ё', L'`', L'~'},
    };
    for (const auto& k : kKeys) {
        if (c == k.lower) return k.latin;
        if (c == k.upper) return k.shifted;
    }
    return c;
}

void adv_Kbd() {
    auto& g = modVarsAndMain;
    std::wstring answer = UI().InputBox(L"Расширенные команды([s]leep, [S]wap):", L"Morvath");
    for (wchar_t& c : answer) c = LatinOnSameKey(c);
    if (answer == L"s") {
        g.Player->LetsSleep();
    } else if (answer == L"S") {
        int dx = 0, dy = 0;
        switch (static_cast<int>(g.FacingDir)) {
            case 1: dy = -1; break;
            case 2: dy = 1; break;
            case 3: dx = 1; break;
            case 4: dx = -1; break;
            default: return;
        }
        const int x = g.PlayerX, y = g.PlayerY;
        if (!CanMove(g.TheWorld->GetPosMap(x + 3 + 2 * dx, y + 3 + 2 * dy))) return;
        for (const auto& npc : *g.NPCs) {
            // A hunting character will not let the hero by.
            if (npc->X == x + dx && npc->Y == y + dy && npc->Tactic != kTacticApproach) {
                g.PlayerX = x + 2 * dx;
                g.PlayerY = y + 2 * dy;
                Do_Change_Of_World();
                return;
            }
        }
    }
}

bool SpeechBoxKey(int KeyCode, int Shift) {
    if (KeysBlocked()) return true;
    switch (KeyCode) {
        case kVkPageDown: case kVkPageUp: case kVkUp: case kVkDown:
            return true;
        default:
            HideSpeech();
            PressKey(KeyCode, Shift);
            return false;
    }
}


void ChooseSpell(int Index) {
    if (KeysBlocked()) return;
    if (Index >= 0 && Index < SpellList::kClose) {
        CastOption(Index);
        modVarsAndMain.LastSpell = Index + 1;
        HideSpellList();
        Do_Change_Of_World();
    } else {
        HideSpellList();
    }
    DrawIt();
}

void ChooseSpellWithEnter(int Index, int KeyAscii) {
    if (KeysBlocked() || KeyAscii != kVkReturn) return;
    CastOption(Index);
    // Enter on "Закрыть" spends the turn too, and leaves a last spell that repeats nothing.
    modVarsAndMain.LastSpell = Index + 1;
    Do_Change_Of_World();
    HideSpellList();
    DrawIt();
}

void CloseSpellListOnEscape(int, int KeyCode) {
    if (KeyCode == kVkEscape) HideSpellList();
}

void ChooseSkill() {
    auto& g = modVarsAndMain;
    if (KeysBlocked()) return;
    if (g.ForgeChoice) {
        // The smithing choice is confirmed; the forge reads the selected line.
        g.gameScreen.skills.visible = false;
    } else {
        UseSkill(g.gameScreen.skills.ListIndex);
    }
    DrawIt();
}

void ChooseSkillWithEnter(int KeyAscii) {
    if (KeyAscii == kVkReturn) ChooseSkill();
}

void CloseSkillListOnEscape(int KeyCode) {
    if (KeyCode != kVkEscape) return;
    modVarsAndMain.ForgeChoice = false;
    modVarsAndMain.gameScreen.skills.visible = false;
}

}  // namespace morvath
