#pragma once

#include "core/Picker.h"

class QWidget;

namespace qaveq {

// The desktop's file dialog behind the file-choosing seam; it starts where the
// user last chose a file (FileDialogFolder).
class QtFileChooser final : public FileChooser
{
public:
    explicit QtFileChooser(QWidget *parent = nullptr)
        : m_parent(parent)
    {}
    QString choose(Purpose purpose, const QString &caption, const QString &path,
                   const QString &filter) override;
    QStringList chooseSeveral(const QString &caption, const QString &path,
                              const QString &filter) override;
    // The filter the user chose last ("Tab-separated text (*.txt)").
    const QString &chosenFilter() const { return m_chosenFilter; }

private:
    QWidget *m_parent;
    QString m_chosenFilter;
};

} // namespace qaveq
