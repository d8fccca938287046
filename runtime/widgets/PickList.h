#pragma once

#include <QStringList>

#include <optional>

class QWidget;

namespace qaveq {

// A short list the user picks one line from, opened just under the field it
// belongs to (the jobs that match what was typed), so the eye stays where
// the typing was. Arrow keys and Enter pick, Esc cancels; the index of the
// line picked, or nothing.
std::optional<int> pickNextTo(QWidget *field, const QString &title, const QStringList &lines);

} // namespace qaveq
