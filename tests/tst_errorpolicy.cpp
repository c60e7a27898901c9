#include "testmain.h"
#include "webview.h"
#include "widgetfixture.h"

#include <QMessageBox>

#include <new>

namespace {
// What the program writes to the log while a test runs.
QStringList logged;
void keepMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    logged << text;
}
}

// The shared error policy: which failures a handler drops without a word,
// which it writes to the log, and the program's OK-only message box.
class TestErrorPolicy : public QObject
{
    Q_OBJECT

signals:
    void happened(int value, const QString &text);

private slots:
    void init()
    {
        logged.clear();
        qInstallMessageHandler(keepMessage);
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

    // Whatever a step throws is dropped and the next step runs; an expected
    // failure leaves no trace, anything else leaves one line in the log.
    void dropsAndLogs_data()
    {
        QTest::addColumn<int>("thrown");
        QTest::addColumn<QString>("log");
        QTest::newRow("nothing") << 0 << "";
        QTest::newRow("WebViewError") << 1 << "";
        QTest::newRow("ExpectedFailure") << 2 << "";
        QTest::newRow("std::runtime_error") << 3 << "Unexpected failure dropped: disk on fire";
        QTest::newRow("std::bad_alloc") << 4 << "Unexpected failure dropped: std::bad_alloc";
        QTest::newRow("an int") << 5 << "Unexpected failure dropped: an exception of unknown type";
    }
    void dropsAndLogs()
    {
        QFETCH(int, thrown);
        const auto step = [thrown] {
            switch (thrown) {
            case 1: throw WebViewError(QStringLiteral("There is no earlier page in the history."));
            case 2: throw ExpectedFailure("could not be done");
            case 3: throw std::runtime_error("disk on fire");
            case 4: throw std::bad_alloc();
            case 5: throw 42;
            }
        };
        int steps = 0;
        ignoreErrors([&] {
            ++steps;
            step();
        });
        ++steps;
        QCOMPARE(steps, 2);
        // An event handler wrapped for connect() gets the same policy and
        // lets nothing through to the event loop.
        const QMetaObject::Connection connection = connect(this, &TestErrorPolicy::happened, this, handled(step));
        emit happened(1, QStringLiteral("x"));
        disconnect(connection);
        QFETCH(QString, log);
        const QStringList twice = log.isEmpty() ? QStringList() : QStringList{log, log};
        QCOMPARE(logged, twice);
    }

    // Title, no icon, OK only; the text as the characters it holds.
    void tellsTheUser_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("sentence") << "The bookmark file is busy.";
        QTest::newRow("markup in a name") << "The page could not be printed to <b>x</b>.pdf.";
    }
    void tellsTheUser()
    {
        QFETCH(QString, text);
        QWidget owner;
        owner.show();
        Qt::TextFormat format = Qt::AutoText;
        QWidget *parent = nullptr;
        QStringList seen;
        DialogAnswer answer([&](QWidget *dialog) {
            seen << describeDialog(dialog);
            format = static_cast<QMessageBox *>(dialog)->textFormat();
            parent = dialog->parentWidget();
            dialog->close();
        });
        tellUser(&owner, text);
        QCOMPARE(seen, QStringList{plainMessage(text)});
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(parent, &owner);
    }
};

VELMORA_TEST_MAIN(TestErrorPolicy)
#include "tst_errorpolicy.moc"
