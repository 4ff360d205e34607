#pragma once

#include "app/AppSetup.h"
#include "app/frmMain.h"
#include "preview/PreviewWindow.h"

#include <QApplication>
#include <QtTest>

#include <memory>

namespace ovex::test {

// A fresh editor with scripted dialogs and recorded messages; each test can
// make as many independent ones as it likes.
struct TestEditor
{
    FakeCommonDialog* cd = nullptr;
    FakeMessageBox* messages = nullptr;
    FakeWebOpener* web = nullptr;
    std::unique_ptr<frmMain> window;

    // recoveryFolder: where the window keeps recovery copies; none by default.
    explicit TestEditor(const QString& recoveryFolder = {})
    {
        auto cdFake = std::make_unique<FakeCommonDialog>();
        auto messagesFake = std::make_unique<FakeMessageBox>();
        auto webFake = std::make_unique<FakeWebOpener>();
        cd = cdFake.get();
        messages = messagesFake.get();
        web = webFake.get();
        window = std::make_unique<frmMain>(
            DesktopServices{std::move(cdFake), std::move(messagesFake), std::move(webFake), recoveryFolder});
    }

    frmMain* operator->() const { return window.get(); }
    Editor& editor() const { return window->editor(); }
    SettingSlots& slots() const { return window->editor().slots; }

    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        return window->findChild<T*>(name);
    }
    QAction* action(const QString& name) const { return window->findChild<QAction*>(name); }
};

// The top-level windows a user would see.
inline QList<QWidget*> visibleWindows()
{
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            windows << w;
    return windows;
}

// Shown and given the focus, as a user's click would.
inline bool ShowActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// View, Preview; the preview window it shows, or null.
inline PreviewWindow* OpenPreview(const TestEditor& ed)
{
    ed.action(QStringLiteral("mnuPreview"))->trigger();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<PreviewWindow*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

} // namespace ovex::test

// QTEST_MAIN with the program's own style and fonts.
#define OVEX_TEST_MAIN(TestClass)                                                                  \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        ovex::ConfigureApplication(app);                                                           \
        TestClass tc;                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
