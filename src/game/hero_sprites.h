#pragma once
// The hero's four direction pictures and portrait on the game screen, by person.

namespace morvath {

// Sets the game screen's hero pictures for a person (`MainCharacter::Profession`); person 0
// keeps the screen's own pictures. Character creation and loading a saved game call it.
void SetHeroImages(long profession);

}  // namespace morvath
