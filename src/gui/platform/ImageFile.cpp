#include "gui/platform/ImageFile.h"

#include <QBuffer>
#include <QByteArray>

#include "core/platform/Files.h"

namespace movrane::gui {

bool writeImageFile(const QImage& image, const std::string& path, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) return false;
    return writeFileAtomically(path, bytes.toStdString());
}

}  // namespace movrane::gui
