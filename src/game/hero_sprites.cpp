// Temporary: the game screen task replaces this file.
#include "game/hero_sprites.h"

namespace morvath {

void SetHeroImages(long) {}

}  // namespace morvath
