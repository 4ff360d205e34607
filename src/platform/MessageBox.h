#pragma once

#include <QList>
#include <QString>

namespace ovex {

// The style values the theme commands show a message with: 16 for a
// failure (critical icon), 64 for everything else (information icon).
enum class MessageStyle { Critical = 16, Information = 64 };

// A modal message with a text, a title and one OK button.
class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    virtual void Show(const QString& text, const QString& title, MessageStyle style) = 0;
};

class QtMessageBox final : public MessageBoxService
{
public:
    void Show(const QString& text, const QString& title, MessageStyle style) override;
};

// Records every message instead of showing it.
class FakeMessageBox final : public MessageBoxService
{
public:
    struct Message
    {
        QString text;
        QString title;
        MessageStyle style;
        friend bool operator==(const Message&, const Message&) = default;
    };

    void Show(const QString& text, const QString& title, MessageStyle style) override
    {
        m_shown.append({text, title, style});
    }
    const QList<Message>& Shown() const { return m_shown; }
    void Clear() { m_shown.clear(); }

private:
    QList<Message> m_shown;
};

} // namespace ovex
