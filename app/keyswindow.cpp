#include "keyswindow.h"

#include "twips.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

KeysWindow::KeysWindow(const QList<Shortcut> &shortcuts, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("keysWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Keyboard Shortcuts"));
    setFont(twips::dialogFont());
    m_list->setObjectName(QStringLiteral("keyList"));
    m_list->setAccessibleName(tr("Keyboard shortcuts"));
    m_list->setHeaderLabels({tr("Command"), tr("Keys")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setSectionsMovable(false);
    for (const Shortcut &shortcut : shortcuts) {
        QStringList keys;
        for (const QKeySequence &key : shortcut.keys)
            keys << key.toString(QKeySequence::NativeText);
        m_list->addTopLevelItem(new QTreeWidgetItem({shortcut.command, keys.join(QStringLiteral(", "))}));
    }
    m_list->setCurrentItem(m_list->topLevelItem(0));
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);
    // Every line in sight, without scrolling.
    const int rows = m_list->topLevelItemCount();
    const int frame = 2 * m_list->frameWidth();
    m_list->setMinimumSize(m_list->columnWidth(0) + m_list->columnWidth(1) + frame + 8,
                           m_list->header()->sizeHint().height() + rows * m_list->sizeHintForRow(0) + frame + 4);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *column = new QVBoxLayout(this);
    column->addWidget(m_list);
    column->addWidget(buttons);
    m_list->setFocus();
    adjustSize();
    twips::centreOnScreen(this);
}
