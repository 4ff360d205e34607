#include "colour/PreviewScene.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace ovex {

namespace {

constexpr int MockWidth = MockSize.width();
constexpr int MockHeight = MockSize.height();

// The window-system parts of the mock, which no theme setting colours.
const QColor FrameColor(0x50, 0x50, 0x50);
const QColor TitleBackColor(0x3A, 0x3F, 0x44);
const QColor TitleTextColor(0xF0, 0xF0, 0xF0);
const QColor TitleButtonColor(0xA0, 0xA4, 0xA8);

constexpr int System = 27;
constexpr int User = 28;
constexpr int Menu = 29;
constexpr int Title = 30;
constexpr int Subtext = 31;

class Builder
{
public:
    explicit Builder(const PreviewTheme& theme) : m_theme(theme) {}

    void fill(const QRect& r, int color, int slot) { add(MockItem::Kind::Fill, r, color, slot); }
    void frame(const QRect& r, int color, int slot) { add(MockItem::Kind::Frame, r, color, slot); }
    void fixedFill(const QRect& r, const QColor& c, int slot = -1)
    {
        MockItem& item = add(MockItem::Kind::Fill, r, -1, slot);
        item.fixed = c;
    }
    void fixedFrame(const QRect& r, const QColor& c)
    {
        MockItem& item = add(MockItem::Kind::Frame, r, -1, -1);
        item.fixed = c;
    }
    void hline(int left, int right, int y, int color) { fill(QRect(QPoint(left, y), QPoint(right, y)), color, color); }
    void vline(int x, int top, int bottom, int color) { fill(QRect(QPoint(x, top), QPoint(x, bottom)), color, color); }

    // Text placed in box by align, in front's colour on back, which must be
    // what is drawn under it: a text can only be drawn as the front of a
    // checked pair. The item covers only the text itself. Cut first: laying
    // out a text costs time by its whole length.
    QRect text(const QRect& box, int align, int front, int back, int fontSlot, const QString& whole, int slot = -2)
    {
        const QRect covered = addText(box, align, fontSlot, whole, front, slot == -2 ? front : slot);
        m_mock.items.last().pair = PairIndex(front, back);
        return covered;
    }
    // Text the window system draws in its own colours.
    QRect fixedText(const QRect& box, int align, const QColor& c, int fontSlot, const QString& s, int slot)
    {
        const QRect covered = addText(box, align, fontSlot, s, -1, slot);
        m_mock.items.last().fixed = c;
        return covered;
    }

    // Something the user must see to use the window (a check mark, a focus
    // frame, a selection), drawn in front's colour on back.
    void mark(MockItem::Kind kind, const QRect& r, int front, int back)
    {
        add(kind, r, front, front).pair = PairIndex(front, back);
    }

    // A control's edge: the border, and the thin highlight line just inside it.
    void bordered(const QRect& r, int fillColor)
    {
        fill(r, fillColor, fillColor);
        frame(r, 2, 2);
        hline(r.left() + 1, r.right() - 1, r.top() + 1, 4);
        vline(r.left() + 1, r.top() + 1, r.bottom() - 1, 4);
    }

    Mock& mock() { return m_mock; }

private:
    QRect addText(const QRect& box, int align, int fontSlot, const QString& whole, int color, int slot)
    {
        const QString s = PreviewText(whole);
        const QFontMetrics metrics(PreviewFont(m_theme, fontSlot));
        const QRect covered = metrics.boundingRect(box, align | Qt::TextSingleLine, s) & box;
        MockItem& item = add(MockItem::Kind::Text, covered, color, slot);
        item.fontSlot = fontSlot;
        item.text = s;
        return covered;
    }

    MockItem& add(MockItem::Kind kind, const QRect& r, int color, int slot)
    {
        MockItem item;
        item.kind = kind;
        item.rect = r;
        item.color = color;
        item.slot = slot;
        m_mock.items.append(item);
        return m_mock.items.last();
    }

    const PreviewTheme& m_theme;
    Mock m_mock;
};

// Hovering a line one pixel thick should not need a steady hand.
bool hits(const MockItem& item, const QPoint& pos)
{
    if (item.slot < 0)
        return false;
    const QRect& r = item.rect;
    const QRect grown = r.adjusted(-1, -1, 1, 1);
    if (item.kind == MockItem::Kind::Frame)
        return grown.contains(pos) && !r.adjusted(2, 2, -2, -2).contains(pos);
    if (item.kind == MockItem::Kind::Fill && (r.width() <= 2 || r.height() <= 2))
        return grown.contains(pos);
    return r.contains(pos);
}

} // namespace

const MockItem* Mock::ItemAt(const QPoint& pos) const
{
    for (auto it = items.crbegin(); it != items.crend(); ++it) {
        if (hits(*it, pos))
            return &*it;
    }
    return nullptr;
}

const MockItem* Mock::FirstItemFor(int slot) const
{
    for (const MockItem& item : items) {
        if (item.slot == slot)
            return &item;
    }
    return nullptr;
}

int PreviewPixelSize(const PreviewTheme& theme, int sizeSlot)
{
    return int(std::lround(theme.PointSize(sizeSlot) * 96.0 / 72.0));
}

QFont PreviewFont(const PreviewTheme& theme, int sizeSlot)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(PreviewPixelSize(theme, sizeSlot));
    font.setBold(sizeSlot == Title);
    return font;
}

QColor ItemColor(const PreviewTheme& theme, const MockItem& item, VisionType vision)
{
    return item.color >= 0 ? theme.Color(item.color) : Simulate(item.fixed, vision);
}

namespace {

constexpr auto Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr auto Centre = Qt::AlignCenter;
constexpr int Right = MockWidth - 2;   // last pixel inside the window frame
constexpr int Bottom = MockHeight - 2;

// The font metrics every region lays out with.
struct Metrics
{
    explicit Metrics(const PreviewTheme& theme)
        : title(PreviewFont(theme, Title)), menu(PreviewFont(theme, Menu)), system(PreviewFont(theme, System)),
          user(PreviewFont(theme, User)), sub(PreviewFont(theme, Subtext))
    {
    }
    QFontMetrics title;
    QFontMetrics menu;
    QFontMetrics system;
    QFontMetrics user;
    QFontMetrics sub;
};

// Where the warning for a pair goes, where its first item is not the place.
void placeMark(Mock& mock, int front, int back, const QRect& r)
{
    mock.pairPlaces[PairIndex(front, back)] = r;
}

// Drawn by the window system; only its text size is themed.
QRect addTitleBar(Builder& b, const Metrics& fm, const QString& name)
{
    b.fixedFill(QRect(0, 0, MockWidth, MockHeight), FrameColor);
    const QRect titleBar(1, 1, MockWidth - 2, fm.title.height() + 8);
    b.fixedFill(titleBar, TitleBackColor, Title);
    const int buttonsLeft = Right - 3 * 18 - 4;
    for (int k = 0; k < 3; ++k)
        b.fixedFrame(QRect(buttonsLeft + 18 * k + 4, titleBar.center().y() - 5, 11, 11), TitleButtonColor);
    const QRect titleBox(titleBar.left() + 8, titleBar.top(), buttonsLeft - titleBar.left() - 16, titleBar.height());
    const QString caption = fm.title.elidedText(PreviewText(name) + QStringLiteral(" \u2013 Ovex Chat"),
                                                Qt::ElideRight, titleBox.width());
    b.fixedText(titleBox, Left, TitleTextColor, Title, caption, Title);
    return titleBar;
}

struct MenuBar
{
    QRect bar;
    QRect openTitle;   // Help, the open menu's title
};

MenuBar addMenuBar(Builder& b, const Metrics& fm, const QRect& titleBar)
{
    MenuBar m{QRect(1, titleBar.bottom() + 1, MockWidth - 2, fm.menu.height() + 6), {}};
    b.fill(m.bar, 19, 19);
    b.hline(m.bar.left(), m.bar.right(), m.bar.top(), 10);
    int x = m.bar.left() + 4;
    for (const QString& name : {QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("View"), QStringLiteral("Help")}) {
        const QRect box(x, m.bar.top() + 1, fm.menu.horizontalAdvance(name) + 16, m.bar.height() - 1);
        if (name == QStringLiteral("Help")) {
            m.openTitle = box;
            b.fill(box, 21, 21);
            b.text(box, Centre, 22, 21, Menu, name);
        } else {
            b.text(box, Centre, 20, 19, Menu, name);
        }
        x = box.right() + 1;
    }
    return m;
}

// The Help menu, open above the form.
void addOpenMenu(Builder& b, const Metrics& fm, const MenuBar& menuBar)
{
    const QStringList entries = {QStringLiteral("Help Topics"), QStringLiteral("Keyboard Shortcuts"),
                                 QStringLiteral("Check for Updates"), QString(), QStringLiteral("About Ovex Chat")};
    int popupWidth = 0;
    for (const QString& entry : entries)
        popupWidth = std::max(popupWidth, fm.menu.horizontalAdvance(entry) + 36);
    const int itemHeight = fm.menu.height() + 6;
    constexpr int SeparatorHeight = 8;
    const int popupHeight = 4 * itemHeight + SeparatorHeight + 4;
    const int popupLeft = std::min(menuBar.openTitle.left(), Right - popupWidth);
    const QRect popup(popupLeft, menuBar.bar.bottom() + 1, popupWidth, popupHeight);
    b.fill(popup, 19, 19);
    b.frame(popup, 9, 9);
    b.hline(popup.left() + 1, popup.right() - 1, popup.top() + 1, 10);
    b.vline(popup.left() + 1, popup.top() + 1, popup.bottom() - 1, 10);
    int y = popup.top() + 2;
    for (qsizetype k = 0; k < entries.size(); ++k) {
        if (entries[k].isEmpty()) {
            b.hline(popup.left() + 3, popup.right() - 3, y + 3, 25);
            b.hline(popup.left() + 3, popup.right() - 3, y + 4, 24);
            y += SeparatorHeight;
            continue;
        }
        const QRect item(popup.left() + 2, y, popup.width() - 4, itemHeight);
        const QRect textBox = item.adjusted(16, 0, -4, 0);
        if (k == 1) {
            b.fill(item, 21, 21);
            b.text(textBox, Left, 22, 21, Menu, entries[k]);
            placeMark(b.mock(), 22, 21, item);
        } else {
            b.text(textBox, Left, k == 2 ? 23 : 20, 19, Menu, entries[k]);
        }
        y += itemHeight;
    }
}

// The Lobby tab (open) and the Help tab; returns the open one.
QRect addTabs(Builder& b, const Metrics& fm, const QRect& form)
{
    const int tabTop = form.top() + 6;
    const int tabHeight = fm.system.height() + 8;
    const QRect lobbyTab(8, tabTop, fm.system.horizontalAdvance(QStringLiteral("Lobby")) + 20, tabHeight);
    const QRect helpTab(lobbyTab.right() + 1, tabTop + 2, fm.system.horizontalAdvance(QStringLiteral("Help")) + 20, tabHeight - 2);
    b.fill(helpTab, 1, 1);
    b.frame(helpTab, 2, 2);
    b.text(helpTab, Centre, 12, 1, System, QStringLiteral("Help"));
    b.hline(lobbyTab.left(), Right - 7, lobbyTab.bottom(), 1);
    b.hline(lobbyTab.left(), lobbyTab.right(), lobbyTab.top(), 2);
    b.vline(lobbyTab.left(), lobbyTab.top(), lobbyTab.bottom(), 2);
    b.vline(lobbyTab.right(), lobbyTab.top(), lobbyTab.bottom(), 2);
    b.fill(lobbyTab.adjusted(1, 1, -1, 0), 0, 0);
    b.hline(lobbyTab.left() + 1, lobbyTab.right() - 1, lobbyTab.top() + 1, 4);
    b.text(lobbyTab, Centre, 12, 0, System, QStringLiteral("Lobby"));
    return lobbyTab;
}

// The chat log with its scroll bar, and the list of users with one selected.
void addChatLog(Builder& b, const Metrics& fm, int top, int bottom)
{
    const QStringList users = {QStringLiteral("alice"), QStringLiteral("bob"), QStringLiteral("carol"), QStringLiteral("dave")};
    int listWidth = 110;
    for (const QString& user : users)
        listWidth = std::max(listWidth, fm.user.horizontalAdvance(user) + 24);
    const QRect log(8, top, MockWidth - 8 - 8 - listWidth - 8, bottom - top + 1);
    const QRect list(log.right() + 9, top, listWidth, log.height());

    b.bordered(log, 18);
    const QRect logInner = log.adjusted(2, 2, -2, -2);
    const QRect scrollBar(logInner.right() - 15, logInner.top(), 16, logInner.height());
    b.fill(scrollBar, 0, 0);
    b.vline(scrollBar.left(), scrollBar.top(), scrollBar.bottom(), 1);
    const QRect slider(scrollBar.left() + 2, scrollBar.top() + 6, 13, std::max(16, scrollBar.height() / 3));
    b.mark(MockItem::Kind::Fill, slider, 8, 0);
    b.frame(slider, 9, 9);
    const QStringList chat = {QStringLiteral("alice: hi all"), QStringLiteral("bob: hello alice!"),
                              QStringLiteral("carol: nice theme"), QStringLiteral("dave: can you read this?"),
                              QStringLiteral("alice: easily")};
    const int lineHeight = fm.user.height() + 2;
    for (qsizetype k = 0; k < chat.size(); ++k) {
        const QRect line(logInner.left() + 4, logInner.top() + 3 + int(k) * lineHeight, scrollBar.left() - logInner.left() - 8, lineHeight);
        if (line.bottom() > logInner.bottom())
            break;
        b.text(line, Left, 15, 18, User, chat[k]);
    }

    b.bordered(list, 18);
    const QRect listInner = list.adjusted(2, 2, -2, -2);
    for (qsizetype k = 0; k < users.size(); ++k) {
        const QRect row(listInner.left(), listInner.top() + 1 + int(k) * lineHeight, listInner.width(), lineHeight);
        if (row.bottom() > listInner.bottom())
            break;
        const bool selected = k == 1;
        if (selected) {
            b.mark(MockItem::Kind::Fill, row, 16, 18);
            placeMark(b.mock(), 17, 16, row);
        }
        b.text(row.adjusted(6, 0, 0, 0), Left, selected ? 17 : 15, selected ? 16 : 18, User, users[k]);
    }
}

// Label, text field with a selection, Send (focused) and a disabled button;
// returns Send, which the tool tip points at.
QRect addMessageRow(Builder& b, const Metrics& fm, const QRect& row)
{
    const int rowMiddle = row.center().y();
    const QRect sayBox(row.left(), row.top(), fm.system.horizontalAdvance(QStringLiteral("Say:")) + 1, row.height());
    b.text(sayBox, Left, 11, 0, System, QStringLiteral("Say:"));
    const int connectWidth = fm.system.horizontalAdvance(QStringLiteral("Connect")) + 24;
    const int sendWidth = fm.system.horizontalAdvance(QStringLiteral("Send")) + 28;
    const int buttonHeight = fm.system.height() + 10;
    const QRect connect(row.right() - connectWidth + 1, rowMiddle - buttonHeight / 2, connectWidth, buttonHeight);
    const QRect send(connect.left() - 6 - sendWidth, connect.top(), sendWidth, buttonHeight);
    const QRect field(sayBox.right() + 7, row.top(), send.left() - 8 - sayBox.right() - 7, row.height());

    b.bordered(field, 18);
    const QString typed = QStringLiteral("Hello ");
    const QString selectedWord = QStringLiteral("everyone");
    // Large fonts can leave the field narrower than its text: what is typed
    // stays inside its border.
    const QRect inside = field.adjusted(2, 2, -2, -2);
    const QRect typedBox = QRect(field.left() + 5, field.top(), fm.user.horizontalAdvance(typed), field.height()) & inside;
    b.text(typedBox, Left, 15, 18, User, typed);
    const QRect selection = QRect(typedBox.right() + 1, field.center().y() - fm.user.height() / 2,
                                  fm.user.horizontalAdvance(selectedWord) + 1, fm.user.height()) & inside;
    b.mark(MockItem::Kind::Fill, selection, 16, 18);
    // The list's selection holds the other highlight pair: two marks would overlap there.
    placeMark(b.mock(), 16, 18, selection);
    b.text(selection, Left, 17, 16, User, selectedWord);

    b.bordered(send, 0);
    const QRect focus = send.adjusted(3, 3, -3, -3);
    b.mark(MockItem::Kind::Frame, focus, 26, 0);
    placeMark(b.mock(), 12, 0, b.text(send, Centre, 12, 0, System, QStringLiteral("Send")));

    b.fill(connect, 5, 5);
    b.frame(connect, 1, 1);
    b.text(connect, Centre, 13, 5, System, QStringLiteral("Connect"));
    return send;
}

// A ticked check box, a combo box, a disabled label.
void addControlRow(Builder& b, const Metrics& fm, const QRect& row)
{
    const int boxSide = std::clamp(fm.system.height() - 2, 13, 24);
    const QRect checkBox(row.left(), row.center().y() - boxSide / 2, boxSide, boxSide);
    b.bordered(checkBox, 0);
    b.mark(MockItem::Kind::Check, checkBox.adjusted(3, 3, -3, -3), 3, 0);
    const QRect soundBox(checkBox.right() + 6, row.top(), fm.system.horizontalAdvance(QStringLiteral("Sound")) + 1, row.height());
    b.text(soundBox, Left, 12, 0, System, QStringLiteral("Sound"));

    const QRect statusLabel(soundBox.right() + 20, row.top(), fm.system.horizontalAdvance(QStringLiteral("Status:")) + 1, row.height());
    b.text(statusLabel, Left, 11, 0, System, QStringLiteral("Status:"));
    const int arrowWidth = row.height() - 4;
    const QRect combo(statusLabel.right() + 7, row.top(), fm.system.horizontalAdvance(QStringLiteral("Available")) + 16 + arrowWidth, row.height());
    b.bordered(combo, 0);
    b.text(combo.adjusted(6, 0, -arrowWidth, 0), Left, 12, 0, System, QStringLiteral("Available"));
    const QRect arrowButton(combo.right() - arrowWidth, combo.top() + 2, arrowWidth - 1, combo.height() - 4);
    b.vline(arrowButton.left(), arrowButton.top(), arrowButton.bottom(), 2);
    b.mark(MockItem::Kind::Arrow, QRect(0, 0, 9, 5).translated(arrowButton.center() - QPoint(3, 2)), 3, 0);

    const QRect proxy(combo.right() + 20, row.top(), row.right() - combo.right() - 20, row.height());
    b.text(proxy, Left, 14, 0, System, QStringLiteral("Proxy port: 8080"));
}

void addStatusLine(Builder& b, const QRect& status)
{
    b.text(status, Left, 11, 0, Subtext, QStringLiteral("4 users in the Lobby, connected since 12:04"), Subtext);
}

// A tool tip for the Send button, above it.
void addToolTip(Builder& b, const Metrics& fm, const QRect& send)
{
    const QString tip = QStringLiteral("Send the message");
    const QSize tipSize(fm.system.horizontalAdvance(tip) + 12, fm.system.height() + 6);
    const QRect tipRect(QPoint(send.center().x() - tipSize.width(), send.top() - 8 - tipSize.height()), tipSize);
    b.fill(tipRect, 6, 6);
    b.frame(tipRect, 7, 7);
    b.text(tipRect, Centre, 7, 6, System, tip);
}

} // namespace

Mock BuildMock(const PreviewTheme& theme)
{
    Builder b(theme);
    b.mock().size = MockSize;
    const Metrics fm(theme);

    const QRect titleBar = addTitleBar(b, fm, theme.name);
    const MenuBar menuBar = addMenuBar(b, fm, titleBar);

    // The form, in the control colour, laid out from the bottom up: status
    // line, control row, message row; the tabs and the chat fill the rest.
    const QRect form(1, menuBar.bar.bottom() + 1, MockWidth - 2, Bottom - menuBar.bar.bottom());
    b.fill(form, 0, 0);
    const QRect status(8, Bottom - 4 - fm.sub.height(), MockWidth - 16, fm.sub.height());
    const int controlRowHeight = std::max(fm.system.height() + 8, 20);
    const QRect controlRow(8, status.top() - 6 - controlRowHeight, MockWidth - 16, controlRowHeight);
    const int messageRowHeight = std::max(fm.user.height(), fm.system.height()) + 10;
    const QRect messageRow(8, controlRow.top() - 6 - messageRowHeight, MockWidth - 16, messageRowHeight);

    const QRect lobbyTab = addTabs(b, fm, form);
    addChatLog(b, fm, lobbyTab.bottom() + 6, messageRow.top() - 8);
    const QRect send = addMessageRow(b, fm, messageRow);
    addControlRow(b, fm, controlRow);
    addStatusLine(b, status);
    addOpenMenu(b, fm, menuBar);
    addToolTip(b, fm, send);

    Mock& mock = b.mock();
    for (const MockItem& item : std::as_const(mock.items)) {
        if (item.pair >= 0 && mock.pairPlaces[item.pair].isNull())
            mock.pairPlaces[item.pair] = item.rect;
    }
    return mock;
}

void PaintMock(QPainter& painter, const PreviewTheme& theme, const Mock& mock, VisionType vision)
{
    QHash<int, QFont> fonts;
    for (const MockItem& item : mock.items) {
        const QColor color = ItemColor(theme, item, vision);
        const QRect& r = item.rect;
        switch (item.kind) {
        case MockItem::Kind::Fill:
            painter.fillRect(r, color);
            break;
        case MockItem::Kind::Frame:
            painter.fillRect(QRect(r.topLeft(), QSize(r.width(), 1)), color);
            painter.fillRect(QRect(r.bottomLeft(), QSize(r.width(), 1)), color);
            painter.fillRect(QRect(r.topLeft(), QSize(1, r.height())), color);
            painter.fillRect(QRect(r.topRight(), QSize(1, r.height())), color);
            break;
        case MockItem::Kind::Text: {
            auto font = fonts.find(item.fontSlot);
            if (font == fonts.end())
                font = fonts.insert(item.fontSlot, PreviewFont(theme, item.fontSlot));
            painter.setFont(*font);
            painter.setPen(color);
            painter.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item.text);
            break;
        }
        case MockItem::Kind::Arrow: {
            QPainterPath arrow;
            arrow.moveTo(r.left(), r.top());
            arrow.lineTo(r.right() + 1, r.top());
            arrow.lineTo(r.center().x() + 0.5, r.bottom() + 1);
            arrow.closeSubpath();
            painter.fillPath(arrow, color);
            break;
        }
        case MockItem::Kind::Check: {
            // Drawn pixel by pixel, two deep: crisp at this size.
            const int low = r.left() + r.width() / 3;
            const int mid = r.top() + r.height() / 2;
            for (int x = r.left(); x <= r.right(); ++x) {
                const int y = x <= low ? mid + (x - r.left()) * (r.bottom() - mid) / std::max(1, low - r.left())
                                       : r.bottom() - (x - low) * (r.bottom() - r.top()) / std::max(1, r.right() - low);
                painter.fillRect(QRect(x, y - 1, 1, 2), color);
            }
            break;
        }
        }
    }
}

} // namespace ovex
