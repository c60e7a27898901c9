#include "accessibleroot.h"

#include <QAccessible>
#include <QAccessibleApplication>
#include <QGuiApplication>
#include <QWindow>

namespace {
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)

// The application as Qt presents it, its windows limited to those the window
// system has: a window never made there is not one the user can reach.
class ScreenWindowsRoot : public QAccessibleApplication
{
public:
    int childCount() const override { return int(windows().size()); }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(windows().indexOf(child->object())) : -1;
    }

    QAccessibleInterface *child(int index) const override
    {
        const QObjectList shown = windows();
        return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown.at(index)) : nullptr;
    }

private:
    // Qt's own choice (no popups), in its order, less the windows that have
    // no window in the window system.
    static QObjectList windows()
    {
        QObjectList list;
        const QWindowList all = QGuiApplication::topLevelWindows();
        for (QWindow *window : all) {
            if (!window->handle() || window->type() == Qt::Popup)
                continue;
            if (QAccessibleInterface *root = window->accessibleRoot(); root && root->object())
                list.append(root->object());
        }
        return list;
    }
};

QAccessibleInterface *screenWindowsRoot(const QString &, QObject *object)
{
    if (object && object == QCoreApplication::instance() && qobject_cast<QGuiApplication *>(object))
        return new ScreenWindowsRoot;
    return nullptr;
}

#endif
} // namespace

void accessibleroot::install()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    // Qt asks the factories before it makes its own root; a factory is
    // installed once however often this is called.
    QAccessible::installFactory(screenWindowsRoot);
    // A root Qt made before then is kept until the program ends: it goes,
    // and the next question finds this one.
    QObject *application = QCoreApplication::instance();
    QAccessibleInterface *root = application ? QAccessible::queryAccessibleInterface(application) : nullptr;
    if (root && !dynamic_cast<ScreenWindowsRoot *>(root))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(root));
#endif
}
