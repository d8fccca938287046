#include "WindowedRun.h"

#include "CompanyHome.h"
#include "HostSession.h"
#include "MainWindow.h"
#include "SignOnDialog.h"

#include "runtime/DebugLog.h"
#include "runtime/widgets/QtPrompter.h"

#include "core/Clock.h"
#include "core/StopRequest.h"

#include <QApplication>
#include <QSocketNotifier>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

void tell(Prompter &prompter, const QString &caption, const QString &text)
{
    prompter.ask(Message{caption, text, u"&OK"_s, 1, Message::Icon::Stop});
}

// The windows' application. An exception that escapes an event handler (an
// amount beyond the decimals' range, a failure deep in a library) ends only
// the action under way: it is logged and said, and the windows go on.
class GuardedApplication final : public QApplication
{
public:
    using QApplication::QApplication;

    void setPrompter(Prompter *prompter) { m_prompter = prompter; }

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            stopped(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            stopped(u"an unexpected error"_s);
        }
        return false;
    }

private:
    void stopped(const QString &cause)
    {
        qCritical("An action stopped: %s", qUtf8Printable(cause));
        if (!m_prompter)
            return;
        // Said once the event that failed is over, never from inside it.
        QMetaObject::invokeMethod(
            this,
            [prompter = m_prompter, cause] {
                tell(*prompter, u"QAVEQ"_s,
                     u"The last action stopped: "_s + cause + u"|Nothing else was changed."_s);
            },
            Qt::QueuedConnection);
    }

    Prompter *m_prompter = nullptr;
};

} // namespace

int runWindows(int &argc, char **argv, const GlobalOptions &options)
{
    GuardedApplication app(argc, argv);
    // SIGTERM and SIGINT close the windows as Exit does, so the session ends
    // cleanly (the user's sign-on record removed).
    StopRequest::install();
    QSocketNotifier stop(StopRequest::descriptor(), QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, [&stop] {
        // Heard once; before the main loop runs quit() is not heard at all,
        // so a message or the sign-on dialog open then is closed too.
        stop.setEnabled(false);
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
        QCoreApplication::quit();
    });
    QApplication::setApplicationName(u"qaveq"_s);
    QApplication::setApplicationDisplayName(u"QAVEQ"_s);
    QApplication::setApplicationVersion(QStringLiteral(QAVEQ_VERSION));
    QApplication::setDesktopFileName(u"org.qaveq.Qaveq"_s);
    QtPrompter prompter;
    app.setPrompter(&prompter);
    SystemClock clock;
    QString moved;
    HostSession session(CompanyHome::adoptFormer(options.companyFolder, &moved), prompter, clock);
    if (!moved.isEmpty())
        prompter.ask(Message{u"QAVEQ"_s, moved, u"&OK"_s, 1, Message::Icon::Information});

    QString error;
    if (!session.openCompany(&error)) {
        tell(prompter, u"Cannot Open Company"_s, error);
        return Failure;
    }
    QString userId = options.userId;
    if (!options.userGiven || !session.signOn(userId, &error)) {
        if (options.userGiven)
            tell(prompter, u"Sign On"_s, error);
        for (;;) {
            if (StopRequest::requested())
                return Success;
            SignOnDialog dialog(session.company().name(), userId);
            if (dialog.exec() != QDialog::Accepted)
                return Success;
            userId = dialog.userId();
            if (session.signOn(userId, &error))
                break;
            tell(prompter, u"Sign On"_s, error);
        }
    }
    if (StopRequest::requested())
        return Success;
    if (!session.loadModule(&error)) {
        tell(prompter, u"Equipment Module"_s, error);
        return Failure;
    }
    session.errorManager().setHaltHandler([&prompter](const QString &text) {
        tell(prompter, u"QAVEQ"_s, text + u"|The program ends now."_s);
        QCoreApplication::exit(Failure);
    });

    DebugLog::program().write(u"QAVEQ %1 opened company %2 in %3 for user %4"_s.arg(
        QStringLiteral(QAVEQ_VERSION), session.company().id(), session.company().folder(), userId));
    MainWindow window(session);
    prompter.setParent(&window);
    window.show();
    const int status = QApplication::exec();
    session.close();
    return status;
}

} // namespace qaveq::host
