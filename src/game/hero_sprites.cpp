// Temporary: the game screen task replaces this file.
#include "game/hero_sprites.h"

namespace morvath {

void SetHeroImagesN() {}
void SetHeroImagesM() {}
void SetHeroImagesOh() {}
void SetHeroImagesDefault() {}
void SetHeroImages(long) {}

}  // namespace morvath
