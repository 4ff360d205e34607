#pragma once

#include "platform/CommonDialog.h"
#include "preview/CompareWindow.h"

#include <QPointer>
#include <QWidget>

class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;

namespace ovex {

struct Editor;
struct GalleryEntry;
class GalleryModel;
class GalleryPictures;
class GalleryProxy;

// "Theme Gallery": a free-standing, non-modal window showing every theme of
// a folder as a picture with its grade, following the folder while open. It
// imports nothing itself: the main window acts on ImportChosen. Compares two
// entries, or one with the theme an editor's controls hold. Deletes itself
// when closed.
class GalleryWindow final : public QWidget
{
    Q_OBJECT
public:
    GalleryWindow(const Editor& editor, const QString& folder, const QIcon& icon);

    void SetFolder(const QString& folder);

    GalleryModel* Model() const { return m_model; }
    GalleryProxy* Proxy() const { return m_proxy; }
    GalleryPictures* Pictures() const { return m_pictures; }
    QListView* View() const { return m_view; }
    QLineEdit* FilterBox() const { return m_filter; }
    QListWidget* RefusedList() const { return m_refused; }
    CompareWindow* Comparison() const { return m_compare; }

Q_SIGNALS:
    // Import this file, as File, Import would.
    void ImportChosen(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildButtons(QBoxLayout* layout);
    void importEntry(int row);
    void importChosen();
    void compareChosen();
    void compareWithEdited();
    void openFolder();
    void updateButtons();
    void updateStatus();
    void updateRefused();
    QList<int> selectedRows() const;
    CompareSide sideOf(const GalleryEntry& entry) const;
    void showComparison(const CompareSide& left, const CompareSide& right);

    const Editor& m_editor;
    // The folder dialog starts on the gallery's folder, not where Import starts.
    OwnStateDialog m_folderDialog;
    GalleryModel* m_model = nullptr;
    GalleryProxy* m_proxy = nullptr;
    GalleryPictures* m_pictures = nullptr;
    QLineEdit* m_filter = nullptr;
    QComboBox* m_order = nullptr;
    QLabel* m_folder = nullptr;
    QLabel* m_status = nullptr;
    QListView* m_view = nullptr;
    QLabel* m_refusedLabel = nullptr;
    QListWidget* m_refused = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_compareTwo = nullptr;
    QPushButton* m_compareEdited = nullptr;
    QPushButton* m_openFolder = nullptr;
    QPointer<CompareWindow> m_compare;
};

} // namespace ovex
