#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

namespace qaveq {

// Shows a help topic ("html/EC_Equipment.htm#anchor") from the help pages
// shipped with the program; a topic that is not there opens the contents.
class HelpViewer : public QDialog
{
    Q_OBJECT

public:
    explicit HelpViewer(QWidget *parent = nullptr);

    // The folder of the help pages: $QAVEQ_HELP, else "help" beside the program
    // (a build folder), else the installed pages' folder.
    static QString folder();
    static void showTopic(const QString &topic, QWidget *parent = nullptr);
    // F1 anywhere in `window` opens its topic; an empty topic opens the contents.
    static void bindF1(QWidget *window, const QString &topic);

    void open(const QString &topic);
    QUrl current() const;

private:
    QTextBrowser *m_browser;
};

} // namespace qaveq
