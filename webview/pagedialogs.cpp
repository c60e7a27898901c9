#include "pagedialogs.h"

#include <QCoreApplication>
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
}

QString pagedialogs::siteName(const QUrl &url)
{
    if (url.scheme() == QLatin1String("file"))
        return tr("a file on this computer");
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString();
}

QString pagedialogs::permissionQuestion(const QUrl &origin, QWebEnginePage::Feature feature)
{
    const char *what = nullptr;
    switch (feature) {
    case QWebEnginePage::Geolocation:
        what = QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to know your location. Allow it?");
        break;
    case QWebEnginePage::Notifications:
        what = QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to show notifications. Allow it?");
        break;
    case QWebEnginePage::MediaAudioCapture:
        what = QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to use your microphone. Allow it?");
        break;
    case QWebEnginePage::MediaVideoCapture:
        what = QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to use your camera. Allow it?");
        break;
    case QWebEnginePage::MediaAudioVideoCapture:
        what = QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to use your camera and microphone. Allow it?");
        break;
    case QWebEnginePage::DesktopVideoCapture:
        what = QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to see your screen. Allow it?");
        break;
    case QWebEnginePage::DesktopAudioVideoCapture:
        what = QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to see your screen and hear its sound. Allow it?");
        break;
    case QWebEnginePage::MouseLock:
        what = QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to hide and take over your mouse pointer. Allow it?");
        break;
    }
    return what ? tr(what).arg(siteName(origin)) : QString();
}

QString pagedialogs::externalLinkQuestion(const QUrl &url)
{
    return tr("This link is to be opened by another program on your computer (a \"%1:\" link):\n\n%2\n\n"
              "Open it with that program?")
        .arg(url.scheme(), url.toString());
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
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::Question, QCoreApplication::applicationName(), question,
                        QMessageBox::Yes | QMessageBox::No, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    const int answer = box->exec();
    delete box.data();
    return answer == QMessageBox::Yes;
}

std::optional<pagedialogs::Credentials> pagedialogs::askCredentials(QWidget *parent, const QUrl &url,
                                                                   const QString &realm)
{
    QPointer<QDialog> dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("signIn"));
    dialog->setWindowTitle(tr("Sign in"));
    auto *form = new QFormLayout(dialog);
    auto *intro = new QLabel(realm.isEmpty()
                                 ? tr("The site %1 asks you to sign in.").arg(siteName(url))
                                 : tr("The site %1 asks you to sign in to \"%2\".").arg(siteName(url), realm),
                             dialog);
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    form->addRow(intro);
    auto *user = new QLineEdit(dialog);
    user->setObjectName(QStringLiteral("user"));
    auto *password = new QLineEdit(dialog);
    password->setObjectName(QStringLiteral("password"));
    password->setEchoMode(QLineEdit::Password);
    form->addRow(tr("&User name:"), user);
    form->addRow(tr("&Password:"), password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addRow(buttons);
    dialog->setMinimumWidth(420);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    std::optional<Credentials> given;
    if (dialog->exec() == QDialog::Accepted && dialog)
        given = Credentials{user->text(), password->text()};
    delete dialog.data();
    return given;
}
