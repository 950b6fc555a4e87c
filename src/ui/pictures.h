#pragma once
// The pictures of the view, loaded once from the game folder by the names the core gives
// them: a screen picture from Images/tiles/<control name>.bmp, a picture file from its own
// path. A picture that is missing or unreadable shows as the empty black cell.
#include <QImage>
#include <array>

#include "world/pictures.h"

namespace morvath::ui {

class PictureStore {
public:
    const QImage& Get(Pic p);
    // The picture's file was missing or unreadable (Get then gives the empty cell).
    bool Missing(Pic p);
    // Forget every loaded picture (a new game folder).
    void Clear();

private:
    std::array<QImage, kPictureCount> images_;
    std::array<bool, kPictureCount> loaded_{};
    std::array<bool, kPictureCount> missing_{};
};

// The one store of the process.
PictureStore& Pictures();

}  // namespace morvath::ui
