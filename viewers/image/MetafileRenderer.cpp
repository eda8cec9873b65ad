#include "viewers/image/MetafileRenderer.h"

#include "viewers/image/EmfPlayer.h"
#include "viewers/image/WmfPlayer.h"

#include <QPainter>

namespace {

template <typename Player>
ViewerStatus renderWith(Player& player, QImage& picture)
{
    QString error;
    if (!player.open(&error))
        return ViewerStatus::failure(error);
    QImage drawn(player.pictureSize(), QImage::Format_RGB32);
    if (drawn.isNull())
        return ViewerStatus::failure(QStringLiteral("there is not enough memory for the picture"));
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    player.play(painter);
    painter.end();
    picture = std::move(drawn);
    return ViewerStatus();
}

} // namespace

ViewerStatus MetafileRenderer::render(const QByteArray& bytes, QImage& picture)
{
    if (bytes.size() >= 44 && bytes.mid(40, 4) == " EMF") {
        EmfPlayer player(bytes);
        return renderWith(player, picture);
    }
    WmfPlayer player(bytes);
    return renderWith(player, picture);
}
