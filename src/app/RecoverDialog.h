#pragma once

#include "recovery/KeptCopies.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QThreadPool>

#include <functional>

class QListWidget;
class QPushButton;

namespace ovex {

class RecoveryKeeper;

// Edit, Recover Unsaved Themes: the ended work the keeper lists, newest
// first, each entry with a picture of the theme, its name, when it last
// changed and how it ended. Recover hands the selected entry to recover and
// closes; Discard removes it. The list follows the keeper's, and the
// pictures are drawn off the GUI thread once the list is first painted.
class RecoverDialog final : public QDialog
{
    Q_OBJECT
public:
    using Recover = std::function<bool(const QString& path)>;  // true: recovered

    RecoverDialog(RecoveryKeeper& keeper, Recover recover, QWidget* parent);
    ~RecoverDialog() override;

    // The size of an entry's picture.
    static QSize PictureSize();
    // True once every entry listed has its picture.
    bool PicturesDrawn() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();
    void drawPictures();
    void showPicture(const QString& path);
    void recoverSelected();
    void discardSelected();
    void updateButtons();

    RecoveryKeeper& m_keeper;
    Recover m_recover;
    QListWidget* m_list = nullptr;
    QPushButton* m_recoverButton = nullptr;
    QPushButton* m_discardButton = nullptr;
    QList<KeptCopy> m_shown;
    bool m_listShown = false;  // the list has been painted: pictures may be drawn
    QHash<QString, QPixmap> m_drawn;  // by the copy's path
    QStringList m_drawing;            // the paths being drawn, in order
    QThreadPool m_pool;
    QFutureWatcher<QImage> m_pictures;  // after the pool: goes first, waiting for it
};

} // namespace ovex
