#pragma once
// The hero's look: each person has its own four direction pictures (and the portrait, which
// faces down). Set when a hero is made and after each load; never saved.

namespace morvath {

void SetHeroImagesN();        // the warlock
void SetHeroImagesM();        // the monk
void SetHeroImagesOh();       // the hunter
void SetHeroImagesDefault();  // the claw: one picture for every direction
// The routine for a person (MainCharacter::Profession); the prince keeps the screen's own.
void SetHeroImages(long profession);

}  // namespace morvath
