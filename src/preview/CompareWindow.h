#pragma once

#include "colour/PreviewTheme.h"
#include "theme/ThemeState.h"

#include <QWidget>

class QTreeWidget;

namespace ovex {

class ReadableText;
class PictureView;

// One of the two themes compared, under a title ("Solarized Dark", or the
// theme being edited).
struct CompareSide
{
    QString title;
    ThemeState state;
};

// "Compare Themes": two themes side by side, each drawn with its grade and
// failing pairs, above every setting they write differently with both
// values and, for colours, how far apart they are.
class CompareWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit CompareWindow(QWidget* parent);

    void SetSides(const CompareSide& left, const CompareSide& right);
    QTreeWidget* Differences() const { return m_differences; }

private:
    struct Column
    {
        ReadableText* title;
        PictureView* picture;
        ReadableText* grade;
    };
    Column makeColumn(int side);
    void showSide(const Column& column, const CompareSide& side, const PreviewTheme& theme);

    Column m_columns[2];
    ReadableText* m_summary = nullptr;
    QTreeWidget* m_differences = nullptr;
};

// A picture of a theme, drawn in paintEvent.
class PictureView final : public QWidget
{
    Q_OBJECT
public:
    PictureView(const QSize& size, QWidget* parent);
    void SetImage(const QImage& image);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};

} // namespace ovex
