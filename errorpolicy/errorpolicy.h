#pragma once

#include <QString>

#include <functional>
#include <stdexcept>
#include <utility>

class QDialog;
class QWidget;

// A failure the program expects and knows how to deal with: an operation
// that could not be done (no page to go back to, a print that failed).
// Anything else that is thrown is a fault.
class ExpectedFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    explicit ExpectedFailure(const QString &what) : std::runtime_error(what.toStdString()) {}
};

// Inside a catch block: writes the exception being handled to the log, unless
// it is an ExpectedFailure, so that a fault a handler drops leaves a trace.
void logUnexpectedFailure() noexcept;

// Runs one step of a handler that ignores errors: whatever the step throws is
// dropped, so the caller's next step still runs. Only an ExpectedFailure is
// dropped without a word in the log.
template <typename Step>
void ignoreErrors(Step &&step) noexcept
{
    try {
        std::forward<Step>(step)();
    } catch (...) {
        logUnexpectedFailure();
    }
}

// Wraps an event handler for connect(): whatever it throws is dropped as
// ignoreErrors drops it, so no exception ever leaves the Qt event loop. The
// signal's arguments are not passed on.
template <typename Handler>
auto handled(Handler handler)
{
    return [handler](auto &&...) { ignoreErrors(handler); };
}

// Tells the user `text` in a modal message box over `parent`, titled with the
// program's name: no icon, an OK button only, the text shown as the
// characters it holds.
void tellUser(QWidget *parent, const QString &text);

// Runs a modal dialog made with new, then deletes it. `accepted` runs while
// the dialog still exists, if it was accepted, to read what the user chose.
// Should the dialog's parent be deleted while it is open, the dialog goes
// with it: it is not deleted a second time and counts as rejected.
int runDialog(QDialog *dialog, const std::function<void()> &accepted = {});
