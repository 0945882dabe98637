#include "app/THtmlView.h"

#include <QFileInfo>
#include <QImage>
#include <QTextDocument>

namespace kavo {

namespace {

QImage MissingImage() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

}  // namespace

THtmlView::THtmlView(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("htmlView"));
    setOpenLinks(true);
}

QVariant THtmlView::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource) {
        const QUrl resolved = source().resolved(name);
        if (resolved.isLocalFile() && !QFileInfo::exists(resolved.toLocalFile())) {
            static const QImage missing = MissingImage();
            return missing;
        }
    }
    return QTextBrowser::loadResource(type, name);
}

}  // namespace kavo
