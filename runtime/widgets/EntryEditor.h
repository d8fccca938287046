#pragma once

#include "runtime/widgets/ControlEditor.h"

class QLineEdit;
class QPoint;

namespace qaveq {

// A typed value: a line as wide as its picture, handed to the model when the
// user leaves it (or on OK), with the lookup of a code (its button and F2),
// the text-case menu and the values typed before offered as the user types.
class EntryEditor final : public ControlEditor
{
public:
    EntryEditor(EditorHost &host, const forms::Control &control, QWidget *parent);

    QLineEdit *line() const;

    bool isTyping() const override;
    forms::FormModel::Outcome handOver() override;
    bool lookUp() override;
    bool isSpellCheckable() const override;
    std::optional<std::pair<QString, QString>> typedValue() const override;

protected:
    void show(bool enabled, bool staleChoices) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString typedValuesKey() const;
    void addLookupButton(QWidget *parent);
    // After the entry was handed to the model: it shows the value the checks
    // left, unless what was typed is no value and stays to be corrected.
    void showValue(const forms::FormModel::Outcome &outcome);
    void showOutcome(const forms::FormModel::Outcome &outcome);
    void showCaseMenu(const QPoint &position);
    void applyCase();
    QString qualifiedField() const;

    QString m_shownText; // the model's text the entry was last given
};

} // namespace qaveq
