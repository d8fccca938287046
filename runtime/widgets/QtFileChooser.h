#pragma once

#include "core/Picker.h"

class QWidget;

namespace qaveq {

// The desktop's file dialog behind the file-choosing seam; it starts where the
// user last chose a file (FileDialogFolder), or, for a folder that is the
// place of its files (the company's Reports folder), where it is offered.
class QtFileChooser final : public FileChooser
{
public:
    enum class Start { LastFolder, Offered };

    explicit QtFileChooser(QWidget *parent = nullptr, Start start = Start::LastFolder)
        : m_parent(parent)
        , m_start(start)
    {}
    QString choose(Purpose purpose, const QString &caption, const QString &path,
                   const QString &filter) override;
    QStringList chooseSeveral(const QString &caption, const QString &path,
                              const QString &filter) override;

private:
    QString startAt(const QString &offered) const;

    QWidget *m_parent;
    Start m_start;
    // The filter the user chose last, offered first when this chooser asks again.
    QString m_chosenFilter;
};

} // namespace qaveq
