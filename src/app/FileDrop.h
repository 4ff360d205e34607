#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace ovex {

// The path of the one local file a drag carries, or nothing when it carries
// several, none, a folder, or anything that is not a local file.
std::optional<QString> DroppedFile(const QMimeData* mime);

// Lets a window take a dropped file: a drag of one local file is accepted and
// its drop handed to open once the drop has finished; any other drag of file
// names is refused, so the forbidden cursor shows. The window's text boxes
// are watched too, as they would otherwise paste the file name as text;
// plain text still drops into them as before.
class FileDropFilter final : public QObject
{
    Q_OBJECT
public:
    using Open = std::function<void(const QString& path)>;
    FileDropFilter(QWidget* window, Open open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    Open m_open;
};

} // namespace ovex
