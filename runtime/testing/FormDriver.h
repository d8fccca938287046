#pragma once

#include "runtime/ScriptedPicker.h"
#include "runtime/ScriptedPrompter.h"
#include "runtime/forms/FormModel.h"
#include "runtime/widgets/FormView.h"

#include "core/Clock.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace qaveq::testing {

// Opens a form's window over a session the way a user meets it, with a
// scripted picker and prompter, and drives it with keys through real focus
// changes: type into the entry that has the cursor, Tab on, Enter for OK.
class FormDriver
{
public:
    FormDriver(forms::FormDefinition definition, data::Session &session, ScriptedPrompter &prompter,
               ScriptedPicker &picker, const Clock &clock, QList<int> &warnings,
               FormExtras extras = {})
        : model(
              std::move(definition),
              forms::FormModel::Services{session, prompter, picker, clock,
                                         [&warnings](int number, const QString &, const QString &) {
                                             warnings.append(number);
                                             return 1;
                                         }})
    {
        if (!model.isOpen())
            return;
        view = std::make_unique<FormView>(model, std::move(extras));
        view->show();
        view->activateWindow();
        QApplication::processEvents();
    }

    bool isOpen() const { return view != nullptr; }
    QLineEdit *entry(QStringView field) const
    {
        return qobject_cast<QLineEdit *>(view->editor(field));
    }
    // Puts the cursor into the entry, as a click would.
    void click(QStringView field)
    {
        view->editor(field)->setFocus(Qt::MouseFocusReason);
        settle();
    }
    // Replaces the text of the entry that has the cursor, as typing over it does.
    void type(const QString &text)
    {
        auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (!line)
            return;
        line->selectAll();
        QTest::keyClicks(line, text);
    }
    void key(Qt::Key key)
    {
        QTest::keyClick(QApplication::focusWidget(), key);
        settle();
    }
    QString focused() const
    {
        for (const forms::Control *control : model.controls())
            if (view->editor(control->field) == QApplication::focusWidget())
                return control->field;
        return {};
    }
    // Lets queued focus moves and repaints happen.
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    forms::FormModel model;
    std::unique_ptr<FormView> view;
};

} // namespace qaveq::testing
