#include "errorpolicy.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QtGlobal>

#include <exception>

void logUnexpectedFailure() noexcept
{
    const std::exception_ptr failure = std::current_exception();
    if (!failure)
        return;
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const ExpectedFailure &) {
        } catch (const std::exception &e) {
            qWarning("Unexpected failure dropped: %s", e.what());
        } catch (...) {
            qWarning("Unexpected failure dropped: an exception of unknown type");
        }
    } catch (...) {
        // Logging itself failed (no memory, say): nothing more can be done.
    }
}

void tellUser(QWidget *parent, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                                parent);
    // Texts carry file names, printer names and what the system said: none of
    // it is markup.
    box->setTextFormat(Qt::PlainText);
    runDialog(box);
}

int runDialog(QDialog *dialog, const std::function<void()> &accepted)
{
    QPointer<QDialog> guard(dialog);
    int result = dialog->exec();
    if (!guard)
        return QDialog::Rejected;
    if (result == QDialog::Accepted && accepted)
        accepted();
    delete guard.data();
    return result;
}
