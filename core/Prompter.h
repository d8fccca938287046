#pragma once

#include <QString>
#include <QStringList>

#include <utility>

namespace qaveq {

// One message box of the suite: a caption, a text in which "|" breaks the
// line, and buttons given as "&Yes|&No|&Cancel".
struct Message
{
    enum class Icon { None, Information, Exclamation, Question, Stop, Bell };

    QString caption;
    QString text;
    QString buttons = QStringLiteral("&OK");
    int defaultButton = 1; // 1-based
    Icon icon = Icon::None;

    // The buttons' labels without their "&" markers.
    QStringList buttonLabels() const;

    // The common box that tells the user why something was refused or failed:
    // one OK button and the exclamation mark.
    static Message alert(QString caption, QString text)
    {
        return Message{std::move(caption), std::move(text), QStringLiteral("&OK"), 1,
                       Icon::Exclamation};
    }
};

// Every question or message the system shows goes through this seam: a window
// shows a message box, the command line prints to stderr, tests answer from a
// script.
class Prompter
{
public:
    virtual ~Prompter() = default;
    // Shows the message and returns the 1-based number of the button pressed.
    virtual int ask(const Message &message) = 0;
};

} // namespace qaveq
