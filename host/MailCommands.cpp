#include "MailCommands.h"

#include "CompanyAccess.h"

#include "output/MailSettings.h"

#include "data/Company.h"
#include "data/Session.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

using Security = report::SmtpSettings::Security;

int defaultPort(Security security)
{
    switch (security) {
    case Security::None:
        return 25;
    case Security::Tls:
        return 465;
    case Security::StartTls:
        break;
    }
    return 587;
}

// The password is the file's first line ("-": standard input's), without
// its line end; nothing, after saying why, when it cannot be read.
std::optional<QString> readPassword(CommandContext &context, const QString &fileName)
{
    QString line;
    if (fileName == u"-"_s) {
        line = context.in.readLine();
    } else {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            context.err << "qaveq: the password file " << fileName
                        << " cannot be read: " << file.errorString() << "\n";
            return std::nullopt;
        }
        line = QString::fromUtf8(file.readLine());
    }
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    if (line.isEmpty()) {
        context.err << "qaveq: the password file " << fileName << " holds no password.\n";
        return std::nullopt;
    }
    return line;
}

void show(CommandContext &context, const report::SmtpSettings &settings)
{
    context.out << "server:   " << settings.server << "\n"
                << "port:     " << settings.port << "\n"
                << "security: " << MailSettings::securityName(settings.security) << "\n"
                << "from:     " << settings.fromAddress << "\n"
                << "name:     " << settings.fromName << "\n"
                << "login:    " << settings.user << "\n"
                << "password: " << (settings.password.isEmpty() ? "none" : "set") << "\n";
}

int runMailSettings(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    if (reader.option(u"password"_s) || reader.flag(u"password"_s))
        return usage(context, u"mail-settings"_s,
                     u"the password is never taken on the command line: put it in a file only "
                     "you can read and give --password-file FILE"_s);
    const std::optional<QString> server = reader.option(u"server"_s);
    const std::optional<QString> port = reader.option(u"port"_s);
    const std::optional<QString> security = reader.option(u"security"_s);
    const std::optional<QString> from = reader.option(u"from"_s);
    const std::optional<QString> fromName = reader.option(u"from-name"_s);
    const std::optional<QString> login = reader.option(u"login"_s);
    const std::optional<QString> passwordFile = reader.option(u"password-file"_s);
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (problem.isEmpty() && !reader.missingValue().isEmpty())
        problem = u"%1 needs a value"_s.arg(reader.missingValue());
    if (problem.isEmpty() && !rest.isEmpty())
        problem = u"unexpected \"%1\""_s.arg(rest.first());
    const bool showOnly =
        !server && !port && !security && !from && !fromName && !login && !passwordFile;
    report::SmtpSettings settings;
    if (problem.isEmpty() && !showOnly) {
        if (!server || server->trimmed().isEmpty() || !from || !from->contains(u'@'))
            problem = u"give at least --server HOST and --from ADDRESS"_s;
        else if (login.has_value() != passwordFile.has_value())
            problem = u"--login and --password-file go together"_s;
    }
    if (problem.isEmpty() && security) {
        if (const std::optional<Security> named =
                MailSettings::securityNamed(security->trimmed().toLower()))
            settings.security = *named;
        else
            problem = u"--security is none, tls or starttls, not \"%1\""_s.arg(*security);
    }
    settings.port = defaultPort(settings.security);
    if (problem.isEmpty() && port) {
        bool ok = false;
        settings.port = port->toInt(&ok);
        if (!ok || settings.port < 1 || settings.port > 65535)
            problem = u"--port takes a number from 1 to 65535, not \"%1\""_s.arg(*port);
    }
    if (!problem.isEmpty())
        return usage(context, u"mail-settings"_s, problem);

    const std::unique_ptr<CommandSession> signedOn = CommandSession::open(context, Access::Reads);
    if (!signedOn)
        return Failure;
    data::Session &session = signedOn->session();
    const QString file = session.userSettingsFile();
    if (showOnly) {
        show(context, MailSettings::load(file));
        return Success;
    }
    settings.server = server->trimmed();
    settings.fromAddress = from->trimmed();
    settings.fromName = fromName.value_or(QString()).trimmed();
    if (login) {
        const std::optional<QString> password = readPassword(context, *passwordFile);
        if (!password)
            return Failure;
        settings.user = login->trimmed();
        settings.password = *password;
    }
    if (!MailSettings::save(file, settings)) {
        context.err << "qaveq: the mail settings cannot be written to " << file << ".\n";
        return Failure;
    }
    context.out << "mail settings of " << session.userId << " saved in " << file << "\n";
    return Success;
}

} // namespace

QList<Command> mailCommands()
{
    return {Command{
        u"mail-settings"_s, u"set the user's mail server for reports sent by mail"_s,
        u"Usage: qaveq --company DIR [--user ID] mail-settings --server HOST [--port P]\n"
        "                 [--security none|tls|starttls] --from ADDRESS [--from-name NAME]\n"
        "                 [--login USER --password-file FILE]\n"
        "       qaveq --company DIR [--user ID] mail-settings\n\n"
        "Stores the signed-on user's mail settings, with which reports are mailed\n"
        "(\"report run N --mail TO\", the preview's \"Email Report (pdf)\"). Without\n"
        "options it shows them, the password only as set or none.\n\n"
        "  --server HOST        the SMTP server\n"
        "  --port P             its port; by default 25 (none), 465 (tls), 587 (starttls)\n"
        "  --security S         none, tls (TLS from the start) or starttls (the default)\n"
        "  --from ADDRESS       the sender's address\n"
        "  --from-name NAME     the sender's name\n"
        "  --login USER         the server's login\n"
        "  --password-file FILE the login's password: the file's first line (\"-\" reads\n"
        "                       it from standard input). The password is never taken on\n"
        "                       the command line, where other users could see it.\n\n"
        "The settings are kept in the user's own settings file, readable only by the\n"
        "user. The exit status is 0 when they were written.\n"_s,
        runMailSettings}};
}

} // namespace qaveq::host
