#include "TypedValues.h"

#include "runtime/AutoEntry.h"

#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>

namespace qaveq::TypedValues {

void offer(QLineEdit *line, const QString &field)
{
    auto *completer = new QCompleter(line);
    auto *values = new QStringListModel(completer);
    completer->setModel(values);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    line->setCompleter(completer);
    // Read as the user types, so that what another form or station stored
    // a moment ago is offered too.
    QObject::connect(line, &QLineEdit::textEdited, completer, [values, field] {
        const AutoEntry *store = AutoEntry::current();
        values->setStringList(store ? store->offers(field) : QStringList());
    });
}

} // namespace qaveq::TypedValues
