#include "pagedialogs.h"

#include "errorpolicy.h"
#include "siteaddress.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QVBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("pagedialogs", text);
}

// Characters of an address on one line of a question.
constexpr int AddressLine = 64;

// What a page's own dialog says first: whose it is, whole, where no window
// manager shortens it as it does a title.
QString headed(const QUrl &origin, const QString &text)
{
    // Named in full: lupdate does not see this file's own tr() outside pagedialogs.
    const QString says = origin.host().isEmpty()
        ? QCoreApplication::translate("pagedialogs", "This page says")
        : QCoreApplication::translate("pagedialogs", "%1 says").arg(siteaddress::origin(origin));
    return says + QLatin1String("\n\n") + text;
}

// A message box of the program's about a page: its text is plain, and from
// the page's second dialog on it offers to stop the page's dialogs.
QMessageBox *pageBox(QWidget *parent, const QUrl &origin, const QString &text, QMessageBox::StandardButtons buttons,
                     bool offerStop)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, pagedialogs::siteName(origin), headed(origin, text), buttons,
                                parent);
    box->setObjectName(QStringLiteral("pageDialog"));
    box->setTextFormat(Qt::PlainText);
    if (offerStop)
        box->setCheckBox(new QCheckBox(
            QCoreApplication::translate("pagedialogs", "Don't let this page show more dialogs"), box));
    return box;
}

bool stopTicked(QMessageBox *box)
{
    return box->checkBox() && box->checkBox()->isChecked();
}
}

QString pagedialogs::siteName(const QUrl &url)
{
    if (url.scheme() == QLatin1String("file"))
        return tr("a file on this computer");
    // Its host as it cannot be taken for another's.
    return siteaddress::wholeAddress(url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment));
}

QString pagedialogs::frameName(const QUrl &asker, const QUrl &top)
{
    return tr("%1 (a frame on %2)").arg(siteName(asker), siteName(top));
}

QString pagedialogs::passkeyNotice(const QUrl &url)
{
    return tr("The site %1 asked for a passkey or a security key. Velmora cannot use them yet, so the request "
              "was cancelled.")
        .arg(siteName(url));
}

QString pagedialogs::externalLinkQuestion(const QUrl &url)
{
    // The whole address, as ASCII: no control or bidirectional character can
    // reorder or hide a part of it. Long ones are broken into lines.
    const QString address = QString::fromLatin1(url.toEncoded(QUrl::FullyEncoded));
    QStringList lines;
    for (int at = 0; at < address.size(); at += AddressLine)
        lines << address.mid(at, AddressLine);
    return tr("This link is to be opened by another program on your computer (a \"%1:\" link):\n\n%2\n\n"
              "Open it with that program?")
        .arg(url.scheme(), lines.join(u'\n'));
}

QString pagedialogs::certificateNotice(const QUrl &url)
{
    return tr("The certificate of %1 is not trusted, so the page was not opened.\n\n"
              "Someone may be pretending to be that site.")
        .arg(siteName(url));
}

QString pagedialogs::rendererGoneNotice()
{
    return tr("This page stopped working.\n\nPress Refresh to load it again.");
}

bool pagedialogs::askYesNo(QWidget *parent, const QString &question)
{
    auto *box = new QMessageBox(QMessageBox::Question, QCoreApplication::applicationName(), question,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return runDialog(box) == QMessageBox::Yes;
}

bool pagedialogs::showPageMessage(QWidget *parent, const QUrl &origin, const QString &text, bool offerStop,
                                  bool *stop)
{
    QMessageBox *box = pageBox(parent, origin, text, QMessageBox::Ok, offerStop);
    QObject::connect(box, &QMessageBox::buttonClicked, box, [box, stop] { *stop = stopTicked(box); });
    runDialog(box);
    return true;
}

bool pagedialogs::askPageQuestion(QWidget *parent, const QUrl &origin, const QString &text, bool offerStop,
                                  bool *stop)
{
    QMessageBox *box = pageBox(parent, origin, text, QMessageBox::Ok | QMessageBox::Cancel, offerStop);
    box->setEscapeButton(QMessageBox::Cancel);
    QObject::connect(box, &QMessageBox::buttonClicked, box, [box, stop] { *stop = stopTicked(box); });
    return runDialog(box) == QMessageBox::Ok;
}

std::optional<QString> pagedialogs::askPageText(QWidget *parent, const QUrl &origin, const QString &text,
                                                const QString &value, bool offerStop, bool *stop)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("pageDialog"));
    dialog->setWindowTitle(siteName(origin));
    auto *form = new QVBoxLayout(dialog);
    auto *label = new QLabel(headed(origin, text), dialog);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto *field = new QLineEdit(value, dialog);
    form->addWidget(label);
    form->addWidget(field);
    QCheckBox *stopBox = nullptr;
    if (offerStop) {
        stopBox = new QCheckBox(tr("Don't let this page show more dialogs"), dialog);
        form->addWidget(stopBox);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::finished, dialog, [stopBox, stop] { *stop = stopBox && stopBox->isChecked(); });
    std::optional<QString> given;
    runDialog(dialog, [&] { given = field->text(); });
    return given;
}

std::optional<pagedialogs::Credentials> pagedialogs::askCredentials(QWidget *parent, const QString &asker,
                                                                   const QString &realm, bool refusedBefore,
                                                                   const QString &user)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("signIn"));
    dialog->setWindowTitle(tr("Sign in"));
    auto *form = new QFormLayout(dialog);
    auto *intro = new QLabel(realm.isEmpty()
                                 ? tr("The site %1 asks you to sign in.").arg(asker)
                                 : tr("The site %1 asks you to sign in to \"%2\".").arg(asker, realm),
                             dialog);
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    if (refusedBefore) {
        auto *refused = new QLabel(tr("The user name or password was not accepted. Try again."), dialog);
        refused->setObjectName(QStringLiteral("refused"));
        refused->setTextFormat(Qt::PlainText);
        refused->setWordWrap(true);
        form->addRow(refused);
    }
    form->addRow(intro);
    auto *name = new QLineEdit(user, dialog);
    name->setObjectName(QStringLiteral("user"));
    auto *password = new QLineEdit(dialog);
    password->setObjectName(QStringLiteral("password"));
    password->setEchoMode(QLineEdit::Password);
    form->addRow(tr("&User name:"), name);
    form->addRow(tr("&Password:"), password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addRow(buttons);
    dialog->setMinimumWidth(420);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    std::optional<Credentials> given;
    // After a refusal the user name usually stood: the keys go to the password.
    if (!user.isEmpty())
        password->setFocus(Qt::OtherFocusReason);
    runDialog(dialog, [&] { given = Credentials{name->text(), password->text()}; });
    return given;
}
