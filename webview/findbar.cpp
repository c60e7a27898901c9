#include "findbar.h"

#include "pdfpageview.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
#include <QPdfLink>
#include <QPdfSearchModel>
#endif

#include <algorithm>

FindBar::FindBar(QWebEnginePage *page, QWidget *parent)
    : QWidget(parent), m_page(page), m_field(new QLineEdit(this)), m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("findBar"));
    setAccessibleName(tr("Find in page"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    auto *label = new QLabel(tr("&Find:"), this);
    label->setBuddy(m_field);
    m_field->setObjectName(QStringLiteral("findText"));
    m_field->setAccessibleName(tr("Find"));
    m_field->setClearButtonEnabled(true);
    for (QToolButton *clear : m_field->findChildren<QToolButton *>())
        clear->setAccessibleName(tr("Clear"));
    m_field->installEventFilter(this);
    m_count->setObjectName(QStringLiteral("findCount"));
    m_count->setTextFormat(Qt::PlainText);
    // Alt and a letter press them, as every button; P is the Page menu's.
    auto *previous = new QPushButton(tr("P&revious"), this);
    auto *next = new QPushButton(tr("&Next"), this);
    auto *close = new QPushButton(tr("Close"), this);
    for (QPushButton *button : {previous, next, close})
        button->setAutoDefault(false);
    row->addWidget(label);
    row->addWidget(m_field, 1);
    row->addWidget(m_count);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(close);
    connect(m_field, &QLineEdit::textEdited, this, [this] { find(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findAgain(true); });
    connect(next, &QPushButton::clicked, this, [this] { findAgain(false); });
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
    connect(page, &QWebEnginePage::findTextFinished, this, [this](const QWebEngineFindTextResult &result) {
        showResult(result);
    });
    // F3 and Shift+F3 work while the bar is open, the focus in the page too.
    for (const Key &key : keys()) {
        auto *shortcut = new QShortcut(key.keys, parent, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, backward = key.backward] {
            if (isVisible())
                findAgain(backward);
        });
    }
    hide();
}

const std::vector<FindBar::Key> &FindBar::keys()
{
    static const std::vector<Key> table = {
        {QT_TRANSLATE_NOOP("FindBar", "Find Next"), QKeySequence::FindNext, false},
        {QT_TRANSLATE_NOOP("FindBar", "Find Previous"), QKeySequence::FindPrevious, true},
    };
    return table;
}

void FindBar::open()
{
    const bool wasOpen = isVisible();
    show();
    m_field->selectAll();
    m_field->setFocus(Qt::ShortcutFocusReason);
    // Reopened on the last word, the bar counts it again in the page as it
    // is now, rather than show what it said before it closed.
    if (!wasOpen && !m_field->text().isEmpty())
        find(false);
}

QString FindBar::countText() const
{
    return m_count->text();
}

void FindBar::findAgain(bool backward)
{
    if (!m_field->text().isEmpty())
        find(backward);
}

void FindBar::searchPdf(QPdfDocument *document, PdfPageView *pages)
{
    if (m_pages)
        m_pages->mark(-1, {});
    m_pages = document ? pages : nullptr;
    m_count->clear();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    delete m_pdfSearch;
    m_pdfSearch = nullptr;
    if (!m_pages)
        return;
    // The document is searched a page at a time; the count follows.
    m_pdfSearch = new QPdfSearchModel(this);
    m_pdfSearch->setDocument(document);
    connect(m_pdfSearch, &QAbstractItemModel::rowsInserted, this, [this] { showPdfMatch(); });
    connect(m_pdfSearch, &QAbstractItemModel::modelReset, this, [this] { showPdfMatch(); });
#endif
}

void FindBar::showPdfMatch()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    const int matches = m_pdfSearch && !m_field->text().isEmpty() ? m_pdfSearch->rowCount(QModelIndex()) : 0;
    if (matches == 0) {
        m_pages->mark(-1, {});
        m_count->setText(m_field->text().isEmpty() || isHidden() ? QString() : tr("Not found"));
        return;
    }
    m_pdfMatch = std::clamp(m_pdfMatch, 0, matches - 1);
    const QPdfLink match = m_pdfSearch->resultAtIndex(m_pdfMatch);
    m_pages->mark(match.page(), match.rectangles());
    m_count->setText(tr("%1 of %2").arg(m_pdfMatch + 1).arg(matches));
#endif
}

void FindBar::find(bool backward)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (m_pdfSearch) {
        if (m_pdfSearch->searchString() != m_field->text()) {
            m_pdfMatch = 0;
            m_pdfSearch->setSearchString(m_field->text());
        } else if (const int matches = m_pdfSearch->rowCount(QModelIndex()); matches > 0) {
            m_pdfMatch = (m_pdfMatch + (backward ? matches - 1 : 1)) % matches;
        }
        showPdfMatch();
        return;
    }
#endif
    if (m_field->text().isEmpty()) {
        m_page->findText(QString());
        m_count->clear();
        return;
    }
    m_page->findText(m_field->text(), backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void FindBar::showResult(const QWebEngineFindTextResult &result)
{
    // Ending a search reports no matches; a closed bar has nothing to say.
    if (isHidden())
        m_count->clear();
    else if (m_field->text().isEmpty())
        m_count->clear();
    else if (result.numberOfMatches() == 0)
        m_count->setText(tr("Not found"));
    else
        m_count->setText(tr("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
}

void FindBar::close()
{
    // Ending the search leaves the match it was on selected.
    hide();
    m_count->clear();
    if (!m_pages)
        m_page->findText(QString());
    emit closed();
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter || key->key() == Qt::Key_Escape) {
            // The bar's own keys, before any key of the window's.
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                if (enter)
                    findAgain(key->modifiers() & Qt::ShiftModifier);
                else
                    close();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
