#include "HelpViewer.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

HelpViewer::HelpViewer(QWidget *parent)
    : QDialog(parent)
    , m_browser(new QTextBrowser(this))
{
    // The desktop adds the program's name.
    setWindowTitle(u"Help"_s);
    m_browser->setOpenExternalLinks(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *back = buttons->addButton(u"&Back"_s, QDialogButtonBox::ActionRole);
    QPushButton *contents = buttons->addButton(u"C&ontents"_s, QDialogButtonBox::ActionRole);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(contents, &QPushButton::clicked, this, [this] { open(u"html/index.htm"_s); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    back->setEnabled(false);
    resize(720, 560);
}

QString HelpViewer::folder()
{
    const QString configured = qEnvironmentVariable("QAVEQ_HELP");
    if (!configured.isEmpty())
        return configured;
    const QDir program(QCoreApplication::applicationDirPath());
    if (program.exists(u"help"_s))
        return program.filePath(u"help"_s);
    return QDir::cleanPath(program.filePath(QStringLiteral(QAVEQ_HELPDIR_FROM_PROGRAM)));
}

void HelpViewer::open(const QString &topic)
{
    const QString page = topic.section(u'#', 0, 0);
    const QString anchor = topic.section(u'#', 1);
    const QDir help(folder());
    QUrl url = QUrl::fromLocalFile(help.filePath(page));
    if (page.isEmpty() || !QFileInfo::exists(help.filePath(page)))
        url = QUrl::fromLocalFile(help.filePath(u"html/index.htm"_s));
    else if (!anchor.isEmpty())
        url.setFragment(anchor);
    m_browser->setSource(url);
}

QUrl HelpViewer::current() const
{
    return m_browser->source();
}

void HelpViewer::showTopic(const QString &topic, QWidget *parent)
{
    HelpViewer viewer(parent);
    viewer.open(topic);
    viewer.exec();
}

void HelpViewer::bindF1(QWidget *window, const QString &topic)
{
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window,
                     [window, topic] { showTopic(topic, window); });
}

} // namespace qaveq
