#include "notebar.h"
#include "pagefixture.h"
#include "pagerequest.h"
#include "publicsuffixes.h"
#include "siteanswers.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QSignalSpy>
#include <QWebEngineProfile>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

// What pages ask of the user and how often, with the real engine and a local
// server: sign-in, permissions, links to other programs, downloads a page
// starts, and the limits each kind of request has per site.
class TestPageRules : public QObject, PageFixture
{
    Q_OBJECT

public:
    // The engine reaches the made-up sites of the limit tests through
    // `sites` as its proxy (the program's own local server it reaches
    // directly), and takes them for secure sites as it does 127.0.0.1. Both
    // are set before the engine starts.
    TestPageRules() : sites(std::make_unique<HttpServer>())
    {
        QStringList secure;
        for (const QString &host : hosts())
            secure << "http://" + host;
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                QStringLiteral("--proxy-server=http://127.0.0.1:%1 --unsafely-treat-insecure-origin-as-secure=%2")
                    .arg(sites->port())
                    .arg(secure.join(u','))
                    .toLatin1());
    }

public slots:
    // Stands for the desktop's handler of the test's own link scheme.
    void openedElsewhere(const QUrl &url) { opened << url; }

private:
    QList<QUrl> opened;
    std::unique_ptr<HttpServer> sites;

    // Four hosts of one site, one of another site under the same suffix.
    static QStringList hosts()
    {
        return {"s1.deals.co.uk", "s2.deals.co.uk", "s3.deals.co.uk", "s4.deals.co.uk", "s1.rooms.co.uk"};
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void signIn_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("wrongFirst");
        QTest::newRow("OK") << true << false;
        QTest::newRow("Cancel") << false << false;
        QTest::newRow("a wrong password, then the right one") << true << true;
    }
    void signIn()
    {
        QFETCH(bool, ok);
        QFETCH(bool, wrongFirst);
        server->setHandler("/members", [](const QByteArray &request) {
            if (request.contains("Authorization: Basic " + QByteArray("guest:secret").toBase64()))
                return HttpServer::Page{page("Welcome", "Welcome")};
            HttpServer::Page refused{page("Refused", "Members only")};
            refused.status = 401;
            refused.headers = "WWW-Authenticate: Basic realm=\"Members <b>area</b>\"\r\n";
            return refused;
        });
        int requestsBeforeDialog = -1;
        QStringList asked, offered;
        bool plain = true;
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        ModalWatch watch([&](QWidget *dialog) {
            if (!dialog || dialog->objectName() != "signIn" || !dialog->isVisible())
                return;
            if (requestsBeforeDialog < 0)
                requestsBeforeDialog = server->requests().count("/members");
            QString text;
            for (QLabel *label : dialog->findChildren<QLabel *>())
                text += label->text() + u'\n';
            asked << text;
            plain = plain && allPlainText(dialog);
            const bool wrong = wrongFirst && asked.size() == 1;
            offered << dialog->findChild<QLineEdit *>("user")->text();
            dialog->findChild<QLineEdit *>("user")->setText("guest");
            dialog->findChild<QLineEdit *>("password")->setText(wrong ? "wrong" : "secret");
            echo = dialog->findChild<QLineEdit *>("password")->echoMode();
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        load("/members");
        QTRY_COMPARE(view->LocationName(), QString(ok ? "Welcome" : "Refused"));
        QCOMPARE(requestsBeforeDialog, 1);
        QCOMPARE(asked.size(), wrongFirst ? 2 : 1);
        QVERIFY2(asked[0].contains(server->url("")) && asked[0].contains("\"Members <b>area</b>\""),
                 qPrintable(asked[0]));
        // Only after a refused attempt does the dialog say so.
        QVERIFY2(!asked[0].contains("not accepted"), qPrintable(asked[0]));
        if (wrongFirst)
            QVERIFY2(asked[1].contains("The user name or password was not accepted."), qPrintable(asked[1]));
        // A refused attempt's user name is offered again.
        QCOMPARE(offered, wrongFirst ? (QStringList{"", "guest"}) : QStringList{""});
        QVERIFY(plain);
        QCOMPARE(server->requests().count("/members"), ok ? 2 + int(wrongFirst) : 1);
        QCOMPARE(echo, QLineEdit::Password);
    }

    // A cancelled sign-in holds for its own site: another site the page
    // moves on to by itself, asking for a realm of the same name, is asked.
    void cancelHoldsForItsSite()
    {
        const QString other = server->url("/members").replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost"));
        server->setHandler("/members", [other](const QByteArray &) {
            HttpServer::Page refused{page("Refused", "Members only",
                                          "if (location.hostname == '127.0.0.1') location = '" + other.toLatin1() + "';")};
            refused.status = 401;
            refused.headers = "WWW-Authenticate: Basic realm=\"Members\"\r\n";
            return refused;
        });
        int boxes = 0;
        ModalWatch cancel([&](QWidget *dialog) {
            if (!dialog || dialog->objectName() != "signIn" || !dialog->isVisible())
                return;
            ++boxes;
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
        });
        view->Navigate(server->url("/members"));
        QTRY_VERIFY_WITH_TIMEOUT(view->LocationURL() == other && view->LocationName() == "Refused", 20000);
        QTRY_COMPARE_WITH_TIMEOUT(boxes, 2, 20000);
    }

    void permissions_data()
    {
        QTest::addColumn<QString>("ask");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        const QString location = "navigator.geolocation.getCurrentPosition(p => received = 'position',"
                                 " e => received = 'error ' + e.code, {timeout: 3000})";
        const QString notify = "Notification.requestPermission().then(p => received = p)";
        QTest::newRow("location, no") << location << false << "wants to know your location" << "error 1";
        QTest::newRow("location, yes") << location << true << "wants to know your location" << "";
        QTest::newRow("notifications, no") << notify << false << "wants to show notifications" << "denied";
        QTest::newRow("notifications, yes") << notify << true << "wants to show notifications" << "granted";
    }
    void permissions()
    {
        QFETCH(QString, ask);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        // An answer about another feature of the same site is no answer to this one.
        const QString other = ask.contains("geolocation") ? "Notification.requestPermission()"
                                                          : "navigator.geolocation.getCurrentPosition(() => 0)";
        {
            int otherQuestions = 0;
            ModalWatch watch([&](QWidget *dialog) {
                if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                    ++otherQuestions;
                    box->button(yes ? QMessageBox::No : QMessageBox::Yes)->click();
                }
            });
            js(view, other);
            QTRY_COMPARE_WITH_TIMEOUT(otherQuestions, 1, 20000);
        }
        for (int time = 0; time < 2; ++time) {
            // The second request from the same site gets the same answer unasked.
            QStringList asked;
            ModalWatch watch([&](QWidget *dialog) {
                if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                    asked << box->text();
                    // No is what Enter and Esc give.
                    QVERIFY(box->defaultButton() == box->button(QMessageBox::No));
                    QVERIFY(allPlainText(box));
                    box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
                }
            });
            js(view, "received = ''; " + ask);
            QTRY_VERIFY_WITH_TIMEOUT(!js(view, "received").toString().isEmpty(), 20000);
            const QString received = js(view, "received").toString();
            if (answer.isEmpty())
                QVERIFY2(received != "error 1", qPrintable(received)); // not refused
            else
                QCOMPARE(received, answer);
            QCOMPARE(asked.size(), time == 0 ? 1 : 0);
            if (time == 0)
                QVERIFY2(asked[0].contains(question) && asked[0].contains(server->url("")), qPrintable(asked[0]));
        }
    }

    // A page that starts downloads by itself is asked about once.
    void downloadLoopAsksOnce()
    {
        HttpServer::Page file{QByteArray(1000, 'x'), "application/zip"};
        file.headers = "Content-Disposition: attachment; filename=\"deal.zip\"\r\n";
        server->setPage("/deal.zip", file);
        server->setPage("/loop", page("Loop", "", "setInterval(() => { const a = document.createElement('a');"
                                                  " a.href = '/deal.zip'; a.download = ''; a.click(); }, 300);"));
        int asked = 0;
        ModalWatch watch([&](QWidget *dialog) {
            if (auto *save = qobject_cast<QFileDialog *>(dialog)) {
                ++asked;
                save->reject();
            }
        });
        load("/loop");
        QTRY_VERIFY_WITH_TIMEOUT(server->requests().count("/deal.zip") >= 4, 20000);
        QCOMPARE(asked, 1);
    }

    void linkToAnotherProgram_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("starts");
        const QByteArray link = block("a", "href='velmora-test:room?id=7'");
        QTest::newRow("Yes") << link << int(QMessageBox::Yes) << true;
        QTest::newRow("No") << link << int(QMessageBox::No) << false;
        QTest::newRow("Esc") << link << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter") << link << int(Qt::Key_Return) << false;
        QTest::newRow("no click") << QByteArray("<script>location = 'velmora-test:room?id=7'</script>") << 0 << false;
        QTest::newRow("a click made by script")
            << QByteArray("<a id='x' href='velmora-test:room?id=7'>x</a><script>document.getElementById('x').click()"
                          "</script>")
            << 0 << false;
        QTest::newRow("the program's own resources, by script")
            << QByteArray("<script>location = 'qrc:/pictures/logo.pam'</script>") << 0 << false;
    }
    void linkToAnotherProgram()
    {
        QFETCH(QByteArray, target);
        QFETCH(int, answer);
        QFETCH(bool, starts);
        QDesktopServices::setUrlHandler("velmora-test", this, "openedElsewhere");
        opened.clear();
        QStringList asked;
        ModalWatch watch([&](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            if (dialog && !box) {
                // Nothing else may come up (a save dialog for a resource, say).
                asked << QString::fromLatin1(dialog->metaObject()->className());
                dialog->close();
                return;
            }
            if (!box)
                return;
            asked << box->text();
            if (answer == Qt::Key_Escape || answer == Qt::Key_Return)
                QTest::keyClick(box, Qt::Key(answer));
            else
                box->button(QMessageBox::StandardButton(answer))->click();
        });
        server->setPage("/links", page("Links", target));
        load("/links");
        if (answer) {
            click(view);
            QTRY_VERIFY_WITH_TIMEOUT(!asked.isEmpty(), 20000);
        }
        // The engine decides on navigations in order: once a later one has
        // arrived, the link's has been decided.
        load("/home");
        QDesktopServices::unsetUrlHandler("velmora-test");
        QCOMPARE(asked.size(), answer ? 1 : 0);
        if (answer)
            QVERIFY2(asked[0].contains("\"velmora-test:\"") && asked[0].contains("velmora-test:room?id=7"),
                     qPrintable(asked[0]));
        QCOMPARE(opened, starts ? QList<QUrl>{QUrl("velmora-test:room?id=7")} : QList<QUrl>{});
        QCOMPARE(pageWindows().size(), 0);
    }

    // A page asking again and again for a password, its own or another
    // site's: after one Cancel the realm is not asked about again.
    void signInLoopAsksOnce_data()
    {
        QTest::addColumn<bool>("otherSite");
        QTest::addColumn<int>("questions");
        QTest::newRow("the page's own site") << false << 1;
        // The engine itself asks nothing for another site's script request.
        QTest::newRow("another site") << true << 0;
    }
    void signInLoopAsksOnce()
    {
        QFETCH(bool, otherSite);
        HttpServer other;
        HttpServer *asks = otherSite ? &other : server.get();
        asks->setHandler("/private", [](const QByteArray &) {
            HttpServer::Page refused{"no", "text/plain"};
            refused.status = 401;
            refused.headers = "WWW-Authenticate: Basic realm=\"Deals\"\r\nAccess-Control-Allow-Origin: *\r\n";
            return refused;
        });
        int asked = 0;
        ModalWatch watch([&](QWidget *dialog) {
            if (dialog && dialog->objectName() == "signIn") {
                ++asked;
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
            }
        });
        server->setPage("/nag", page("Nag", "", "let n = 0; const t = setInterval(() => { if (++n > 12) clearInterval(t);"
                                                " fetch('" + asks->url("/private").toUtf8() + "').catch(() => 0); }, 200);"));
        load("/nag");
        QTRY_VERIFY_WITH_TIMEOUT(asks->requests().count("/private") >= 5, 20000);
        QTEST(asked, "questions");
    }

    // Who acted decides. What a page does by itself is asked about at most
    // three times per site: hops between subdomains do not reset that,
    // another site under the same suffix does not share it, and the note
    // then says so once, with "Ask Again". What the user's own click or key
    // starts is asked every time, three Cancels before or not.
    void whoActed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("lastHost");
        QTest::addColumn<bool>("askAgain"); // the note's button, once the site is no longer asked
        QTest::addColumn<int>("questions");
        for (const char *kind : {"question", "sign-in by the page", "print by the page"}) {
            QTest::addRow("%s, subdomains of one site", kind) << kind << "s4.deals.co.uk" << false << 3;
            QTest::addRow("%s, then another site", kind) << kind << "s1.rooms.co.uk" << false << 4;
        }
        QTest::newRow("question, asked again") << "question" << "s4.deals.co.uk" << true << 4;
        for (const char *kind : {"sign-in", "download", "save page", "link", "print on a click"})
            QTest::addRow("%s by the user", kind) << kind << "s4.deals.co.uk" << false << 4;
    }
    void whoActed()
    {
        QFETCH(QString, kind);
        QFETCH(QString, lastHost);
        QFETCH(bool, askAgain);
        QFETCH(int, questions);
        QDesktopServices::setUrlHandler("velmora-test", this, "openedElsewhere");
        const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler("velmora-test"); });
        opened.clear();
        int realm = 0;
        const bool byPage = kind == "question" || kind.endsWith("by the page");
        const QHash<QString, QByteArray> pages = {
            {"question", page("Question", "", "Notification.requestPermission().then(p => received = p);")},
            {"sign-in by the page", page("Moving", "", "location = '/sign-in';")},
            {"print by the page", page("Print", "", "setTimeout(() => { print(); received = 'printed'; }, 100);")},
            {"download", page("Download", block("a", "href='/deal.zip' download"))},
            {"save page", page("Save", "Deals")},
            {"link", page("Link", block("a", "href='velmora-test:room?id=7'"))},
            {"print on a click", page("Print", block("button", "onclick='print()'"))},
        };
        for (const QString &host : hosts()) {
            const QString base = "http://" + host;
            sites->setPage(base + "/page", pages.value(kind, page("Members", "")));
            sites->setHandler(base + "/sign-in", [&realm](const QByteArray &) {
                HttpServer::Page refused{page("Refused", "Members only")};
                refused.status = 401;
                refused.headers = "WWW-Authenticate: Basic realm=\"Room " + QByteArray::number(++realm) + "\"\r\n";
                return refused;
            });
            HttpServer::Page file{QByteArray(1000, 'x'), "application/zip"};
            file.headers = "Content-Disposition: attachment; filename=\"deal.zip\"\r\n";
            sites->setPage(base + "/deal.zip", file);
        }
        int asked = 0;
        ModalWatch watch([&](QWidget *dialog) {
            if (!dialog || !dialog->isVisible())
                return;
            ++asked;
            if (auto *box = qobject_cast<QMessageBox *>(dialog); box && box->button(QMessageBox::No))
                box->button(QMessageBox::No)->click();
            else
                qobject_cast<QDialog *>(dialog)->reject(); // the sign-in box, a save or print dialog
        });
        QStringList visited = hosts().mid(0, 3);
        visited << lastHost;
        // Each download is judged before the page moves on: Qt 6.4's engine
        // ends the program when it reports a download whose page has since
        // gone to another site.
        QSignalSpy downloads(session->profile(), &QWebEngineProfile::downloadRequested);
        const auto visit = [&](const QString &host) {
            const QString address = "http://" + host + (kind == "sign-in" ? "/sign-in" : "/page");
            view->Navigate(address);
            const QString shown = kind.startsWith("sign-in") ? "http://" + host + "/sign-in" : address;
            QTRY_VERIFY_WITH_TIMEOUT(view->LocationURL() == shown && !view->Busy(), 20000);
            if (kind == "question" || kind == "print by the page")
                QTRY_VERIFY_WITH_TIMEOUT(!js(view, "received").toString().isEmpty(), 20000);
            else if (kind.startsWith("sign-in"))
                QTRY_COMPARE_WITH_TIMEOUT(view->LocationName(), QStringLiteral("Refused"), 20000);
            if (kind == "download" || kind == "link" || kind == "print on a click")
                click(view);
            if (kind == "save page")
                window->command(PageCommand::SavePage)->trigger();
            if (kind == "download") {
                // Newer engines ask for a download's file a second time.
                QTRY_VERIFY_WITH_TIMEOUT(sites->requests().count("http://" + host + "/deal.zip") >= 1, 20000);
                QTRY_COMPARE_WITH_TIMEOUT(downloads.size(), int(visited.indexOf(host)) + 1, 20000);
            }
        };
        for (const QString &host : visited) {
            visit(host);
            // Each of the first three hosts is asked; the last only if it is
            // another site or the user acted. The page moves on once its
            // question is answered.
            const int step = int(visited.indexOf(host));
            QTRY_COMPARE_WITH_TIMEOUT(asked, step < 3 ? step + 1 : questions, 20000);
            // The third refusal of what the page did by itself: said once,
            // naming the kind and the site.
            if (step == 2 && byPage) {
                QTRY_VERIFY(!view->note().isEmpty());
                QVERIFY2(view->note().contains("no longer asks") && view->note().contains(host), qPrintable(view->note()));
                if (askAgain)
                    view->noteBar()->actionButton()->click();
            } else {
                QVERIFY2(view->note().isEmpty(), qPrintable(view->note()));
            }
        }
        // The engine decides in order: once a later page is in, the last
        // request has been answered. A link refused without a question may
        // still be on its way and cancel the first try at the later page.
        // By then the site's own sign-in boxes or prints are refused; the
        // user's own of the same kind are still asked.
        if (kind == "sign-in by the page")
            view->Navigate("http://" + lastHost + "/sign-in");
        else if (kind == "print by the page")
            window->command(PageCommand::Print)->trigger();
        questions += int(kind.endsWith("by the page"));
        QTRY_COMPARE_WITH_TIMEOUT(asked, questions, 20000);
        const QString home = server->url("/home");
        for (int attempt = 0; attempt < 3 && view->LocationURL() != home; ++attempt) {
            view->Navigate(home);
            (void)QTest::qWaitFor([&] { return view->LocationURL() == home && !view->Busy(); }, 7000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(view->LocationURL() == home && !view->Busy(), 20000);
        QCOMPARE(asked, questions);
        QCOMPARE(opened, QList<QUrl>());
    }

    // A frame of another site asks on the account of the page the user is
    // on, and is named as a frame on it: its Cancels count for that page's
    // site, and the user's own visit to the framed site still asks.
    void framesAskForThePageTheyAreOn()
    {
        int realm = 0;
        sites->setHandler("http://s1.deals.co.uk/sign-in", [&realm](const QByteArray &) {
            HttpServer::Page refused{page("Refused", "Members only")};
            refused.status = 401;
            refused.headers = "WWW-Authenticate: Basic realm=\"Room " + QByteArray::number(++realm) + "\"\r\n";
            return refused;
        });
        sites->setPage("http://s1.rooms.co.uk/frames",
                       page("Frames", "", "var n = 0, done = 0; const t = setInterval(() => { if (++n > 5) clearInterval(t);"
                                          " const f = document.createElement('iframe'); f.onload = () => ++done;"
                                          " f.src = 'http://s1.deals.co.uk/sign-in'; document.body.append(f); }, 300);"));
        QStringList asked;
        ModalWatch watch([&](QWidget *dialog) {
            if (!dialog || dialog->objectName() != "signIn" || !dialog->isVisible())
                return;
            QString text;
            for (QLabel *label : dialog->findChildren<QLabel *>())
                text += label->text() + u'\n';
            asked << text;
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
        });
        load("http://s1.rooms.co.uk/frames");
        // Every frame has had its answer before the user goes to the site.
        QTRY_COMPARE_WITH_TIMEOUT(js(view, "done").toInt(), 6, 20000);
        QCOMPARE(asked.size(), 3);
        for (const QString &text : asked)
            QVERIFY2(text.contains("http://s1.deals.co.uk (a frame on http://s1.rooms.co.uk)"), qPrintable(text));
        view->Navigate("http://s1.deals.co.uk/sign-in");
        QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 4, 20000);
        QVERIFY2(!asked.last().contains("a frame"), qPrintable(asked.last()));
    }

    // A page that looks like a PDF viewer and prints on a timer: what it
    // starts by itself fails or is cancelled at most three times, then the
    // note says so and nothing more comes up.
    void printLoopOfAFakeViewer()
    {
        server->setPage("/viewer", "<html><body style='margin:0'><embed type='application/pdf' internalid='x'"
                                   " src='about:blank'><script>setInterval(() => print(), 300)</script></body></html>");
        int boxes = 0;
        ModalWatch watch([&](QWidget *dialog) {
            if (dialog && dialog->isVisible()) {
                ++boxes;
                qobject_cast<QDialog *>(dialog)->reject();
            }
        });
        load("/viewer");
        QTRY_VERIFY_WITH_TIMEOUT(view->note().contains("no longer asks"), 30000);
        QTest::qWait(2000);
        QCOMPARE(boxes, 3);
    }

    // The site as a person means it: the registrable domain of the host.
    void registrableDomain_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("site");
        QTest::newRow("under co.uk") << "s1.example.co.uk" << "example.co.uk";
        QTest::newRow("under com") << "www.example.com" << "example.com";
        QTest::newRow("the domain itself") << "example.com" << "example.com";
        QTest::newRow("capitals and a final dot") << "WWW.Example.COM." << "example.com";
        QTest::newRow("a public suffix itself") << "co.uk" << "co.uk";
        QTest::newRow("a suffix anyone can register under") << "a.b.github.io" << "b.github.io";
        QTest::newRow("an IPv4 address") << "127.0.0.1" << "127.0.0.1";
        QTest::newRow("an IPv6 address") << "::1" << "::1";
        QTest::newRow("localhost") << "localhost" << "localhost";
        QTest::newRow("an international name") << "shop.b\u00FCcher.de" << "xn--bcher-kva.de";
        QTest::newRow("the same, in punycode") << "shop.xn--bcher-kva.de" << "xn--bcher-kva.de";
    }
    void registrableDomain()
    {
        QFETCH(QString, host);
        QFETCH(QString, site);
        PublicSuffixes suffixes;
        if (!suffixes.loaded())
            QSKIP("built without the public suffix list");
        QCOMPARE(suffixes.registrableDomain(host), site);
    }

    // Refusals count for the registrable domain, whatever the scheme; a Yes
    // holds for the origin that was given it.
    void answersAndRefusalsBySite()
    {
        SiteAnswers answers;
        const QUrl s1("https://s1.hotel.co.uk:8443/rooms?id=1"), s2("http://s2.hotel.co.uk/"),
            other("https://other.co.uk/");
        answers.remember(s1, s1, PageRequest::Location, true);
        QCOMPARE(answers.answer(s1, QUrl("https://s1.hotel.co.uk:8443/other"), PageRequest::Location),
                 std::optional<bool>(true));
        QCOMPARE(answers.answer(s1, s1, PageRequest::Notifications), std::nullopt);
        QCOMPARE(answers.answer(s1, s2, PageRequest::Location), std::nullopt);
        // A Yes given to a frame on one site is no Yes on another.
        QCOMPARE(answers.answer(other, s1, PageRequest::Location), std::nullopt);
        for (int refusal = 1; refusal <= 3; ++refusal) {
            QVERIFY(answers.mayAsk(refusal % 2 ? s1 : s2, PageRequest::Download));
            QCOMPARE(answers.tellSilence(s1, PageRequest::Download), false);
            answers.refused(refusal % 2 ? s1 : s2, PageRequest::Download);
        }
        QVERIFY(!answers.mayAsk(QUrl("http://s9.hotel.co.uk/"), PageRequest::Download));
        QVERIFY(answers.mayAsk(s1, PageRequest::SignIn));
        QVERIFY(answers.mayAsk(other, PageRequest::Download));
        // Told once; "Ask Again" starts the count afresh.
        QCOMPARE(answers.tellSilence(s2, PageRequest::Download), true);
        QCOMPARE(answers.tellSilence(s1, PageRequest::Download), false);
        answers.askAgain(s1, PageRequest::Download);
        QVERIFY(answers.mayAsk(s2, PageRequest::Download));
    }

    // Every permission the engine knows has its question; one it does not
    // know is refused and said in the log.
    void permissionsHaveQuestions()
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        using Type = QWebEnginePermission::PermissionType;
        for (Type type : {Type::MediaAudioCapture, Type::MediaVideoCapture, Type::MediaAudioVideoCapture,
                          Type::DesktopVideoCapture, Type::DesktopAudioVideoCapture, Type::MouseLock,
                          Type::Notifications, Type::Geolocation, Type::ClipboardReadWrite, Type::LocalFontsAccess}) {
            const std::optional<PageRequest> request = pagerules::fromPermission(type);
            QVERIFY(request);
            QVERIFY(pagerules::question(*request, "https://a.test").contains("https://a.test"));
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("does not know .*refused"));
        QCOMPARE(pagerules::fromPermission(Type::Unsupported), std::nullopt);
#else
        for (int feature = QWebEnginePage::Notifications; feature <= QWebEnginePage::DesktopAudioVideoCapture; ++feature) {
            const std::optional<PageRequest> request = pagerules::fromFeature(QWebEnginePage::Feature(feature));
            QVERIFY(request);
            QVERIFY(pagerules::question(*request, "https://a.test").contains("https://a.test"));
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("does not know \\(99\\).*refused"));
        QCOMPARE(pagerules::fromFeature(QWebEnginePage::Feature(99)), std::nullopt);
#endif
    }
};

VELMORA_TEST_MAIN(TestPageRules)
#include "tst_pagerules.moc"
