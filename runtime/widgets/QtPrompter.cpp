#include "QtPrompter.h"

#include "DialogFrame.h"

#include "core/Text.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

using namespace Qt::StringLiterals;

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
    // A message stands over the dialog the user works in (an open preview),
    // never over the main window behind it, which it would raise.
    QWidget *modal = QApplication::activeModalWidget();
    QMessageBox box(boxIcon(message.icon), message.caption, Text::withLineBreaks(message.text),
                    QMessageBox::NoButton, modal ? modal : m_parent);
    useDialogFrame(&box);
    // Wide enough for its caption, which the title bar would otherwise cut
    // off over a short text (the title bar adds the program's name).
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const int title =
            box.fontMetrics().horizontalAdvance(message.caption + u" - QAVEQ"_s) + 120;
        grid->addItem(new QSpacerItem(title, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
        // A message keeps its size: nothing to maximise.
        grid->setSizeConstraint(QLayout::SetFixedSize);
    }
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
