#include "LoopbackSmtpServer.h"

#include "runtime/report/SmtpMailer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qaveq::report;
using namespace Qt::StringLiterals;

namespace {

SmtpSettings loopback(int port)
{
    SmtpSettings settings;
    settings.server = u"127.0.0.1"_s;
    settings.port = port;
    settings.security = SmtpSettings::Security::None;
    settings.fromAddress = u"equipment@contractor.test"_s;
    settings.fromName = u"Equipment Office"_s;
    return settings;
}

} // namespace

TEST(SmtpMailerTest, SendsTheReportAsAnAttachment)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(u"Fixed Asset Depreciation Schedule.pdf"_s);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4 report");
    file.close();

    qaveq::testing::LoopbackSmtpServer server;
    SmtpMailer mailer(loopback(server.port()));
    MailMessage message{u"owner@contractor.test"_s, u"Pat Owner"_s, u"Depreciation schedule"_s,
                        u"Here is the schedule.\r\nRegards"_s, pdf};
    ASSERT_TRUE(mailer.send(message)) << mailer.error().toStdString();

    const QByteArray sent = server.received();
    EXPECT_TRUE(sent.contains("MAIL FROM:<equipment@contractor.test>"));
    EXPECT_TRUE(sent.contains("RCPT TO:<owner@contractor.test>"));
    EXPECT_TRUE(sent.contains("Subject: Depreciation schedule"));
    EXPECT_TRUE(sent.contains("\r\nDate: "));
    EXPECT_TRUE(sent.contains("\r\nMessage-ID: <"));
    EXPECT_TRUE(sent.contains("@contractor.test>\r\n"));
    EXPECT_TRUE(sent.contains("To: \"Pat Owner\" <owner@contractor.test>"));
    EXPECT_TRUE(sent.contains("Here is the schedule."));
    EXPECT_TRUE(sent.contains("filename=\"Fixed Asset Depreciation Schedule.pdf\""));
    EXPECT_TRUE(sent.contains(QByteArray("%PDF-1.4 report").toBase64()));
}

TEST(SmtpMailerTest, NamesAndSubjectsOutsideAsciiReachTheReaderIntact)
{
    const QString python = QStandardPaths::findExecutable(u"python3"_s, {u"/usr/bin"_s});
    if (python.isEmpty())
        GTEST_SKIP() << "python3 reads the message as a mail reader would";
    qaveq::testing::LoopbackSmtpServer server;
    SmtpSettings settings = loopback(server.port());
    settings.fromName = u"Büro \"Geräte\", Nord"_s;
    SmtpMailer mailer(settings);
    const QString name = u"Zoë Müller-Ångström"_s;
    const QString subject = u"Abschreibungsplan für Radlader LDR-201 – Jahresübersicht 2026 "
                            "mit allen Beträgen in €"_s;
    ASSERT_TRUE(mailer.send({u"zoe@contractor.test"_s, name, subject, u"Anbei."_s, {}}))
        << mailer.error().toStdString();

    // The message as the server took it after DATA, undotted.
    QByteArray sent = server.received();
    sent = sent.mid(sent.indexOf("\r\n", sent.indexOf("DATA\r\n")) + 2);
    sent = sent.left(sent.indexOf("\r\n.\r\n")).replace("\r\n..", "\r\n.");
    // Every header line the mailer writes folded to the standard's
    // recommended length (the mail library's MIME lines are its own).
    for (const QByteArray &line : sent.left(sent.indexOf("\r\n\r\n")).split('\n')) {
        if (!line.contains("boundary=")) {
            EXPECT_LE(line.trimmed().size(), 78) << line.toStdString();
        }
    }

    QProcess parser;
    parser.start(python, {u"-c"_s, u"import sys, email, email.policy\n"
                                   "m = email.message_from_bytes(sys.stdin.buffer.read(), "
                                   "policy=email.policy.default)\n"
                                   "out = [m['To'].addresses[0].display_name, "
                                   "m['From'].addresses[0].display_name, str(m['Subject'])]\n"
                                   "sys.stdout.buffer.write('\\n'.join(out).encode())"_s});
    ASSERT_TRUE(parser.waitForStarted());
    parser.write(sent);
    parser.closeWriteChannel();
    ASSERT_TRUE(parser.waitForFinished());
    EXPECT_EQ(parser.exitCode(), 0) << parser.readAllStandardError().toStdString();
    const QStringList parsed = QString::fromUtf8(parser.readAllStandardOutput()).split(u'\n');
    EXPECT_EQ(parsed, (QStringList{name, settings.fromName, subject}));
}

TEST(SmtpMailerTest, ARefusedSendSaysWhy)
{
    qaveq::testing::LoopbackSmtpServer server(true);
    SmtpSettings settings = loopback(server.port());
    settings.user = u"clerk"_s;
    settings.password = u"s3cret-pw"_s;
    SmtpMailer mailer(settings);
    EXPECT_FALSE(mailer.send({u"nobody@contractor.test"_s, {}, u"x"_s, u"y"_s, {}}));
    EXPECT_TRUE(mailer.error().contains(u"nobody@contractor.test"_s));
    // The server's own words, not only its code.
    EXPECT_TRUE(mailer.error().contains(u"550 5.1.1 <nobody@contractor.test>: Recipient address "
                                        "rejected: User unknown"_s))
        << mailer.error().toStdString();
    EXPECT_FALSE(mailer.error().contains(u"s3cret-pw"_s));
}

TEST(SmtpMailerTest, OneMessageReachesEveryRecipientWithALongSubjectFolded)
{
    qaveq::testing::LoopbackSmtpServer server;
    SmtpMailer mailer(loopback(server.port()));
    const QString subject = u"Equipment Detail Listing for the week of December 7, 2026, every "
                            "division, every yard and every job site"_s;
    ASSERT_TRUE(
        mailer.send({u"owner@contractor.test, yard@contractor.test;office@contractor.test"_s,
                     u"Not Used For Several"_s,
                     subject,
                     u"body"_s,
                     {}}))
        << mailer.error().toStdString();
    const QByteArray sent = server.received();
    for (const char *to : {"owner", "yard", "office"})
        EXPECT_TRUE(sent.contains("RCPT TO:<" + QByteArray(to) + "@contractor.test>")) << to;
    EXPECT_EQ(sent.count("\r\nMessage-ID: "), 1);
    EXPECT_FALSE(sent.contains("Not Used For Several"));
    const QByteArray headers = sent.mid(sent.indexOf("DATA\r\n"));
    const QByteArray head = headers.left(headers.indexOf("\r\n\r\n"));
    for (const QByteArray &line : head.split('\n')) {
        if (!line.contains("boundary=")) {
            EXPECT_LE(line.trimmed().size(), 78) << line.toStdString();
        }
    }
    // Unfolded, the subject reads as written.
    QByteArray unfolded = head;
    unfolded.replace("\r\n ", " ");
    EXPECT_TRUE(unfolded.contains("\r\nSubject: " + subject.toUtf8() + "\r\n"));
    EXPECT_TRUE(head.contains("\r\n division"));
}

TEST(SmtpMailerTest, HeadersCannotBeInjected)
{
    qaveq::testing::LoopbackSmtpServer server;
    SmtpMailer mailer(loopback(server.port()));
    ASSERT_TRUE(mailer.send(
        {u"a@contractor.test"_s, {}, u"Report\r\nBcc: victim@else.test"_s, u"body"_s, {}}));
    EXPECT_FALSE(server.received().contains("\r\nBcc:"));
}

TEST(SmtpMailerTest, MissingServerOrRecipientIsAnErrorBeforeConnecting)
{
    SmtpMailer unset(SmtpSettings{});
    EXPECT_FALSE(unset.send({u"a@b.test"_s, {}, {}, {}, {}}));
    EXPECT_TRUE(unset.error().contains(u"No mail server"_s));
    SmtpMailer mailer(loopback(1));
    EXPECT_FALSE(mailer.send({u" "_s, {}, {}, {}, {}}));
    EXPECT_FALSE(mailer.send({u"a@b.test"_s, {}, {}, {}, u"/no/such/file.pdf"_s}));
    EXPECT_TRUE(mailer.error().contains(u"/no/such/file.pdf"_s));
}
