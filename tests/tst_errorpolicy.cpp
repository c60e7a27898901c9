#include "testmain.h"
#include "webview.h"
#include "widgetfixture.h"

#include <new>

namespace {
QStringList logged;
void keepMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    logged << text;
}
}

// The shared error policy: which failures are dropped without a word and
// which leave a line in the log, and the program's OK-only message box.
class TestErrorPolicy : public QObject
{
    Q_OBJECT

signals:
    void happened(int value);

private slots:
    void dropsAndLogs_data()
    {
        QTest::addColumn<int>("thrown");
        QTest::addColumn<QString>("log");
        QTest::newRow("nothing") << 0 << "";
        QTest::newRow("WebViewError") << 1 << "";
        QTest::newRow("std::runtime_error") << 2 << "Unexpected failure dropped: disk on fire";
        QTest::newRow("std::bad_alloc") << 3 << "Unexpected failure dropped: std::bad_alloc";
        QTest::newRow("an int") << 4 << "Unexpected failure dropped: an exception of unknown type";
    }
    void dropsAndLogs()
    {
        QFETCH(int, thrown);
        QFETCH(QString, log);
        const auto step = [thrown] {
            if (thrown == 1)
                throw WebViewError(QStringLiteral("There is no earlier page in the history."));
            if (thrown == 2)
                throw std::runtime_error("disk on fire");
            if (thrown == 3)
                throw std::bad_alloc();
            if (thrown == 4)
                throw 42;
        };
        logged.clear();
        qInstallMessageHandler(keepMessage);
        ignoreErrors(step);
        // A handler wrapped for connect() gets the same policy.
        const QObject receiver;
        connect(this, &TestErrorPolicy::happened, &receiver, handled(step));
        emit happened(1);
        qInstallMessageHandler(nullptr);
        QCOMPARE(logged, log.isEmpty() ? QStringList() : (QStringList{log, log}));
    }

    // Markup in a text (a file or printer name) is shown as it is written.
    void tellsTheUserInPlainText()
    {
        QWidget owner;
        owner.show();
        QStringList seen;
        DialogAnswer answer([&](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            seen << describeDialog(box) << (box->textFormat() == Qt::PlainText ? "plain" : "rich")
                 << (box->parentWidget() == &owner ? "owned" : "not owned");
            box->close();
        });
        tellUser(&owner, QStringLiteral("Printed to <b>x</b>.pdf."));
        QCOMPARE(seen, (QStringList{plainMessage("Printed to <b>x</b>.pdf."), "plain", "owned"}));
    }
};

VELMORA_TEST_MAIN(TestErrorPolicy)
#include "tst_errorpolicy.moc"
