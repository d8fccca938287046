#include "QtPrompter.h"

#include "core/Text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace qaveq {

namespace {

QMessageBox::Icon boxIcon(Message::Icon icon)
{
    switch (icon) {
    case Message::Icon::None:
        return QMessageBox::NoIcon;
    case Message::Icon::Information:
    case Message::Icon::Bell:
        return QMessageBox::Information;
    case Message::Icon::Exclamation:
        return QMessageBox::Warning;
    case Message::Icon::Question:
        return QMessageBox::Question;
    case Message::Icon::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int QtPrompter::ask(const Message &message)
{
    if (message.icon == Message::Icon::Bell)
        QApplication::beep();
    QMessageBox box(boxIcon(message.icon), message.caption, Text::withLineBreaks(message.text),
                    QMessageBox::NoButton, m_parent);
    const QStringList labels = message.buttons.split(u'|');
    QList<QPushButton *> buttons;
    for (const QString &label : labels)
        buttons.append(box.addButton(label, QMessageBox::AcceptRole));
    if (message.defaultButton >= 1 && message.defaultButton <= buttons.size())
        box.setDefaultButton(buttons[message.defaultButton - 1]);
    // Escape presses the last button (Cancel, No) where there are several.
    box.setEscapeButton(buttons.size() > 1 ? buttons.last() : buttons.first());
    box.exec();
    const int pressed =
        static_cast<int>(buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
    return pressed >= 0 ? pressed + 1 : static_cast<int>(buttons.size());
}

} // namespace qaveq
