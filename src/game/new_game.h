#pragma once
// A new hero and a new world: the start menu's actions, character creation from the five
// persons' recipes, and the staged start that turns the hero into a running game.
#include <functional>
#include <string>

namespace morvath {

// The name the menu proposes for a person (row of \intros\names.txt); "" when none.
std::wstring PickRandomName(int person);

// The start button. An empty name shows "Необходимо ввести имя!" and returns false with
// nothing changed; so does a save folder the new game cannot be written into (after telling
// the player). Otherwise the old save set and kill log are removed, every global starts
// afresh, and the hero is made from the person's recipe.
bool CreateCharacter(int person, const std::wstring& name, bool keepSaveOnDeath);

// The person's recipe (0 Князь .. 4 Охотник) applied to the hero just created: attributes,
// worn and carried things, skills, spells, money, the start place and the intro text; then the
// start-village files go into \saved\. The hunter's arrows depend on the Luck already set.
void MakePerson(int person);

// What the staged start asks of the window while it works.
struct StartHooks {
    std::function<void(const std::wstring& caption, int percent)> progress;
    std::function<void()> hideMenu;
    std::function<void()> showGameScreen;
};

// Unpacks every location of \maps\data.uni into \saved\; asks whether to show the errors.
// False (and nothing asked) when a file could not be written.
bool UncompressMaps();

// Completes the hero and enters the first location. False (after a message) when the maps
// cannot be written or the first location cannot be entered: the caller goes back to the menu.
bool InitGame(const StartHooks& hooks);

// The load button: a fresh state filled from the save set. False leaves no game.
bool LoadSavedGame();

// The game screen's size in pixels from the settings file (its designed size when missing).
void GameScreenSize(int& width, int& height);

}  // namespace morvath
