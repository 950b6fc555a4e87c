#include "ui/pictures.h"

#include "platform/files.h"
#include "ui/qt_text.h"
#include "world/view.h"

namespace morvath::ui {
namespace {

QImage Load(Pic p) {
    const std::wstring& file = PictureFile(p);
    const std::wstring relative = file.empty() ? L"\\Images\\tiles\\" + PictureName(p) + L".bmp" : file;
    QImage image(QString::fromStdString(GamePath(relative).string()));
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

QImage Black() {
    QImage image(View::kCellPixels, View::kCellPixels, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

}  // namespace

const QImage& PictureStore::Get(Pic p) {
    const auto i = static_cast<std::size_t>(p);
    if (!loaded_[i]) {
        loaded_[i] = true;
        images_[i] = Load(p);
        missing_[i] = images_[i].isNull();
        // Missing or unreadable: the cell is painted as an empty one, and the program goes on.
        if (images_[i].isNull()) images_[i] = p == Pic::imgNothing ? Black() : Get(Pic::imgNothing);
    }
    return images_[i];
}

bool PictureStore::Missing(Pic p) {
    Get(p);
    return missing_[static_cast<std::size_t>(p)];
}

void PictureStore::Clear() {
    loaded_.fill(false);
    images_.fill(QImage());
}

PictureStore& Pictures() {
    static PictureStore store;
    return store;
}

}  // namespace morvath::ui
