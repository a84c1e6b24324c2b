// The upload of the page "Ftp klient" against a real FTP server (pyftpdlib on loopback, in active
// and passive mode, plain and with TLS) and against a server of the test's own making that answers
// as told: badly, slowly, not at all or with garbage.
#include "FakeClock.h"
#include "PyFtpServer.h"
#include "RecordingErrorReporter.h"
#include "ScriptedFtpServer.h"
#include "TempDataFolder.h"
#include "VirtualScheduler.h"
#include "VirtualTimerFactory.h"

#include "base/UserError.h"
#include "config/TSettings.h"
#include "rankings/FtpClient.h"
#include "rankings/FtpSend.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr int Wait = 30000; // generous: a busy machine under the sanitizers

QByteArray randomBytes(int size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class FtpSendTest : public ::testing::Test {
protected:
    FtpSendTest() {
        settings.Ftp.Hostitel = QStringLiteral("127.0.0.1");
        settings.Ftp.Jmeno = QString::fromLatin1(PyFtpServer::User);
        send.hooks().showError = [this](const QString& message) { errors << message; };
        send.hooks().makeTablePictures = [this](const QString& men, const QString& women) {
            pictureCalls << men << women;
            writeFile(men, randomBytes(20000, 1));
            writeFile(women, randomBytes(30000, 2));
        };
        QObject::connect(&send, &FtpSend::sendEnded, [this] { ++ended; });
        QObject::connect(&send, &FtpSend::stepStarted, [this](FtpSend::Step step) { steps << step; });
        QObject::connect(&send, &FtpSend::stateTextChanged, [this](const QString& text) { states << text; });
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Entry 1..4 on, with its local file (absent when bytes is null).
    QString entry(int number, const QString& name, const QByteArray& bytes) {
        const QString path = local.filePath(name);
        if (!bytes.isNull())
            writeFile(path, bytes);
        settings.Ftp.Posilat[number - 1] = true;
        settings.Ftp.Soubor[number - 1] = path;
        return path;
    }

    void usePyServer(const PyFtpServer& server) {
        send.setDefaultPort(server.port());
        if (!server.caCertificates().isEmpty())
            client.setExtraCaCertificates(server.caCertificates());
    }

    void useScripted(const ScriptedFtpServer& server) { send.setDefaultPort(server.port()); }

    // Runs one send and waits until nothing more happens for it. A request's time runs out only on the
    // virtual clock: when stuck() says that the client waits for what will never come, and still
    // says so after the events of one more turn were handled, a request's whole time passes.
    bool sendAndWait(const QString& password = QString::fromUtf8(PyFtpServer::Password),
                     const std::function<bool()>& stuck = {}) {
        const int before = ended;
        send.send(password);
        bool stuckBefore = false;
        return QTest::qWaitFor(
            [&] {
                const bool stuckNow = ended == before && stuck && stuck() && client.isBusy();
                if (stuckNow && stuckBefore)
                    scheduler.advance(FtpClient::DefaultTimeoutMs);
                stuckBefore = stuckNow;
                return ended > before;
            },
            Wait);
    }

    TempDataFolder local;
    TSettings settings;
    FakeClock clock;
    VirtualScheduler scheduler{clock};
    VirtualTimerFactory timers{scheduler};
    FtpClient client{timers};
    FtpSend send{settings, client};
    QStringList errors;
    QStringList pictureCalls;
    QList<FtpSend::Step> steps;
    QStringList states;
    int ended = 0;
};

// --- a real server --------------------------------------------------------------------------------

struct Mode {
    const char* name;
    bool passive;
    bool tls;
};

class FtpSendRealServer : public FtpSendTest, public ::testing::WithParamInterface<Mode> {};

TEST_P(FtpSendRealServer, EntriesAndTablesArriveWholeInOrderUnderTheirNames) {
    PyFtpServer server(GetParam().tls);
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    usePyServer(server);
    settings.Ftp.Pasivni = GetParam().passive;
    settings.Ftp.TLS = GetParam().tls;
    ASSERT_TRUE(QDir(server.root()).mkdir(QStringLiteral("Www")));
    settings.Ftp.FtpAdr[0] = QStringLiteral("Www");

    const QByteArray one = randomBytes(300 * 1024 + 7, 11);
    const QByteArray two = randomBytes(1, 12);
    const QByteArray three; // an empty file is a file too
    entry(1, QStringLiteral("vysledky.txt"), one);
    entry(2, QStringLiteral("Posledni_Zavod.TXT"), two);
    entry(3, QStringLiteral("prazdny.dat"), QByteArray(""));
    entry(4, QStringLiteral("Tabulky"), QByteArray("entry four"));
    send.boxClicked(4);
    settings.Ftp.Posilat[4] = true; // the box's own binding
    send.boxClicked(5);
    ASSERT_FALSE(settings.Ftp.Posilat[3]) << "the tables clear entry 4";
    ASSERT_TRUE(send.sendEnabled());

    ASSERT_TRUE(sendAndWait());
    EXPECT_EQ(errors, QStringList());
    // The client is ready again after each request.
    EXPECT_EQ(states.mid(0, 3), (QStringList{QStringLiteral("Připojuji"), QStringLiteral("Připojen"),
                                             QStringLiteral("Připraven")}));
    EXPECT_EQ(pictureCalls, (QStringList{local.filePath(QStringLiteral("Tabulky_muzi.jpg")),
                                         local.filePath(QStringLiteral("Tabulky_zeny.jpg"))}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received().size() == 5; }, Wait));
    EXPECT_EQ(server.received(),
              (QStringList{QStringLiteral("Www/vysledky.txt"), QStringLiteral("Www/posledni_zavod.txt"),
                           QStringLiteral("Www/prazdny.dat"), QStringLiteral("Www/Tabulky_muzi.jpg"),
                           QStringLiteral("Www/Tabulky_zeny.jpg")}));
    const QString www = server.root() + QStringLiteral("/Www/");
    EXPECT_TRUE(fileBytes(www + QStringLiteral("vysledky.txt")) == one);
    EXPECT_TRUE(fileBytes(www + QStringLiteral("posledni_zavod.txt")) == two);
    EXPECT_TRUE(fileBytes(www + QStringLiteral("prazdny.dat")) == three);
    EXPECT_TRUE(fileBytes(www + QStringLiteral("Tabulky_muzi.jpg")) == randomBytes(20000, 1));
    EXPECT_TRUE(fileBytes(www + QStringLiteral("Tabulky_zeny.jpg")) == randomBytes(30000, 2));

    // The connection stays open after the send; OK and Cancel are back, "&Pošli data" is not.
    EXPECT_TRUE(client.isConnected());
    EXPECT_TRUE(send.confirmEnabled());
    EXPECT_FALSE(send.sendEnabled());
    EXPECT_FALSE(send.waitCursor());
    EXPECT_EQ(send.infoText(), QStringLiteral("30000"));
    EXPECT_EQ(send.stateText(), QStringLiteral("Připraven"));

    send.cancel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !client.isConnected(); }, Wait));
}

INSTANTIATE_TEST_SUITE_P(Modes, FtpSendRealServer,
                         ::testing::Values(Mode{"Active", false, false}, Mode{"Passive", true, false},
                                           Mode{"PassiveTls", true, true}, Mode{"ActiveTls", false, true}),
                         [](const ::testing::TestParamInfo<Mode>& info) { return info.param.name; });

TEST_F(FtpSendTest, OnlyTheSwitchedOnEntriesGoAndAMissingFileDoesNotStopTheOthers) {
    PyFtpServer server;
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    usePyServer(server);
    settings.Ftp.Pasivni = true;
    const QString three = entry(3, QStringLiteral("treti.txt"), QByteArray("3"));
    send.pageShown();
    EXPECT_TRUE(send.sendEnabled());
    ASSERT_TRUE(sendAndWait());
    EXPECT_EQ(steps, QList<FtpSend::Step>{FtpSend::Entry3});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received().size() == 1; }, Wait));
    EXPECT_EQ(server.received(), QStringList{QStringLiteral("treti.txt")});

    // A second send: entry 1's file is missing, 2 and 3 still go.
    steps.clear();
    const QString missing = entry(1, QStringLiteral("chybi.txt"), QByteArray());
    entry(2, QStringLiteral("druhy.txt"), QByteArray("2"));
    send.pageShown();
    ASSERT_TRUE(sendAndWait());
    EXPECT_EQ(errors, QStringList{QStringLiteral("Chyba 426 Unable to open local file ") + missing});
    EXPECT_EQ(steps, (QList<FtpSend::Step>{FtpSend::Entry1, FtpSend::Entry2, FtpSend::Entry3}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received().size() == 3; }, Wait));
    EXPECT_EQ(server.received().mid(1),
              (QStringList{QStringLiteral("druhy.txt"), QStringLiteral("treti.txt")}));
}

TEST_F(FtpSendTest, AServerWhoseCertificateIsNotTrustedGetsNeitherNameNorFiles) {
    PyFtpServer server(true);
    QString why;
    ASSERT_TRUE(server.start(&why)) << why.toStdString();
    send.setDefaultPort(server.port()); // the test's authority is not added
    settings.Ftp.TLS = true;
    entry(1, QStringLiteral("a.txt"), QByteArray("a"));
    send.pageShown();
    ASSERT_TRUE(sendAndWait());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QStringLiteral("Chyba 500 Šifrované spojení se nepodařilo navázat: certifikát "
                                        "serveru nevydala důvěryhodná certifikační autorita"));
    EXPECT_FALSE(client.isConnected());
    EXPECT_TRUE(send.confirmEnabled());
    EXPECT_TRUE(send.sendEnabled()) << "a connection that failed leaves the page ready for another try";
}

// --- a server that answers as told -----------------------------------------------------------------

TEST_F(FtpSendTest, RepliesAreReadAsTheProtocolHasThemAndASecondSendSaysGoodbyeFirst) {
    ScriptedFtpServer server;
    useScripted(server);
    // Multi-line replies, bare line feeds, a line inside that looks like an end but is not.
    server.greeting = "220-Vitejte\n220-na serveru\r\n 220 tohle jeste neni konec\n220 Pripraven\n";
    server.script = [](const QString& line) -> std::optional<ScriptedFtpServer::Answer> {
        if (line.startsWith(QLatin1String("USER")))
            return ScriptedFtpServer::Answer{"230-Bez hesla\n230 Prihlasen\n"};
        if (line.startsWith(QLatin1String("CWD")))
            return ScriptedFtpServer::Answer{"250-Adresar\n250-zmenen\n250 OK\n"};
        return std::nullopt;
    };
    settings.Ftp.FtpAdr[0] = QStringLiteral("Www/Data");
    settings.Ftp.FtpAdr[1] = QStringLiteral("jinam");
    const QByteArray bytes = randomBytes(100000, 5);
    entry(2, QStringLiteral("Soubor.TXT"), bytes);
    send.pageShown();
    ASSERT_TRUE(sendAndWait(QStringLiteral("heslo")));
    EXPECT_EQ(errors, QStringList());
    ASSERT_EQ(server.commands.size(), 8);
    EXPECT_EQ(server.commands.mid(0, 6),
              (QStringList{QStringLiteral("<connect>"), QStringLiteral("USER tester"),
                           QStringLiteral("CWD Www/Data"), QStringLiteral("PWD"), QStringLiteral("TYPE I"),
                           QStringLiteral("TYPE I")}));
    EXPECT_TRUE(server.commands[6].startsWith(QLatin1String("PORT 127,0,0,1,")));
    EXPECT_EQ(server.commands[7], QStringLiteral("STOR soubor.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.stored.size() == 1; }, Wait));
    EXPECT_TRUE(server.stored[0].second == bytes);

    server.commands.clear();
    send.pageShown();
    ASSERT_TRUE(sendAndWait(QStringLiteral("heslo")));
    ASSERT_GE(server.commands.size(), 3);
    EXPECT_EQ(server.commands.mid(0, 3), (QStringList{QStringLiteral("QUIT"), QStringLiteral("<connect>"),
                                                      QStringLiteral("USER tester")}));
    EXPECT_EQ(server.connections(), 2);
}

TEST_F(FtpSendTest, EveryFailedStepIsShownAndTheNextStepFollows) {
    struct Case {
        const char* name;
        std::function<std::optional<ScriptedFtpServer::Answer>(const QString&)> script;
        QStringList expected; // prefixes of the messages, in order
    };
    const QString closed = QStringLiteral("Chyba 500 Control connection closed. ");
    const QString notConnected = QStringLiteral("Chyba ") + FtpClient::notConnectedError();
    const std::vector<Case> cases = {
        {"refused STOR",
         [](const QString& line) -> std::optional<ScriptedFtpServer::Answer> {
             if (line.startsWith(QLatin1String("STOR")))
                 return ScriptedFtpServer::Answer{"553 Zapis odmitnut\r\n"};
             return std::nullopt;
         },
         {QStringLiteral("Chyba 553 Zapis odmitnut"), QStringLiteral("Chyba 553 Zapis odmitnut")}},
        {"closed mid-transfer",
         [](const QString& line) -> std::optional<ScriptedFtpServer::Answer> {
             if (line.startsWith(QLatin1String("STOR"))) {
                 ScriptedFtpServer::Answer answer{"150 Posilejte\r\n"};
                 answer.closeMidTransfer = true;
                 return answer;
             }
             return std::nullopt;
         },
         {closed, notConnected, notConnected}},
        {"never answers",
         [](const QString& line) -> std::optional<ScriptedFtpServer::Answer> {
             if (line.startsWith(QLatin1String("TYPE"))) {
                 ScriptedFtpServer::Answer answer;
                 answer.silent = true;
                 return answer;
             }
             return std::nullopt;
         },
         {QStringLiteral("Chyba 426 Timeout"), notConnected, notConnected, notConnected, notConnected}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedFtpServer server;
        useScripted(server);
        server.script = c.script;
        errors.clear();
        entry(1, QStringLiteral("jedna.txt"), randomBytes(2 * 1024 * 1024, 1));
        entry(3, QStringLiteral("tri.txt"), QByteArray("3"));
        send.pageShown();
        // A server silent after TYPE leaves the client waiting until its time runs out.
        const bool silent = c.name == std::string("never answers");
        ASSERT_TRUE(sendAndWait(QString::fromUtf8(PyFtpServer::Password), [&] {
            return silent && !server.commands.isEmpty() &&
                   server.commands.last().startsWith(QLatin1String("TYPE"));
        }));
        ASSERT_EQ(errors.size(), c.expected.size()) << errors.join(QLatin1Char('|')).toStdString();
        for (int i = 0; i < errors.size(); ++i)
            EXPECT_TRUE(errors[i].startsWith(c.expected[i])) << errors[i].toStdString();
        EXPECT_TRUE(send.confirmEnabled());
        EXPECT_FALSE(client.isBusy());
        client.abort();
    }
}

TEST_F(FtpSendTest, AHostileServerGetsAMessageAndNeitherHangsNorCrashesTheClient) {
    struct Case {
        const char* name;
        QByteArray greeting;
        bool closeAtConnect = false;
        QByteArray toUser = {}; // empty: a good answer
        bool closeAfterUser = false;
        bool waitsForever = false; // the client is left waiting for the rest of a reply
    };
    const QByteArray huge(200 * 1024, 'x');
    QByteArray endless = "220-zacatek\r\n";
    for (int i = 0; i < 3000; ++i)
        endless += "dalsi radek\r\n";
    const std::vector<Case> cases = {
        {"garbage greeting", "HELLO THERE\r\n"},
        {"binary greeting", QByteArray("\x00\xff\xfe\r\n\x01\x02", 7)},
        {"huge line", huge},
        {"endless reply", endless},
        {"short code", "22 ahoj\r\n"},
        {"refusing greeting", "421 Obsazeno\r\n"},
        {"closed at once", "", true},
        {"silent", "", false, {}, false, true},
        {"garbage to USER", "220 ok\r\n", false, "ano\r\n"},
        {"closed after USER", "220 ok\r\n", false, "", true},
        {"code out of range", "220 ok\r\n", false, "999 cokoli\r\n"},
        {"no line end", "220 ok\r\n", false, "331 heslo", false, true},
        {"huge refusal", "220 ok\r\n", false, "530 " + QByteArray(7000, 'x') + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedFtpServer server;
        useScripted(server);
        server.greeting = c.greeting;
        server.closeAtConnect = c.closeAtConnect;
        const QByteArray toUser = c.toUser;
        const bool closeAfterUser = c.closeAfterUser;
        server.script = [toUser,
                         closeAfterUser](const QString& line) -> std::optional<ScriptedFtpServer::Answer> {
            if (!line.startsWith(QLatin1String("USER")))
                return std::nullopt;
            if (closeAfterUser)
                return ScriptedFtpServer::Answer{"", true};
            if (!toUser.isEmpty())
                return ScriptedFtpServer::Answer{toUser};
            return std::nullopt;
        };
        errors.clear();
        entry(1, QStringLiteral("jedna.txt"), QByteArray("1"));
        send.pageShown();
        // Only a client left waiting runs out of time; every other answer ends the send by itself.
        const auto answered = [&] {
            return c.waitsForever && server.connections() == 1 &&
                   (c.toUser.isEmpty() || server.commands.filter(QStringLiteral("USER")).size() == 1);
        };
        ASSERT_TRUE(sendAndWait(QString::fromUtf8(PyFtpServer::Password), answered));
        ASSERT_FALSE(errors.isEmpty());
        for (const QString& error : errors) {
            EXPECT_TRUE(error.startsWith(QLatin1String("Chyba "))) << error.toStdString();
            EXPECT_LT(error.size(), 400) << "a hostile line is not shown whole";
        }
        EXPECT_TRUE(send.confirmEnabled());
        EXPECT_FALSE(client.isBusy());
        client.abort();
    }
}

TEST_F(FtpSendTest, WithEncryptionAskedForNothingGoesInClearToAServerWithoutIt) {
    ScriptedFtpServer server;
    useScripted(server);
    settings.Ftp.TLS = true;
    entry(1, QStringLiteral("a.txt"), QByteArray("a"));
    send.pageShown();
    ASSERT_TRUE(sendAndWait(QStringLiteral("heslo")));
    EXPECT_EQ(errors,
              QStringList{QStringLiteral("Chyba 500 Server neumožňuje šifrované spojení: 502 Neznam")});
    EXPECT_EQ(server.commands, (QStringList{QStringLiteral("<connect>"), QStringLiteral("AUTH TLS")}));
    EXPECT_FALSE(client.isConnected());
}

TEST_F(FtpSendTest, CancelEndsTheSendWithQuitAndOkAbortsWithoutAWord) {
    ScriptedFtpServer server;
    useScripted(server);
    server.script = [](const QString& line) -> std::optional<ScriptedFtpServer::Answer> {
        if (line.startsWith(QLatin1String("STOR"))) {
            ScriptedFtpServer::Answer answer{"150 Posilejte\r\n"};
            answer.holdTransfer = true;
            return answer;
        }
        return std::nullopt;
    };
    entry(1, QStringLiteral("jedna.txt"), randomBytes(1000, 1));
    entry(2, QStringLiteral("dva.txt"), randomBytes(1000, 2));
    send.pageShown();
    send.send(QStringLiteral("heslo"));
    EXPECT_FALSE(send.confirmEnabled());
    EXPECT_FALSE(send.sendEnabled());
    const auto storing = [&] {
        return !server.commands.isEmpty() && server.commands.last().startsWith(QLatin1String("STOR"));
    };
    ASSERT_TRUE(QTest::qWaitFor(storing, Wait));
    send.cancel();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(send.confirmEnabled());
    EXPECT_TRUE(send.sendEnabled());
    EXPECT_FALSE(client.isConnected()) << "closed at once, the goodbye said but not awaited";
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.disconnects() == 1; }, Wait));
    EXPECT_EQ(server.commands.last(), QStringLiteral("QUIT"));
    EXPECT_EQ(server.commands.filter(QStringLiteral("STOR")).size(), 1) << "no step is taken after Cancel";
    EXPECT_EQ(errors, QStringList());

    // The settings window's OK: the connection is cut without QUIT.
    server.commands.clear();
    send.send(QStringLiteral("heslo"));
    ASSERT_TRUE(QTest::qWaitFor(storing, Wait));
    send.abort();
    EXPECT_FALSE(client.isConnected());
    EXPECT_TRUE(send.confirmEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.disconnects() == 2; }, Wait));
    EXPECT_FALSE(server.commands.contains(QStringLiteral("QUIT")));
    EXPECT_EQ(errors, QStringList());
}

TEST_F(FtpSendTest, CancelWhileAServerHangsClosesItsConnectionAndTheNextSendStartsClean) {
    ScriptedFtpServer hanging;
    hanging.greeting.clear(); // takes the connection and never says a word
    useScripted(hanging);
    entry(1, QStringLiteral("jedna.txt"), QByteArray("1"));
    send.pageShown();
    send.send(QStringLiteral("heslo"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.isConnected(); }, Wait));
    send.cancel();
    ASSERT_FALSE(client.isConnected()) << "Cancel does not wait for a server that does not answer";

    // Virtual time stands still: nothing may wait for the hanging server's time to run out.
    ScriptedFtpServer working;
    useScripted(working);
    send.pageShown();
    ASSERT_TRUE(sendAndWait(QStringLiteral("heslo")));
    EXPECT_EQ(errors, QStringList());
    ASSERT_TRUE(QTest::qWaitFor([&] { return working.stored.size() == 1; }, Wait));
}

TEST_F(FtpSendTest, AWrongPasswordIsSaidOnceAndTheSendStops) {
    ScriptedFtpServer server;
    useScripted(server);
    server.script = [](const QString& line) -> std::optional<ScriptedFtpServer::Answer> {
        if (line.startsWith(QLatin1String("PASS")))
            return ScriptedFtpServer::Answer{"530 Login incorrect.\r\n"};
        if (line.startsWith(QLatin1String("USER")) || line.startsWith(QLatin1String("QUIT")))
            return std::nullopt;
        return ScriptedFtpServer::Answer{"530 Please login with USER and PASS.\r\n"};
    };
    entry(1, QStringLiteral("jedna.txt"), QByteArray("1"));
    entry(2, QStringLiteral("dva.txt"), QByteArray("2"));
    send.pageShown();
    ASSERT_TRUE(sendAndWait(QStringLiteral("spatne")));
    EXPECT_EQ(errors, QStringList{QStringLiteral("Chyba 530 Login incorrect.")});
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_TRUE(send.confirmEnabled());
    EXPECT_TRUE(send.sendEnabled()) << "ready for another try with the right password";
    EXPECT_FALSE(send.waitCursor());
}

TEST_F(FtpSendTest, PicturesThatCannotBeWrittenStopTheSendBeforeAnyConnection) {
    ScriptedFtpServer server;
    useScripted(server);
    RecordingErrorReporter reporter;
    send.hooks().makeTablePictures = [](const QString&, const QString&) {
        throw UserError(QStringLiteral("Nelze zapsat obrázek"));
    };
    settings.Ftp.Posilat[4] = true;
    settings.Ftp.Soubor[3] = local.filePath(QStringLiteral("tabulky"));
    send.pageShown();
    ASSERT_TRUE(sendAndWait());
    EXPECT_EQ(reporter.messages(), QStringList{QStringLiteral("Nelze zapsat obrázek")});
    EXPECT_EQ(server.connections(), 0);
    EXPECT_TRUE(send.confirmEnabled());
    EXPECT_TRUE(send.sendEnabled());
    EXPECT_FALSE(send.waitCursor());
}

TEST(FtpSendHost, APortMayFollowTheHost) {
    using R = std::pair<QString, quint16>;
    EXPECT_EQ(FtpSend::hostAndPort(QStringLiteral("ftp.example.cz"), 21),
              R(QStringLiteral("ftp.example.cz"), 21));
    EXPECT_EQ(FtpSend::hostAndPort(QStringLiteral(" ftp.example.cz:2121 "), 21),
              R(QStringLiteral("ftp.example.cz"), 2121));
    EXPECT_EQ(FtpSend::hostAndPort(QStringLiteral("[::1]:2121"), 21), R(QStringLiteral("::1"), 2121));
    EXPECT_EQ(FtpSend::hostAndPort(QStringLiteral("2001:db8::1"), 21), R(QStringLiteral("2001:db8::1"), 21));
    EXPECT_EQ(FtpSend::hostAndPort(QStringLiteral("host:99999"), 21), R(QStringLiteral("host:99999"), 21));
}

} // namespace
