#include "PickList.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

namespace qaveq {

std::optional<int> pickNextTo(QWidget *field, const QString &title, const QStringList &lines)
{
    if (lines.isEmpty())
        return std::nullopt;
    QMenu menu(field ? field->window() : QApplication::activeWindow());
    menu.setTitle(title);
    menu.setToolTipsVisible(true);
    menu.addSection(title);
    QList<QAction *> actions;
    for (const QString &line : lines)
        actions.append(menu.addAction(line));
    menu.setActiveAction(actions.first());
    const QPoint under =
        field ? field->mapToGlobal(QPoint(0, field->height()))
              : (QApplication::activeWindow() ? QApplication::activeWindow()->geometry().center()
                                              : QPoint());
    const int chosen = int(actions.indexOf(menu.exec(under, actions.first())));
    return chosen < 0 ? std::nullopt : std::optional<int>(chosen);
}

} // namespace qaveq
