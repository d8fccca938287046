#pragma once

#include <QComboBox>

namespace qaveq {

struct EQBatch;

// The batch an import or export works on when its window was opened without
// a batch highlighted in the usage-log window, as from the main menu.
class BatchChooser : public QComboBox
{
    Q_OBJECT

public:
    // `batches`: those open to the user, in the order the batch list shows them.
    explicit BatchChooser(const QList<EQBatch> &batches, QWidget *parent = nullptr);

    // The chosen batch; 0 when there is none to choose.
    quint16 batchId() const;
};

} // namespace qaveq
