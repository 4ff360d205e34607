#pragma once

#include <QStyledItemDelegate>

namespace ovex {

class GalleryPictures;
class GalleryProxy;

// One entry of the gallery: the picture (the form colour while it is being
// drawn), the theme's name, and its grade as a mark and a few words.
class GalleryTile final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    GalleryTile(const GalleryProxy& proxy, GalleryPictures& pictures, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const GalleryProxy& m_proxy;
    GalleryPictures& m_pictures;
};

} // namespace ovex
